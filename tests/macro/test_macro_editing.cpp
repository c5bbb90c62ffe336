// The macro page: editing rows by hand, Save, and recording from the keyboard.
#include "tests/macro/MacroPageTesting.h"
#include "tests/macro/ReadOnlyFolder.h"

#include "core/SharedState.h"
#include "dialogs/MacroKeyHook.h"
#include "dialogs/addKey.h"
#include "platform/KeySource.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>

#include <memory>

using namespace MacroPageTesting;

namespace {
// Virtual-key codes of the keys the tests press.
constexpr int VkA = 0x41;
constexpr int VkB = 0x42;
constexpr int VkClear = 12;
constexpr int VkMediaPlay = 0xB3;

// One key message: a code and press (true) or release.
struct KeyMessage {
    int vk;
    bool down;
};
using KeyMessages = QVector<KeyMessage>;
} // namespace

Q_DECLARE_METATYPE(KeyMessages)

namespace {

// The rows with every measured delay written "d".
QStringList RowsWithDelays(Macro& page)
{
    QStringList rows = RowTexts(page);
    static const QRegularExpression measured(QStringLiteral("^\\d+ms$"));
    for (QString& row : rows) {
        if (measured.match(row).hasMatch())
            row = QStringLiteral("d");
    }
    return rows;
}

// Answers the key dialog with the key of a virtual-key code, then OK;
// `next` is set up while the dialog is open, for a dialog that follows it.
[[nodiscard]] ModalAnswer KeyAnswer(int vk, std::function<void()> next = {}, const char* file = __builtin_FILE(),
                                    int line = __builtin_LINE())
{
    return ModalAnswer(
        [vk, next](QWidget* dialog) {
            auto* keys = qobject_cast<addKey*>(dialog);
            QVERIFY(keys);
            keys->UpdateCapslockTip(vk, true, false);
            if (next)
                next();
            dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        },
        file, line);
}

// The text a notice shows, then closes it.
[[nodiscard]] ModalAnswer ReadNotice(QString* text, const char* file = __builtin_FILE(), int line = __builtin_LINE())
{
    return ModalAnswer(
        [text](QWidget* dialog) {
            *text = dialog->findChild<QLabel*>(QStringLiteral("label"))->text();
            dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        },
        file, line);
}

// Key rows followed by delay rows, as a recording of that many keys leaves them.
void KeyRows(Macro& page, int keys)
{
    for (int key = 0; key < keys; ++key) {
        if (key > 0)
            page.AppendDelayRow(5);
        page.AppendKeyRow(QStringLiteral("A"), key % 2 == 0);
    }
}
} // namespace

class MacroEditingTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        Reset(0);
        MacroRecording = false;
        // Key messages come as if a window of the program were in front.
        KeyboardHook::SetForegroundTest([] { return true; });
    }

    void cleanup() { KeyboardHook::SetForegroundTest({}); }

    // DeleteKey takes one key row and the delay beside it; three rows or
    // fewer all go.
    void deleteKey_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("second delay") << 3 << QStringList{"A+", "1ms", "C+"};
        QTest::newRow("middle key") << 2 << QStringList{"A+", "1ms", "C+"};
        QTest::newRow("last key") << 4 << QStringList{"A+", "1ms", "B+"};
        QTest::newRow("first key") << 0 << QStringList{"B+", "2ms", "C+"};
        QTest::newRow("first delay") << 1 << QStringList{"B+", "2ms", "C+"};
        QTest::newRow("none current") << -1 << QStringList{"A+", "1ms", "B+", "2ms", "C+"};
    }

    void deleteKey()
    {
        QFETCH(int, current);
        QFETCH(QStringList, rows);
        Macro page;
        FiveRows(page);
        Rows(page)->setCurrentRow(current);
        page.on_DeleteKey_clicked();
        QCOMPARE(RowTexts(page), rows);
        QCOMPARE(Child(page, "Save")->isEnabled(), current >= 0);
        QCOMPARE(page.EventsModified, current >= 0);
    }

    void deleteKeyOnThreeRows_data()
    {
        QTest::addColumn<int>("current");
        QTest::newRow("none current") << -1;
        QTest::newRow("first") << 0;
        QTest::newRow("delay") << 1;
        QTest::newRow("last") << 2;
    }

    void deleteKeyOnThreeRows()
    {
        QFETCH(int, current);
        Macro page;
        New(page, QStringLiteral("m"));
        KeyRows(page, 2);
        Rows(page)->setCurrentRow(current);
        page.on_DeleteKey_clicked();
        QCOMPARE(Rows(page)->count(), 0);
        QVERIFY(Child(page, "Save")->isEnabled());
        QVERIFY(page.EventsModified);
    }

    // The insert list: what each item adds, and what it needs.
    void chooseEvent_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("marked");
        QTest::newRow("key press") << true << -1 << 1 << QStringList{"A+", "1ms", "B+", "10ms", "K+"} << true;
        QTest::newRow("key release") << true << 0 << 2 << QStringList{"A+", "1ms", "K-", "10ms", "B+"} << true;
        QTest::newRow("key without a macro") << false << -1 << 1 << QStringList{"A+", "1ms", "B+"} << false;
        QTest::newRow("delay") << true << 2 << 3 << QStringList{"A+", "300ms", "B+"} << true;
        QTest::newRow("delay, no row current") << true << -1 << 3 << QStringList{"A+", "1ms", "B+"} << false;
        QTest::newRow("right click") << true << -1 << 5
                                     << QStringList{"A+", "1ms", "B+", "10ms", "Right click+", "10ms", "Right click-"}
                                     << true;
        QTest::newRow("back click") << true << 0 << 8
                                    << QStringList{"A+", "1ms", "Back click+", "10ms", "Back click-", "10ms", "B+"}
                                    << true;
        QTest::newRow("prompt") << true << 0 << 0 << QStringList{"A+", "1ms", "B+"} << false;
    }

    void chooseEvent()
    {
        QFETCH(bool, selected);
        QFETCH(int, current);
        QFETCH(int, index);
        QFETCH(QStringList, rows);
        QFETCH(bool, marked);
        QVERIFY(Put(FileOf("m"), "1\n0x04 1 0\n1ms\n0x05 1 0\n"));
        Macro page;
        Select(page, "m");
        Rows(page)->setCurrentRow(current);
        if (!selected)
            Macros(page)->setCurrentRow(-1);
        std::unique_ptr<ModalAnswer> answer;
        if (index == 1 || index == 2)
            answer = std::make_unique<ModalAnswer>(KeyAnswer(0x4B));
        if (index == 3) {
            answer = std::make_unique<ModalAnswer>([](QWidget* dialog) {
                dialog->findChild<QSpinBox*>(QStringLiteral("spinBox"))->setValue(300);
                dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
            });
        }
        page.on_ChooseEvent_activated(index);
        QCOMPARE(RowTexts(page), rows);
        QCOMPARE(page.EventsModified, marked);
        QCOMPARE(Child(page, "Save")->isEnabled(), marked);
    }

    // An insert that would pass the device's 70 key rows shows the limit and
    // adds nothing.
    void insertBeyondTheLimit_data()
    {
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("limit");
        QTest::newRow("key onto 70") << 70 << 1 << true;
        QTest::newRow("key onto 69") << 69 << 1 << false;
        QTest::newRow("click onto 69") << 69 << 4 << true;
        QTest::newRow("click onto 68") << 68 << 4 << false;
    }

    void insertBeyondTheLimit()
    {
        QFETCH(int, keys);
        QFETCH(int, index);
        QFETCH(bool, limit);
        Macro page;
        New(page, QStringLiteral("m"));
        KeyRows(page, keys);
        const int before = Rows(page)->count();
        Rows(page)->setCurrentRow(-1);
        std::unique_ptr<ModalAnswer> notice;
        const auto expectNotice = [&] { notice = std::make_unique<ModalAnswer>(ModalAnswer::Click(QStringLiteral("NewHong"))); };
        std::unique_ptr<ModalAnswer> key;
        if (index == 1)
            key = std::make_unique<ModalAnswer>(KeyAnswer(VkB, limit ? std::function<void()>(expectNotice) : nullptr));
        else if (limit)
            expectNotice();
        page.on_ChooseEvent_activated(index);
        if (limit) {
            QCOMPARE(notice->DialogClass(), QStringLiteral("KeyNumberLimit"));
            QCOMPARE(Rows(page)->count(), before);
            QVERIFY(!page.EventsModified);
        } else {
            QCOMPARE(Rows(page)->count(), before + (index == 1 ? 2 : 4));
            QVERIFY(page.EventsModified);
        }
    }

    // Amend: a delay row takes the new delay, a key row the new key and keeps
    // its press or release; a cancelled dialog changes nothing.
    void amend()
    {
        QVERIFY(Put(FileOf("m"), "1\n0x04 1 0\n1ms\n0x05 1 1\n"));
        Macro page;
        Select(page, "m");
        {
            Rows(page)->setCurrentRow(1);
            ModalAnswer delay([](QWidget* dialog) {
                dialog->findChild<QSpinBox*>(QStringLiteral("spinBox"))->setValue(40);
                dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
            });
            page.on_Amend_clicked();
        }
        QCOMPARE(RowTexts(page), (QStringList{"A+", "40ms", "B-"}));
        QVERIFY(page.EventsModified);
        QVERIFY(Child(page, "Save")->isEnabled());
        {
            Rows(page)->setCurrentRow(2);
            ModalAnswer key = KeyAnswer(0xA3);
            page.on_Amend_clicked();
        }
        {
            Rows(page)->setCurrentRow(0);
            ModalAnswer cancel = ModalAnswer::Click(QStringLiteral("NewHong_2"));
            page.on_Amend_clicked();
        }
        QCOMPARE(RowTexts(page), (QStringList{"A+", "40ms", "RCtrl-"}));
        page.on_Save_clicked();
        QCOMPARE(Content(FileOf("m")), QByteArray("1\n0x04 1 0\n40ms\n0x10 0 1\n"));
    }

    // Save writes line 1 from the repeat mode and tells the button page what
    // changed: rows (0), the repeat (1), or both, rows first.
    void save_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("signals_");
        QTest::newRow("until") << "ReUntil" << QByteArray("253\n") << QStringList{"update m 1"};
        QTest::newRow("while held") << "ReUntilLoose" << QByteArray("254\n") << QStringList{"update m 1"};
        QTest::newRow("until clicked") << "ReUntilClick" << QByteArray("255\n") << QStringList{"update m 1"};
        QTest::newRow("count only") << "count" << QByteArray("12\n") << QStringList{"update m 1"};
        QTest::newRow("rows only") << "rows" << QByteArray("1\n0x01 4 0\n10ms\n0x01 4 1\n")
                                   << QStringList{"update m 0"};
        QTest::newRow("rows and count") << "rows count" << QByteArray("12\n0x01 4 0\n10ms\n0x01 4 1\n")
                                        << QStringList{"update m 0", "update m 1"};
    }

    void save()
    {
        QFETCH(QString, change);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, signals_);
        Macro page;
        New(page, QStringLiteral("m"));
        QVERIFY(!Child(page, "Save")->isEnabled());
        if (change.contains("rows"))
            page.on_ChooseEvent_activated(4);
        if (change.contains("count"))
            Child<QSpinBox>(page, "NumberEdit")->setValue(12);
        if (change.startsWith("ReUntil"))
            Child(page, change.toLatin1().constData())->click();
        QAbstractButton* save = Child(page, "Save");
        QVERIFY(save->isEnabled());
        BusLog bus;
        save->click();
        QCOMPARE(Content(FileOf("m")), content);
        QCOMPARE(bus.signals_, signals_);
        QVERIFY(!save->isEnabled());
        QVERIFY(!page.EventsModified);
        QVERIFY(!page.RepeatModified);
    }

    // Save writes the macro shown when it was clicked, whatever is selected
    // while it runs or right after.
    void saveKeepsItsTarget()
    {
        QVERIFY(Put(FileOf("a"), "1\n0x04 1 0\n"));
        QVERIFY(Put(FileOf("b"), "2\n0x05 1 0\n"));
        Macro page;
        Select(page, "a");
        page.on_ChooseEvent_activated(4);
        Child<QSpinBox>(page, "NumberEdit")->setValue(3);
        // A click on "b" waiting in the event queue, and one made by a
        // receiver of the first signal.
        QTimer::singleShot(0, &page, [&page] { Select(page, "b"); });
        BusLog bus;
        QObject receiver;
        connect(PostMsg::Instance(), &PostMsg::SigUpDataMacro, &receiver, [&page](const QString&, int mode) {
            if (mode == 0)
                Select(page, "b");
        });
        page.on_Save_clicked();
        QCOMPARE(bus.signals_, (QStringList{"update a 0", "update a 1"}));
        QCOMPARE(Content(FileOf("a")), QByteArray("3\n0x04 1 0\n10ms\n0x01 4 0\n10ms\n0x01 4 1\n"));
        // The queued click on "b" shows it, unchanged.
        TRY_COMPARE(RowTexts(page), QStringList{"B+"});
        QCOMPARE(Content(FileOf("b")), QByteArray("2\n0x05 1 0\n"));
    }

    // A save that cannot be written keeps the old file, the changes and Save,
    // tells the user, and tells the button page nothing.
    void failedSaveKeepsTheChanges()
    {
        QVERIFY(Put(FileOf("m"), "1\n0x04 1 0\n"));
        Macro page;
        Select(page, "m");
        page.on_ChooseEvent_activated(4);
        BusLog bus;
        QString shown;
        {
            ReadOnlyFolder folder(MacroFile::Folder());
            if (!folder.Ok())
                QSKIP("the macro folder cannot be made read-only here");
            ModalAnswer notice = Notice(&shown);
            page.on_Save_clicked();
            QCOMPARE(notice.DialogClass(), QStringLiteral("ExeIsRun"));
        }
        QCOMPARE(shown, QStringLiteral("The macro could not be saved. Your changes are kept."));
        QCOMPARE(RowTexts(page), (QStringList{"A+", "10ms", "Left click+", "10ms", "Left click-"}));
        QCOMPARE(Content(FileOf("m")), QByteArray("1\n0x04 1 0\n"));
        QVERIFY(bus.signals_.isEmpty());
        QVERIFY(page.EventsModified);
        QVERIFY(Child(page, "Save")->isEnabled());
        page.on_Save_clicked();
        QCOMPARE(Content(FileOf("m")), QByteArray("1\n0x04 1 0\n10ms\n0x01 4 0\n10ms\n0x01 4 1\n"));
        QCOMPARE(bus.signals_, QStringList{"update m 0"});
    }

    // The default delay never passes 65535; changing it marks nothing.
    void delayTimeCap_data()
    {
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("kept");
        QTest::newRow("70000") << 70000 << 65535;
        QTest::newRow("65535") << 65535 << 65535;
        QTest::newRow("65534") << 65534 << 65534;
        QTest::newRow("10") << 10 << 10;
    }

    void delayTimeCap()
    {
        QFETCH(int, typed);
        QFETCH(int, kept);
        Macro page;
        QSpinBox* delay = Child<QSpinBox>(page, "DelayTime");
        delay->setValue(typed);
        QCOMPARE(delay->value(), kept);
        QVERIFY(!Child(page, "Save")->isEnabled());
    }

    // While recording, Amend, DeleteKey and Save show "stop first" and change
    // nothing.
    void editingWhileRecording_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Amend") << "Amend";
        QTest::newRow("DeleteKey") << "DeleteKey";
        QTest::newRow("Save") << "Save";
    }

    void editingWhileRecording()
    {
        QFETCH(QString, button);
        QVERIFY(Put(FileOf("m"), "1\n0x04 1 0\n"));
        Macro page;
        Select(page, "m");
        page.on_StartRecord_clicked();
        MacroKeyHook keys;
        keys.HookProc(VkB, KeySource::KeyDown);
        keys.HookProc(VkB, KeySource::KeyUp);
        Rows(page)->setCurrentRow(0);
        const QStringList rows = RowTexts(page);
        QString text;
        {
            ModalAnswer notice = ReadNotice(&text);
            if (button == "Amend")
                page.on_Amend_clicked();
            else if (button == "DeleteKey")
                page.on_DeleteKey_clicked();
            else
                page.on_Save_clicked();
            QCOMPARE(notice.DialogClass(), QStringLiteral("ExeIsRun"));
        }
        QCOMPARE(text, QStringLiteral("Please stop the recording first"));
        QCOMPARE(RowTexts(page), rows);
        QVERIFY(MacroRecording);
        QCOMPARE(Content(FileOf("m")), QByteArray("1\n0x04 1 0\n"));
        page.on_StopRecord_clicked();
    }

    // Recording: what key messages make of the rows.
    void record_data()
    {
        QTest::addColumn<KeyMessages>("keys");
        QTest::addColumn<bool>("defaultDelay");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("press, release") << KeyMessages{{VkA, true}, {VkA, false}} << false
                                        << QStringList{"A+", "d", "A-"};
        QTest::newRow("held with repeats")
            << KeyMessages{{VkA, true}, {VkA, true}, {VkA, true}, {VkA, true}, {VkA, true}, {VkA, true}} << false
            << QStringList{"A+"};
        QTest::newRow("held, then released")
            << KeyMessages{{VkA, true}, {VkA, true}, {VkA, true}, {VkA, false}} << false
            << QStringList{"A+", "d", "A-"};
        QTest::newRow("overlapping, then a repeat")
            << KeyMessages{{VkA, true}, {VkB, true}, {VkA, false}, {VkB, true}, {VkB, true}} << false
            << QStringList{"A+", "d", "B+", "d", "A-", "d", "B+"};
        QTest::newRow("media key between")
            << KeyMessages{{VkA, true}, {VkA, false}, {VkMediaPlay, true}, {VkMediaPlay, false}, {VkB, true}} << false
            << QStringList{"A+", "d", "A-", "d", "B+"};
        QTest::newRow("Clear") << KeyMessages{{VkClear, true}, {VkClear, false}} << false
                               << QStringList{"+", "d", "-"};
        QTest::newRow("space and right Alt")
            << KeyMessages{{0x20, true}, {0xA5, true}} << false << QStringList{"Space+", "d", "RAlt+"};
        QTest::newRow("default delay") << KeyMessages{{VkA, true}, {VkB, true}, {VkA, false}} << true
                                       << QStringList{"A+", "250ms", "B+", "250ms", "A-"};
    }

    void record()
    {
        QFETCH(KeyMessages, keys);
        QFETCH(bool, defaultDelay);
        QFETCH(QStringList, rows);
        QVERIFY(Put(FileOf("m"), "1\n0x04 1 0\n"));
        Macro page;
        Select(page, "m");
        if (defaultDelay) {
            Child(page, "DefaultDelay")->click();
            Child<QSpinBox>(page, "DelayTime")->setValue(250);
        }
        BusLog bus;
        page.on_StartRecord_clicked();
        QVERIFY(MacroRecording);
        QVERIFY(RowTexts(page).isEmpty());
        QVERIFY(!Child<QComboBox>(page, "ChooseEvent")->isEnabled());
        QVERIFY(!Macros(page)->isEnabled());
        MacroKeyHook hook;
        for (const KeyMessage& key : keys) {
            QTest::qWait(2);
            hook.HookProc(key.vk, key.down ? KeySource::KeyDown : KeySource::KeyUp);
        }
        const QStringList recorded = defaultDelay ? RowTexts(page) : RowsWithDelays(page);
        QCOMPARE(recorded, rows);
        page.on_StopRecord_clicked();
        QCOMPARE(bus.signals_, (QStringList{"record 0", "record 1"}));
        QVERIFY(!MacroRecording);
        QVERIFY(Child(page, "Save")->isEnabled());
        QVERIFY(Child<QComboBox>(page, "ChooseEvent")->isEnabled());
        // Keys after the stop add nothing; Save keeps the recording.
        hook.HookProc(VkB, KeySource::KeyDown);
        QCOMPARE(RowTexts(page).size(), rows.size());
        page.on_Save_clicked();
        QCOMPARE(MacroFile::List(MacroFile::Folder()), QStringList{"m"});
        QVERIFY(Content(FileOf("m")).startsWith("1\n"));
    }

    // The 70th key row ends the recording with the limit notice: 139 rows.
    void recordUpToTheLimit()
    {
        QVERIFY(Put(FileOf("m"), "1\n"));
        Macro page;
        Select(page, "m");
        page.on_StartRecord_clicked();
        MacroKeyHook hook;
        QList<int> codes;
        for (int vk = 0x41; vk <= 0x5A; ++vk)
            codes << vk;
        for (int vk = 0x30; vk <= 0x38; ++vk)
            codes << vk;
        QCOMPARE(codes.size(), 35);
        {
            ModalAnswer limit = ModalAnswer::Click(QStringLiteral("NewHong"));
            for (int vk : qAsConst(codes)) {
                hook.HookProc(vk, KeySource::KeyDown);
                hook.HookProc(vk, KeySource::KeyUp);
            }
            QCOMPARE(limit.DialogClass(), QStringLiteral("KeyNumberLimit"));
        }
        QCOMPARE(Rows(page)->count(), 139);
        QCOMPARE(RowTexts(page).last(), QStringLiteral("8-"));
        QVERIFY(!MacroRecording);
        hook.HookProc(0x39, KeySource::KeyDown);
        QCOMPARE(Rows(page)->count(), 139);
        // The page still looks as if recording until Stop.
        QVERIFY(Child(page, "StopRecord")->isVisibleTo(&page));
        BusLog bus;
        page.on_StopRecord_clicked();
        QCOMPARE(bus.signals_, QStringList{"record 1"});
        QVERIFY(Child(page, "StartRecord")->isVisibleTo(&page));
    }

    // Start without a macro: the notice, no recording.
    void startWithoutAMacro()
    {
        QVERIFY(Put(FileOf("m"), "1\n"));
        Macro page;
        BusLog bus;
        QString text;
        {
            ModalAnswer notice = ReadNotice(&text);
            page.on_StartRecord_clicked();
        }
        QCOMPARE(text, QStringLiteral("Please select a macro first"));
        QVERIFY(!MacroRecording);
        QVERIFY(bus.signals_.isEmpty());
        QVERIFY(Child(page, "StartRecord")->isVisibleTo(&page));
    }

    // Keys typed into the program's window reach the recorder through the
    // key source, while recording only.
    void recordFromTheKeySource()
    {
        QVERIFY(Put(FileOf("m"), "1\n"));
        Macro page;
        Select(page, "m");
        const auto type = [](Qt::Key key, const QString& text) {
            KeySource::Instance()->Deliver(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
            KeySource::Instance()->Deliver(QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
        };
        page.on_StartRecord_clicked();
        type(Qt::Key_A, QStringLiteral("a"));
        type(Qt::Key_Space, QStringLiteral(" "));
        page.on_StopRecord_clicked();
        type(Qt::Key_B, QStringLiteral("b"));
        QCOMPARE(RowsWithDelays(page), (QStringList{"A+", "d", "A-", "d", "Space+", "d", "Space-"}));
    }

    // A recording in progress and a finished macro of mouse and key rows, in
    // English and Chinese.
    void screenshots_data() { ScreenshotLanguages(); }

    void screenshots()
    {
        QFETCH(int, language);
        Reset(language);
        QVERIFY(Put(FileOf("Sprint"), "254\n0x1A 1 0\n"));
        QVERIFY(Put(FileOf("Reload"), "1\n0x15 1 0\n45ms\n0x15 1 1\n"));
        Macro page;
        ShowOnDarkGround(page);
        Select(page, "Sprint");
        page.on_StartRecord_clicked();
        MacroKeyHook hook;
        for (const KeyMessage& key : {KeyMessage{0xA0, true}, KeyMessage{0x57, true}, KeyMessage{0x57, false},
                                      KeyMessage{0xA0, false}}) {
            QTest::qWait(15);
            hook.HookProc(key.vk, key.down ? KeySource::KeyDown : KeySource::KeyUp);
        }
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        QVERIFY(!SaveScreenshot(&page, QStringLiteral("macro-recording-") + tag).isEmpty());
        page.on_StopRecord_clicked();
        Rows(page)->setCurrentRow(-1);
        page.on_ChooseEvent_activated(4);
        page.on_Save_clicked();
        QVERIFY(!SaveScreenshot(&page, QStringLiteral("macro-finished-") + tag).isEmpty());
    }
};

TALVIRE_TEST_MAIN(MacroEditingTest)
#include "test_macro_editing.moc"
