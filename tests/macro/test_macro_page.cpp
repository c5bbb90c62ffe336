// The macro page: the macro list and its files, the rows, the texts.
#include "tests/macro/MacroPageTesting.h"
#include "tests/macro/ReadOnlyFolder.h"

#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "dialogs/FileChooser.h"
#include "dialogs/MacroKeyCodes.h"
#include "pages/macro/MacroExportFile.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

using namespace MacroPageTesting;

namespace {
// The texts of the menu the page opens, read while it is open, then closed.
QStringList MenuTexts(const std::function<void()>& open)
{
    QStringList texts;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                texts << action->text();
            menu->close();
        }
    });
    timer.start();
    open();
    return texts;
}
} // namespace

class MacroPageTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        Reset(0);
        MacroRecording = false;
    }

    // New, rename and delete change the list, the files and the bus; a name
    // taken or refused is told with a notice.
    void listOperations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("dialog");   // the notice after the prompt, or the delete question
        QTest::addColumn<QStringList>("macros");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("signals_");
        const QStringList two{"one", "two"};
        QTest::newRow("new: empty name") << "new" << "" << "" << two << two << QStringList{};
        QTest::newRow("new: existing name") << "new" << "two" << "SameMacro" << two << two << QStringList{};
        QTest::newRow("new: unlisted file") << "new" << "x" << "SameMacro" << two << two << QStringList{};
        QTest::newRow("new: parent path") << "new" << "../x" << "ExeIsRun" << two << two << QStringList{};
        QTest::newRow("new: slash") << "new" << "a/b" << "ExeIsRun" << two << two << QStringList{};
        QTest::newRow("new: holds xml") << "new" << "xml1" << "ExeIsRun" << two << two << QStringList{};
        QTest::newRow("new: case differs") << "new" << "One" << "" << QStringList{"one", "two", "One"}
                                           << QStringList{"One", "one", "two"} << QStringList{};
        QTest::newRow("new: one.ini") << "new" << "one.ini" << "" << QStringList{"one", "two", "one.ini"}
                                      << QStringList{"one", "one.ini", "two"} << QStringList{};
        QTest::newRow("rename to itself") << "rename" << "one" << "SameMacro" << two << two << QStringList{};
        QTest::newRow("rename to another") << "rename" << "two" << "SameMacro" << two << two << QStringList{};
        QTest::newRow("rename onto an unlisted file") << "rename" << "x" << "SameMacro" << two << two << QStringList{};
        QTest::newRow("rename") << "rename" << "uno" << "" << QStringList{"uno", "two"}
                                << QStringList{"two", "uno"} << QStringList{"rename one uno"};
        QTest::newRow("rename to parent path") << "rename" << "../x" << "ExeIsRun" << two << two << QStringList{};
        QTest::newRow("delete confirmed") << "delete" << "NewHong" << "DeleteConfirm" << QStringList{"two"}
                                          << QStringList{"two"} << QStringList{"delete Macro-one"};
        QTest::newRow("delete declined") << "delete" << "CloseButton" << "DeleteConfirm" << two << two
                                         << QStringList{};
    }

    void listOperations()
    {
        QFETCH(QString, operation);
        QFETCH(QString, answer);
        QFETCH(QString, dialog);
        QFETCH(QStringList, macros);
        QFETCH(QStringList, files);
        QFETCH(QStringList, signals_);
        QVERIFY(Put(FileOf("one"), "1\n0x04 1 0\n"));
        QVERIFY(Put(FileOf("two"), "2\n"));
        Macro page;
        // "x" exists beside the list: a file the list does not show.
        QVERIFY(Put(FileOf("x"), "x's own file\n"));
        QCOMPARE(MacroNames(page), (QStringList{"one", "two"}));
        Select(page, "one");
        BusLog bus;
        if (operation == "new") {
            ModalAnswer prompt = Name(answer);
            ModalAnswer notice = ModalAnswer::Click(QStringLiteral("NewHong"));
            page.on_NewHong_clicked();
            if (!dialog.isEmpty())
                QCOMPARE(notice.DialogClass(), dialog);
            else
                notice.Cancel();
        } else if (operation == "rename") {
            ModalAnswer prompt = Name(answer);
            ModalAnswer notice = ModalAnswer::Click(QStringLiteral("NewHong"));
            page.RenameMacro();
            if (!dialog.isEmpty())
                QCOMPARE(notice.DialogClass(), dialog);
            else
                notice.Cancel();
        } else {
            ModalAnswer question = ModalAnswer::Click(answer);
            page.DeleteMacro();
            QCOMPARE(question.DialogClass(), dialog);
        }
        QCOMPARE(MacroNames(page), macros);
        QStringList names = MacroFile::List(MacroFile::Folder());
        names.removeAll(QStringLiteral("x"));
        QCOMPARE(names, files);
        QCOMPARE(bus.signals_, signals_);
        QCOMPARE(Content(FileOf("x")), QByteArray("x's own file\n"));
        QVERIFY(!QFile::exists(MacroFile::Folder() + "/../x.ini"));
        QVERIFY(!QFile::exists(MacroFile::Folder() + "/a"));
        QCOMPARE(Content(FileOf("two")), QByteArray("2\n"));
    }

    // A new macro comes last, current, with an empty file and count 1; the
    // list and files are the same after a restart.
    void newMacro()
    {
        QVERIFY(Put(FileOf("b"), "254\n"));
        {
            Macro page;
            Select(page, "b");
            QVERIFY(Child<QCheckBox>(page, "ReUntilLoose")->isChecked());
            New(page, QStringLiteral("a"));
            QCOMPARE(MacroNames(page), (QStringList{"b", "a"}));
            QCOMPARE(Macros(page)->currentItem()->text(), QStringLiteral("a"));
            QCOMPARE(Content(FileOf("a")), QByteArray());
            QVERIFY(Child<QCheckBox>(page, "ReNumber")->isChecked());
            QCOMPARE(Child<QSpinBox>(page, "NumberEdit")->value(), 1);
            QVERIFY(RowTexts(page).isEmpty());
        }
        Macro again;
        QCOMPARE(MacroNames(again), (QStringList{"a", "b"}));
    }

    // Macros whose names hold ".ini" keep a file each: after a restart each
    // shows its own rows, and deleting one leaves the others whole.
    void namesHoldingIni()
    {
        const QStringList names{"a", "a.ini", "a.ini.ini", ".ini", "A.INI"};
        const QStringList keys{"A", "B", "C", "D", "E"};
        {
            Macro page;
            for (int i = 0; i < names.size(); ++i) {
                New(page, names.at(i));
                page.AppendKeyRow(keys.at(i), true);
                page.on_Save_clicked();
            }
        }
        const auto sorted = [](QStringList list) {
            list.sort();
            return list;
        };
        Macro page;
        QCOMPARE(sorted(MacroNames(page)), sorted(names));
        for (int i = 0; i < names.size(); ++i) {
            Select(page, names.at(i));
            QCOMPARE(RowTexts(page), QStringList{keys.at(i) + "+"});
        }
        Select(page, "a.ini.ini");
        {
            ModalAnswer confirm = ModalAnswer::Click(QStringLiteral("NewHong"));
            page.on_DeleteHong_clicked();
        }
        QStringList left = names;
        left.removeAll(QStringLiteral("a.ini.ini"));
        QCOMPARE(sorted(MacroFile::List(MacroFile::Folder())), sorted(left));
        for (const QString& name : left)
            QCOMPARE(Content(FileOf(name)), QByteArray("1\n0x0") + char('4' + names.indexOf(name)) + " 1 0\n");
    }

    // Names the prompt gives back, cancelled or closed, make nothing.
    void newCancelledOrClosed_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("cancelled") << "NewHong_2";
        QTest::newRow("closed") << "CloseButton";
    }

    void newCancelledOrClosed()
    {
        QFETCH(QString, button);
        Macro page;
        ModalAnswer answer = ModalAnswer::Click(button);
        page.on_NewHong_clicked();
        QCOMPARE(answer.DialogClass(), QStringLiteral("QuestionDialog"));
        QVERIFY(MacroNames(page).isEmpty());
        QVERIFY(MacroFile::List(MacroFile::Folder()).isEmpty());
    }

    // An action whose file cannot be written, renamed or removed changes
    // nothing and tells the user.
    void failuresAreTold_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("text");
        QTest::newRow("new") << "new" << "The macro could not be made: its file cannot be written";
        QTest::newRow("rename") << "rename" << "The macro could not be renamed";
        QTest::newRow("delete") << "delete" << "The macro could not be deleted";
        QTest::newRow("import") << "import" << "The macro could not be imported: its file cannot be written";
        QTest::newRow("export") << "export" << "The macro could not be written to this file";
    }

    void failuresAreTold()
    {
        QFETCH(QString, action);
        QFETCH(QString, text);
        QVERIFY(Put(FileOf("m"), "1\n0x04 1 0\n"));
        const QString exports = QDir::homePath() + QStringLiteral("/exports");
        QVERIFY(QDir().mkpath(exports));
        const QString exported = exports + QStringLiteral("/n.ini");
        QVERIFY(Put(exported, MacroExportFile::Format(QStringLiteral("n"), 1, {})));
        Macro page;
        Select(page, "m");
        const QStringList folder = FolderState();
        const QStringList exportFolder = FolderState(exports);
        BusLog bus;
        QString shown;
        {
            ReadOnlyFolder readOnly(action == "export" ? exports : MacroFile::Folder());
            if (!readOnly.Ok())
                QSKIP("no read-only folder can be made here");
            // The name prompt or the question comes first, then the notice.
            std::unique_ptr<ModalAnswer> first;
            if (action == "new" || action == "rename")
                first = std::make_unique<ModalAnswer>(Name(QStringLiteral("n")));
            else if (action == "delete")
                first = std::make_unique<ModalAnswer>(ModalAnswer::Click(QStringLiteral("NewHong")));
            ModalAnswer notice = Notice(&shown);
            if (action == "new") {
                page.on_NewHong_clicked();
            } else if (action == "rename") {
                page.RenameMacro();
            } else if (action == "delete") {
                page.on_DeleteHong_clicked();
            } else if (action == "import") {
                FileChooser::SetNextAnswer(exported);
                page.InPortMacro();
            } else {
                FileChooser::SetNextAnswer(exports + QStringLiteral("/m.ini"));
                page.ExPortMacro();
            }
            QCOMPARE(notice.DialogClass(), QStringLiteral("ExeIsRun"));
        }
        QCOMPARE(shown, text);
        QCOMPARE(MacroNames(page), QStringList{"m"});
        QCOMPARE(Macros(page)->currentItem()->text(), QStringLiteral("m"));
        QCOMPARE(RowTexts(page), QStringList{"A+"});
        QCOMPARE(FolderState(), folder);
        QCOMPARE(FolderState(exports), exportFolder);
        QVERIFY(bus.signals_.isEmpty());
    }

    void deleteWithNothingSelected()
    {
        QVERIFY(Put(FileOf("m"), "1\n"));
        Macro page;
        ModalAnswer none = ModalAnswer::Click(QStringLiteral("NewHong"));
        page.on_DeleteHong_clicked();
        QVERIFY(!none.Answered());
        none.Cancel();
        QCOMPARE(MacroNames(page), QStringList{"m"});
    }

    // After a confirmed delete no macro is current and no rows are shown.
    void deleteClearsSelection()
    {
        QVERIFY(Put(FileOf("m"), "1\n0x04 1 0\n"));
        Macro page;
        Select(page, "m");
        QCOMPARE(RowTexts(page), QStringList{"A+"});
        ModalAnswer question = ModalAnswer::Click(QStringLiteral("NewHong"));
        page.on_DeleteHong_clicked();
        QCOMPARE(Macros(page)->currentRow(), -1);
        QVERIFY(RowTexts(page).isEmpty());
        QVERIFY(!QFile::exists(FileOf("m")));
    }

    // The arrow keys change the current macro and show its rows.
    void arrowKeyShowsTheMacro()
    {
        QVERIFY(Put(FileOf("a"), "254\n0x04 1 0\n"));
        QVERIFY(Put(FileOf("b"), "12\n0x05 1 0\n10ms\n0x05 1 1\n"));
        Macro page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
        Select(page, "a");
        Macros(page)->setFocus();
        QTest::keyClick(Macros(page), Qt::Key_Down);
        QCOMPARE(Macros(page)->currentItem()->text(), QStringLiteral("b"));
        QCOMPARE(RowTexts(page), (QStringList{"B+", "10ms", "B-"}));
        QCOMPARE(Child<QSpinBox>(page, "NumberEdit")->value(), 12);
        QVERIFY(!Child(page, "Save")->isEnabled());
        QVERIFY(!page.RepeatModified);
    }

    // While recording, New and Delete show the notice and change nothing.
    void newOrDeleteWhileRecording_data()
    {
        QTest::addColumn<bool>("create");
        QTest::newRow("new") << true;
        QTest::newRow("delete") << false;
    }

    void newOrDeleteWhileRecording()
    {
        QFETCH(bool, create);
        QVERIFY(Put(FileOf("m"), "1\n"));
        Macro page;
        Select(page, "m");
        page.on_StartRecord_clicked();
        QVERIFY(MacroRecording);
        ModalAnswer notice = ModalAnswer::Click(QStringLiteral("NewHong"));
        if (create)
            page.CreateMewMacro();
        else
            page.DeleteMacro();
        QCOMPARE(notice.DialogClass(), QStringLiteral("ExeIsRun"));
        QCOMPARE(MacroNames(page), QStringList{"m"});
        QVERIFY(QFile::exists(FileOf("m")));
        page.on_StopRecord_clicked();
        QVERIFY(!MacroRecording);
    }

    // Reading a file through the page: line 1 gives the repeat mode.
    void repeatModeFromFile_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("count");
        QTest::newRow("0") << QByteArray("0") << "ReNumber" << 1;
        QTest::newRow("251") << QByteArray("251") << "ReNumber" << 1;
        QTest::newRow("abc") << QByteArray("abc") << "ReNumber" << 1;
        QTest::newRow("254") << QByteArray("254") << "ReUntilLoose" << 1;
        QTest::newRow("255") << QByteArray("255") << "ReUntilClick" << 1;
        QTest::newRow("253") << QByteArray("253") << "ReUntil" << 1;
        QTest::newRow("77") << QByteArray("77") << "ReNumber" << 77;
    }

    void repeatModeFromFile()
    {
        QFETCH(QByteArray, header);
        QFETCH(QString, mode);
        QFETCH(int, count);
        QVERIFY(Put(FileOf("m"), header + "\n0x04 1 0\n"));
        Macro page;
        Select(page, "m");
        QVERIFY(page.findChild<QCheckBox*>(mode)->isChecked());
        QCOMPARE(Child<QSpinBox>(page, "NumberEdit")->value(), count);
        QCOMPARE(RowTexts(page), QStringList{"A+"});
        QVERIFY(!page.RepeatModified);
    }

    // Inserting on the five-row fixture A, 1ms, B, 2ms, C.
    void insert_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("rows");
        const QString l = QStringLiteral("Left click");
        QTest::newRow("key, none current") << "key" << -1 << QStringList{"A+", "1ms", "B+", "2ms", "C+", "10ms", "K+"};
        QTest::newRow("key, first row") << "key" << 0 << QStringList{"A+", "1ms", "K+", "10ms", "B+", "2ms", "C+"};
        QTest::newRow("key, delay row") << "key" << 3 << QStringList{"A+", "1ms", "B+", "2ms", "K+", "10ms", "C+"};
        QTest::newRow("key, key row") << "key" << 2 << QStringList{"A+", "1ms", "B+", "2ms", "K+", "10ms", "C+"};
        QTest::newRow("key, last row") << "key" << 4 << QStringList{"A+", "1ms", "B+", "2ms", "C+", "10ms", "K+"};
        QTest::newRow("click, none current")
            << "click" << -1 << QStringList{"A+", "1ms", "B+", "2ms", "C+", "10ms", l + "+", "10ms", l + "-"};
        QTest::newRow("click, first row")
            << "click" << 0 << QStringList{"A+", "1ms", l + "+", "10ms", l + "-", "10ms", "B+", "2ms", "C+"};
        QTest::newRow("click, delay row")
            << "click" << 1 << QStringList{"A+", "1ms", l + "+", "10ms", l + "-", "10ms", "B+", "2ms", "C+"};
        QTest::newRow("click, key row")
            << "click" << 2 << QStringList{"A+", "1ms", "B+", "10ms", l + "+", "10ms", l + "-", "2ms", "C+"};
        QTest::newRow("click, last row")
            << "click" << 4 << QStringList{"A+", "1ms", "B+", "2ms", "C+", "10ms", l + "+", "10ms", l + "-"};
        QTest::newRow("delay, none current") << "delay" << -1 << QStringList{"A+", "1ms", "B+", "2ms", "C+", "50ms"};
        QTest::newRow("delay, first row") << "delay" << 0 << QStringList{"A+", "1ms", "B+", "2ms", "C+"};
        QTest::newRow("delay, delay row") << "delay" << 3 << QStringList{"A+", "1ms", "B+", "50ms", "C+"};
        QTest::newRow("delay, key row") << "delay" << 2 << QStringList{"A+", "50ms", "B+", "2ms", "C+"};
    }

    void insert()
    {
        QFETCH(QString, event);
        QFETCH(int, current);
        QFETCH(QStringList, rows);
        Macro page;
        FiveRows(page);
        QCOMPARE(RowTexts(page), (QStringList{"A+", "1ms", "B+", "2ms", "C+"}));
        Rows(page)->setCurrentRow(current);
        if (event == "key")
            page.InsertKeyRowWithDelay(QStringLiteral("K"), true);
        else if (event == "click")
            page.InsertMouseClickRows(MouseLeft);
        else
            page.InsertDelayRow(50);
        QCOMPARE(RowTexts(page), rows);
    }

    void insertIntoShortLists_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("key into empty") << "key" << QStringList{"K+"};
        QTest::newRow("click into empty") << "click" << QStringList{"Left click+", "10ms", "Left click-"};
        QTest::newRow("key after one row") << "key1" << QStringList{"A+", "10ms", "K+"};
        QTest::newRow("click after one row")
            << "click1" << QStringList{"A+", "10ms", "Left click+", "10ms", "Left click-"};
        QTest::newRow("delay with the one row current") << "delay1" << QStringList{"A+"};
    }

    void insertIntoShortLists()
    {
        QFETCH(QString, event);
        QFETCH(QStringList, rows);
        Macro page;
        New(page, QStringLiteral("m"));
        if (event.endsWith('1')) {
            page.AppendKeyRow(QStringLiteral("A"), true);
            Rows(page)->setCurrentRow(0);
        }
        if (event.startsWith("key"))
            page.InsertKeyRowWithDelay(QStringLiteral("K"), true);
        else if (event.startsWith("click"))
            page.InsertMouseClickRows(MouseLeft);
        else
            page.InsertDelayRow(50);
        QCOMPARE(RowTexts(page), rows);
    }

    // A key name outside the vocabulary is saved as the empty key; a mouse
    // row keeps its button after the language changed.
    void savedCodes()
    {
        Macro page;
        New(page, QStringLiteral("m"));
        page.AppendKeyRow(QStringLiteral("Ctrl"), true);
        Rows(page)->setCurrentRow(-1);
        page.InsertMouseClickRows(MouseForward);
        page.SlotChangeLanguage(1);
        QVERIFY(MouseButtonNames[MouseForward] != QStringLiteral("Forward click"));
        QCOMPARE(Rows(page)->item(2)->text(), MouseButtonNames[MouseForward]);
        page.on_Save_clicked();
        QCOMPARE(Content(FileOf("m")), QByteArray("1\n0x00 1 0\n10ms\n0x10 4 0\n10ms\n0x10 4 1\n"));
        // Read back under yet another language.
        page.SlotChangeLanguage(0);
        Select(page, "m");
        QCOMPARE(RowTexts(page), (QStringList{"+", "10ms", "Forward click+", "10ms", "Forward click-"}));
        page.on_Save_clicked();
        QCOMPARE(Content(FileOf("m")), QByteArray("1\n0x00 1 0\n10ms\n0x10 4 0\n10ms\n0x10 4 1\n"));
    }

    // Mouse rows are saved by the button they stand for, whatever the names
    // of the language loaded since: here one whose left click has no text and
    // whose right click is named like the key "A".
    void mouseRowsKeepTheirCodes()
    {
        QFile english(LanguageTexts::FileName(0));
        QVERIFY(english.open(QIODevice::ReadOnly));
        QByteArray texts = english.readAll();
        texts.replace("<ChooseEvent4>Left click</ChooseEvent4>", "<ChooseEvent4></ChooseEvent4>");
        texts.replace("<ChooseEvent5>Right click</ChooseEvent5>", "<ChooseEvent5>A</ChooseEvent5>");
        QTemporaryDir folder;
        Macro page;
        New(page, QStringLiteral("m"));
        page.InsertMouseClickRows(MouseLeft);
        Rows(page)->setCurrentRow(-1);
        page.InsertMouseClickRows(MouseRight);
        LanguageTexts::SetFolder(folder.path());
        QVERIFY(Put(LanguageTexts::FileName(0), texts));
        page.SlotChangeLanguage(0);
        LanguageTexts::SetFolder(QString());
        QCOMPARE(MouseButtonNames[MouseRight], QStringLiteral("A"));
        page.on_Save_clicked();
        page.SlotChangeLanguage(0);
        QCOMPARE(Content(FileOf("m")),
                 QByteArray("1\n0x01 4 0\n10ms\n0x01 4 1\n10ms\n0x02 4 0\n10ms\n0x02 4 1\n"));
    }

    // The menu over an item and over empty space.
    void contextMenu()
    {
        QVERIFY(Put(FileOf("m"), "1\n"));
        Macro page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
        QListWidget* list = Macros(page);
        const QPoint item = list->visualItemRect(list->item(0)).center();
        QCOMPARE(MenuTexts([&] { page.on_listWidgetHong_customContextMenuRequested(item); }),
                 (QStringList{"Export", "Rename", "Delete"}));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("m"));
        QCOMPARE(MenuTexts([&] { page.on_listWidgetHong_customContextMenuRequested(QPoint(20, 300)); }),
                 (QStringList{"New macro", "Import"}));
    }

    void newButtonToolTip_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("tip");
        QTest::newRow("English") << 0 << false;
        QTest::newRow("Japanese") << 5 << true;
        QTest::newRow("Russian") << 4 << false;
    }

    void newButtonToolTip()
    {
        QFETCH(int, language);
        QFETCH(bool, tip);
        Reset(language);
        Macro page;
        QAbstractButton* button = Child(page, "NewHong");
        QVERIFY(!button->text().isEmpty());
        QCOMPARE(button->toolTip(), tip ? button->text() : QString());
    }

    // A click beside the spin boxes takes their focus; Escape does nothing.
    void clickTakesSpinBoxFocus()
    {
        Macro page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
        page.activateWindow();
        QSpinBox* delay = Child<QSpinBox>(page, "DelayTime");
        delay->setFocus();
        TRY_VERIFY(delay->hasFocus());
        QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(delay->mapTo(&page, QPoint(2, 2))));
        QVERIFY(delay->hasFocus());
        QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!delay->hasFocus());
        QVERIFY(!Child<QSpinBox>(page, "NumberEdit")->hasFocus());
    }

    // Leaving the page ends a recording and makes the insert list usable.
    void leavingThePage()
    {
        QVERIFY(Put(FileOf("m"), "1\n"));
        Macro page;
        Select(page, "m");
        page.on_StartRecord_clicked();
        QVERIFY(!Child<QComboBox>(page, "ChooseEvent")->isEnabled());
        BusLog bus;
        page.SlotSetMacroPage();
        QCOMPARE(bus.signals_, QStringList{"record 1"});
        QVERIFY(!MacroRecording);
        QVERIFY(Child<QComboBox>(page, "ChooseEvent")->isEnabled());
        QVERIFY(Macros(page)->isEnabled());
        QVERIFY(!Child(page, "Save")->isEnabled());
        QVERIFY(Child(page, "StartRecord")->isVisibleTo(&page));
        QVERIFY(!Child(page, "StopRecord")->isVisibleTo(&page));
    }

    // The page with three macros, one shown with press, delay and release
    // rows, and its menu, in English and Chinese.
    void screenshots_data() { ScreenshotLanguages(); }

    void screenshots()
    {
        QFETCH(int, language);
        Reset(language);
        QVERIFY(Put(FileOf("Copy and paste"), "1\n0x01 0 0\n12ms\n0x06 1 0\n30ms\n0x06 1 1\n12ms\n0x01 0 1\n"));
        QVERIFY(Put(FileOf("Reload"), "254\n0x15 1 0\n45ms\n0x15 1 1\n"));
        QVERIFY(Put(FileOf("Triple click"), "3\n0x01 4 0\n10ms\n0x01 4 1\n"));
        Macro page;
        ShowOnDarkGround(page);
        Select(page, "Copy and paste");
        QVERIFY(!SaveScreenshot(&page, QStringLiteral("macro-page-") + QTest::currentDataTag()).isEmpty());
        QListWidget* list = Macros(page);
        QTimer timer;
        timer.setInterval(10);
        QString menuShot;
        connect(&timer, &QTimer::timeout, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                menuShot = SaveScreenshot(menu, QStringLiteral("macro-menu-") + QTest::currentDataTag());
                menu->close();
            }
        });
        timer.start();
        page.on_listWidgetHong_customContextMenuRequested(list->visualItemRect(list->item(1)).center());
        QVERIFY(!menuShot.isEmpty());
    }
};

TALVIRE_TEST_MAIN(MacroPageTest)
#include "test_macro_page.moc"
