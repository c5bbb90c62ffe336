// The apply and import dialog and the exported configuration file: the file
// check on crafted files, the writer's layout, and the dialog's three runs
// (apply after a device read, import of a file, wait-only after a reset)
// against the simulated mouse. The pages and the top window are stood in for
// by a log of the bus signals they would receive.
#include "core/ConfigurationFile.h"
#include "core/DeviceAllInfo.h"
#include "core/DeviceCacheFile.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/InportFail.h"
#include "dialogs/UpDataParam.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/TestImages.h"
#include "tests/shell/LibraryProbe.h"
#include "tests/worker/BusLog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <QWidget>
#include <QtTest>

namespace {
const int Patience = TestLimit(10000);   // ms
const QString CacheName = QStringLiteral("Device_CID0A_MID01.bin");   // model 1 of the default scenario

void IgnoreReports(const unsigned char*, int, const unsigned char*, int) {}

// Builds a file byte by byte from the layout: each block is its length as a
// big-endian 32-bit number followed by its bytes.
QByteArray Block(const QByteArray& bytes)
{
    QByteArray length(4, '\0');
    qToBigEndian(quint32(bytes.size()), length.data());
    return length + bytes;
}

QByteArray HandMade(const QByteArray& magic, const QByteArray& sensor, const QByteArray& image)
{
    return Block(magic) + Block(sensor) + Block(image);
}

// A text followed by zero bytes up to 12 bytes.
QByteArray Text12(const QByteArray& text)
{
    return text + QByteArray(qMax(0, 12 - text.size()), '\0');
}

QByteArray BytesOf(const FlashDataMap& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.bytes()), FlashDataMap::Size);
}

QByteArray ImageWithStages(int stages)
{
    FlashDataMap image = PatternImage(7);
    image.dpiStageCount = quint8(stages);
    return BytesOf(image);
}

QByteArray GoodFile(const QByteArray& sensor, int stages)
{
    return HandMade(Text12("Zelvo"), Text12(sensor), ImageWithStages(stages));
}

QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteContent(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

void SetModel(int modelIndex)
{
    DeviceAllInfo device = CurrentDevice.get();
    device.modelIndex = modelIndex;
    CurrentDevice.set(device);
}

void SetLanguage(int index)
{
    MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
}

// The mouse's configuration with changes in several records, as another
// computer might have exported it.
FlashDataMap ExportedElsewhere()
{
    FlashDataMap image = StoredImage();
    image.reportRate = 2;
    image.dpiStageCount = 4;
    image.currentDpiStage = 3;
    image.lightColor[0] = 12;
    image.lightColor[1] = 34;
    image.lightColor[2] = 56;
    image.buttons[2] = ButtonFunction{0x02, 0x01, 0x00};
    return image;
}

// Qt's timers may fire up to 5 % early.
bool TookAtLeast(const QElapsedTimer& clock, int ms)
{
    return clock.elapsed() >= ms * 95 / 100;
}

const QByteArrayList PageSignals = {"SigUpDataLightUIA", "SigUpDataSensorUIB", "SigUpDataButtonUIC"};

// A window that counts how often it is painted.
class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};
} // namespace

class ApplyTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;
    BusLog* log = nullptr;
    Worker* worker = nullptr;

    QString FilePath(const QString& name) const { return folder.filePath(name); }

    // What an opener does: starts the timer and runs the dialog; the dialog
    // closes itself. A dialog still open after Patience fails the test.
    bool Run(UpDataParam& dialog)
    {
        bool stuck = false;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &dialog, [&] {
            stuck = true;
            dialog.reject();
        });
        guard.start(Patience);
        dialog.StartTimer();
        dialog.exec();
        return !stuck;
    }

    // The import as the button page runs it: the import text, the path, the run.
    bool RunImport(UpDataParam& dialog, const QString& path)
    {
        dialog.SetImportMode(true);
        dialog.SetImportPath(path);
        return Run(dialog);
    }

    // The default scenario's mouse behind its receiver, open, as the current
    // device of model 1 whose live image holds what the mouse holds.
    void OpenMouse(bool configurationRead = true)
    {
        const char* path = SimDevice_PathOf("receiver");
        QVERIFY(path);
        QVERIFY(UsbServerC_Start(path, path, IgnoreReports));
        CurrentDevice.set(Found("receiver"));
        QCOMPARE(CurrentDevice.get().modelIndex, 0);
        CurrentDevicePath.set(QByteArray(path));
        LiveFlashData.set(StoredImage());
        LiveFlashDataSource.set(configurationRead ? QByteArray(path) : QByteArray());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        // The 2500 ms timer runs 125 ms, a page check 25 ms.
        Timing::SetScale(0.05);
    }

    void init()
    {
        QVERIFY(SimDevice_Reset());
        SetLanguage(0);
        ResetSharedState();
        ImportFileResult = -1;
        QDir(DeviceCacheFile::Folder()).removeRecursively();
        log = new BusLog;
    }

    void cleanup()
    {
        UsbServer_Exit();
        delete worker;
        worker = nullptr;
        QTest::qWait(50);
        delete log;
        log = nullptr;
        ImportActive = 0;
        Timing::SetScale(0.05);
    }

    void cleanupTestCase()
    {
        UsbLibrary_Shutdown();
    }

    // The check of an exported file for the current device's model (model 1:
    // sensor "3395", up to 8 stages; model 2: "3950", up to 5). Only an
    // accepted image reaches the destination.
    void importCheck_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("expected");

        const QByteArray magic = Text12("Zelvo");
        const QByteArray image = ImageWithStages(3);
        const QByteArray good = GoodFile("3395", 3);
        QTest::newRow("good file") << good << true << 0 << 0;
        QTest::newRow("eight stages, DPIMaxGrade 8") << GoodFile("3395", 8) << true << 0 << 0;
        QTest::newRow("five stages, DPIMaxGrade 5") << GoodFile("3950", 5) << true << 1 << 0;
        QTest::newRow("texts without padding") << HandMade("Zelvo", "3395", image) << true << 0 << 0;
        QTest::newRow("wrong magic") << HandMade(Text12("Zelvx"), Text12("3395"), image) << true << 0 << 1;
        QTest::newRow("magic with more text") << HandMade(Text12("ZelvoX"), Text12("3395"), image) << true << 0 << 1;
        QTest::newRow("other sensor") << GoodFile("3950", 3) << true << 0 << 2;
        QTest::newRow("sensor with more text") << GoodFile("33950", 3) << true << 0 << 2;
        QTest::newRow("six stages, DPIMaxGrade 5") << GoodFile("3950", 6) << true << 1 << 2;
        QTest::newRow("nine stages, DPIMaxGrade 8") << GoodFile("3395", 9) << true << 0 << 2;
        QTest::newRow("no stages") << GoodFile("3395", 0) << true << 0 << 2;
        QTest::newRow("short image block") << HandMade(magic, Text12("3395"), image.chopped(1)) << true << 0 << 1;
        QTest::newRow("long image block") << HandMade(magic, Text12("3395"), image + '\0') << true << 0 << 1;
        QTest::newRow("no image block") << Block(magic) + Block(Text12("3395")) << true << 0 << 1;
        QTest::newRow("image block cut by the file's end") << good.chopped(100) << true << 0 << 1;
        QTest::newRow("bytes after the image") << good + QByteArray(4, '\0') << true << 0 << 1;
        QTest::newRow("no sensor block") << Block(magic) << true << 0 << 1;
        QTest::newRow("block length beyond the file") << QByteArray("\xFF\xFF\xFF\xF0Zelvo", 9) << true << 0 << 1;
        QTest::newRow("empty file") << QByteArray() << true << 0 << 1;
        QByteArray noise(good.size(), '\0');
        QRandomGenerator random(20240305);
        for (char& byte : noise)
            byte = char(random.bounded(256));
        QTest::newRow("random bytes") << noise << true << 0 << 1;
        QTest::newRow("missing file") << QByteArray() << false << 0 << 1;
    }

    void importCheck()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QFETCH(int, model);
        QFETCH(int, expected);
        const QString path = FilePath(QStringLiteral("check.bin"));
        QFile::remove(path);
        if (exists)
            QVERIFY(WriteContent(path, content));
        SetModel(model);

        const FlashDataMap before = PatternImage(99);
        FlashDataMap image = before;
        QCOMPARE(UpDataParam::ImportConfigFile(path, &image), expected);
        if (expected == 0)
            QCOMPARE(BytesOf(image), content.right(FlashDataMap::Size));
        else
            QVERIFY(SameImage(image, before));
    }

    // The export of each model is laid out as the hand-made file and imports
    // back as the same image.
    void exportLayout_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QByteArray>("sensor");
        QTest::newRow("model 1") << 0 << QByteArray("3395");
        QTest::newRow("model 2") << 1 << QByteArray("3950");
    }

    void exportLayout()
    {
        QFETCH(int, model);
        QFETCH(QByteArray, sensor);
        SetModel(model);
        const QString path = FilePath(QStringLiteral("export.bin"));
        FlashDataMap image = PatternImage(5);
        image.dpiStageCount = 4;

        QVERIFY(ConfigurationFile::Export(path, image));
        const QByteArray written = Content(path);
        QCOMPARE(written.size(), 10464);
        QCOMPARE(written.left(16), QByteArray("\x00\x00\x00\x0C" "Zelvo\0\0\0\0\0\0\0", 16));
        QCOMPARE(written.mid(16, 4), QByteArray("\x00\x00\x00\x0C", 4));
        QCOMPARE(written.mid(20, 12), Text12(sensor));
        QCOMPARE(written.mid(32, 4), QByteArray("\x00\x00\x28\xBC", 4));
        QCOMPARE(written, HandMade(Text12("Zelvo"), Text12(sensor), BytesOf(image)));

        FlashDataMap imported;
        QCOMPARE(UpDataParam::ImportConfigFile(path, &imported), 0);
        QVERIFY(SameImage(imported, image));
    }

    // Sensor names of 12 bytes or more are written whole and read back; the
    // first 12 bytes of a longer name are another name.
    void sensorNames_data()
    {
        QTest::addColumn<QString>("sensor");
        QTest::newRow("4 bytes") << QStringLiteral("3395");
        QTest::newRow("12 bytes") << QStringLiteral("PMW3395-ABCD");
        QTest::newRow("17 bytes") << QStringLiteral("PMW3395-LONG-NAME");
        QTest::newRow("13 bytes of UTF-8") << QStringLiteral("传感器3395");
    }

    void sensorNames()
    {
        QFETCH(QString, sensor);
        const QByteArray name = sensor.toUtf8();
        const QString path = FilePath(QStringLiteral("sensor.bin"));
        FlashDataMap image = PatternImage(3);
        image.dpiStageCount = 2;

        QVERIFY(ConfigurationFile::Write(path, sensor, image));
        const QByteArray written = Content(path);
        const int length = qMax(12, name.size());
        QCOMPARE(written.mid(16, 4 + length), Block(Text12(name)));
        QCOMPARE(written.size(), 16 + 4 + length + 4 + FlashDataMap::Size);

        FlashDataMap read;
        QCOMPARE(ConfigurationFile::Read(path, sensor, 8, &read), ConfigurationFile::Accepted);
        QVERIFY(SameImage(read, image));
        if (name.size() > 12) {
            QCOMPARE(ConfigurationFile::Read(path, QString::fromUtf8(name.left(12)), 8, &read),
                     ConfigurationFile::OtherDevice);
        }
    }

    // An export into a folder that does not exist fails and leaves no file.
    void exportFails()
    {
        const QString path = FilePath(QStringLiteral("missing/export.bin"));
        QVERIFY(!ConfigurationFile::Write(path, QStringLiteral("3395"), PatternImage(1)));
        QVERIFY(!QFile::exists(path));
    }

    // The texts: "updating" for an apply, "importing" while the button page's
    // import runs (ImportActive 1), in English and Simplified Chinese; they
    // follow a language change.
    void texts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("importActive");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("otherText");
        const QString updating = QStringLiteral("Updating the settings, please wait");
        const QString importing = QStringLiteral("Importing the configuration, please wait");
        const QString updatingZh = QStringLiteral("正在更新设置,请稍候");
        const QString importingZh = QStringLiteral("正在导入配置,请稍候");
        QTest::newRow("en-label") << 0 << 0 << updating << updatingZh;
        QTest::newRow("en-label_1") << 0 << 1 << importing << importingZh;
        QTest::newRow("zh-label") << 1 << 0 << updatingZh << updating;
        QTest::newRow("zh-label_1") << 1 << 1 << importingZh << importing;
    }

    // The updating and importing notices in Russian and Japanese, the
    // longest texts.
    void screenshots_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("importActive");
        QTest::newRow("ru-label") << 4 << 0;
        QTest::newRow("ru-label_1") << 4 << 1;
        QTest::newRow("ja-label") << 5 << 0;
        QTest::newRow("ja-label_1") << 5 << 1;
    }

    void screenshots()
    {
        QFETCH(int, language);
        QFETCH(int, importActive);
        SetLanguage(language);
        ImportActive = importActive;
        UpDataParam dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog, DefaultTestLimit()));
        QVERIFY(!SaveScreenshot(&dialog, QStringLiteral("apply-") + QString::fromLatin1(QTest::currentDataTag()))
                     .isEmpty());
    }

    void texts()
    {
        QFETCH(int, language);
        QFETCH(int, importActive);
        QFETCH(QString, text);
        QFETCH(QString, otherText);
        SetLanguage(language);
        ImportActive = importActive;
        UpDataParam dialog;
        QLabel* label = dialog.findChild<QLabel*>(QStringLiteral("label"));
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(dialog.size(), QSize(300, 140));
        QCOMPARE(int(dialog.windowFlags() & ~Qt::Window), 0x6C12);
        QVERIFY(!SaveScreenshot(&dialog, QStringLiteral("apply-") + QString::fromLatin1(QTest::currentDataTag()))
                     .isEmpty());

        PostMsg::Instance()->PostChangeLanguage(1 - language);
        QCOMPARE(label->text(), otherText);
    }

    // The whole apply with the worker and the simulated mouse: the worker
    // opens and reads the device and asks for the apply dialog; the pages take
    // the image slowly and report only at the dialog's third check. The dialog
    // clears their flags, asks for no offline notice and gives the device its
    // first cache file; an existing readable cache file stays.
    void applyAfterDeviceRead_data()
    {
        QTest::addColumn<QByteArray>("cacheFile");   // "" for none
        QTest::newRow("no cache file") << QByteArray();
        QTest::newRow("readable cache file") << QByteArray("keep");
        QTest::newRow("damaged cache file") << QByteArray("damaged");
    }

    void applyAfterDeviceRead()
    {
        QFETCH(QByteArray, cacheFile);
        // The program's own times: the pages' report falls between the
        // dialog's checks, and on a busy machine the device's read still ends
        // well within its time limit.
        Timing::SetScale(1.0);
        QDir().mkpath(DeviceCacheFile::Folder());
        const FlashDataMap kept = PatternImage(8);
        if (cacheFile == "keep")
            QVERIFY(DeviceCacheFile::Write(CacheName, kept));
        else if (cacheFile == "damaged")
            QVERIFY(WriteContent(DeviceCacheFile::Folder() + CacheName, QByteArray(100, '\x01')));

        UpDataParam dialog;
        int runs = 0;
        // The frame opens the dialog on the worker's request.
        connect(PostMsg::Instance(), &PostMsg::SigUpDataParam, &dialog, [&](int mode) {
            if (mode == 1)
                dialog.SetWaitOnlyMode(true);
            QVERIFY(Run(dialog));
            ++runs;
        });
        // The pages, once they have the image, report 750 ms into the run:
        // after the checks at 0 and 500 ms, before the one at 1000 ms. On a
        // busy machine the image may come later; they report when it does.
        bool reportDue = false;
        const auto report = [&] {
            if (reportDue && log->Count("SigUpDataLightUIButton") == 1 && log->Count("SigUpDataLightSensor") == 1) {
                ButtonPageFilled = true;
                SensorPageFilled = true;
            }
        };
        connect(PostMsg::Instance(), &PostMsg::SigSetver, &dialog, [&](int state) {
            if (state != 4 || !dialog.isVisible())
                return;
            QTimer::singleShot(Timing::Ms(750), &dialog, [&] {
                reportDue = true;
                report();
            });
        });
        connect(PostMsg::Instance(), &PostMsg::SigUpDataLightSensor, &dialog, report, Qt::QueuedConnection);

        worker = new Worker;
        PostMsg::Instance()->PostSelectMouseInfo(Found("receiver"));
        DeviceChosen = 1;
        worker->RequestPass();
        QTRY_COMPARE_WITH_TIMEOUT(runs, 1, Patience);

        QCOMPARE(log->Arguments("SigUpDataParam"), QList<QVariantList>{{0}});
        QVERIFY(DeviceDataReady);
        QVERIFY(!ButtonPageFilled);
        QVERIFY(!SensorPageFilled);
        QCOMPARE(log->Count("SigMouseOffLineo"), 0);
        QCOMPARE(log->Count("SigFormB"), 0);
        FlashDataMap cached;
        QVERIFY(DeviceCacheFile::Read(CacheName, &cached));
        QVERIFY(SameImage(cached, cacheFile == "keep" ? kept : StoredImage()));
    }

    // The device delivered no configuration: the pages get its model's cache
    // file when one can be read, and the offline notice is asked for after the
    // dialog has closed.
    void deviceDataNotReady_data()
    {
        QTest::addColumn<QByteArray>("cacheFile");
        QTest::addColumn<QByteArrayList>("expected");
        const QByteArrayList shown = QByteArrayList{"SigSetver"} + PageSignals
            + QByteArrayList{"SigFormB", "SigMouseOffLineo"};
        QTest::newRow("cache file") << QByteArray("good") << shown;
        QTest::newRow("no cache file") << QByteArray() << QByteArrayList{"SigSetver", "SigMouseOffLineo"};
        QTest::newRow("damaged cache file") << QByteArray("damaged")
                                            << QByteArrayList{"SigSetver", "SigMouseOffLineo"};
    }

    void deviceDataNotReady()
    {
        QFETCH(QByteArray, cacheFile);
        QFETCH(QByteArrayList, expected);
        const FlashDataMap cached = PatternImage(4);
        QDir().mkpath(DeviceCacheFile::Folder());
        if (cacheFile == "good")
            QVERIFY(DeviceCacheFile::Write(CacheName, cached));
        else if (cacheFile == "damaged")
            QVERIFY(WriteContent(DeviceCacheFile::Folder() + CacheName, BytesOf(cached)));
        CacheReadName.set(CacheName);
        const FlashDataMap live = PatternImage(6);
        LiveFlashData.set(live);

        UpDataParam dialog;
        bool visibleAtNotice = true;
        connect(PostMsg::Instance(), &PostMsg::SigMouseOffLineo, &dialog,
                [&] { visibleAtNotice = dialog.isVisible(); });
        QVERIFY(Run(dialog));

        QCOMPARE(log->Names(), expected);
        QCOMPARE(log->Last("SigSetver"), QVariantList{4});
        QCOMPARE(log->Last("SigMouseOffLineo"), QVariantList{0});
        QVERIFY(!visibleAtNotice);
        for (const QByteArray& name : PageSignals) {
            for (const QVariantList& arguments : log->Arguments(name))
                QVERIFY(SameImage(ImageOf(arguments), cached));
        }
        QVERIFY(SameImage(LiveFlashData.get(), live));
    }

    // The pages never report: after an apply the notice's time-out text is
    // asked for, after a wait-only run the offline text; both after the
    // dialog has closed. The flags are left alone and nothing is written to a
    // cache file, since the live image is not the device's configuration.
    void pagesDoNotReport_data()
    {
        QTest::addColumn<bool>("waitOnly");
        QTest::addColumn<int>("reason");
        QTest::newRow("apply") << false << 1;
        QTest::newRow("wait-only") << true << 0;
    }

    void pagesDoNotReport()
    {
        QFETCH(bool, waitOnly);
        QFETCH(int, reason);
        DeviceDataReady = true;
        DeviceOnline = true;
        ButtonPageFilled = true;   // only one page reports
        CacheReadName.set(CacheName);
        CacheWriteName.set(CacheName);
        LiveFlashData.set(PatternImage(3));

        UpDataParam dialog;
        dialog.SetWaitOnlyMode(waitOnly);
        bool visibleAtNotice = true;
        connect(PostMsg::Instance(), &PostMsg::SigMouseOffLineo, &dialog,
                [&] { visibleAtNotice = dialog.isVisible(); });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(Run(dialog));

        // The timer, then 12 checks with 500 ms after each.
        QVERIFY(TookAtLeast(clock, Timing::Ms(2500) + 12 * Timing::Ms(500)));
        QCOMPARE(log->Names(), (QByteArrayList{"SigSetver", "SigMouseOffLineo"}));
        QCOMPARE(log->Last("SigMouseOffLineo"), QVariantList{reason});
        QVERIFY(!visibleAtNotice);
        QVERIFY(ButtonPageFilled);
        QVERIFY(!SensorPageFilled);
        QVERIFY(!dialog.WaitOnlyMode());
        QVERIFY(!QFile::exists(DeviceCacheFile::Folder() + CacheName));
    }

    // The frame keeps one dialog: a wait-only run leaves the pages' flags set;
    // the next run, opened without a mode, is a normal apply that clears them.
    void waitOnlyThenApply()
    {
        DeviceDataReady = true;
        ButtonPageFilled = true;
        SensorPageFilled = true;
        UpDataParam dialog;
        dialog.SetWaitOnlyMode(true);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(Run(dialog));
        // The timer and the fixed pause after the pages reported.
        QVERIFY(TookAtLeast(clock, Timing::Ms(2500) + Timing::Ms(2000)));
        QVERIFY(ButtonPageFilled);
        QVERIFY(SensorPageFilled);
        QVERIFY(!dialog.WaitOnlyMode());

        QVERIFY(Run(dialog));
        QVERIFY(!ButtonPageFilled);
        QVERIFY(!SensorPageFilled);
        QCOMPARE(log->Names(), (QByteArrayList{"SigSetver", "SigSetver"}));
    }

    // The fixed pause of a wait-only run (after a reported configuration
    // change or a reset) does not freeze the window: its timers keep firing
    // and it keeps painting while the notice shows.
    void waitOnlyPauseKeepsTheWindowAlive()
    {
        DeviceDataReady = true;
        ButtonPageFilled = true;
        SensorPageFilled = true;
        PaintCounter window;
        window.resize(200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, DefaultTestLimit()));
        UpDataParam dialog;
        dialog.SetWaitOnlyMode(true);

        // The pages have reported: the run goes straight to the pause.
        bool pausing = false;
        int ticks = 0;
        int paints = 0;
        connect(PostMsg::Instance(), &PostMsg::SigSetver, &dialog, [&] {
            pausing = true;
            window.paints = 0;
        });
        connect(&dialog, &QDialog::finished, &window, [&] {
            pausing = false;
            paints = window.paints;
        });
        // A timer that fires on every turn of the event loop: a pause that
        // blocks the loop lets it fire not once, nor the window paint; one
        // that runs the loop lets both happen, however busy the machine.
        QTimer tick(&window);
        tick.setInterval(0);
        connect(&tick, &QTimer::timeout, &window, [&] {
            if (pausing) {
                ++ticks;
                window.update();
            }
        });
        tick.start();
        QVERIFY(Run(dialog));

        QVERIFY2(ticks > 0, qPrintable(QString::number(ticks)));
        QVERIFY2(paints > 0, qPrintable(QString::number(paints)));
    }

    // A run asked for while one is in progress (its waits process events)
    // starts after it, not inside it.
    void runsDoNotOverlap()
    {
        DeviceDataReady = true;
        UpDataParam dialog;
        int running = 0;
        int overlaps = 0;
        connect(PostMsg::Instance(), &PostMsg::SigSetver, &dialog, [&] {
            if (++running > 1)
                ++overlaps;
            // The second opener, while the first run waits for the pages.
            if (log->Count("SigSetver") == 1)
                dialog.StartTimer();
        });
        connect(PostMsg::Instance(), &PostMsg::SigMouseOffLineo, &dialog, [&] { --running; });
        QVERIFY(Run(dialog));
        QCOMPARE(log->Count("SigSetver"), 1);
        QTRY_COMPARE_WITH_TIMEOUT(log->Count("SigMouseOffLineo"), 2, Patience);
        QCOMPARE(overlaps, 0);
    }

    // An accepted import: the device takes the file's image, which becomes
    // the live image and the device's own configuration (setters may write),
    // and reaches the pages, also when the device's configuration had not been
    // read before.
    void acceptedImport_data()
    {
        QTest::addColumn<bool>("configurationRead");
        QTest::newRow("after a device read") << true;
        QTest::newRow("before the device was read") << false;
    }

    void acceptedImport()
    {
        QFETCH(bool, configurationRead);
        OpenMouse(configurationRead);
        const FlashDataMap image = ExportedElsewhere();
        const QString path = FilePath(QStringLiteral("accepted.bin"));
        QVERIFY(ConfigurationFile::Export(path, image));

        ImportActive = 1;
        UpDataParam dialog;
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("label"))->text(),
                 QStringLiteral("Importing the configuration, please wait"));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(RunImport(dialog, path));

        QCOMPARE(ImportFileResult.load(), 0);
        QVERIFY(TookAtLeast(clock, Timing::Ms(2500) + 5 * Timing::Ms(500)));
        QCOMPARE(ChangedBytes(StoredImage(), image), QList<int>());
        QVERIFY(SameImage(LiveFlashData.get(), image));
        QVERIFY(LiveFlashDataIsCurrent());
        QCOMPARE(log->Names(), QByteArrayList{"SigSetver"} + PageSignals + QByteArrayList{"SigFormB"});
        for (const QByteArray& name : PageSignals)
            QVERIFY(SameImage(ImageOf(log->Last(name)), image));
        QVERIFY(!dialog.ImportMode());
        QVERIFY(dialog.ImportPath().isEmpty());
    }

    // A refused file: the InportFail notice, centred over the dialog, with the
    // text of the result; the live image and the device stay as they were.
    void refusedImport_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        const QString unreadable = QStringLiteral("The file cannot be opened or is not a configuration file");
        const QString mismatch = QStringLiteral("The configuration does not match the device");
        QTest::newRow("missing file") << QByteArray() << 1 << unreadable;
        QTest::newRow("wrong magic") << HandMade(Text12("Zelvx"), Text12("3395"), ImageWithStages(2)) << 1
                                     << unreadable;
        QTest::newRow("other sensor") << GoodFile("3950", 2) << 2 << mismatch;
        QTest::newRow("nine stages") << GoodFile("3395", 9) << 2 << mismatch;
    }

    void refusedImport()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, result);
        QFETCH(QString, text);
        OpenMouse();
        const FlashDataMap live = LiveFlashData.get();
        const int writes = SimDevice_WriteCount("mouse");
        const QString path = FilePath(QStringLiteral("refused.bin"));
        QFile::remove(path);
        if (!content.isEmpty())
            QVERIFY(WriteContent(path, content));

        UpDataParam dialog;
        dialog.move(210, 170);
        QString noticeText;
        QPoint noticePlace;
        QTimer answer;
        connect(&answer, &QTimer::timeout, &dialog, [&] {
            auto* notice = qobject_cast<InportFail*>(QApplication::activeModalWidget());
            if (!notice)
                return;
            answer.stop();
            noticeText = notice->findChild<QLabel*>(QStringLiteral("label"))->text();
            noticePlace = notice->pos();
            notice->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        });
        answer.start(5);
        QVERIFY(RunImport(dialog, path));

        QCOMPARE(ImportFileResult.load(), result);
        QCOMPARE(noticeText, text);
        QCOMPARE(noticePlace, QPoint(210, 170));
        QVERIFY(SameImage(LiveFlashData.get(), live));
        QCOMPARE(SimDevice_WriteCount("mouse"), writes);
        QCOMPARE(log->Names(), QByteArrayList{"SigSetver"});
        QVERIFY(!dialog.ImportMode());
    }

    // The device goes away (or refuses the image) between the file dialog and
    // the import: the offline notice, nothing on the pages, the live image and
    // its mark as they were.
    void importWhileDeviceGone_data()
    {
        QTest::addColumn<bool>("switchedOff");
        QTest::addColumn<int>("imagesSent");   // to the device library
        QTest::newRow("mouse switched off") << true << 0;
        QTest::newRow("device refuses the image") << false << 1;
    }

    void importWhileDeviceGone()
    {
        QFETCH(bool, switchedOff);
        QFETCH(int, imagesSent);
        OpenMouse();
        const FlashDataMap live = LiveFlashData.get();
        const FlashDataMap device = StoredImage();
        const QByteArray source = LiveFlashDataSource.get();
        const QString path = FilePath(QStringLiteral("offline.bin"));
        QVERIFY(ConfigurationFile::Export(path, ExportedElsewhere()));
        if (switchedOff)
            QVERIFY(SimDevice_SetPower("mouse", 0));
        else
            QVERIFY(SimDevice_FailNextWrite(0));

        UpDataParam dialog;
        LibraryProbe::Clear();
        QVERIFY(RunImport(dialog, path));

        QCOMPARE(ImportFileResult.load(), 0);
        // A mouse that does not answer is not sent the image at all.
        QCOMPARE(LibraryProbe::CallsOf("ProtocolDataUpdate").size(), imagesSent);
        QCOMPARE(log->Names(), (QByteArrayList{"SigSetver", "SigMouseOffLineo"}));
        QCOMPARE(log->Last("SigMouseOffLineo"), QVariantList{0});
        QVERIFY(SameImage(LiveFlashData.get(), live));
        QCOMPARE(LiveFlashDataSource.get(), source);
        if (switchedOff)
            QVERIFY(SimDevice_SetPower("mouse", 1));
        QCOMPARE(ChangedBytes(StoredImage(), device), QList<int>());
    }
};

TALVIRE_TEST_MAIN(ApplyTest)
#include "test_apply.moc"
