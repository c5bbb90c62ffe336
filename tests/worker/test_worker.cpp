// The device worker against the simulated receiver and mouse: the pass that
// opens and reads the chosen device, the offline pass with the cached image,
// the online check, the reports the device sends, the device-change handling
// that follows the mouse or goes back to the chooser, identification, and
// stopping the worker. The pages are stood in for by a log of the bus signals
// they would receive, connected the way the pages connect.
#include "core/DeviceAllInfo.h"
#include "core/DeviceCacheFile.h"
#include "core/FirmwareImages.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "dialogs/RepairDialogTracker.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "platform/Registry.h"
#include "tests/common/OtherThread.h"
#include "tests/common/PickedMouse.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/TestImages.h"
#include "tests/worker/BusLog.h"

#include <QApplication>
#include <QDir>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <cstring>

using Bytes = QMap<int, int>;   // image offset -> value

namespace {
const int Patience = TestLimit(10000);   // ms: the simulated devices answer within a few

void IgnoreReports(const unsigned char*, int, const unsigned char*, int) {}

QByteArray Header(int type, int address = 0, int byte3 = 0)
{
    QByteArray header(8, '\0');
    header[1] = char(type);
    header[3] = char(byte3);
    header[4] = char(address);
    return header;
}

// Hands a report to the report callback from a thread of its own, as the
// device library does, while the GUI thread serves the blocking signals.
bool Report(const QByteArray& header, const QByteArray& data)
{
    return RunOnOtherThread([&] {
        Worker::OnUsbData(reinterpret_cast<const unsigned char*>(header.constData()), header.size(),
                          reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    });
}

// A key record and a macro block on every button, so that clearing shows.
FlashDataMap WithRecords(FlashDataMap image)
{
    for (int button = 0; button < FlashDataMap::ButtonCount; ++button) {
        KeyRecord& keys = image.keys[button];
        keys = KeyRecord();
        keys.count = 1;
        keys.events[0].kind = DeviceEvent::Key;
        keys.events[0].code = quint16(0x04 + button);
        MacroBlock& macro = image.macros[button];
        macro = MacroBlock();
        const QByteArray name = "Macro" + QByteArray::number(button);
        macro.nameLength = quint8(name.size());
        std::memcpy(macro.name, name.constData(), size_t(name.size()));
        macro.count = 1;
        macro.events[0].kind = DeviceEvent::Key;
        macro.events[0].code = quint16(0x10 + button);
        macro.events[0].delay = 50;
    }
    return image;
}

bool RecordsEmpty(const FlashDataMap& image, int button)
{
    const KeyRecord noKeys;
    const MacroBlock noMacro;
    return std::memcmp(&image.keys[button], &noKeys, sizeof(KeyRecord)) == 0
        && std::memcmp(&image.macros[button], &noMacro, sizeof(MacroBlock)) == 0;
}

const char* const TwoModels = R"({
  "receivers": [ { "id": "receiverA", "kind": 4, "model": 1 }, { "id": "receiverB", "kind": 2, "model": 2 } ],
  "mice": [ { "id": "mouseA", "model": 1, "receiver": "receiverA" },
            { "id": "mouseB", "model": 2, "receiver": "receiverB" } ]
})";
} // namespace

class WorkerTest : public QObject {
    Q_OBJECT

private:
    Worker* worker = nullptr;
    BusLog* log = nullptr;

    // What the chooser's selection does when the user picks a device.
    void Choose(const DeviceAllInfo& device, bool followChanges = true)
    {
        PostMsg::Instance()->PostSelectMouseInfo(device);
        if (followChanges)
            StartUsbChanged(&Worker::OnUsbChanged, 600);
        DeviceChosen = 1;
        worker->RequestPass();
    }

    // Back to the chooser, as the top window does.
    void BackToChooser()
    {
        DeviceChosen = 0;
        PostMsg::Instance()->PostMainPageChange();
        UsbServer_Exit();
    }

    void WaitForWholeReads(int count)
    {
        QTRY_VERIFY_WITH_TIMEOUT(log->Count("SigForm") >= count && log->Count("SigUpDataConfigUI") >= count
                                     && log->Count("SigBattery") >= count && log->Count("SigUpDataDPILed") >= count,
                                 Patience);
    }

    // Waits until the library has run every callback due, reports still
    // queued on the link included (none is dropped), while the GUI thread
    // serves their blocking signals, then delivers what they posted.
    void WaitForCallbacks()
    {
        QVERIFY(SimDevice_Settle(Patience));
        QCoreApplication::sendPostedEvents();
    }

    // Waits until no pass runs (a pass asked for starts the thread at once),
    // then delivers what it posted.
    void WaitForPassesEnded()
    {
        QCoreApplication::sendPostedEvents();
        QTRY_VERIFY_WITH_TIMEOUT(!worker->isRunning(), Patience);
        QCoreApplication::sendPostedEvents();
    }

    // The report callback opened on the receiver, not the worker's: reports
    // are handed to the worker by the test alone.
    void OpenQuietly(const DeviceAllInfo& device)
    {
        const QByteArray path = device.path.toLatin1();
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), IgnoreReports));
        CurrentDevice.set(device);
        CurrentDevicePath.set(path);
        LiveFlashData.set(StoredImage());
        LiveFlashDataSource.set(path);
    }

