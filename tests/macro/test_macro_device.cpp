// The macro page and the mouse: a macro's block stored on a button of the
// simulated mouse, macros that arrive from the mouse, and export and import.
#include "tests/macro/MacroPageTesting.h"

#include "core/ButtonRecords.h"
#include "core/ConfigurationFile.h"
#include "core/SharedState.h"
#include "dialogs/FileChooser.h"
#include "dialogs/MacroKeyHook.h"
#include "platform/IniFile.h"
#include "tests/common/TestEnvironment.h"
#include "tests/sensor/OpenMouse.h"

#include <QDataStream>
#include <QDirIterator>
#include <QIcon>
#include <QImage>

#include <sys/inotify.h>
#include <unistd.h>

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
// The name field holds the bytes given, its length byte their count unless
// one is given.
FlashDataMap ImageWithMacro(int button, const QByteArray& name, int count, const QVector<DeviceEvent>& events,
                            int length = -1)
{
    FlashDataMap image = LiveFlashData.get();
    MacroBlock& block = image.macros[button];
    block = MacroBlock();
    memcpy(block.name, name.constData(), size_t(qMin(name.size(), MacroBlock::MaxNameLength)));
    block.nameLength = quint8(length < 0 ? qMin(name.size(), MacroBlock::MaxNameLength) : length);
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

// Imports the file. A notice is answered by the test that expects one;
// otherwise one that comes is closed and fails the test.
void Import(Macro& page, bool notice = false)
{
    FileChooser::SetNextAnswer(ExportPath());
    if (notice) {
        page.InPortMacro();
        return;
    }
    ModalAnswer none = ModalAnswer::Click(QStringLiteral("NewHong"));
    page.InPortMacro();
    QVERIFY2(!none.Answered(), "the import showed a notice");
    none.Cancel();
}

void Delete(Macro& page, const QString& name)
{
    Select(page, name);
    ModalAnswer confirm = ModalAnswer::Click(QStringLiteral("NewHong"));
    page.DeleteMacro();
}

QByteArray Streamed(const std::function<void(QDataStream&)>& write)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_9);
    write(out);
    return bytes;
}

// An icon's stream as QIcon writes it: no icon, or one picture entry of the
// pixmap engine (a PNG, and a file name).
QByteArray IconBytes(const QByteArray& png = QByteArray(), const QString& fileName = QString())
{
    return Streamed([&](QDataStream& out) {
        if (png.isNull() && fileName.isNull()) {
            out << QString();
            return;
        }
        out << QStringLiteral("QPixmapIconEngine") << qint32(1) << qint32(png.isEmpty() ? 0 : 1);
        out.writeRawData(png.constData(), png.size());
        out << fileName << qint32(16) << qint32(16) << quint32(0) << quint32(0);
    });
}

// A PNG that says it is 8000 x 8000 pixels: nothing but its chunks.
QByteArray HugePng()
{
    const auto chunk = [](const QByteArray& type, const QByteArray& data) {
        return Streamed([&](QDataStream& out) {
            out << quint32(data.size());
            out.writeRawData(type.constData(), 4);
            out.writeRawData(data.constData(), data.size());
            out << quint32(0);
        });
    };
    const QByteArray header = Streamed([](QDataStream& out) { out << quint32(8000) << quint32(8000); })
        + QByteArray("\x08\x06\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n") + chunk("IHDR", header) + chunk("IDAT", QByteArray(64, 'x'))
        + chunk("IEND", QByteArray());
}

// The code block of an export: "Code", then kind and code of each key row.
QByteArray Codes(const QVector<QPair<int, int>>& keys)
{
    QByteArray codes = "Code";
    for (const auto& key : keys)
        codes += char(key.first) + QByteArray(1, char(key.second >> 8)) + char(key.second & 0xFF);
    return codes;
}

