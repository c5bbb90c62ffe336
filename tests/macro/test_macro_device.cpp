// The macro page and the mouse: a macro's block stored on a button of the
// simulated mouse, macros that arrive from the mouse, and export and import.
#include "tests/macro/MacroPageTesting.h"

#include "core/ConfigurationFile.h"
#include "core/SharedState.h"
#include "dialogs/FileChooser.h"
#include "dialogs/MacroKeyHook.h"
#include "tests/common/TestEnvironment.h"
#include "tests/sensor/OpenMouse.h"

#include <QDataStream>
#include <QIcon>
#include <QImage>

using namespace MacroPageTesting;

namespace {
// The stored events of a block as "release kind code delay" texts.
QStringList Events(const MacroBlock& block, int count)
{
    QStringList events;
    for (int i = 0; i < count; ++i) {
        const DeviceEvent& event = block.events[i];
        events << QStringLiteral("%1 %2 0x%3 %4")
                      .arg(event.release)
                      .arg(event.kind)
                      .arg(int(event.code), 2, 16, QLatin1Char('0'))
                      .arg(quint32(event.delay));
    }
    return events;
}

QByteArray NameBytes(const MacroBlock& block)
{
    return QByteArray(block.name, MacroBlock::MaxNameLength);
}

// An image whose button `button` carries a block of that name and events.
FlashDataMap ImageWithMacro(int button, const QByteArray& name, int count, const QVector<DeviceEvent>& events)
{
    FlashDataMap image = LiveFlashData.get();
    MacroBlock& block = image.macros[button];
    block = MacroBlock();
    block.nameLength = quint8(qMin(name.size(), MacroBlock::MaxNameLength));
    memcpy(block.name, name.constData(), size_t(block.nameLength));
    block.count = quint8(count);
    for (int i = 0; i < events.size() && i < MacroBlock::MaxEvents; ++i)
        block.events[i] = events.at(i);
    return image;
}

DeviceEvent Event(int release, int kind, int code, quint32 delay)
{
    DeviceEvent event;
    event.release = quint8(release);
    event.kind = quint8(kind);
    event.code = quint16(code);
    event.delay = delay;
    return event;
}

QImage IconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QString ExportPath()
{
    return QDir::homePath() + QStringLiteral("/exported.ini");
}

void Export(Macro& page)
{
    FileChooser::SetNextAnswer(ExportPath());
    page.ExPortMacro();
}

void Import(Macro& page, const QString& path = ExportPath())
{
    FileChooser::SetNextAnswer(path);
    page.InPortMacro();
}

void Delete(Macro& page, const QString& name)
{
    Select(page, name);
    ModalAnswer confirm = ModalAnswer::Click(QStringLiteral("NewHong"));
    page.DeleteMacro();
}

// The names and contents of the macro folder.
QStringList FolderState()
{
    QStringList state;
    const QDir folder(MacroFile::Folder());
    for (const QString& file : folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        state << file + QStringLiteral(": ") + QString::fromUtf8(Content(folder.filePath(file)));
    return state;
}

QString Chinese(int characters)
{
    QString name;
    for (int i = 0; i < characters; ++i)
        name += QChar(0x5B8F + i);
    return name;
}
} // namespace

class MacroDeviceTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        Reset(0);
        MacroRecording = false;
        QVERIFY(OpenMouse());
        UiReady = true;
    }

    void cleanup()
    {
        UiReady = false;
        UsbServer_Exit();
        KeyboardHook::SetForegroundTest({});
    }

    // The shown rows become the button's block on the mouse.
    void download_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("press, delay, release")
            << QStringList{"A+", "10ms", "A-"} << 2 << QStringList{"0 1 0x04 10", "1 1 0x04 0"};
        QTest::newRow("empty") << QStringList{} << 0 << QStringList{};
        QTest::newRow("modifier and click")
            << QStringList{"LCtrl+", "30ms", "Right click+", "1048575ms", "Right click-", "5ms", "LCtrl-"} << 4
            << QStringList{"0 0 0x01 30", "0 4 0x02 1048575", "1 4 0x02 5", "1 0 0x01 0"};
        QTest::newRow("unknown name") << QStringList{"Ctrl+"} << 1 << QStringList{"0 1 0x00 0"};
    }

    void download()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, count);
        QFETCH(QStringList, events);
        const int button = 2;
        const FlashDataMap before = StoredImage();
        Macro page;
        New(page, QStringLiteral("ab"));
        for (const QString& row : rows) {
            if (row.endsWith("ms"))
                page.AppendDelayRow(row.chopped(2).toLongLong());
            else
                page.AppendKeyRow(row.chopped(1), row.endsWith('+'));
        }
        PostMsg::Instance()->PostMacroDownLoadData(QStringLiteral("ab"), button);
        const FlashDataMap stored = StoredImage();
        const MacroBlock& block = stored.macros[button];
        QCOMPARE(int(block.nameLength), 2);
        QCOMPARE(NameBytes(block), QByteArray("ab").leftJustified(MacroBlock::MaxNameLength, '\0'));
        QCOMPARE(int(block.count), count);
        QCOMPARE(Events(block, count), events);
        for (const QString& unused : Events(block, MacroBlock::MaxEvents).mid(count))
            QCOMPARE(unused, QStringLiteral("0 0 0x00 0"));
        // The button keeps its function; the other buttons keep their blocks.
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&stored.buttons[button]), 3),
                 QByteArray(reinterpret_cast<const char*>(&before.buttons[button]), 3));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&stored.macros[button + 1]), sizeof(MacroBlock)),
                 QByteArray(reinterpret_cast<const char*>(&before.macros[button + 1]), sizeof(MacroBlock)));
    }

    // A block holds at most 70 events and a name of at most 30 bytes cut
    // between characters; the rest of the image stays.
    void downloadLimits()
    {
        const int button = 15;
        const QString name = Chinese(12);
        QVERIFY(Put(FileOf(name), "1\n"));
        const FlashDataMap before = StoredImage();
        Macro page;
        Select(page, name);
        for (int key = 0; key < 71; ++key) {
            if (key > 0)
                page.AppendDelayRow(7);
            page.AppendKeyRow(QStringLiteral("B"), key % 2 == 0);
        }
        PostMsg::Instance()->PostMacroDownLoadData(name, button);
        const FlashDataMap stored = StoredImage();
        const MacroBlock& block = stored.macros[button];
        QCOMPARE(int(block.count), 70);
        QCOMPARE(Events(block, 70).last(), QStringLiteral("1 1 0x05 7"));
        QCOMPARE(int(block.nameLength), 30);
        QCOMPARE(QString::fromUtf8(NameBytes(block)), Chinese(10));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&stored.macros[14]), sizeof(MacroBlock)),
                 QByteArray(reinterpret_cast<const char*>(&before.macros[14]), sizeof(MacroBlock)));
    }

    // A request for a macro not shown takes its saved rows; without UiReady
    // nothing is written.
    void downloadOfAnotherMacro()
    {
        QVERIFY(Put(FileOf("a"), "1\n0x04 1 0\n20ms\n0x10 4 1\n"));
        QVERIFY(Put(FileOf("b"), "1\n0x05 1 0\n"));
        Macro page;
        Select(page, "b");
        PostMsg::Instance()->PostMacroDownLoadData(QStringLiteral("a"), 1);
        MacroBlock block = StoredImage().macros[1];
        QCOMPARE(QByteArray(block.name, block.nameLength), QByteArray("a"));
        QCOMPARE(Events(block, block.count), (QStringList{"0 1 0x04 20", "1 4 0x10 0"}));
        // A request whose macro file is missing writes nothing.
        const QByteArray stored = StoredBlock();
        PostMsg::Instance()->PostMacroDownLoadData(QStringLiteral("gone"), 1);
        UiReady = false;
        PostMsg::Instance()->PostMacroDownLoadData(QStringLiteral("b"), 1);
        QCOMPARE(StoredBlock(), stored);
    }

    // A block from the mouse: the macro found or added, its events added to
    // the file the button page has just started.
    void fromTheMouse_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("macros");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("forward click, listed name")
            << QByteArray("ab") << 2 << QStringList{"ab", "x"} << QByteArray("1\n0x10 4 0\n12ms\n0x10 4 1\n");
        QTest::newRow("new name") << QByteArray("new") << 2 << QStringList{"ab", "x", "new"}
                                  << QByteArray("1\n0x10 4 0\n12ms\n0x10 4 1\n");
        QTest::newRow("no events") << QByteArray("ab") << 0 << QStringList{"ab", "x"} << QByteArray("1\n");
        QTest::newRow("count above 70") << QByteArray("ab") << 200 << QStringList{"ab", "x"} << QByteArray();
    }

    void fromTheMouse()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, count);
        QFETCH(QStringList, macros);
        QFETCH(QByteArray, file);
        QVERIFY(Put(FileOf("ab"), "7\n0x04 1 0\n"));
        QVERIFY(Put(FileOf("x"), "1\n"));
        Macro page;
        // The button page writes line 1 before it hands the block over.
        QVERIFY(Put(FileOf(QString::fromUtf8(name)), "1\n"));
        QVector<DeviceEvent> events;
        for (int i = 0; i < 70; ++i)
            events << Event(i % 2, 4, 0x10, 12);
        BusLog bus;
        PostMsg::Instance()->PostButtonToMacro(ImageWithMacro(3, name, count, events), 3);
        QCOMPARE(MacroNames(page), macros);
        QCOMPARE(Macros(page)->currentRow(), -1);
        QVERIFY(Rows(page)->count() == 0);
        QCOMPARE(bus.signals_, QStringList{"add buttons"});
        const QByteArray content = Content(FileOf(QString::fromUtf8(name)));
        if (count <= 70) {
            QCOMPARE(content, file);
        } else {
            QCOMPARE(content.count('\n'), 1 + 70 + 69);
        }
        if (count == 2) {
            Select(page, QString::fromUtf8(name));
            QCOMPARE(RowTexts(page), (QStringList{"Forward click+", "12ms", "Forward click-"}));
        }
    }

    // The mouse's own macro comes into the list when its button is shown; a
    // macro recorded into it and saved is on the mouse, and the same after a
    // restart.
    void recordedMacroOnTheMouse()
    {
        const int forward = 4;
        const FlashDataMap image = LiveFlashData.get();
        QCOMPARE(int(image.buttons[forward].type), 6);
        const QString name = QString::fromUtf8(image.macros[forward].name, image.macros[forward].nameLength);
        QCOMPARE(name, QStringLiteral("CopyPaste"));
        QStringList rows;
        {
            Macro page;
            QVERIFY(Put(FileOf(name), QByteArray::number(image.buttons[forward].value2) + "\n"));
            PostMsg::Instance()->PostButtonToMacro(image, forward);
            QCOMPARE(MacroNames(page), QStringList{name});
            Select(page, name);
            QCOMPARE(RowTexts(page).mid(0, 4), (QStringList{"LCtrl+", "30ms", "C+", "50ms"}));

            KeyboardHook::SetForegroundTest([] { return true; });
            Child(page, "DefaultDelay")->click();
            Child<QSpinBox>(page, "DelayTime")->setValue(40);
            page.on_StartRecord_clicked();
            MacroKeyHook keys;
            keys.HookProc(0xA2, KeySource::KeyDown);
            keys.HookProc(0x56, KeySource::KeyDown);
            keys.HookProc(0x56, KeySource::KeyUp);
            keys.HookProc(0xA2, KeySource::KeyUp);
            page.on_StopRecord_clicked();
            rows = RowTexts(page);
            QCOMPARE(rows, (QStringList{"LCtrl+", "40ms", "V+", "40ms", "V-", "40ms", "LCtrl-"}));
            // Save; the button page asks for the block of each button carrying
            // the macro.
            QObject buttonPage;
            connect(PostMsg::Instance(), &PostMsg::SigUpDataMacro, &buttonPage, [forward](const QString& macro, int mode) {
                if (mode == 0)
                    PostMsg::Instance()->PostMacroDownLoadData(macro, forward);
            });
            Child(page, "Save")->click();
        }
        const MacroBlock block = StoredImage().macros[forward];
        QCOMPARE(QByteArray(block.name, block.nameLength), QByteArray("CopyPaste"));
        QCOMPARE(Events(block, block.count),
                 (QStringList{"0 0 0x01 40", "0 1 0x19 40", "1 1 0x19 40", "1 0 0x01 0"}));
        QCOMPARE(int(StoredImage().buttons[forward].type), 6);
        // A restart: the page reads the file; the mouse's block shown again
        // gives the same file.
        const QByteArray saved = Content(FileOf(name));
        QVERIFY(saved.startsWith("1\n0x01 0 0\n40ms\n0x19 1 0\n"));
        Macro again;
        Select(again, name);
        QCOMPARE(RowTexts(again), rows);
        QVERIFY(Put(FileOf(name), "1\n"));
        PostMsg::Instance()->PostButtonToMacro(StoredImage(), forward);
        QCOMPARE(Content(FileOf(name)), saved);
        QCOMPARE(MacroNames(again), QStringList{name});
    }

    // Export, delete, import: the same macro again.
    void exportAndImport_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("ASCII name") << "m";
        QTest::newRow("15 Chinese characters") << Chinese(15);
    }

    void exportAndImport()
    {
        QFETCH(QString, name);
        QVERIFY(Put(FileOf(name), "1\n0x04 1 0\n10ms\n0x04 1 1\n"));
        QVERIFY(Put(FileOf("other"), "3\n"));
        Macro page;
        Select(page, name);
        Child(page, "ReUntilLoose")->click();
        QList<QImage> icons;
        for (int row = 0; row < Rows(page)->count(); ++row)
            icons << IconImage(Rows(page)->item(row)->icon());
        Export(page);
        QCOMPARE(FileChooser::LastRequest().caption, QStringLiteral("FileSave"));
        QCOMPARE(FileChooser::LastRequest().filter, QStringLiteral("File(*.ini)"));
        Delete(page, name);
        QCOMPARE(MacroNames(page), QStringList{"other"});
        Select(page, "other");

        BusLog bus;
        Import(page);
        QCOMPARE(FileChooser::LastRequest().caption, QStringLiteral("SelectFile"));
        QCOMPARE(MacroNames(page), (QStringList{"other", name}));
        QCOMPARE(Macros(page)->currentItem()->text(), name);
        QCOMPARE(RowTexts(page), (QStringList{"A+", "10ms", "A-"}));
        for (int row = 0; row < Rows(page)->count(); ++row)
            QCOMPARE(IconImage(Rows(page)->item(row)->icon()), icons.at(row));
        QCOMPARE(Content(FileOf(name)), QByteArray("254\n0x04 1 0\n10ms\n0x04 1 1\n"));
        QVERIFY(bus.signals_.isEmpty());

        // The same file again: the name is taken.
        const QStringList folder = FolderState();
        {
            ModalAnswer notice = ModalAnswer::Click(QStringLiteral("NewHong"));
            Import(page);
            QCOMPARE(notice.DialogClass(), QStringLiteral("SameMacro"));
        }
        QCOMPARE(MacroNames(page), (QStringList{"other", name}));
        QCOMPARE(FolderState(), folder);
    }

    // Files that are not a whole macro export change nothing.
    void importRefused_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("cut") << "cut";
        QTest::newRow("row count 10^9") << "count";
        QTest::newRow("wrong magic") << "magic";
        QTest::newRow("name ../x") << "parent";
        QTest::newRow("name a/b") << "slash";
        QTest::newRow("configuration export") << "configuration";
        QTest::newRow("empty file") << "empty";
    }

    void importRefused()
    {
        QFETCH(QString, damage);
        QVERIFY(Put(FileOf("m"), "1\n0x04 1 0\n10ms\n0x04 1 1\n"));
        Macro page;
        Select(page, "m");
        Export(page);
        Delete(page, "m");
        QVERIFY(Put(FileOf("kept"), "1\n"));
        QByteArray bytes = Content(ExportPath());
        // Blocks: 4 + 12 magic, 4 + 48 name, 4 + 12 repeat code, then the count.
        const int nameAt = 4 + 12 + 4;
        const int countAt = nameAt + 48 + 4 + 12;
        if (damage == "cut")
            bytes.chop(7);
        else if (damage == "count")
            bytes.replace(countAt, 4, QByteArray("\x3B\x9A\xCA\x00", 4));
        else if (damage == "magic")
            bytes[4] = 'X';
        else if (damage == "parent")
            bytes.replace(nameAt, 4, QByteArray("../x", 4));
        else if (damage == "slash")
            bytes.replace(nameAt, 3, QByteArray("a/b", 3));
        else if (damage == "empty")
            bytes.clear();
        if (damage == "configuration")
            QVERIFY(ConfigurationFile::Write(ExportPath(), QStringLiteral("3395"), LiveFlashData.get()));
        else
            QVERIFY(Put(ExportPath(), bytes));

        Macro reopened;
        const QStringList macros = MacroNames(reopened);
        const QStringList folder = FolderState();
        ModalAnswer noDialog = ModalAnswer::Click(QStringLiteral("NewHong"));
        Import(reopened);
        QTest::qWait(20);
        QVERIFY(!noDialog.Answered());
        noDialog.Cancel();
        QCOMPARE(MacroNames(reopened), macros);
        QCOMPARE(FolderState(), folder);
        QVERIFY(!QFile::exists(MacroFile::Folder() + QStringLiteral("/../x.ini")));
        QCOMPARE(Rows(reopened)->count(), 0);
    }
};

TALVIRE_TEST_MAIN(MacroDeviceTest)
#include "test_macro_device.moc"