private slots:
    void initTestCase()
    {
        // The online check every 65 ms, the re-read guard 150 ms.
        Timing::SetScale(TimeScale);
    }

    void init()
    {
        QVERIFY(SimDevice_Reset());
        FirmwareImages::SetFolder(QDir::temp().filePath(QStringLiteral("no-firmware-here")));
        ResetSharedState();
        QDir(DeviceCacheFile::Folder()).removeRecursively();

        log = new BusLog;
        worker = new Worker;
        QCOMPARE(WorkerInstance.load(), worker);
    }

    void cleanup()
    {
        StopUsbChanged();
        UsbServer_Exit();
        delete worker;
        worker = nullptr;
        // A report still being handled finishes into this test's log.
        WaitForCallbacks();
        delete log;
        log = nullptr;
    }

    void cleanupTestCase()
    {
        UsbLibrary_Shutdown();
    }

    // The whole way from the pick to the pages: the device is opened and read;
    // the pages get copies of its configuration, and the follow-up answers
    // (DPI light, battery, version, onboard configuration, receiver light, long
    // range) reach their receivers. The live image and the cache file written
    // under the write name hold the configuration; setters may write now.
    void wholePass()
    {
        const FlashDataMap device = StoredImage();
        QCOMPARE(Found("receiver").modelIndex, 0);
        PickedMouse mouse;
        QVERIFY2(mouse.Open(Patience), qPrintable(mouse.Missing()));
        WaitForWholeReads(1);
        QVERIFY(log->Arguments("SigSetver").contains(QVariantList{0}));

        QCOMPARE(log->Arguments("SigUpDataParam"), QList<QVariantList>{{0}});
        QVERIFY(SameImage(LiveFlashData.get(), device));
        QVERIFY(SameImage(ImageOf(log->Last("SigUpDataLightUIButton")), device));
        QVERIFY(SameImage(ImageOf(log->Last("SigUpDataLightSensor")), device));
        TRY_COMPARE(log->Count("SigUpDataLightLight"), 1);
        QVERIFY(SameImage(ImageOf(log->Last("SigUpDataLightLight")), device));
        QVERIFY(SameImage(ImageOf(log->Last("SigUpDataDPILed")), device));
        // The pages took the whole image before the settings page's rows.
        const QByteArrayList names = log->Names();
        QVERIFY(names.indexOf("SigUpDataLightUIButton") < names.indexOf("SigUpDataLightSensor"));
        QVERIFY(names.indexOf("SigUpDataLightSensor") < names.indexOf("SigForm"));

        QCOMPARE(log->Last("SigBattery"), (QVariantList{false, 80, true}));
        QCOMPARE(log->Last("SigUpDataConfigUI"), (QVariantList{4, 0, true}));
        QCOMPARE(log->Last("SigRGBValue"), QVariantList{2});
        QCOMPARE(log->Last("SigLongRangeMode"), QVariantList{true});
        QCOMPARE(CurrentDevice.get().mouseVersion, QStringLiteral("v1.5"));
        QCOMPARE(Registry::Instance()->GetValue(Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1"))),
                 QStringLiteral("v1.5"));

        QCOMPARE(SimDevice_PCDriverStatus(), 1);
        QVERIFY(DeviceDataReady);
        QVERIFY(!RunRequested);
        QCOMPARE(CacheReadName.get(), QStringLiteral("Device_CID0A_MID01.bin"));
        QCOMPARE(CacheWriteName.get(), QStringLiteral("Device_CID0A_MID01.bin"));
        QVERIFY(LiveFlashDataIsCurrent());

        // What the frame does when it closes: the cache file gets the live image.
        Worker::WriteDeviceInfoFile(CacheWriteName.get(), LiveFlashData.get());
        FlashDataMap cached;
        QVERIFY(Worker::ReadDeviceInfoFile(CacheReadName.get(), &cached));
        QVERIFY(SameImage(cached, device));

        QVERIFY(SetReportRate(2));
        QCOMPARE(int(mouse.Stored().reportRate), 2);
        QCOMPARE(mouse.Writes(), 1);
    }

    // The DPI button of the mouse: a status change, the worker asks for the
    // current stage, the sensor page is told and the image follows.
    void dpiButton()
    {
        Choose(Found("receiver"));
        WaitForWholeReads(1);
        const int stage = LiveFlashData.get().currentDpiStage;
        const int stages = LiveFlashData.get().dpiStageCount;
        QVERIFY(SimDevice_PressDpiButton("mouse"));
        QTRY_COMPARE_WITH_TIMEOUT(log->Count("SigUpDataDPI"), 1, Patience);
        QCOMPARE(log->Last("SigUpDataDPI"), QVariantList{(stage + 1) % stages});
        QCOMPARE(int(LiveFlashData.get().currentDpiStage), (stage + 1) % stages);
        QVERIFY(SameImage(StoredImage(), LiveFlashData.get()));
    }

    // Passes that have nothing to do: nothing changed since the last open, or
    // no device is chosen.
    void passWithoutDeviceWork_data()
    {
        QTest::addColumn<bool>("readFirst");
        QTest::newRow("same device, same state") << true;
        QTest::newRow("no device chosen") << false;
    }

    void passWithoutDeviceWork()
    {
        QFETCH(bool, readFirst);
        if (readFirst) {
            Choose(Found("receiver"));
            WaitForWholeReads(1);
        } else {
            PostMsg::Instance()->PostSelectMouseInfo(Found("receiver"));
        }
        const int writes = SimDevice_WriteCount("mouse");
        log->Clear();

        worker->RequestPass();
        QTRY_VERIFY_WITH_TIMEOUT(!RunRequested && !worker->isRunning(), Patience);
        // Answers to anything the pass asked of the device would come within this while.
        QTest::qWait(200);
        QCOMPARE(log->Names(), QByteArrayList());
        QCOMPARE(SimDevice_WriteCount("mouse"), writes);
        QCOMPARE(log->Count("SigForm"), 0);
        QCOMPARE(DeviceDataReady.load(), DeviceOnline.load());
        QCOMPARE(SimDevice_PCDriverStatus(), readFirst ? 1 : -1);
    }

    // The device does not answer when the pass opens it: the pages get the
    // model's cached image (or are reset), the live image stays, and the device
    // is opened all the same.
    void offlinePass_data()
    {
        QTest::addColumn<bool>("cacheFile");
        QTest::newRow("with a cache file") << true;
        QTest::newRow("without a cache file") << false;
    }

    void offlinePass()
    {
        QFETCH(bool, cacheFile);
        const FlashDataMap cached = PatternImage(4);
        if (cacheFile)
            Worker::WriteDeviceInfoFile(QStringLiteral("Device_CID0A_MID01.bin"), cached);
        const FlashDataMap live = PatternImage(9);
        LiveFlashData.set(live);
        const DeviceAllInfo receiver = Found("receiver");
        QVERIFY(SimDevice_SetPower("mouse", 0));
        worker->OnlineCheckTimer()->stop();

        Choose(receiver, false);
        if (cacheFile) {
            QTRY_COMPARE_WITH_TIMEOUT(log->Count("SigForm"), 1, Patience);
            QVERIFY(SameImage(ImageOf(log->Last("SigUpDataLightUIButton")), cached));
            QVERIFY(SameImage(ImageOf(log->Last("SigUpDataLightSensor")), cached));
            TRY_COMPARE(log->Count("SigUpDataLightLight"), 1);
            QVERIFY(SameImage(ImageOf(log->Last("SigUpDataLightLight")), cached));
            QCOMPARE(log->Count("SigFormReset"), 0);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(log->Count("SigFormReset"), 1, Patience);
            QCOMPARE(log->Count("SigForm"), 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!worker->isRunning(), Patience);
        QVERIFY(SameImage(LiveFlashData.get(), live));
        QVERIFY(OfflinePending);
        QVERIFY(!CurrentDevice.get().online);
        QCOMPARE(log->Count("SigUpDataParam"), 0);
        QCOMPARE(SimDevice_PCDriverStatus(), 1);
        QVERIFY(!LiveFlashDataIsCurrent());
    }

    // A device found offline that answers later: the notice closes once, and
    // the device is read before anything is written to it. Until then setters
    // refuse, so the device keeps its own configuration.
    void offlineDeviceIsReadWhenItAnswers()
    {
        const DeviceAllInfo receiver = Found("receiver");
        QVERIFY(SimDevice_SetPower("mouse", 0));
        Choose(receiver, false);
        QTRY_COMPARE_WITH_TIMEOUT(log->Count("SigFormReset"), 1, Patience);
        const QByteArray block = StoredBlock();

        QVERIFY(!SetReportRate(16));
        QVERIFY(SimDevice_SetPower("mouse", 1));
        WaitForWholeReads(1);
        QCOMPARE(log->Count("SigCloseOffOnline"), 1);
        QCOMPARE(log->Arguments("SigUpDataParam"), QList<QVariantList>{{0}});
        QVERIFY(!OfflinePending);
        QVERIFY(SameImage(LiveFlashData.get(), StoredImage()));
        QCOMPARE(StoredBlock(), block);
        QVERIFY(SetReportRate(16));
        QCOMPARE(int(StoredImage().reportRate), 16);
    }

    // The device answers, but its configuration has not arrived: a setter must
    // not send the live image, which belongs to no device yet.
    void settersWaitForTheWholeConfiguration()
    {
        QVERIFY(SimDevice_DropAnswers(-1));
        Choose(Found("receiver"), false);
        QTRY_COMPARE_WITH_TIMEOUT(log->Count("SigUpDataParam"), 1, Patience);
        const QByteArray block = StoredBlock();
        QVERIFY(!SetReportRate(16));
        QVERIFY(!SetButtonKey(0, 1, 1, 0));
        QCOMPARE(SimDevice_WriteCount("mouse"), 0);
        QCOMPARE(StoredBlock(), block);
        QCOMPARE(log->Count("SigMouseOffLineo"), 0);

        QVERIFY(SimDevice_DropAnswers(0));
        UsbServer_ReadAllFlashData();
        WaitForWholeReads(1);
        QVERIFY(SetReportRate(16));
        QCOMPARE(int(StoredImage().reportRate), 16);
    }

    // The online check: a device pending offline while no device is chosen
    // stays pending only for link type 0; a chosen device that answers again
    // closes the notice once and is read again only when a re-read is wanted.
    void onlineCheck_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("linkType");
        QTest::addColumn<bool>("reRead");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<int>("closeNotices");
        QTest::addColumn<int>("passes");

        QTest::newRow("not chosen, link type 0") << 0 << 0 << false << true << 0 << 0;
        QTest::newRow("not chosen, link type 1") << 0 << 1 << false << false << 0 << 0;
        QTest::newRow("chosen, answers, no re-read wanted") << 1 << 1 << false << false << 1 << 0;
        QTest::newRow("chosen, answers, re-read wanted") << 1 << 1 << true << false << 1 << 1;
    }

    void onlineCheck()
    {
        QFETCH(int, chosen);
        QFETCH(int, linkType);
        QFETCH(bool, reRead);
        QFETCH(bool, pending);
        QFETCH(int, closeNotices);
        QFETCH(int, passes);

        worker->OnlineCheckTimer()->stop();
        DeviceAllInfo device = Found("receiver");
        device.linkType = quint8(linkType);
        worker->SlotSelectMouseInfo(device);
        DeviceChosen = chosen;
        OfflinePending = true;
        ReReadRequested = reRead;
        worker->SlotCheckOnline();
        worker->SlotCheckOnline();

        QCOMPARE(OfflinePending.load(), pending);
        QCOMPARE(log->Count("SigCloseOffOnline"), closeNotices);
        if (passes > 0)
            WaitForWholeReads(passes);
        WaitForPassesEnded();
        QCOMPARE(log->Count("SigUpDataParam"), passes);
    }

    // Reports handed to the report callback one at a time: what each changes in
    // the live image, what it signals and whether the image goes to the device.
    void reports_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("wired");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<QVariantList>("arguments");   // for signals without an image
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<int>("writes");

        const QByteArray whole(DIVAZA_DEVICE_BLOCK_SIZE, '\x11');
        const QByteArray none;
        auto row = [](const char* name, const QByteArray& header, const QByteArray& data, bool wired,
                      const char* signal, const QVariantList& arguments, const Bytes& bytes, int writes) {
            QTest::newRow(name) << header << data << wired << QByteArray(signal) << arguments << bytes << writes;
        };
        row("whole configuration with header byte 3 set", Header(8, 0, 1), whole, false, "", {}, {}, 0);
        row("report rate 16 from the cable", Header(8, 0), QByteArray(1, 16), true, "", {}, {}, 0);
        row("report rate 16 through the receiver", Header(8, 0), QByteArray(1, 16), false, "SigUpDataReportRate",
            {16}, {{0x00, 16}}, 1);
        row("report rate 4 from the cable", Header(8, 0), QByteArray(1, 4), true, "SigUpDataReportRate", {4},
            {{0x00, 4}}, 1);
        row("current stage", Header(8, 4), QByteArray(1, 3), false, "SigUpDataDPI", {3}, {{0x02, 3}}, 1);
        row("DPI light", Header(8, 0x4C), QByteArray("\x01\x02\xC8\x03\0\0\0\0", 8), false, "SigUpDataDPILed", {},
            {{0x3F, 2}, {0x40, 200}, {0x41, 3}, {0x42, 1}}, 0);
        row("light bar", Header(8, 0xA0), QByteArray("\x01\x04\x0A\x14\x1E\x02\x50\0\0", 9), false,
            "SigUpDataLightLight", {}, {{0x43, 4}, {0x44, 10}, {0x45, 20}, {0x46, 30}, {0x47, 2}, {0x48, 80},
                                        {0x49, 1}}, 0);
        row("DPI light one byte short", Header(8, 0x4C), QByteArray(7, 1), false, "", {}, {}, 0);
        row("unknown address", Header(8, 0x10), QByteArray(1, 5), false, "", {}, {}, 0);
        row("battery 80 %, not charging", Header(4), QByteArray("\x50\x00\x10\x0F", 4), false, "SigBattery",
            {false, 80, true}, {}, 0);
        row("battery 15 %, charging", Header(4), QByteArray("\x0F\x01", 2), false, "SigBattery", {true, 15, true},
            {}, 0);
        row("battery report too short", Header(4), QByteArray(1, 80), false, "", {}, {}, 0);
        row("four onboard configurations", Header(14), QByteArray(1, 2), false, "SigUpDataConfigUI", {4, 2, true},
            {}, 0);
        row("no onboard configurations", Header(14), none, false, "SigUpDataConfigUI", {0, 0, false}, {}, 0);
        row("receiver light changed", Header(21), QByteArray(10, 0), false, "SigRGBValue", {0}, {}, 0);
        row("long range off", Header(23), QByteArray(10, 0), false, "SigLongRangeMode", {false}, {}, 0);
        row("long range report of another length", Header(23), QByteArray(9, 0), false, "", {}, {}, 0);
        row("header of one byte", QByteArray(1, 8), QByteArray(1, 16), false, "", {}, {}, 0);
        row("unknown type", Header(99), QByteArray(4, 1), false, "", {}, {}, 0);
    }

    void reports()
    {
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, data);
        QFETCH(bool, wired);
        QFETCH(QByteArray, signal);
        QFETCH(QVariantList, arguments);
        QFETCH(Bytes, bytes);
        QFETCH(int, writes);

        DeviceAllInfo device = Found("receiver");
        device.wired = wired;
        OpenQuietly(device);
        const FlashDataMap before = LiveFlashData.get();
        const int writesBefore = SimDevice_WriteCount("mouse");
        log->Clear();

        QVERIFY(Report(header, data));
        QCoreApplication::processEvents();

        FlashDataMap expected = before;
        for (auto it = bytes.begin(); it != bytes.end(); ++it)
            expected.bytes()[it.key()] = quint8(it.value());
        QCOMPARE(ChangedBytes(LiveFlashData.get(), expected), QList<int>());
        QCOMPARE(log->Names(), signal.isEmpty() ? QByteArrayList() : QByteArrayList{signal});
        if (!signal.isEmpty()) {
            const QVariantList recorded = log->Last(signal.constData());
            if (recorded.value(0).userType() == qMetaTypeId<FlashDataMap>())
                QVERIFY(SameImage(ImageOf(recorded), expected));
            else
                QCOMPARE(recorded, arguments);
        }
        QCOMPARE(SimDevice_WriteCount("mouse") - writesBefore, writes);
        if (writes > 0)
            QVERIFY(SameImage(StoredImage(), expected));
    }

    // A configuration change reported by the device asks for one forced
    // re-read; the same report again within the guard time asks for nothing.
    void configurationChangeReReadsOnce()
    {
        worker->OnlineCheckTimer()->stop();
        OpenQuietly(Found("receiver"));
        const QByteArray change("\0\0\1\0\0\0\0", 7);
        QTest::qWait(StatusGuardMs + 50);

        bool first = false;
        bool second = false;
        QVERIFY(RunOnOtherThread([&] {
            const QByteArray header = Header(10);
            auto report = [&] {
                Worker::OnUsbData(reinterpret_cast<const unsigned char*>(header.constData()), header.size(),
                                  reinterpret_cast<const unsigned char*>(change.constData()), change.size());
            };
            report();
            first = ReReadRequested && ForceReRead;
            ReReadRequested = false;
            ForceReRead = false;
            // The guard at the program's own 3 s: the second report, right
            // after the first, is inside it however busy the machine.
            Timing::SetScale(1.0);
            report();
            second = ReReadRequested || ForceReRead;
            Timing::SetScale(TimeScale);
        }));
        QVERIFY(first);
        QVERIFY(!second);

        // Once the guard has passed, the same report asks again.
        QTest::qWait(StatusGuardMs + 50);
        QVERIFY(Report(Header(10), change.left(6)));
        QVERIFY(!ReReadRequested);
        QVERIFY(Report(Header(10), change));
        QVERIFY(ReReadRequested && ForceReRead);
    }

    // The re-read a configuration change asks for, through the online check:
    // the device is read again and the apply dialog waits for it (mode 1).
    void configurationChangeLeadsToAForcedRead()
    {
        Choose(Found("receiver"));
        WaitForWholeReads(1);
        QTest::qWait(StatusGuardMs + 50);
        const unsigned char change[7] = {0, 0, 1, 0, 0, 0, 0};
        QVERIFY(SimDevice_SendStatusChange("mouse", change));
        WaitForWholeReads(2);
        QCOMPARE(log->Arguments("SigUpDataParam"), (QList<QVariantList>{{0}, {1}}));
        QVERIFY(!ForceReRead);
    }

    // A model-defaults report: the model's receiver defaults, then a whole read
    // that clears every key record and macro block except those of the buttons
    // whose default is a key record ("KeyParam" + n starting with "0x05").
    void modelDefaults_data()
    {
        QTest::addColumn<QByteArray>("scenario");
        QTest::addColumn<QList<int>>("kept");
        QTest::addColumn<QVariantList>("light");
        QTest::addColumn<QVariantList>("longRange");

        QTest::newRow("model 1: no key-record defaults") << QByteArray() << QList<int>() << QVariantList{2}
                                                        << QVariantList{true};
        QTest::newRow("model 2: button 2 keeps its records")
            << QByteArray(R"({ "receivers": [ { "id": "receiver", "kind": 4, "model": 2 } ],
                              "mice": [ { "id": "mouse", "model": 2, "receiver": "receiver" } ] })")
            << QList<int>{2} << QVariantList() << QVariantList();
    }

    void modelDefaults()
    {
        QFETCH(QByteArray, scenario);
        QFETCH(QList<int>, kept);
        QFETCH(QVariantList, light);
        QFETCH(QVariantList, longRange);

        if (!scenario.isEmpty())
            QVERIFY(SimDevice_LoadScenario(scenario.constData()));
        QVERIFY(SimDevice_SetReceiverLight("receiver", 0));
        QVERIFY(SimDevice_SetLongRange("receiver", 0));
        WaitForCallbacks();   // their own reports are gone before the device is opened
        const DeviceAllInfo receiver = Found("receiver");
        worker->SlotSelectMouseInfo(receiver);
        const QByteArray path = receiver.path.toLatin1();
        QVERIFY(UsbServerC_Start(path.constData(), path.constData(), &Worker::OnUsbData));
        FlashDataMap records = WithRecords(StoredImage());
        QVERIFY(ProtocolDataUpdate(&records));
        records = StoredImage();
        for (int button = 0; button < FlashDataMap::ButtonCount; ++button)
            QVERIFY(!RecordsEmpty(records, button));
        log->Clear();

        QVERIFY(Report(Header(9), QByteArray(1, char(receiver.mid))));
        WaitForWholeReads(1);

        const FlashDataMap live = LiveFlashData.get();
        for (int button = 0; button < FlashDataMap::ButtonCount; ++button) {
            if (kept.contains(button)) {
                QVERIFY(std::memcmp(&live.keys[button], &records.keys[button], sizeof(KeyRecord)) == 0);
                QVERIFY(std::memcmp(&live.macros[button], &records.macros[button], sizeof(MacroBlock)) == 0);
            } else {
                QVERIFY2(RecordsEmpty(live, button), qPrintable(QString::number(button)));
            }
        }
        QVERIFY(SameImage(StoredImage(), live));
        QVERIFY(SameImage(ImageOf(log->Last("SigUpDataLightUIButton")), live));
        QCOMPARE(SimDevice_BatteryOptimize("mouse"), 1);
        // The defaults' own signals only: the whole read skips the receiver queries.
        QCOMPARE(log->Last("SigRGBValue"), light);
        QCOMPARE(log->Count("SigRGBValue"), light.size());
        QCOMPARE(log->Last("SigLongRangeMode"), longRange);
        QCOMPARE(log->Count("SigLongRangeMode"), longRange.size());
        QCOMPARE(SimDevice_ReceiverLight("receiver"), light.isEmpty() ? 0 : 2);
        QCOMPARE(SimDevice_LongRange("receiver"), longRange.isEmpty() ? 0 : 1);
    }

    // The mouse version report: the version text in the current device, the
    // settings page told, the registry value "MouseVer" + CID + MID written.
    void mouseVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("0x0105") << 0x0105 << "v1.5";
        QTest::newRow("0x010A") << 0x010A << "v1.a";
        QTest::newRow("0x0210") << 0x0210 << "v2.10";
    }

    void mouseVersion()
    {
        QFETCH(int, version);
        QFETCH(QString, text);
        QVERIFY(SimDevice_SetVersion("mouse", version));
        OpenQuietly(Found("receiver"));
        QVERIFY(Report(Header(18), QByteArray(2, 0)));
        TRY_COMPARE(log->Arguments("SigSetver"), QList<QVariantList>{{0}});
        QCOMPARE(CurrentDevice.get().mouseVersion, text);
        QCOMPARE(Registry::Instance()->GetValue(QStringLiteral("Mouse Drive Test/MouseVer101")), text);
    }

    // The only device is unplugged while the frame is in front: back to the
    // chooser with no current device; not while a firmware upgrade runs.
    void unplugging_data()
    {
        QTest::addColumn<bool>("watch");
        QTest::newRow("device watch on") << true;
        QTest::newRow("firmware upgrade running") << false;
    }

    void unplugging()
    {
        QFETCH(bool, watch);
        Choose(Found("receiver"));
        WaitForWholeReads(1);
        QTRY_VERIFY_WITH_TIMEOUT(log->Arguments("SigSetver").contains({4}), Patience);
        DeviceWatchEnabled = watch;
        log->Clear();

        QVERIFY(SimDevice_Plug("receiver", 0));
        QTRY_COMPARE_WITH_TIMEOUT(log->Arguments("SigSetver"), QList<QVariantList>{{4}}, Patience);
        // The change notice, which posted that first, has been handled.
        WaitForCallbacks();
        QCOMPARE(log->Arguments("SigChangeMainDialog"), watch ? QList<QVariantList>{{0}} : QList<QVariantList>());
        QCOMPARE(CurrentDevice.get().path.isEmpty(), watch);
        QVERIFY(WorkerDeviceList.get().isEmpty());
    }

    // Every device change asks the open update dialog to check again, unless
    // an update runs; the dialog's visibility is asked on the GUI thread.
    void updateDialogFollowsDeviceChanges_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("updating");
        QTest::addColumn<int>("checks");
        QTest::newRow("dialog shown") << true << false << 1;
        QTest::newRow("dialog hidden") << false << false << 0;
        QTest::newRow("update running") << true << true << 0;
    }

    void updateDialogFollowsDeviceChanges()
    {
        QFETCH(bool, shown);
        QFETCH(bool, updating);
        QFETCH(int, checks);
        QWidget dialog;
        dialog.setVisible(shown);
        RepairDialogTracker::Track(&dialog);
        FirmwareUpdateRunning = updating;
        StartUsbChanged(&Worker::OnUsbChanged, 600);
        QTRY_COMPARE_WITH_TIMEOUT(log->Arguments("SigSetver"), QList<QVariantList>{{4}}, Patience);
        // The change notice, which posted that first, has been handled.
        WaitForCallbacks();
        QCOMPARE(log->Count("SigCheckUpdate"), checks);
        StopUsbChanged();
        FirmwareUpdateRunning = false;
    }

    // The chosen wireless mouse gets its cable plugged: the worker follows it
    // onto the cable, reads it there, and tells the settings page the receiver
    // version beside it and whether firmware images of other versions exist.
    void mouseMovesToTheCable_data()
    {
        QTest::addColumn<bool>("firmwareFolder");
        QTest::addColumn<QString>("flag");
        QTest::newRow("with firmware images") << true << "true";
        QTest::newRow("without a firmware folder") << false << "";
    }

    void mouseMovesToTheCable()
    {
        QFETCH(bool, firmwareFolder);
        QFETCH(QString, flag);
        if (firmwareFolder)
            FirmwareImages::SetFolder(QString());   // the images beside the program
        Choose(Found("receiver"));
        WaitForWholeReads(1);
        QTRY_VERIFY_WITH_TIMEOUT(log->Arguments("SigSetver").contains({4}), Patience);
        log->Clear();

        QVERIFY(SimDevice_Plug("mouse", 1));
        const QByteArray cable(SimDevice_PathOf("mouse"));
        QTRY_COMPARE_WITH_TIMEOUT(CurrentDevicePath.get(), cable, Patience);
        QVERIFY(CurrentDevice.get().wired);
        WaitForWholeReads(1);
        QTRY_COMPARE_WITH_TIMEOUT(LiveFlashDataSource.get(), cable, Patience);
        QVERIFY(SameImage(LiveFlashData.get(), StoredImage()));
        QCOMPARE(log->Count("SigChangeMainDialog"), 0);
        TRY_COMPARE(log->Last("SigLabelTextB"), (QVariantList{QStringLiteral("v1.2"), flag}));
        // The receiver has an image of another version; the mouse's version is
        // not known yet at that moment.
        QCOMPARE(ReceiverUpdateAvailable.load(), firmwareFolder);
        QVERIFY(!MouseUpdateAvailable);
    }

    // Identification from the device's answers, which may carry no ids for a
    // while; the tenth answer no longer counts.
    void identification_data()
    {
        QTest::addColumn<QByteArray>("scenario");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<int>("zeroAnswers");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<int>("linkType");
        QTest::addColumn<bool>("wired");

        const QByteArray standard;
        QTest::newRow("ids at once") << standard << QByteArray("receiver") << 0 << 1 << 0 << 1 << false;
        QTest::newRow("ids after 3 queries") << standard << QByteArray("receiver") << 3 << 1 << 0 << 1 << false;
        QTest::newRow("ids in the ninth answer") << standard << QByteArray("receiver") << 8 << 1 << 0 << 1 << false;
        QTest::newRow("ids in the tenth answer") << standard << QByteArray("receiver") << 9 << 0 << 2 << 1 << false;
        QTest::newRow("ids after 10 queries") << standard << QByteArray("receiver") << 10 << 0 << 2 << 1 << false;
        QTest::newRow("mouse on the cable")
            << QByteArray(R"({ "receivers": [ { "id": "receiver", "kind": 4 } ],
                              "mice": [ { "id": "mouse", "model": 1, "cable": true, "receiver": "receiver" } ] })")
            << QByteArray("mouse")
            << 0 << 1 << 0 << 2 << true;
        QTest::newRow("the product's customer, unknown model")
            << QByteArray(R"({ "receivers": [ { "id": "receiver", "kind": 8 } ],
                              "mice": [ { "id": "mouse", "model": 1, "mid": 7, "receiver": "receiver" } ] })")
            << QByteArray("receiver") << 0 << 2 << 2 << 5 << false;
        QTest::newRow("a foreign device")
            << QByteArray(R"({ "receivers": [ { "id": "receiver", "kind": 2 } ],
                              "mice": [ { "id": "mouse", "model": 1, "cid": 11, "receiver": "receiver" } ] })")
            << QByteArray("receiver") << 0 << 3 << 2 << 4 << false;
    }

    void identification()
    {
        QFETCH(QByteArray, scenario);
        QFETCH(QByteArray, device);
        QFETCH(int, zeroAnswers);
        QFETCH(int, result);
        QFETCH(int, modelIndex);
        QFETCH(int, linkType);
        QFETCH(bool, wired);

        if (!scenario.isEmpty())
            QVERIFY(SimDevice_LoadScenario(scenario.constData()));
        QVERIFY(SimDevice_SetIdsAfterQueries(device.constData(), zeroAnswers));
        const char* path = SimDevice_PathOf(device.constData());
        DeviceAllInfo record;
        record.path = QString::fromLatin1(path);
        QCOMPARE(Worker::IdentifyDevice(record, path), result);
        QCOMPARE(record.modelIndex, modelIndex);
        QCOMPARE(int(record.linkType), linkType);
        QCOMPARE(record.wired, wired);
        if (result == 1) {
            QCOMPARE(int(record.cid), 10);
            QCOMPARE(int(record.mid), 1);
            QVERIFY(record.online);
            QCOMPARE(record.address, (QList<quint8>{0x5A, 0x3C, 0x11}));
        } else {
            QVERIFY(record.address.isEmpty());
        }
    }

    // The worker's own list: devices of the current model and unidentified
    // ones; identified devices of another model are left out.
    void enumeration()
    {
        QVERIFY(SimDevice_LoadScenario(R"({
          "receivers": [ { "id": "receiverA", "kind": 4, "model": 1 }, { "id": "receiverB", "kind": 2, "model": 2 },
                         { "id": "receiverC", "kind": 8, "model": 1 } ],
          "mice": [ { "id": "mouseA", "model": 1, "receiver": "receiverA" },
                    { "id": "mouseB", "model": 2, "receiver": "receiverB" },
                    { "id": "mouseC", "model": 1, "cid": 11, "receiver": "receiverC" } ] })"));
        CurrentDevice.set(Found("receiverA"));
        Worker::EnumerateDevices(QStringLiteral("3A17"), {QStringLiteral("5201"), QStringLiteral("5212"),
                                                          QStringLiteral("5214"), QStringLiteral("5218")});
        QStringList paths;
        for (const DeviceAllInfo& device : WorkerDeviceList.get())
            paths.append(device.path);
        QCOMPARE(paths, (QStringList{QString::fromLatin1(SimDevice_PathOf("receiverA")),
                                     QString::fromLatin1(SimDevice_PathOf("receiverC"))}));
        QCOMPARE(WorkerDeviceList.get().first().receiverVersion, QStringLiteral("v1.2"));
        QCOMPARE(CurrentDevicePath.get(), QByteArray(SimDevice_PathOf("receiverA")));
    }

    // The pick sets the device, its path and the cache name at once; a later
    // pass opens that device even when no device-change notice came between,
    // and its image goes under its own name.
    void pickOpensThePickedDevice()
    {
        DeviceAllInfo named;
        named.cid = 0x0A;
        named.mid = 0x03;
        named.path = QStringLiteral("/dev/hidsim/named");
        worker->SlotSelectMouseInfo(named);
        QCOMPARE(CacheReadName.get(), QStringLiteral("Device_CID0A_MID03.bin"));
        QCOMPARE(CurrentDevicePath.get(), QByteArray("/dev/hidsim/named"));

        QVERIFY(SimDevice_LoadScenario(TwoModels));
        {
            const QByteArray pathB(SimDevice_PathOf("receiverB"));
            QVERIFY(UsbServerC_Start(pathB.constData(), pathB.constData(), IgnoreReports));
            FlashDataMap image = StoredImage("mouseB");
            image.sleepTime = 42;
            QVERIFY(ProtocolDataUpdate(&image));
            UsbServer_Exit();
        }
        Choose(Found("receiverA"), false);
        WaitForWholeReads(1);
        QVERIFY(SameImage(LiveFlashData.get(), StoredImage("mouseA")));
        BackToChooser();
        log->Clear();

        Choose(Found("receiverB"), false);
        WaitForWholeReads(1);
        QCOMPARE(LiveFlashDataSource.get(), QByteArray(SimDevice_PathOf("receiverB")));
        QVERIFY(SameImage(LiveFlashData.get(), StoredImage("mouseB")));
        QVERIFY(!SameImage(StoredImage("mouseA"), StoredImage("mouseB")));
        QCOMPARE(CacheWriteName.get(), QStringLiteral("Device_CID0A_MID02.bin"));
    }

    // A pass asked for while a pass runs (here: the mouse, switched off behind
    // its receiver, gets its cable plugged while the pass still waits for the
    // pages) gets a pass of its own, which reads the mouse on the cable.
    void requestDuringAPassIsKept()
    {
        worker->OnlineCheckTimer()->stop();
        const DeviceAllInfo receiver = Found("receiver");
        QVERIFY(SimDevice_SetPower("mouse", 0));
        log->onFormReset = [] {
            QVERIFY(SimDevice_Plug("mouse", 1));
            Worker::ConnectDevice(Found("mouse"));
        };
        Choose(receiver, false);
        QTRY_COMPARE_WITH_TIMEOUT(log->Count("SigFormReset"), 1, Patience);
        WaitForWholeReads(1);
        const QByteArray cable(SimDevice_PathOf("mouse"));
        QCOMPARE(CurrentDevicePath.get(), cable);
        QCOMPARE(LiveFlashDataSource.get(), cable);
        QCOMPARE(log->Arguments("SigUpDataParam"), QList<QVariantList>{{0}});
        QVERIFY(SameImage(LiveFlashData.get(), StoredImage()));
    }

    // Stopping while a pass waits for the GUI thread in a blocking signal: the
    // worker ends without a hang, and asks for nothing afterwards.
    void stopWhileAPassWaits()
    {
        worker->OnlineCheckTimer()->stop();
        const DeviceAllInfo receiver = Found("receiver");
        QVERIFY(SimDevice_SetPower("mouse", 0));
        Choose(receiver, false);
        // The pass found the mouse off and posts the form reset next, which
        // waits for this thread; no event is served here meanwhile.
        QVERIFY(WaitWithoutEvents([] { return OfflinePending.load(); }, Patience));
        QVERIFY(worker->isRunning());

        // Ends, serving the waiting pass (a stop that hung would end the
        // test at its time limit).
        delete worker;
        worker = nullptr;
        QVERIFY(!WorkerInstance.load());
        QVERIFY(!Worker::OnlineCheckTimer());
        QCOMPARE(log->Count("SigFormReset"), 1);

        // A device change after that connects, but starts nothing.
        QVERIFY(SimDevice_SetPower("mouse", 1));
        Worker::ConnectDevice(receiver);
        // Only a pass asks for the apply dialog, and no worker is left to run
        // one: what the connection's reports and posts bring is in now.
        WaitForCallbacks();
        QCOMPARE(log->Count("SigUpDataParam"), 0);

        worker = new Worker;
        QVERIFY(worker->StopAndWait(TestLimit(1000)));
        worker->RequestPass();
        QVERIFY(!worker->isRunning());
    }

    // StopRun clears the run request only: a pass asked for afterwards runs
    // and reads the picked device. After the final stop no pass runs again.
    void requestAfterStop_data()
    {
        QTest::addColumn<bool>("finalStop");
        QTest::newRow("after StopRun") << false;
        QTest::newRow("after StopAndWait") << true;
    }

    void requestAfterStop()
    {
        QFETCH(bool, finalStop);
        if (finalStop)
            QVERIFY(worker->StopAndWait(TestLimit(1000)));
        else
            worker->StopRun();
        QVERIFY(!RunRequested);

        Choose(Found("receiver"), false);
        if (finalStop) {
            QVERIFY(!worker->isRunning());
            // A pass would have started its thread in Choose; what the
            // device's reports and posts bring is in now.
            WaitForCallbacks();
            QCOMPARE(log->Count("SigUpDataParam"), 0);
            QVERIFY(!LiveFlashDataIsCurrent());
        } else {
            WaitForWholeReads(1);
            QCOMPARE(log->Arguments("SigUpDataParam"), QList<QVariantList>{{0}});
            QVERIFY(LiveFlashDataIsCurrent());
        }
    }

private:
    static constexpr double TimeScale = 0.05;
    static constexpr int StatusGuardMs = 150;   // 3000 ms at the test's time scale
};

TALVIRE_TEST_MAIN(WorkerTest)
#include "test_worker.moc"