// A macro export as a stranger might make one. Rows: "A+" a press, "A-" a
// release, "A~" a key with the marker "2", any other text as it is (a delay);
// each with the icon's bytes; then the code block when one is given.
QByteArray Crafted(const QStringList& rows, const QByteArray& name = "c", const QByteArray& repeat = "1",
                   const QByteArray& codes = QByteArray(), const QByteArray& icon = IconBytes())
{
    return Streamed([&](QDataStream& out) {
        const auto block = [&out](const QByteArray& content, int size) {
            const QByteArray data = content.leftJustified(size, '\0', true);
            out.writeBytes(data.constData(), uint(data.size()));
        };
        block("Zelvo", 12);
        block(name, 48);
        block(repeat, 12);
        out << qint32(rows.size());
        for (const QString& row : rows) {
            const QChar mark = row.isEmpty() ? QChar() : row.back();
            const bool key = mark == '+' || mark == '-' || mark == '~';
            out << (key ? row.chopped(1) : row);
            out.writeRawData(icon.constData(), icon.size());
            if (key)
                out << (mark == '+' ? "0" : mark == '-' ? "1" : "2");
        }
        if (!codes.isNull())
            out.writeBytes(codes.constData(), uint(codes.size()));
    });
}

// Rows of n keys, pressed, with a delay between each two.
QStringList KeyRows(int keys)
{
    QStringList rows;
    for (int key = 0; key < keys; ++key)
        rows << (key ? QStringList{"5ms", "A+"} : QStringList{"A+"});
    return rows;
}

// Records the keys (virtual key, down) into the current macro, 40 ms apart.
void Record(Macro& page, const QVector<QPair<int, bool>>& keys)
{
    KeyboardHook::SetForegroundTest([] { return true; });
    Child(page, "DefaultDelay")->click();
    Child<QSpinBox>(page, "DelayTime")->setValue(40);
    page.on_StartRecord_clicked();
    MacroKeyHook hook;
    for (const auto& key : keys)
        hook.HookProc(key.first, key.second ? KeySource::KeyDown : KeySource::KeyUp);
    page.on_StopRecord_clicked();
}

