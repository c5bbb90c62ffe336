// Macros on the mouse buttons, the fallback when a macro is deleted, and the
// configuration as a whole: export, import, reset and the onboard
// configurations, on the simulated mouse.
#include "tests/buttons/ButtonPageTesting.h"

#include "core/ButtonRecords.h"
#include "core/ConfigurationFile.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "dialogs/FileChooser.h"
#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace ButtonPageTesting;

namespace {
const char* const ModelTwo = R"({
  "receivers": [ { "id": "receiver", "kind": 2, "model": 2 } ],
  "mice": [ { "id": "mouse", "model": 2, "receiver": "receiver" } ] })";

bool PutMacro(const QString& name, const QByteArray& content)
{
    QFile file(MacroFile::PathOf(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// Events as "flag kind code delay" texts, up to the count.
QStringList Events(const MacroBlock& block)
{
    QStringList events;
    for (int i = 0; i < block.count && i < MacroBlock::MaxEvents; ++i) {
        const DeviceEvent& e = block.events[i];
        events << QStringLiteral("%1 %2 %3 %4").arg(e.release).arg(e.kind).arg(int(e.code)).arg(quint32(e.delay));
    }
    return events;
}

QByteArray NameBytes(const MacroBlock& block)
{
    return QByteArray(block.name, MacroBlock::MaxNameLength);
}

QByteArray Delays(int rows)
{
    QByteArray content = "1\n";
    for (int i = 0; i < rows; ++i)
        content += "0x04 1 0\n" + QByteArray::number(i + 1) + "ms\n";
    return content;
}
} // namespace

class ButtonConfigTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The program's waits, twenty times faster.
        Timing::SetScale(0.05);
    }

    void cleanup()
    {
        for (QString& name : MouseButtonNames)
            name.clear();
    }

    // A macro file as the block the mouse stores.
    void readMacroFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("events");   // "flag kind code delay"; empty: not checked
        QTest::addColumn<int>("count");
        QTest::newRow("press and release of A") << "ab" << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n20ms\n") << true
                                                << true << QStringList{"0 1 4 10", "1 1 4 20", "0 0 0 0"} << 3;
        QTest::newRow("repeat code alone") << "r" << QByteArray("255\n") << true << true << QStringList{"0 0 0 0"} << 1;
        QTest::newRow("release without its line feed") << "nolf" << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1") << true
                                                       << true << QStringList{"0 1 4 10", "1 1 4 0"} << 2;
        QTest::newRow("release with a trailing blank") << "blank" << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1 \n")
                                                       << true << true << QStringList{"0 1 4 10", "1 1 4 0"} << 2;
        QTest::newRow("a bad flag leaves the row out") << "flag" << QByteArray("1\n0x04 1 0\n10ms\n0x05 1 x\n20ms\n")
                                                       << true << true
                                                       << QStringList{"0 1 4 10", "0 0 0 20", "0 0 0 0"} << 3;
        QTest::newRow("75 delay rows fill 70 events") << "long" << Delays(75) << true << true << QStringList() << 70;
        QTest::newRow("unknown code") << "unknown" << QByteArray("1\n0x70 1 0\n5ms\n") << true << true
                                      << QStringList{"0 1 0 5", "0 0 0 0"} << 2;
        QTest::newRow("mouse button") << "click" << QByteArray("1\n0x01 4 0\n5ms\n0x01 4 1\n") << true << true
                                      << QStringList{"0 4 1 5", "1 4 1 0"} << 2;
        QTest::newRow("interface not ready") << "ab" << QByteArray("3\n0x04 1 0\n10ms\n") << false << false
                                             << QStringList() << 0;
        QTest::newRow("no such file") << "" << QByteArray() << true << false << QStringList() << 0;
    }

    void readMacroFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, ready);
        QFETCH(bool, ok);
        QFETCH(QStringList, events);
        QFETCH(int, count);
        Session session;
        MouseButtonNames[MouseLeft] = QStringLiteral("Left click");
        if (!name.isEmpty())
            QVERIFY(PutMacro(name, content));
        UiReady = ready;
        bool read = !ok;
        const MacroBlock block = session.page->ReadMacroFile(name.isEmpty() ? QStringLiteral("none") : name, 0, &read);
        QCOMPARE(read, ok);
        QCOMPARE(int(block.count), count);
        if (!ok)
            return;
        QCOMPARE(int(block.nameLength), name.toUtf8().size());
        QCOMPARE(NameBytes(block).left(block.nameLength), name.toUtf8());
        if (!events.isEmpty())
            QCOMPARE(Events(block).mid(0, events.size()), events);
        if (count == 70)
            QCOMPARE(quint32(block.events[69].delay), 70u);
    }

    // A name longer than the block's field is cut between characters.
    void longMacroName()
    {
        Session session;
        const QString name = QStringLiteral("a") + QString(13, QChar(0x5B8F));   // 1 + 13 x 3 bytes
        QCOMPARE(name.toUtf8().size(), 40);
        QVERIFY(PutMacro(name, "1\n"));
        UiReady = true;
        bool ok = false;
        const MacroBlock block = session.page->ReadMacroFile(name, 0, &ok);
        QVERIFY(ok);
        QCOMPARE(int(block.nameLength), 28);
        QCOMPARE(QString::fromUtf8(NameBytes(block).left(28)), name.left(10));
        QCOMPARE(NameBytes(block).mid(28), QByteArray(2, '\0'));
    }

    // A macro from the list goes to the checked row's button; without a row,
    // or with the mouse off, nothing is stored.
    void choosingAMacro_data()
    {
        QTest::addColumn<int>("row");   // -1: none checked
        QTest::addColumn<bool>("on");
        QTest::newRow("row 4: device button 4") << 3 << true;
        QTest::newRow("row 5: device button 3") << 4 << true;
        QTest::newRow("no row") << -1 << true;
        QTest::newRow("mouse off") << 1 << false;
    }

    void choosingAMacro()
    {
        QFETCH(int, row);
        QFETCH(bool, on);
        Session session;
        QVERIFY(PutMacro(QStringLiteral("Copy"), "254\n0x06 1 0\n15ms\n0x06 1 1\n15ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.SlotAddMacroButton();
        if (!on) {
            Worker::OnlineCheckTimer()->stop();
            SimDevice_SetPower("mouse", 0);
        }
        const int rowButtons[] = {0, 1, 2, 4, 3, 5};
        const int button = row < 0 ? -1 : rowButtons[row];
        if (row >= 0)
            page.LabelOf(button)->setChecked(true);
        MacroButton(page, QStringLiteral("Copy"))->click();
        QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_9"));
        if (row < 0 || !on) {
            QCOMPARE(session.mouse.Writes(), 0);
            return;
        }
        const FlashDataMap stored = session.mouse.Stored();
        QCOMPARE(FunctionHex(stored, button), Hex(std::array<quint8, 3>{6, quint8(button), 254}.data(), 3));
        QCOMPARE(NameBytes(stored.macros[button]).left(5), QByteArray("Copy\0", 5));
        QCOMPARE(Events(stored.macros[button]), (QStringList{"0 1 6 15", "1 1 6 15", "0 0 0 0"}));
        QCOMPARE(page.LabelOf(button)->text(), page.MacroPrefix + "Copy");
        QCOMPARE(page.ButtonTypes.at(button), 6);
    }

    // A save in the macro editor reaches the rows that hold the macro, and
    // only rows that hold a macro.
    void savedMacro()
    {
        Session session;
        QVERIFY(PutMacro(QStringLiteral("Ctrl+A"), "5\n0x04 1 0\n10ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.SlotAddMacroButton();
        page.SetButtonComboKey(0, QStringLiteral("Ctrl+A"));
        for (int button : {1, 5}) {
            page.LabelOf(button)->setChecked(true);
            MacroButton(page, QStringLiteral("Ctrl+A"))->click();
        }
        QCOMPARE(page.LabelOf(0)->text(), QStringLiteral("Ctrl+A"));
        QCOMPARE(page.LabelOf(5)->text(), page.MacroPrefix + "Ctrl+A");
        QSignalSpy download(PostMsg::Instance(), &PostMsg::SigMacroDownLoadData);
        page.SlotUpDataMacro(QStringLiteral("Ctrl+A"), 0);
        TRY_COMPARE(download.count(), 2);
        QCOMPARE(download.at(0).at(1).toInt(), 1);
        QCOMPARE(download.at(1).at(1).toInt(), 5);

        QVERIFY(PutMacro(QStringLiteral("Ctrl+A"), "9\n0x04 1 0\n10ms\n"));
        page.SlotUpDataMacro(QStringLiteral("Ctrl+A"), 1);
        const FlashDataMap stored = session.mouse.Stored();
        QCOMPARE(int(stored.buttons[1].value2), 9);
        QCOMPARE(int(stored.buttons[5].value2), 9);
        QCOMPARE(int(stored.buttons[0].type), 5);
    }

    // A save of a macro (its events or its repeat code) and its rename touch
    // only buttons whose function is a macro: a key combination whose label
    // reads as the macro's name keeps its label, its function and its bytes.
    void onlyMacroButtonsFollowTheMacro_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("events saved") << QStringLiteral("save");
        QTest::newRow("repeat code saved") << QStringLiteral("repeat");
        QTest::newRow("renamed") << QStringLiteral("rename");
    }

    void onlyMacroButtonsFollowTheMacro()
    {
        QFETCH(QString, action);
        const QString name = QStringLiteral("Ctrl+A");
        Session session;
        QVERIFY(PutMacro(name, "5\n0x04 1 0\n10ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.SlotAddMacroButton();
        page.SetButtonComboKey(0, name);
        page.LabelOf(5)->setChecked(true);
        MacroButton(page, name)->click();
        QCOMPARE(page.LabelOf(0)->text(), name);
        QCOMPARE(page.LabelOf(5)->text(), page.MacroPrefix + name);
        const FlashDataMap before = session.mouse.Stored();
        QCOMPARE(int(before.buttons[0].type), 5);

        QSignalSpy download(PostMsg::Instance(), &PostMsg::SigMacroDownLoadData);
        QVERIFY(PutMacro(name, "9\n0x04 1 0\n10ms\n"));
        if (action == QLatin1String("save")) {
            page.SlotUpDataMacro(name, 0);
            TRY_VERIFY(!page.MacrosPending());
            QCOMPARE(download.count(), 1);
            QCOMPARE(download.at(0).at(1).toInt(), 5);
        } else if (action == QLatin1String("repeat")) {
            page.SlotUpDataMacro(name, 1);
            QCOMPARE(int(session.mouse.Stored().buttons[5].value2), 9);
        } else {
            QVERIFY(QFile::rename(MacroFile::PathOf(name), MacroFile::PathOf(QStringLiteral("B"))));
            page.SlotMacroRename(name, QStringLiteral("B"));
            QCOMPARE(page.LabelOf(5)->text(), page.MacroPrefix + "B");
            QCOMPARE(NameBytes(session.mouse.Stored().macros[5]).left(2), QByteArray("B\0", 2));
        }
        const FlashDataMap after = session.mouse.Stored();
        QCOMPARE(page.LabelOf(0)->text(), name);
        QCOMPARE(page.ButtonTypes.at(0), 5);
        QCOMPARE(FunctionHex(after, 0), FunctionHex(before, 0));
        QCOMPARE(KeyRecordHex(after, 0), KeyRecordHex(before, 0));
        QCOMPARE(Hex(&after.macros[0], sizeof(MacroBlock)), Hex(&before.macros[0], sizeof(MacroBlock)));
    }

    // The pause before a saved macro's events go to the mouse runs on a
    // timer: the save returns at once and the window keeps taking input.
    // What happens meanwhile changes where and under which name the events
    // go, never which buttons get a write they should not.
    void savedMacroPause_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QStringList>("downloads");   // "name button", in order
        QTest::addColumn<bool>("atOnce");             // sent before the pause ends
        const QStringList both{"A 1", "A 5"};
        QTest::newRow("nothing") << QString() << both << false;
        QTest::newRow("saved again: one write each") << "save" << both << false;
        QTest::newRow("a button given another function") << "reassign" << QStringList{"A 1"} << false;
        QTest::newRow("a button given another macro") << "other macro" << QStringList{"A 1"} << false;
        QTest::newRow("renamed") << "rename" << QStringList{"B 1", "B 5"} << false;
        QTest::newRow("deleted") << "delete" << QStringList{} << false;
        QTest::newRow("frame left") << "leave" << both << true;
    }
    void savedMacroPause()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QStringList, downloads);
        QFETCH(bool, atOnce);
        Session session;
        QVERIFY(PutMacro(QStringLiteral("A"), "5\n0x04 1 0\n10ms\n"));
        QVERIFY(PutMacro(QStringLiteral("C"), "5\n0x05 1 0\n10ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.SlotAddMacroButton();
        for (int button : {1, 5}) {
            page.LabelOf(button)->setChecked(true);
            MacroButton(page, QStringLiteral("A"))->click();
        }
        QSignalSpy download(PostMsg::Instance(), &PostMsg::SigMacroDownLoadData);
        page.SlotUpDataMacro(QStringLiteral("A"), 0);
        // No wait inside the save.
        QCOMPARE(download.count(), 0);
        QVERIFY(page.MacrosPending());
        if (meanwhile == QLatin1String("save")) {
            QVERIFY(PutMacro(QStringLiteral("A"), "5\n0x06 1 0\n10ms\n"));
            page.SlotUpDataMacro(QStringLiteral("A"), 0);
        } else if (meanwhile == QLatin1String("reassign")) {
            page.SetButtonComboKey(5, QStringLiteral("Ctrl+B"));
        } else if (meanwhile == QLatin1String("other macro")) {
            page.SlotAddMacroButton();
            page.LabelOf(5)->setChecked(true);
            MacroButton(page, QStringLiteral("C"))->click();
        } else if (meanwhile == QLatin1String("rename")) {
            QVERIFY(QFile::rename(MacroFile::PathOf(QStringLiteral("A")), MacroFile::PathOf(QStringLiteral("B"))));
            page.SlotMacroRename(QStringLiteral("A"), QStringLiteral("B"));
        } else if (meanwhile == QLatin1String("delete")) {
            page.SlotDeleteMacroButton(page.MacroPrefix + QStringLiteral("A"));
        } else if (meanwhile == QLatin1String("leave")) {
            page.SendPendingMacros();
        }
        if (atOnce)
            QCOMPARE(download.count(), downloads.size());
        TRY_VERIFY(!page.MacrosPending());
        QStringList sent;
        for (const QList<QVariant>& arguments : qAsConst(download))
            sent << arguments.at(0).toString() + QLatin1Char(' ') + QString::number(arguments.at(1).toInt());
        QCOMPARE(sent, downloads);
    }

    // With its events and its repeat code changed, a macro's events go
    // first, then its repeat code, both after the pause.
    void savedMacroEventsThenRepeat()
    {
        Session session;
        QVERIFY(PutMacro(QStringLiteral("A"), "5\n0x04 1 0\n10ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.SlotAddMacroButton();
        page.LabelOf(1)->setChecked(true);
        MacroButton(page, QStringLiteral("A"))->click();
        QCOMPARE(int(session.mouse.Stored().buttons[1].value2), 5);
        int repeatAtDownload = -1;
        QObject receiver;
        connect(PostMsg::Instance(), &PostMsg::SigMacroDownLoadData, &receiver,
                [&] { repeatAtDownload = session.mouse.Stored().buttons[1].value2; });
        QVERIFY(PutMacro(QStringLiteral("A"), "9\n0x04 1 0\n10ms\n"));
        page.SlotUpDataMacro(QStringLiteral("A"), 0);
        page.SlotUpDataMacro(QStringLiteral("A"), 1);
        QCOMPARE(int(session.mouse.Stored().buttons[1].value2), 5);
        TRY_COMPARE(int(session.mouse.Stored().buttons[1].value2), 9);
        QCOMPARE(repeatAtDownload, 5);
    }

    // A macro's name is its label without the prefix, taken off once from
    // the start: a save and a rename of the macro reach its button as the
    // name itself, and leave alone the button of a macro whose name reads as
    // the label with every prefix removed.
    void macroNameOfALabel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("other");
        QTest::newRow("Macro-1 beside 1") << "Macro-1" << "1";
        QTest::newRow("1 beside Macro-1") << "1" << "Macro-1";
        QTest::newRow("Macro- alone") << "Macro-" << "x";
        QTest::newRow("Macro-Macro-2 beside 2") << "Macro-Macro-2" << "2";
        QTest::newRow("Chinese") << QString::fromUtf8("宏一") << "Macro-";
    }

    void macroNameOfALabel()
    {
        QFETCH(QString, name);
        QFETCH(QString, other);
        Session session;
        QVERIFY(PutMacro(name, "5\n0x04 1 0\n10ms\n"));
        QVERIFY(PutMacro(other, "6\n0x05 1 0\n10ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        QCOMPARE(page.MacroPrefix, QStringLiteral("Macro-"));
        page.SlotAddMacroButton();
        page.LabelOf(1)->setChecked(true);
        MacroButton(page, name)->click();
        page.LabelOf(5)->setChecked(true);
        MacroButton(page, other)->click();
        QCOMPARE(page.LabelOf(1)->text(), page.MacroPrefix + name);
        const FlashDataMap before = session.mouse.Stored();

        QSignalSpy download(PostMsg::Instance(), &PostMsg::SigMacroDownLoadData);
        page.SlotUpDataMacro(name, 0);
        QTRY_VERIFY(!page.MacrosPending());
        QCOMPARE(download.count(), 1);
        QCOMPARE(download.at(0).at(1).toInt(), 1);
        QVERIFY(PutMacro(name, "9\n0x04 1 0\n10ms\n"));
        page.SlotUpDataMacro(name, 1);
        QCOMPARE(int(session.mouse.Stored().buttons[1].value2), 9);

        QVERIFY(QFile::rename(MacroFile::PathOf(name), MacroFile::PathOf(QStringLiteral("renamed"))));
        page.SlotMacroRename(name, QStringLiteral("renamed"));
        QCOMPARE(page.LabelOf(1)->text(), page.MacroPrefix + "renamed");
        QCOMPARE(NameBytes(session.mouse.Stored().macros[1]).left(8), QByteArray("renamed\0", 8));
        // The other macro's button is as it was.
        const FlashDataMap after = session.mouse.Stored();
        QCOMPARE(page.LabelOf(5)->text(), page.MacroPrefix + other);
        QCOMPARE(FunctionHex(after, 5), FunctionHex(before, 5));
        QCOMPARE(Hex(&after.macros[5], sizeof(MacroBlock)), Hex(&before.macros[5], sizeof(MacroBlock)));
    }

    // A rename reaches the rows and the stored name.
    void renamedMacro()
    {
        Session session;
        QVERIFY(PutMacro(QStringLiteral("sixsix"), "1\n0x04 1 0\n10ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.SlotAddMacroButton();
        page.LabelOf(2)->setChecked(true);
        MacroButton(page, QStringLiteral("sixsix"))->click();
        page.SlotMacroRename(QStringLiteral("sixsix"), QStringLiteral("ab"));
        QCOMPARE(page.LabelOf(2)->text(), page.MacroPrefix + "ab");
        const MacroBlock stored = session.mouse.Stored().macros[2];
        QCOMPARE(int(stored.nameLength), 2);
        QCOMPARE(NameBytes(stored), QByteArray("ab") + QByteArray(28, '\0'));
    }

    // The function a button gets back from its key parameter.
    void keyParameter_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        using P = ButtonRecords::KeyParameter;
        QTest::newRow("none") << QStringList() << int(P::Default) << 0 << "";
        QTest::newRow("a mouse button") << QStringList{"0x01", "1", "0"} << int(P::Default) << 0 << "";
        QTest::newRow("consumer key") << QStringList{"0x05", " 0", " CD"} << int(P::Consumer) << 0xCD << "";
        QTest::newRow("combination") << QStringList{"0x05", "0", "0", "Ctrl+C"} << int(P::Combination) << 0
                                     << "Ctrl+C";
        QTest::newRow("four keys do not fit") << QStringList{"0x05", "0", "0", "Shift+Ctrl+Alt+C"} << int(P::Default)
                                              << 0 << "";
        QTest::newRow("two items") << QStringList{"0x05", "0"} << int(P::Default) << 0 << "";
    }

    void keyParameter()
    {
        QFETCH(QStringList, items);
        QFETCH(int, kind);
        QFETCH(int, code);
        QFETCH(QString, text);
        const ButtonRecords::KeyParameter parameter = ButtonRecords::KeyParameterOf(items);
        QCOMPARE(int(parameter.kind), kind);
        QCOMPARE(parameter.code, code);
        QCOMPARE(parameter.text, text);
    }

    // A deleted macro's rows fall back: to the model's key parameter, or to
    // their default function; the image is sent once.
    void deletedMacro()
    {
        Session session(0, ModelTwo);
        QVERIFY(PutMacro(QStringLiteral("gone"), "1\n0x04 1 0\n10ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.SlotAddMacroButton();
        // Rows 3 and 6: device buttons 2 and 5; rows 4 and 5: device
        // buttons 4 and 3, each falling back to its own default.
        for (int button : {2, 5, 4, 3}) {
            page.LabelOf(button)->setChecked(true);
            MacroButton(page, QStringLiteral("gone"))->click();
        }
        QCOMPARE(page.LabelOf(5)->text(), page.MacroPrefix + "gone");
        const int writes = session.mouse.Writes();
        page.SlotDeleteMacroButton(page.MacroPrefix + "gone");
        const FlashDataMap stored = session.mouse.Stored();
        QCOMPARE(FunctionHex(stored, 2), QByteArray("050000"));
        QCOMPARE(int(stored.keys[2].events[0].code), 0xCD);
        QCOMPARE(page.LabelOf(2)->text(), Child(page, "StartPause_2")->text());
        QCOMPARE(FunctionHex(stored, 5), QByteArray("020100"));
        QCOMPARE(KeyRecordHex(stored, 5), QByteArray(104, '0'));
        QCOMPARE(page.LabelOf(5)->text(), Child(page, "VolumeUp_8")->text());
        QCOMPARE(FunctionHex(stored, 3), QByteArray("010800"));
        QCOMPARE(FunctionHex(stored, 4), QByteArray("011000"));
        for (int button = 0; button < 6; ++button)
            QVERIFY(!page.LabelOf(button)->isChecked());
        QVERIFY(session.mouse.Writes() > writes);

        const int before = session.mouse.Writes();
        page.SlotDeleteMacroButton(page.MacroPrefix + "nowhere");
        QCOMPARE(session.mouse.Writes(), before + 1);
    }

    // Export, then a change, then the import: the mouse is back where it was.
    void exportAndImport()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        const QByteArray block = session.mouse.StoredBlock();
        const QString path = QDir::temp().filePath(QStringLiteral("button_config_export.bin"));
        QFile::remove(path);
        FileChooser::SetNextAnswer(path);
        Child(page, "OutputData")->click();
        QCOMPARE(FileChooser::LastRequest().caption, QStringLiteral("FileSave"));
        QCOMPARE(FileChooser::LastRequest().filter, QStringLiteral("File(*.bin)"));
        QCOMPARE(QFileInfo(path).size(), 10464);

        page.LabelOf(1)->setChecked(true);
        Child(page, "MidKey")->click();
        QVERIFY(session.mouse.StoredBlock() != block);
        FileChooser::SetNextAnswer(path);
        Child(page, "ImportData")->click();
        QCOMPARE(session.mouse.StoredBlock(), block);
        QCOMPARE(page.LabelOf(1)->text(), Child(page, "RightKey_3")->text());
        QVERIFY(!ApplyInProgress);
        QCOMPARE(ImportActive.load(), 0);
    }

    // An export that cannot be written tells the user with the notice and
    // leaves nothing behind; a cancelled chooser writes nothing and says
    // nothing.
    void exportFailureIsTold_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("folder missing") << "missing/config.bin";
        QTest::newRow("a folder in the file's place") << "folder";
    }

    void exportFailureIsTold()
    {
        QFETCH(QString, where);
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder")));
        const QString path = dir.filePath(where);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const QByteArray block = session.mouse.StoredBlock();

        QString told;
        ModalAnswer answer([&told](QWidget* notice) {
            told = notice->findChild<QLabel*>(QStringLiteral("label"))->text();
            notice->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        });
        FileChooser::SetNextAnswer(path);
        Child(page, "OutputData")->click();
        QVERIFY(answer.Answered());
        QCOMPARE(answer.DialogClass(), QStringLiteral("InportFail"));
        QCOMPARE(told, QStringLiteral("The configuration could not be saved to this file"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
        QCOMPARE(session.mouse.StoredBlock(), block);

        ModalAnswer none = ModalAnswer::Click(QStringLiteral("NewHong"));
        FileChooser::SetNextAnswer(QString());
        Child(page, "OutputData")->click();
        QVERIFY(!none.Answered());
        none.Cancel();
    }

    // An export of another model is refused with the notice; a cancelled
    // chooser or a mouse that is off open no wait dialog.
    void importRefused()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        const QByteArray block = session.mouse.StoredBlock();
        const QString path = QDir::temp().filePath(QStringLiteral("button_config_other.bin"));
        QVERIFY(ConfigurationFile::Write(path, QStringLiteral("3950"), LiveFlashData.get()));
        {
            ClickWhenShown refused("InportFail", QStringLiteral("NewHong"));
            FileChooser::SetNextAnswer(path);
            Child(page, "ImportData")->click();
            QVERIFY(refused.Clicked());
        }
        QCOMPARE(session.mouse.StoredBlock(), block);

        ModalAnswer none = ModalAnswer::Click(QStringLiteral("NewHong"));
        FileChooser::SetNextAnswer(QString());
        Child(page, "ImportData")->click();
        QVERIFY(!ApplyInProgress);
        Worker::OnlineCheckTimer()->stop();
        SimDevice_SetPower("mouse", 0);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        FileChooser::SetNextAnswer(path);
        Child(page, "ImportData")->click();
        QCOMPARE(offline.count(), 1);
        QVERIFY(!none.Answered());
        none.Cancel();
    }

    // The reset: confirmed, the factory configuration comes back and is
    // shown; declined, nothing happens.
    void reset_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("confirmed") << true;
        QTest::newRow("declined") << false;
    }

    void reset()
    {
        QFETCH(bool, confirmed);
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        page.LabelOf(1)->setChecked(true);
        Child(page, "MidKey")->click();
        const QByteArray changed = session.mouse.StoredBlock();
        {
            ModalAnswer question = ModalAnswer::Click(confirmed ? QStringLiteral("OK") : QStringLiteral("Cancel"));
            Child(page, "Reset")->click();
            QCOMPARE(question.DialogClass(), QStringLiteral("ContainReset"));
        }
        QVERIFY(!ApplyInProgress);
        QVERIFY(Worker::OnlineCheckTimer()->isActive());
        if (!confirmed) {
            QCOMPARE(session.mouse.StoredBlock(), changed);
            return;
        }
        QCOMPARE(int(session.mouse.Stored().buttons[1].value1), 2);
        TRY_COMPARE(page.LabelOf(1)->text(), Child(page, "RightKey_3")->text());
    }

    // The onboard configurations: a choice switches the mouse; with the
    // mouse off the list goes back.
    void profiles()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        auto* combo = Child<QComboBox>(page, "ProjectChoose");
        QVERIFY(combo->count() > 1);
        combo->setCurrentIndex(1);
        QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, 1));
        TRY_COMPARE(SimDevice_CurrentConfig("mouse"), 1);

        Worker::OnlineCheckTimer()->stop();
        SimDevice_SetPower("mouse", 0);
        QTest::mousePress(combo, Qt::LeftButton);
        combo->hidePopup();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        combo->setCurrentIndex(0);
        QMetaObject::invokeMethod(combo, "activated", Q_ARG(int, 0));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(SimDevice_CurrentConfig("mouse"), 1);
    }

    // The macro list open, three macros.
    void screenshots_data()
    {
        ScreenshotLanguages();
    }

    void screenshots()
    {
        QFETCH(int, language);
        Session session(language);
        for (const char* name : {"CopyPaste", "Greeting", "Reload"})
            QVERIFY(PutMacro(QLatin1String(name), "1\n0x04 1 0\n10ms\n"));
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        ShowOnDarkGround(page);
        page.SlotAddMacroButton();
        page.LabelOf(4)->click();
        QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_5"));
        QVERIFY(Screenshot(page, QStringLiteral("button_macros"), language));
    }

};

TALVIRE_TEST_MAIN(ButtonConfigTest)
#include "test_button_config.moc"