// A text as a QDataStream string holds it: UTF-16, big-endian.
QByteArray Utf16(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text)
        bytes += char(c.unicode() >> 8) + QByteArray(1, char(c.unicode() & 0xFF));
    return bytes;
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
    void downloadLimits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kept");
        QTest::newRow("12 Chinese, 36 bytes") << Chinese(12) << Chinese(10);
        QTest::newRow("a and 10 Chinese, 31 bytes") << "a" + Chinese(10) << "a" + Chinese(9);
        QTest::newRow("16 Chinese, 48 bytes") << Chinese(16) << Chinese(10);
    }

    void downloadLimits()
    {
        QFETCH(QString, name);
        QFETCH(QString, kept);
        const int button = 15;
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
        QCOMPARE(int(block.nameLength), kept.toUtf8().size());
        QCOMPARE(NameBytes(block), kept.toUtf8().leftJustified(MacroBlock::MaxNameLength, '\0'));
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
        QTest::addColumn<QByteArray>("name");   // the name field's bytes
        QTest::addColumn<int>("length");        // its length byte; -1: the bytes' count
        QTest::addColumn<QString>("macro");     // the name read
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("macros");
        QTest::addColumn<QByteArray>("file");
        const QByteArray forward = "1\n0x10 4 0\n12ms\n0x10 4 1\n";
        QTest::newRow("forward click, listed name")
            << QByteArray("ab") << -1 << "ab" << 2 << QStringList{"ab", "x"} << forward;
        QTest::newRow("new name") << QByteArray("new") << -1 << "new" << 2 << QStringList{"ab", "x", "new"} << forward;
        QTest::newRow("no events") << QByteArray("ab") << -1 << "ab" << 0 << QStringList{"ab", "x"} << QByteArray("1\n");
        QTest::newRow("count above 70") << QByteArray("ab") << -1 << "ab" << 200 << QStringList{"ab", "x"}
                                        << QByteArray();
        QTest::newRow("length shorter than the bytes")
            << QByteArray("abcd") << 2 << "ab" << 2 << QStringList{"ab", "x"} << forward;
        QTest::newRow("zero byte inside") << QByteArray("ab\0x", 4) << 4 << "ab" << 2 << QStringList{"ab", "x"}
                                          << forward;
    }

    void fromTheMouse()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, length);
        QFETCH(QString, macro);
        QFETCH(int, count);
        QFETCH(QStringList, macros);
        QFETCH(QByteArray, file);
        QVERIFY(Put(FileOf("ab"), "7\n0x04 1 0\n"));
        QVERIFY(Put(FileOf("x"), "1\n"));
        Macro page;
        // The button page writes line 1 before it hands the block over.
        QVERIFY(Put(FileOf(macro), "1\n"));
        QVector<DeviceEvent> events;
        for (int i = 0; i < 70; ++i)
            events << Event(i % 2, 4, 0x10, 12);
        BusLog bus;
        PostMsg::Instance()->PostButtonToMacro(ImageWithMacro(3, name, count, events, length), 3);
        QCOMPARE(MacroNames(page), macros);
        QCOMPARE(Macros(page)->currentRow(), -1);
        QVERIFY(Rows(page)->count() == 0);
        QCOMPARE(bus.signals_, QStringList{"add buttons"});
        const QByteArray content = Content(FileOf(macro));
        if (count <= 70) {
            QCOMPARE(content, file);
        } else {
            QCOMPARE(content.count('\n'), 1 + 70 + 69);
        }
        if (count == 2) {
            Select(page, macro);
            QCOMPARE(RowTexts(page), (QStringList{"Forward click+", "12ms", "Forward click-"}));
        }
    }

    // Names on the mouse that are not UTF-8 (another program's, another
    // locale's) stay themselves: distinct bytes are distinct macros with
    // files of their own, and each goes back to the mouse byte for byte, a
    // 30-byte one whole.
    void namesNotUtf8StayThemselves()
    {
        const QByteArray names[] = {"\xff", "\xfe", QByteArray(29, 'a') + "\xe9"};
        const QByteArray file = "1\n0x04 1 0\n12ms\n0x04 1 1\n";
        Macro page;
        QStringList listed;
        for (int i = 0; i < 3; ++i) {
            const int button = i + 1;
            const FlashDataMap image =
                ImageWithMacro(button, names[i], 2, {Event(0, 1, 0x04, 12), Event(1, 1, 0x04, 0)});
            const QString name = ButtonRecords::MacroName(image.macros[button]);
            QVERIFY(Put(FileOf(name), "1\n"));
            PostMsg::Instance()->PostButtonToMacro(image, button);
            listed << name;
            QCOMPARE(MacroNames(page).size(), i + 1);
            QCOMPARE(Content(FileOf(name)), file);
        }
        QCOMPARE(QDir(MacroFile::Folder()).entryList(QDir::Files).size(), 3);
        for (int i = 0; i < 3; ++i) {
            const int button = i + 1;
            PostMsg::Instance()->PostMacroDownLoadData(listed.at(i), button);
            const MacroBlock block = StoredImage().macros[button];
            QCOMPARE(QByteArray(block.name, block.nameLength), names[i]);
            QCOMPARE(Events(block, block.count), (QStringList{"0 1 0x04 12", "1 1 0x04 0"}));
        }
    }

    // A name from the mouse that cannot name a file in the macro folder is
    // not taken: no file changes anywhere under the user's data folder and
    // the folder above it, not even one that exists where "../x" would lead,
    // and the list and the rows stay as they were.
    void fromTheMouseNoFileName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("reached");   // the file the name would reach, from the macro folder
        QTest::newRow("parent folder") << QByteArray("../x") << "../x.ini";
        QTest::newRow("parent of parent") << QByteArray("../../y") << "../../y.ini";
        QTest::newRow("sub-folder") << QByteArray("a/b") << "a/b.ini";
        QTest::newRow("dot dot") << QByteArray("..") << QString();
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void fromTheMouseNoFileName()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, reached);
        const QString folder = MacroFile::Folder();
        const QString around = QDir::cleanPath(folder + QStringLiteral("/../../.."));
        const auto tree = [&around] {
            QStringList files;
            QDirIterator it(around, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                files << QDir(around).relativeFilePath(path) + QStringLiteral(": ") + QString::fromUtf8(Content(path));
            }
            files.sort();
            return files;
        };
        QVERIFY(Put(FileOf("ab"), "7\n0x04 1 0\n"));
        const QString target = reached.isEmpty() ? QString() : QDir::cleanPath(folder + QLatin1Char('/') + reached);
        if (!target.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(target).absolutePath()));
            QVERIFY(Put(target, "1\n"));
        }
        Macro page;
        // The settings the page's start queued reach the disk first, and any
        // the name would write are on the disk before the second look.
        IniFile::WriteOutAll();
        const QStringList before = tree();
        BusLog bus;
        PostMsg::Instance()->PostButtonToMacro(
            ImageWithMacro(3, name, 2, {Event(0, 4, 0x10, 12), Event(1, 4, 0x10, 0)}), 3);
        IniFile::WriteOutAll();
        QCOMPARE(tree(), before);
        QCOMPARE(MacroNames(page), QStringList{"ab"});
        QCOMPARE(Rows(page)->count(), 0);
        QCOMPARE(bus.signals_, QStringList());
        if (!target.isEmpty()) {
            QVERIFY(QFile::remove(target));
            QDir().rmdir(QFileInfo(target).absolutePath());   // the sub-folder made here
        }
    }

    // The mouse's own macro comes into the list when its button is shown; a
    // macro recorded into it and saved is on the mouse, and the same after a
    // restart.
    void recordedMacroOnTheMouse()
    {
        constexpr int forward = 4;
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

            Record(page, {{0xA2, true}, {0x56, true}, {0x56, false}, {0xA2, false}});
            rows = RowTexts(page);
            QCOMPARE(rows, (QStringList{"LCtrl+", "40ms", "V+", "40ms", "V-", "40ms", "LCtrl-"}));
            // Save; the button page asks for the block of each button carrying
            // the macro.
            QObject buttonPage;
            connect(PostMsg::Instance(), &PostMsg::SigUpDataMacro, &buttonPage, [](const QString& macro, int mode) {
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
        QTest::addColumn<QString>("imported");
        QTest::newRow("ASCII name") << "m" << "m";
        QTest::newRow("10 Chinese characters") << Chinese(10) << Chinese(10);
        // Cut to the 30 bytes a mouse button keeps.
        QTest::newRow("15 Chinese characters") << Chinese(15) << Chinese(10);
    }

    void exportAndImport()
    {
        QFETCH(QString, name);
        QFETCH(QString, imported);
        QVERIFY(Put(FileOf(name), "1\n0x04 1 0\n10ms\n0x04 1 1\n"));
        QVERIFY(Put(FileOf("other"), "3\n"));
        Macro page;
        Select(page, name);
        Child(page, "ReUntilLoose")->click();
        QList<QImage> icons;
        for (int row = 0; row < Rows(page)->count(); ++row)
            icons << IconImage(Rows(page)->item(row)->icon());
        Export(page);
        // The icons go as pictures, without the paths of the program's files.
        for (const QString& path : {page.PictureFolder, QStringLiteral("MacroDown.png")})
            QVERIFY2(!Content(ExportPath()).contains(Utf16(path)), qPrintable(path));
        QCOMPARE(FileChooser::LastRequest().caption, QStringLiteral("FileSave"));
        QCOMPARE(FileChooser::LastRequest().filter, QStringLiteral("File(*.ini)"));
        Delete(page, name);
        QCOMPARE(MacroNames(page), QStringList{"other"});
        Select(page, "other");

        BusLog bus;
        Import(page);
        QCOMPARE(FileChooser::LastRequest().caption, QStringLiteral("SelectFile"));
        QCOMPARE(MacroNames(page), (QStringList{"other", imported}));
        QCOMPARE(Macros(page)->currentItem()->text(), imported);
        QCOMPARE(RowTexts(page), (QStringList{"A+", "10ms", "A-"}));
        for (int row = 0; row < Rows(page)->count(); ++row)
            QCOMPARE(IconImage(Rows(page)->item(row)->icon()), icons.at(row));
        QCOMPARE(Content(FileOf(imported)), QByteArray("254\n0x04 1 0\n10ms\n0x04 1 1\n"));
        QVERIFY(bus.signals_.isEmpty());

        // The same file again: the name is taken.
        const QStringList folder = FolderState();
        {
            ModalAnswer notice = ModalAnswer::Click(QStringLiteral("NewHong"));
            Import(page, true);
            QCOMPARE(notice.DialogClass(), QStringLiteral("SameMacro"));
        }
        QCOMPARE(MacroNames(page), (QStringList{"other", imported}));
        QCOMPARE(FolderState(), folder);
    }

    // Every macro the page saves, made by recording, inserting and deleting
    // rows, in every repeat mode, comes back from its export after a delete:
    // the same rows, the same file byte for byte, and the repeat controls
    // show its own mode, not the one of the macro shown before.
    void pageMadeMacroRoundTrips_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("rows");     // of the file before the steps
        QTest::addColumn<QStringList>("steps");   // record, click (left click after the last row), delete (row 0)
        QTest::addColumn<int>("repeat");
        QTest::addColumn<QStringList>("shown");   // the rows saved ({}: not compared)
        const QStringList recorded{"A+", "40ms", "A-", "40ms"};
        QTest::newRow("recording ending on an unnamed key (a delay last)")
            << 0 << QByteArray() << QStringList{"record"} << 254 << recorded;
        QTest::newRow("a click inserted after it: two delays in a row")
            << 1 << QByteArray() << QStringList{"record", "click"} << 255
            << recorded + QStringList{"10ms", QString::fromUtf8("左键+"), "10ms", QString::fromUtf8("左键-")};
        QTest::newRow("the first two rows deleted: a key after a delay")
            << 0 << QByteArray() << QStringList{"record", "click", "delete"} << 253
            << QStringList{"A-", "40ms", "10ms", "Left click+", "10ms", "Left click-"};
        QTest::newRow("an unnamed key") << 0 << QByteArray("0x70 1 0\n5ms\n0x04 1 1\n") << QStringList{} << 7
                                        << QStringList{"+", "5ms", "A-"};
        QTest::newRow("a delay first") << 1 << QByteArray("5ms\n0x04 1 0\n") << QStringList{} << 250
                                       << QStringList{"5ms", "A+"};
        QTest::newRow("70 keys") << 0 << "0x04 1 0\n" + QByteArray("5ms\n0x05 1 1\n").repeated(69) << QStringList{}
                                 << 1 << QStringList{};
        QTest::newRow("one key") << 1 << QByteArray("0x04 1 0\n") << QStringList{} << 254 << QStringList{"A+"};
    }

    void pageMadeMacroRoundTrips()
    {
        QFETCH(int, language);
        QFETCH(QByteArray, rows);
        QFETCH(QStringList, steps);
        QFETCH(int, repeat);
        QFETCH(QStringList, shown);
        Reset(language);
        QVERIFY(Put(FileOf("m"), "1\n" + rows));
        QVERIFY(Put(FileOf("other"), "3\n"));
        Macro page;
        Select(page, "m");
        for (const QString& step : qAsConst(steps)) {
            if (step == QLatin1String("record")) {
                // 0xE2, the ISO "<>" key: no name the recorder knows.
                Record(page, {{0x41, true}, {0x41, false}, {0xE2, true}, {0xE2, false}});
            } else if (step == QLatin1String("click")) {
                Rows(page)->setCurrentRow(Rows(page)->count() - 1);
                page.on_ChooseEvent_activated(4);
            } else {
                Rows(page)->setCurrentRow(0);
                page.on_DeleteKey_clicked();
            }
        }
        const char* const modes[] = {"ReUntilLoose", "ReUntilClick", "ReUntil"};
        const int mode = repeat == 254 ? 0 : repeat == 255 ? 1 : repeat == 253 ? 2 : -1;
        if (mode < 0) {
            Child(page, "ReNumber")->click();
            Child<QSpinBox>(page, "NumberEdit")->setValue(repeat);
        } else {
            Child(page, modes[mode])->click();
        }
        page.on_Save_clicked();
        const QByteArray saved = Content(FileOf("m"));
        QVERIFY(saved.startsWith(QByteArray::number(repeat) + "\n"));
        const QStringList before = RowTexts(page);
        if (!shown.isEmpty())
            QCOMPARE(before, shown);
        Export(page);
        const QByteArray exported = Content(ExportPath());
        Delete(page, "m");
        Select(page, "other");
        QCOMPARE(page.RepeatCode(), 3);

        Import(page);
        QCOMPARE(MacroNames(page), (QStringList{"other", "m"}));
        QCOMPARE(RowTexts(page), before);
        QCOMPARE(Content(FileOf("m")), saved);
        QCOMPARE(page.RepeatCode(), repeat);
        // A save of the imported macro keeps its mode; its export is the
        // same file again.
        page.on_Save_clicked();
        QCOMPARE(Content(FileOf("m")), saved);
        Export(page);
        QCOMPARE(Content(ExportPath()), exported);
    }

    // A file from outside is taken exactly as it states a macro the page
    // could have written, or refused whole with a notice, changing nothing.
    void importCrafted_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("macro");   // "": refused
        QTest::addColumn<QByteArray>("content");
        const QByteArray pressAndRelease = "254\n0x04 1 0\n10ms\n0x04 1 1\n";
        const QByteArray good = Crafted({"A+", "10ms", "A-"}, "c", "254");
        QTest::newRow("rows by their names") << good << "c" << pressAndRelease;
        QTest::newRow("rows by their codes, clicks named in Chinese")
            << Crafted({QString::fromUtf8("左键+"), "5ms", QString::fromUtf8("左键-"), "0ms", "LCtrl+"}, "c", "1",
                       Codes({{4, 0x01}, {4, 0x01}, {0, 0x01}}))
            << "c" << QByteArray("1\n0x01 4 0\n5ms\n0x01 4 1\n0ms\n0x01 0 0\n");
        QTest::newRow("longest delay") << Crafted({"A+", "1048575ms", "A-"}) << "c"
                                       << QByteArray("1\n0x04 1 0\n1048575ms\n0x04 1 1\n");
        QTest::newRow("70 keys") << Crafted(KeyRows(70)) << "c"
                                 << "1\n" + QByteArray("0x04 1 0\n5ms\n").repeated(69) + "0x04 1 0\n";
        QTest::newRow("48-byte name") << Crafted({"A+"}, Chinese(16).toUtf8()) << Chinese(10)
                                      << QByteArray("1\n0x04 1 0\n");
        QTest::newRow("31-byte name") << Crafted({"A+"}, "a" + Chinese(10).toUtf8()) << "a" + Chinese(9)
                                      << QByteArray("1\n0x04 1 0\n");
        QTest::newRow("48 bytes ending inside a character")
            << Crafted({"A+"}, ("a" + Chinese(16)).toUtf8().left(48)) << "a" + Chinese(9)
            << QByteArray("1\n0x04 1 0\n");
        QTest::newRow("8000 x 8000 icons, not decoded")
            << Crafted({"A+", "10ms", "A-"}, "c", "254", QByteArray(), IconBytes(HugePng())) << "c" << pressAndRelease;

        QTest::newRow("delay holding lines")
            << Crafted({"A+", "10\n0x04 1 0\n10ms\n0x04 1 1\n10ms", "A-"}) << "" << QByteArray();
        QTest::newRow("repeat 0 and a line") << Crafted({"A+"}, "c", "0\nxx") << "" << QByteArray();
        QTest::newRow("repeat 251") << Crafted({"A+"}, "c", "251") << "" << QByteArray();
        QTest::newRow("repeat 012") << Crafted({"A+"}, "c", "012") << "" << QByteArray();
        QTest::newRow("delay 1048576ms") << Crafted({"A+", "1048576ms", "A-"}) << "" << QByteArray();
        QTest::newRow("delay -5ms") << Crafted({"A+", "-5ms", "A-"}) << "" << QByteArray();
        QTest::newRow("unknown key name") << Crafted({"Ctrl+"}) << "" << QByteArray();
        QTest::newRow("marker 2") << Crafted({"A~"}) << "" << QByteArray();
        QStringList crowded = KeyRows(70);
        crowded.insert(1, "B+");
        crowded.removeLast();
        crowded.removeLast();
        crowded << "C+";
        QTest::newRow("71 key rows in 139 rows") << Crafted(crowded) << "" << QByteArray();
        QTest::newRow("71 keys") << Crafted(KeyRows(71)) << "" << QByteArray();
        QTest::newRow("two delays in a row") << Crafted({"A+", "5ms", "6ms", "A-"}) << "c"
                                             << QByteArray("1\n0x04 1 0\n5ms\n6ms\n0x04 1 1\n");
        QTest::newRow("a delay first and last") << Crafted({"5ms", "A+", "7ms"}) << "c"
                                                << QByteArray("1\n5ms\n0x04 1 0\n7ms\n");
        QTest::newRow("unknown code") << Crafted({"A+"}, "c", "1", Codes({{1, 0x32}})) << "" << QByteArray();
        QTest::newRow("codes for too few keys")
            << Crafted({"A+", "10ms", "A-"}, "c", "1", Codes({{1, 0x04}})) << "" << QByteArray();
        QTest::newRow("bytes after the end") << good + "x" << "" << QByteArray();
        QTest::newRow("icon of another engine")
            << Crafted({"A+"}, "c", "1", QByteArray(), Streamed([](QDataStream& out) { out << QStringLiteral("svg"); }))
            << "" << QByteArray();
        QTest::newRow("name ../x") << Crafted({"A+"}, "../x") << "" << QByteArray();
        QTest::newRow("name a/b") << Crafted({"A+"}, "a/b") << "" << QByteArray();
        QTest::newRow("empty name") << Crafted({"A+"}, "") << "" << QByteArray();
        QTest::newRow("name not UTF-8") << Crafted({"A+"}, "a\xff") << "" << QByteArray();
        QTest::newRow("wrong magic") << QByteArray(good).replace("Zelvo", "Zelvx") << "" << QByteArray();
        QTest::newRow("cut") << good.chopped(7) << "" << QByteArray();
        QTest::newRow("row count 10^9") << QByteArray(good).replace(4 + 12 + 4 + 48 + 4 + 12, 4, "\x3B\x9A\xCA\x00")
                                        << "" << QByteArray();
        QTest::newRow("empty file") << QByteArray() << "" << QByteArray();
        QTest::newRow("configuration export") << QByteArray("configuration") << "" << QByteArray();
    }

    void importCrafted()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, macro);
        QFETCH(QByteArray, content);
        if (file == "configuration")
            QVERIFY(ConfigurationFile::Write(ExportPath(), QStringLiteral("3395"), LiveFlashData.get()));
        else
            QVERIFY(Put(ExportPath(), file));
        QVERIFY(Put(FileOf("kept"), "1\n0x05 1 0\n"));
        Macro page;
        Select(page, "kept");
        const QStringList folder = FolderState();
        const QStringList home = FolderState(QDir::homePath());
        const QByteArray stored = StoredBlock();
        QString shown;
        {
            ModalAnswer notice = Notice(&shown);
            Import(page, true);
            if (macro.isEmpty())
                QCOMPARE(notice.DialogClass(), QStringLiteral("ExeIsRun"));
            else
                notice.Cancel();
        }
        QCOMPARE(FolderState(QDir::homePath()), home);
        QCOMPARE(StoredBlock(), stored);
        if (macro.isEmpty()) {
            QCOMPARE(shown, QStringLiteral("This file cannot be opened or is not an exported macro"));
            QCOMPARE(MacroNames(page), QStringList{"kept"});
            QCOMPARE(RowTexts(page), QStringList{"B+"});
            QCOMPARE(FolderState(), folder);
            return;
        }
        QCOMPARE(MacroNames(page), (QStringList{"kept", macro}));
        QCOMPARE(Content(FileOf(macro)), content);
        QCOMPARE(FolderState().size(), folder.size() + 1);
        // Every row shows the page's own picture of its kind.
        for (int row = 0; row < Rows(page)->count(); ++row) {
            const QListWidgetItem* item = Rows(page)->item(row);
            const QString picture = Macro::IsDelayRow(item) ? "MacroTime.png"
                : item->type() == Macro::ReleaseRow    ? "MacroUp.png"
                                                       : "MacroDown.png";
            QCOMPARE(IconImage(item->icon()), IconImage(QIcon(page.PictureFolder + picture)));
        }
    }

    // A file of the imported macro's name that is in the folder but not in
    // the list (made after the list was read) is not written over.
    void importKeepsAFileNotInTheList()
    {
        QVERIFY(Put(ExportPath(), Crafted({"A+"}, "c", "1")));
        Macro page;
        QVERIFY(Put(FileOf("c"), "254\n0x05 1 0\n"));
        const QStringList folder = FolderState();
        {
            ModalAnswer notice = ModalAnswer::Click(QStringLiteral("NewHong"));
            Import(page, true);
            QCOMPARE(notice.DialogClass(), QStringLiteral("SameMacro"));
        }
        QCOMPARE(FolderState(), folder);
        QCOMPARE(MacroNames(page), QStringList{});
    }

    // An icon that names a file of the user's: the file is never opened, and
    // the rows show the page's own pictures.
    void importOpensNoFileItNames()
    {
        const QString secret = QDir::homePath() + QStringLiteral("/secret.png");
        QImage picture(4, 4, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(secret));
        QVERIFY(Put(ExportPath(), Crafted({"A+"}, "c", "1", QByteArray(), IconBytes(QByteArray(""), secret))));
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(secret).constData(), IN_OPEN | IN_ACCESS) >= 0);
        Macro page;
        Import(page);
        QCOMPARE(MacroNames(page), QStringList{"c"});
        char events[4096];
        const ssize_t read = ::read(watch, events, sizeof events);
        const int error = errno;
        ::close(watch);
        QCOMPARE(read, ssize_t(-1));
        QCOMPARE(error, EAGAIN);
        QCOMPARE(IconImage(Rows(page)->item(0)->icon()), IconImage(QIcon(page.PictureFolder + "MacroDown.png")));
    }

    // An imported name longer than a mouse button keeps stays one macro
    // after a round through the mouse, and is taken on a second import.
    void importedLongNameStaysOneMacro()
    {
        const int button = 1;
        QVERIFY(Put(ExportPath(), Crafted({"A+", "10ms", "A-"}, Chinese(16).toUtf8())));
        Macro page;
        Import(page);
        QCOMPARE(MacroNames(page), QStringList{Chinese(10)});
        PostMsg::Instance()->PostMacroDownLoadData(Chinese(10), button);
        const FlashDataMap stored = StoredImage();
        QCOMPARE(QByteArray(stored.macros[button].name, stored.macros[button].nameLength), Chinese(10).toUtf8());
        QVERIFY(Put(FileOf(Chinese(10)), "1\n"));
        PostMsg::Instance()->PostButtonToMacro(stored, button);
        QCOMPARE(MacroNames(page), QStringList{Chinese(10)});
        QCOMPARE(Content(FileOf(Chinese(10))), QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n"));
        {
            ModalAnswer notice = ModalAnswer::Click(QStringLiteral("NewHong"));
            Import(page, true);
            QCOMPARE(notice.DialogClass(), QStringLiteral("SameMacro"));
        }
        QCOMPARE(MacroNames(page), QStringList{Chinese(10)});
    }

    // A macro exported under one language and imported under another keeps
    // its clicks.
    void importUnderAnotherLanguage_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("Chinese to English") << 1 << 0
                                            << QStringList{"Left click+", "10ms", "Left click-", "20ms", "B+"};
        QTest::newRow("English to Japanese") << 0 << 5 << QStringList{};
    }

    void importUnderAnotherLanguage()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QStringList, rows);
        const QByteArray macro = "254\n0x01 4 0\n10ms\n0x01 4 1\n20ms\n0x05 1 0\n";
        Reset(from);
        QVERIFY(Put(FileOf("m"), macro));
        {
            Macro page;
            Select(page, "m");
            Export(page);
            Delete(page, "m");
        }
        Reset(to);
        Macro page;
        Import(page);
        QCOMPARE(MacroNames(page), QStringList{"m"});
        QCOMPARE(Content(FileOf("m")), macro);
        QCOMPARE(Rows(page)->item(0)->text(), MouseButtonNames[MouseLeft]);
        if (!rows.isEmpty())
            QCOMPARE(RowTexts(page), rows);
    }
};

TALVIRE_TEST_MAIN(MacroDeviceTest)
#include "test_macro_device.moc"
