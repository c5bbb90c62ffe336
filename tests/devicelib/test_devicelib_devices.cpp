// The device library's simulated devices as the program meets them: finding,
// identifying, opening and reading, the threads callbacks come on, change
// notices, pairing, the receiver functions and failures on purpose.
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "tests/common/TestEnvironment.h"
#include "tests/devicelib/ReportLog.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>

namespace {
using Clock = std::chrono::steady_clock;
using Report = ReportLog::Report;

ReportLog& Log()
{
    return ReportLog::Instance();
}

const char* Receiver()
{
    return SimDevice_PathOf("receiver");
}

const char* Cable()
{
    return SimDevice_PathOf("mouse");
}

bool Open(const char* path)
{
    return UsbServerC_Start(path, path, &ReportLog::OnReport) != 0;
}

std::vector<unsigned char> StoredBlock(int configuration = -1)
{
    std::vector<unsigned char> block(DIVAZA_DEVICE_BLOCK_SIZE);
    SimDevice_ReadDeviceBlock("mouse", configuration, block.data(), int(block.size()));
    return block;
}

QStringList Found(const char* pid)
{
    int count = 5;
    const char* const* paths = UsbFinderC_FindHidDevicesByDefaultDeviceId("3A17", pid, &count);
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QString::fromLatin1(paths[i]);
    return list;
}

bool NoReportOfType(int type, int waitMs)
{
    return !Log().WaitReportType(type, waitMs);
}

Report Waited(int type, size_t from = 0, int timeoutMs = 2000)
{
    Report report;
    if (!Log().WaitReportType(type, TestLimit(timeoutMs), &report, from))
        report.header.clear();
    return report;
}
} // namespace

Q_DECLARE_METATYPE(std::function<int()>)

class DeviceLibDevicesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(SimDevice_Reset());
        Log().Clear();
    }

    void cleanup()
    {
        UsbLibrary_Shutdown();
        Log().Clear();
    }

    void searchFindsTheDefaultReceiver_data()
    {
        QTest::addColumn<QByteArray>("vid");
        QTest::addColumn<QByteArray>("pid");
        QTest::addColumn<int>("found");
        QTest::newRow("4K receiver") << QByteArray("3A17") << QByteArray("5214") << 1;
        QTest::newRow("lower case") << QByteArray("3a17") << QByteArray("5214") << 1;
        QTest::newRow("with 0x") << QByteArray("0x3A17") << QByteArray("0x5214") << 1;
        for (const char* pid : {"5201", "5202", "5211", "5221", "5212", "5218"})
            QTest::newRow(pid) << QByteArray("3A17") << QByteArray(pid) << 0;
        QTest::newRow("other vendor") << QByteArray("1234") << QByteArray("5214") << 0;
        QTest::newRow("not hexadecimal") << QByteArray("3A1G") << QByteArray("5214") << 0;
        QTest::newRow("empty") << QByteArray("") << QByteArray("") << 0;
    }

    void searchFindsTheDefaultReceiver()
    {
        QFETCH(QByteArray, vid);
        QFETCH(QByteArray, pid);
        QFETCH(int, found);
        int count = 5;
        const char* const* paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(vid.constData(), pid.constData(), &count);
        QCOMPARE(count, found);
        QCOMPARE(paths != nullptr, found > 0);
        if (found)
            QCOMPARE(QByteArray(paths[0]), QByteArray(Receiver()));
        count = 5;
        const char* const* again = UsbFinderC_FindHidDevicesByDeviceId(vid.constData(), pid.constData(), 1, 5, &count);
        QCOMPARE(count, found);
        QCOMPARE(again, paths);     // equal results share one lasting array
    }

    void searchRespectsTheCapacity()
    {
        int count = 0;
        QVERIFY(!UsbFinderC_FindHidDevicesByDefaultDeviceId("3A17", "5214", &count));
        QCOMPARE(count, 0);
        QVERIFY(!UsbFinderC_FindHidDevicesByDefaultDeviceId("3A17", "5214", nullptr));
        count = 5;
        QVERIFY(!UsbFinderC_FindHidDevicesByDefaultDeviceId(nullptr, "5214", &count));
        QCOMPARE(count, 0);
    }

    void pathsStayValid()
    {
        int count = 5;
        const char* const* paths = UsbFinderC_FindHidDevicesByDefaultDeviceId("3A17", "5214", &count);
        QCOMPARE(count, 1);
        const char* path = paths[0];
        const QByteArray text(path);
        QVERIFY(SimDevice_Plug("receiver", 0));
        QCOMPARE(Found("5214"), QStringList());
        QVERIFY(SimDevice_Reset());
        QCOMPARE(QByteArray(path), text);
        QCOMPARE(QByteArray(paths[0]), text);
        for (const char c : text)
            QVERIFY(c > 0x20 && c < 0x7F);
    }

    void receiverIdentity()
    {
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(Receiver());
        QCOMPARE(int(info.cid), 10);
        QCOMPARE(int(info.mid), 1);
        QCOMPARE(int(info.linkType), 1);

        unsigned char attribute[DIVAZA_ATTRIBUTE_SIZE] = {};
        QVERIFY(UsbFinderC_GetUsbDeviceAttribute(Receiver(), attribute));
        QCOMPARE(attribute[8] | attribute[9] << 8, 0x0102);
        QCOMPARE(attribute[0] | attribute[1] << 8, 0x3A17);
        QCOMPARE(attribute[2] | attribute[3] << 8, 0x5214);

        QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()) & 0xFF, 1);
        unsigned char buffer[DIVAZA_ADDRESS_BUFFER_SIZE];
        std::memset(buffer, 0xEE, sizeof buffer);
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(Receiver(), buffer));
        QCOMPARE(int(buffer[6]), 1);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(buffer) + 7, 3), QByteArray("\x5A\x3C\x11", 3));
        QCOMPARE(UsbFinderC_GetVersion(Receiver()), 0x0105);
        int version = 0;
        QVERIFY(UsbFinderC_GetSlaveVersion(Receiver(), &version));
        QCOMPARE(version, 0x0102);
    }

    void theMouseHasOneAddressOnBothLinks()
    {
        QVERIFY(SimDevice_Plug("mouse", 1));
        QCOMPARE(Found("5201"), QStringList(QString::fromLatin1(Cable())));
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(Cable());
        QCOMPARE(int(info.cid), 10);
        QCOMPARE(int(info.mid), 1);
        QVERIFY(info.linkType & 0xFA);
        unsigned char viaCable[10] = {};
        unsigned char viaReceiver[10] = {};
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(Cable(), viaCable));
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(Receiver(), viaReceiver));
        QCOMPARE(int(viaCable[6]), 1);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(viaCable) + 7, 3),
                 QByteArray(reinterpret_cast<char*>(viaReceiver) + 7, 3));
        unsigned char attribute[12] = {};
        QVERIFY(UsbFinderC_GetUsbDeviceAttribute(Cable(), attribute));
        QCOMPARE(attribute[8] | attribute[9] << 8, 0x0105);
        int version = 0;
        QCOMPARE(UsbFinderC_GetSlaveVersion(Cable(), &version), 0);
    }

    void idsOnlyAfterSomeQueries()
    {
        QVERIFY(SimDevice_SetIdsAfterQueries("receiver", 3));
        for (int i = 0; i < 3; ++i) {
            const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(Receiver());
            QCOMPARE(int(info.cid), 0);
            QCOMPARE(int(info.mid), 0);
            QCOMPARE(int(info.linkType), 1);
        }
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(Receiver()).mid), 1);
    }

    void aSwitchedOffMouseDoesNotAnswer()
    {
        QVERIFY(SimDevice_SetPower("mouse", 0));
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(Receiver());
        QCOMPARE(int(info.cid), 0);
        QCOMPARE(int(info.linkType), 1);
        QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()), 0);
        QCOMPARE(UsbFinderC_GetVersion(Receiver()), 0);
        unsigned char buffer[10] = {};
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(Receiver(), buffer));
        QCOMPARE(int(buffer[6]), 0);
        // Its cable still reaches it.
        QVERIFY(SimDevice_Plug("mouse", 1));
        QCOMPARE(UsbFinderC_GetDeviceOnLine(Cable()), 1);
        QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()), 0);
    }

    // A receiver knows the mouse it is paired with once that mouse has answered
    // through it: it keeps reporting the mouse's ids while the mouse is off or
    // paired elsewhere, until the receiver leaves its port.
    void aReceiverKeepsTheIdsOfItsMouse_data()
    {
        QTest::addColumn<bool>("answeredFirst");
        QTest::addColumn<bool>("replugged");
        QTest::addColumn<int>("mid");
        QTest::newRow("never answered") << false << false << 0;
        QTest::newRow("answered, then switched off") << true << false << 1;
        QTest::newRow("answered, receiver replugged") << true << true << 0;
    }
    void aReceiverKeepsTheIdsOfItsMouse()
    {
        QFETCH(bool, answeredFirst);
        QFETCH(bool, replugged);
        QFETCH(int, mid);
        if (answeredFirst)
            QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()), 1);
        QVERIFY(SimDevice_SetPower("mouse", 0));
        if (replugged) {
            QVERIFY(SimDevice_Plug("receiver", 0));
            QVERIFY(SimDevice_Plug("receiver", 1));
        }
        const UsbDeviceInfo info = UsbFinderC_GetDeviceInfo(Receiver());
        QCOMPARE(int(info.mid), mid);
        QCOMPARE(int(info.cid), mid ? 10 : 0);
        QCOMPARE(int(info.linkType), 1);
        // Known or not, the mouse does not answer.
        QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()), 0);
        unsigned char buffer[10] = {};
        QVERIFY(UsbFinderC_GetDeviceOnLineWithUsbAddress(Receiver(), buffer));
        QCOMPARE(int(buffer[6]), 0);
    }

    void aReceiverKeepsTheIdsAfterItsMousePairedElsewhere()
    {
        QVERIFY(SimDevice_LoadScenario(R"({"receivers": [{"id": "old", "kind": 2, "address": "11:11:11"},
                                                          {"id": "receiver", "kind": 4, "address": "22:22:22"}],
                                           "mice": [{"id": "mouse", "model": 2, "receiver": "old"}]})"));
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(SimDevice_PathOf("old")).mid), 2);
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_PAIRING, 50));
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_EnterDonglePairOnlyCid(10));
        Report result;
        QVERIFY(Log().WaitReport([](const Report& r) { return r.type() == DIVAZA_REPORT_PAIRING && r.data.at(0) >= 2; },
                                 3000, &result));
        QCOMPARE(int(result.data.at(0)), 3);
        // The new receiver reaches the mouse; the old one still names it.
        QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()), 1);
        QCOMPARE(UsbFinderC_GetDeviceOnLine(SimDevice_PathOf("old")), 0);
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(SimDevice_PathOf("old")).mid), 2);
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(Receiver()).mid), 2);
    }

    void unknownPathsAndNullArguments_data()
    {
        QTest::addColumn<std::function<int()>>("call");
        unsigned char* buffer = new unsigned char[16]();  // outlives the rows
        const auto rows = std::vector<std::pair<const char*, std::function<int()>>>{
            {"attribute of a placeholder", [=] { return UsbFinderC_GetUsbDeviceAttribute("a", buffer); }},
            {"attribute into null", [] { return UsbFinderC_GetUsbDeviceAttribute(Receiver(), nullptr); }},
            {"info of null", [] { return int(UsbFinderC_GetDeviceInfo(nullptr).linkType); }},
            {"info of a placeholder", [] { return int(UsbFinderC_GetDeviceInfo("a").linkType); }},
            {"online of null", [] { return UsbFinderC_GetDeviceOnLine(nullptr); }},
            {"address of a placeholder", [=] { return UsbFinderC_GetDeviceOnLineWithUsbAddress("a", buffer); }},
            {"address into null", [] { return UsbFinderC_GetDeviceOnLineWithUsbAddress(Receiver(), nullptr); }},
            {"version of null", [] { return UsbFinderC_GetVersion(nullptr); }},
            {"receiver version into null", [] { return UsbFinderC_GetSlaveVersion(Receiver(), nullptr); }},
            {"light into null", [] { return UsbFinderC_Get4KDongleRGBValue(Receiver(), nullptr); }},
            {"light from null", [] { return UsbFinderC_Set4KDongleRGB(Receiver(), nullptr); }},
            {"long range into null", [] { return UsbFinderC_GetLongRangeMode(Receiver(), nullptr); }},
            {"long range of a mouse", [=] { return UsbFinderC_GetLongRangeMode("a", buffer); }},
            {"receiver id from null", [] { return UsbFinderC_SetDongleIDToMouse(Cable(), nullptr); }},
            {"receiver id into a receiver", [=] { return UsbFinderC_SetDongleIDToMouse(Receiver(), buffer); }},
            {"open a placeholder", [] { return UsbServerC_Start("a", "a", &ReportLog::OnReport); }},
            {"open null", [] { return UsbServerC_Start(nullptr, nullptr, &ReportLog::OnReport); }},
            {"open with another write path", [] { return UsbServerC_Start(Receiver(), "b", &ReportLog::OnReport); }},
            {"read while closed", [] { return UsbServer_ReadAllFlashData(); }},
            {"pair while closed", [] { return UsbServer_EnterDonglePairOnlyCid(10); }},
            {"reset while closed", [] { return UsbServer_SetClearSetting(); }},
            {"change callback null", [] { return StartUsbChanged(nullptr, 600); }},
        };
        for (const auto& row : rows)
            QTest::newRow(row.first) << row.second;
    }

    void unknownPathsAndNullArguments()
    {
        QFETCH(std::function<int()>, call);
        QCOMPARE(call(), 0);
    }

    void aWholeReadArrivesOnTheReportThread()
    {
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_ReadAllFlashData());
        Report report = Waited(DIVAZA_REPORT_FLASH_DATA);
        QVERIFY(!report.header.empty());
        QCOMPARE(int(report.header[3]), 0);
        QCOMPARE(report.address(), 0);
        QCOMPARE(int(report.data.size()), DIVAZA_DEVICE_BLOCK_SIZE);
        QVERIFY(report.data == StoredBlock());
        QVERIFY(report.thread != std::this_thread::get_id());
    }

    void partialReads_data()
    {
        QTest::addColumn<std::function<int()>>("request");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("length");
        QTest::newRow("report rate") << std::function<int()>(UsbServer_ReadReportRate) << 0 << 1;
        QTest::newRow("current stage") << std::function<int()>(UsbServer_ReadCurrentDPI) << 4 << 1;
        QTest::newRow("DPI light") << std::function<int()>(UsbServer_ReadDPILed) << 0x4C << 8;
        QTest::newRow("light bar") << std::function<int()>(UsbServer_ReadLedBar) << 0xA0 << 9;
    }

    void partialReads()
    {
        QFETCH(std::function<int()>, request);
        QFETCH(int, address);
        QFETCH(int, length);
        QVERIFY(Open(Receiver()));
        QVERIFY(request());
        const Report report = Waited(DIVAZA_REPORT_FLASH_DATA);
        QCOMPARE(int(report.header.size()), 8);
        QCOMPARE(int(report.header[3]), 0);
        QCOMPARE(report.address(), address);
        const std::vector<unsigned char> block = StoredBlock();
        QVERIFY(report.data == std::vector<unsigned char>(block.begin() + address, block.begin() + address + length));
    }

    void answersComeInTheOrderAsked()
    {
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(UsbServer_ReadVersion());
        QVERIFY(UsbServer_ReadBatteryLevel());
        QVERIFY(UsbServer_ReadConfig());
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_CONFIG, TestLimit(2000)));
        const std::vector<Report> reports = Log().Reports();
        QCOMPARE(int(reports.size()), 4);
        QCOMPARE(reports[0].type(), int(DIVAZA_REPORT_FLASH_DATA));
        QCOMPARE(reports[1].type(), int(DIVAZA_REPORT_VERSION));
        QCOMPARE(reports[2].type(), int(DIVAZA_REPORT_BATTERY));
        unsigned char battery[4];
        QVERIFY(GetDeviceBatteryStatus(reports[2].data.data(), battery));
        QCOMPARE(int(battery[0]), 80);
        QCOMPARE(int(battery[1]), 0);
        QCOMPARE(reports[3].data, std::vector<unsigned char>{0});
        for (const Report& report : reports)
            QVERIFY(report.thread == reports[0].thread);
    }

    void callbacksComeOnTheLibrarysThreads()
    {
        QVERIFY(Open(Receiver()));
        QVERIFY(StartUsbChanged(&ReportLog::OnChange, 600));
        QVERIFY(UsbServer_ReadVersion());
        QVERIFY(UsbServer_ReadBatteryLevel());
        QVERIFY(Log().WaitChanges(1, TestLimit(1000)));
        QVERIFY(SimDevice_Plug("mouse", 1));
        QVERIFY(Log().WaitChanges(2, TestLimit(2000)));
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_BATTERY, TestLimit(2000)));
        const std::vector<Report> reports = Log().Reports();
        const std::vector<std::thread::id> changeThreads = Log().ChangeThreads();
        const std::thread::id reportThread = reports.front().thread;
        for (const Report& report : reports)
            QVERIFY(report.thread == reportThread);
        for (std::thread::id thread : changeThreads) {
            QVERIFY(thread == changeThreads.front());
            QVERIFY(thread != reportThread);
            QVERIFY(thread != std::this_thread::get_id());
        }
        QVERIFY(reportThread != std::this_thread::get_id());
    }

    void theFirstChangeNoticeComesSoon()
    {
        // A period far longer than any ceiling of the test: a first notice
        // that waited for the period would not come within the wait.
        const int period = 20 * TestLimit(1000);
        for (int round = 0; round < 5; ++round) {
            Log().Clear();
            QVERIFY(StartUsbChanged(&ReportLog::OnChange, period));
            QVERIFY2(Log().WaitChanges(1, period / 4), "no notice before a quarter of the period");
            QVERIFY(!Log().WaitChanges(2, 50));  // and only one, while nothing changes
        }
    }

    void plugAndUnplugAreNoticed()
    {
        QVERIFY(StartUsbChanged(&ReportLog::OnChange, 600));
        QVERIFY(Log().WaitChanges(1, TestLimit(1000)));
        QVERIFY(SimDevice_Plug("receiver", 0));
        QVERIFY(Log().WaitChanges(2, TestLimit(1000)));
        QCOMPARE(Found("5214"), QStringList());
        QVERIFY(SimDevice_Plug("receiver", 1));
        QVERIFY(Log().WaitChanges(3, TestLimit(1000)));
        QCOMPARE(Found("5214").size(), 1);
        QVERIFY(SimDevice_Plug("mouse", 1));
        QVERIFY(Log().WaitChanges(4, TestLimit(1000)));
        QVERIFY(SimDevice_Plug("mouse", 0));
        QVERIFY(Log().WaitChanges(5, TestLimit(1000)));
        QVERIFY(SimDevice_SetPower("mouse", 0));    // no device appears or vanishes
        QVERIFY(!Log().WaitChanges(6, 100));
    }

    void aNewRegistrationReplacesTheOld()
    {
        static std::atomic<int> oldCalls{0};
        oldCalls = 0;
        QVERIFY(StartUsbChanged([] { ++oldCalls; }, 600));
        QTRY_COMPARE_WITH_TIMEOUT(oldCalls.load(), 1, TestLimit(1000));
        QVERIFY(StartUsbChanged(&ReportLog::OnChange, 600));
        QVERIFY(Log().WaitChanges(1, TestLimit(1000)));
        QVERIFY(SimDevice_Plug("receiver", 0));
        QVERIFY(Log().WaitChanges(2, TestLimit(1000)));
        QCOMPARE(oldCalls.load(), 1);
    }

    void stoppedNotificationsStayQuiet()
    {
        QVERIFY(StartUsbChanged(&ReportLog::OnChange, 600));
        QVERIFY(Log().WaitChanges(1, TestLimit(1000)));
        QVERIFY(StopUsbChanged());
        QVERIFY(SimDevice_Plug("receiver", 0));
        QVERIFY(!Log().WaitChanges(2, 100));
    }

    void exitAndStopDoNotWaitForABlockedCallback()
    {
        // The hooks keep the gates alive until the callbacks have left them.
        const auto reportGate = std::make_shared<Gate>();
        const auto changeGate = std::make_shared<Gate>();
        Log().SetReportHook([reportGate](const Report&) { reportGate->Pass(); });
        Log().SetChangeHook([changeGate] { changeGate->Pass(); });
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_ReadVersion());
        QVERIFY(StartUsbChanged(&ReportLog::OnChange, 600));
        QVERIFY(reportGate->WaitForVisitor());
        QVERIFY(changeGate->WaitForVisitor());

        QVERIFY(UsbServer_Exit());
        QVERIFY(StopUsbChanged());
        // Neither waited for its callback: both are still held.
        QVERIFY(reportGate->Holding());
        QVERIFY(changeGate->Holding());
        // The library still serves other calls meanwhile.
        QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()), 1);
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_ReadBatteryLevel());

        Log().SetReportHook(nullptr);
        Log().SetChangeHook(nullptr);
        reportGate->Open();
        changeGate->Open();
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_BATTERY, TestLimit(2000)));
    }

    void answersToAClosedDeviceAreDropped()
    {
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_WHOLE_READ, 100));
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(UsbServer_Exit());
        QVERIFY(NoReportOfType(DIVAZA_REPORT_FLASH_DATA, 300));
        QCOMPARE(UsbServer_ReadAllFlashData(), 0);
    }

    void shutdownDoesNotHangOnABlockedCallback()
    {
        const auto gate = std::make_shared<Gate>();
        Log().SetChangeHook([gate] { gate->Pass(); });
        QVERIFY(StartUsbChanged(&ReportLog::OnChange, 600));
        QVERIFY(gate->WaitForVisitor());
        UsbLibrary_Shutdown();
        // It left the callback held: it did not wait for it.
        QVERIFY(gate->Holding());
        gate->Open();
        Log().SetChangeHook(nullptr);
        // The library starts its threads again when asked.
        QVERIFY(StartUsbChanged(&ReportLog::OnChange, 600));
        QVERIFY(Log().WaitChanges(2, TestLimit(1000)));
    }

    // A shutdown that gave up on a blocked callback leaves it running; what is
    // started afterwards is delivered only once it has returned, so callbacks
    // of one kind never run on two threads at once.
    void callbacksOfOneKindNeverOverlap_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("reports") << "reports";
        QTest::newRow("change notices") << "changes";
        QTest::newRow("upgrade status") << "upgrade";
    }

    void callbacksOfOneKindNeverOverlap()
    {
        QFETCH(QString, kind);
        struct Watch {
            std::atomic<int> inside{0};
            std::atomic<int> calls{0};
            std::atomic<bool> overlap{false};
        };
        const auto watch = std::make_shared<Watch>();
        const auto gate = std::make_shared<Gate>();
        const auto visit = [watch, gate] {
            if (++watch->inside > 1)
                watch->overlap = true;
            if (++watch->calls == 1)
                gate->Pass();
            --watch->inside;
        };
        QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/bin/TVR1-4K_v1.3.bin"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const UpgradeImage image{reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size()};
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 5));
        std::function<bool()> start;
        if (kind == "reports") {
            Log().SetReportHook([visit](const Report&) { visit(); });
            start = [] { return Open(Receiver()) && UsbServer_ReadVersion() != 0; };
        } else if (kind == "changes") {
            Log().SetChangeHook(visit);
            start = [] { return StartUsbChanged(&ReportLog::OnChange, 600) != 0; };
        } else {
            Log().SetUpgradeHook([visit](const ReportLog::Packet&) { visit(); });
            start = [&image] { return UsbUpgrade_Start(&image, &ReportLog::OnUpgrade, 10000) != 0; };
        }

        QVERIFY(start());
        QVERIFY(gate->WaitForVisitor());
        UsbLibrary_Shutdown();
        QVERIFY(start());
        QTest::qWait(300);
        QCOMPARE(watch->calls.load(), 1);
        gate->Open();
        QTRY_VERIFY_WITH_TIMEOUT(watch->calls.load() >= 2, TestLimit(3000));
        QVERIFY(!watch->overlap.load());
        UsbLibrary_Shutdown();
        Log().SetReportHook(nullptr);
        Log().SetChangeHook(nullptr);
        Log().SetUpgradeHook(nullptr);
    }

    void callbacksMayCallTheLibrary()
    {
        struct Results {
            std::atomic<int> online{-1};
            std::atomic<int> wrote{-1};
            std::atomic<int> registered{-1};
        };
        const auto results = std::make_shared<Results>();
        Log().SetReportHook([results](const Report& report) {
            if (report.type() != DIVAZA_REPORT_FLASH_DATA)
                return;
            std::vector<unsigned char> image(DIVAZA_FLASH_DATA_SIZE);
            ProtocolDataParser(report.data.data(), reinterpret_cast<FlashDataMap*>(image.data()));
            results->online = UsbFinderC_GetDeviceOnLine(Receiver());
            results->wrote = ProtocolDataUpdate(reinterpret_cast<FlashDataMap*>(image.data()));
            UsbServer_ReadVersion();
            results->registered = StartUsbChanged(&ReportLog::OnChange, 600);
        });
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_VERSION, TestLimit(2000)));
        QVERIFY(Log().WaitChanges(1, TestLimit(1000)));
        QCOMPARE(results->online.load(), 1);
        QCOMPARE(results->wrote.load(), 1);
        QCOMPARE(results->registered.load(), 1);
    }

    void theDpiButtonSendsAStatusChange()
    {
        QVERIFY(Open(Receiver()));
        const int before = StoredBlock()[4];
        QVERIFY(SimDevice_PressDpiButton("mouse"));
        const Report status = Waited(DIVAZA_REPORT_STATUS_CHANGED);
        unsigned char flags[7];
        QVERIFY(GetDeviceStatusChanged(status.data.data(), flags));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(flags), 7), QByteArray("\1\0\0\0\0\0\0", 7));
        const size_t from = Log().ReportCount();
        QVERIFY(UsbServer_ReadCurrentDPI());
        const Report stage = Waited(DIVAZA_REPORT_FLASH_DATA, from);
        QCOMPARE(stage.address(), 4);
        QCOMPARE(int(stage.data.at(0)), (before + 1) % 5);
    }

    void writesOfTheHostAreNotEchoed()
    {
        QVERIFY(Open(Receiver()));
        std::vector<unsigned char> image(DIVAZA_FLASH_DATA_SIZE);
        ProtocolDataParser(StoredBlock().data(), reinterpret_cast<FlashDataMap*>(image.data()));
        image[0] = 64;  // 8000 Hz
        image[2] = 3;
        QVERIFY(ProtocolDataUpdate(reinterpret_cast<FlashDataMap*>(image.data())));
        QCOMPARE(int(StoredBlock()[0]), 64);
        QCOMPARE(int(StoredBlock()[4]), 3);
        QCOMPARE(SimDevice_WriteCount("mouse"), 1);
        QVERIFY(NoReportOfType(DIVAZA_REPORT_STATUS_CHANGED, 150));
    }

    void anotherConfigurationIsAnnouncedAndRead()
    {
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_SetCurrentConfig(2));
        const Report status = Waited(DIVAZA_REPORT_STATUS_CHANGED);
        QCOMPARE(int(status.data.at(2)), 1);
        QCOMPARE(SimDevice_CurrentConfig("mouse"), 2);
        size_t from = Log().ReportCount();
        QVERIFY(UsbServer_ReadConfig());
        QCOMPARE(Waited(DIVAZA_REPORT_CONFIG, from).data, std::vector<unsigned char>{2});
        from = Log().ReportCount();
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(Waited(DIVAZA_REPORT_FLASH_DATA, from).data == StoredBlock(2));
        QVERIFY(StoredBlock(2) != StoredBlock(0));
        QCOMPARE(UsbServer_SetCurrentConfig(4), 0);
    }

    void factoryResetIsFollowedByModelDefaults()
    {
        QVERIFY(Open(Receiver()));
        std::vector<unsigned char> image(DIVAZA_FLASH_DATA_SIZE, 0);
        QVERIFY(ProtocolDataUpdate(reinterpret_cast<FlashDataMap*>(image.data())));
        QVERIFY(UsbServer_SetBatteryOptimizeEnable(0));
        QCOMPARE(SimDevice_BatteryOptimize("mouse"), 0);
        QVERIFY(UsbServer_SetClearSetting());
        QVERIFY(!Waited(DIVAZA_REPORT_MODEL_DEFAULTS).header.empty());
        ProtocolDataParser(StoredBlock().data(), reinterpret_cast<FlashDataMap*>(image.data()));
        QCOMPARE(int(image[0x01]), 5);                       // stages back
        QCOMPARE(QByteArray(reinterpret_cast<char*>(image.data()) + 0x4A + 12, 3), QByteArray("\x01\x10\x00", 3));
        QCOMPARE(int(image[0x3BC + 4 * 592]), 0);            // the demonstration macro is gone
    }

    void pairing_data()
    {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<bool>("mouseOn");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("earliestMs");
        QTest::newRow("succeeds") << SIM_PAIR_AUTO << true << 3 << 100;
        QTest::newRow("forced success") << SIM_PAIR_SUCCEED << false << 3 << 100;
        QTest::newRow("fails") << SIM_PAIR_FAIL << true << 2 << 100;
        QTest::newRow("nobody answers") << SIM_PAIR_NO_ANSWER << true << 2 << 400;
        QTest::newRow("mouse switched off") << SIM_PAIR_AUTO << false << 2 << 400;
    }

    void pairing()
    {
        QFETCH(int, outcome);
        QFETCH(bool, mouseOn);
        QFETCH(int, status);
        QFETCH(int, earliestMs);
        QVERIFY(SimDevice_LoadScenario(R"({"receivers": [{"id": "receiver"}],
                                           "mice": [{"id": "mouse", "address": "01:02:03"}]})"));
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_PAIRING, 100));
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_PAIRING_TIMEOUT, 400));
        QVERIFY(SimDevice_SetPairingOutcome(outcome));
        QVERIFY(SimDevice_SetPower("mouse", mouseOn));
        QCOMPARE(int(UsbFinderC_GetDeviceInfo(Receiver()).mid), 0);

        QVERIFY(Open(Receiver()));
        const Clock::time_point start = Clock::now();
        QVERIFY(UsbServer_EnterDonglePairOnlyCid(10));
        QVERIFY(UsbServer_ReadDonglePairStatus());
        const auto final = [](const Report& r) { return r.type() == DIVAZA_REPORT_PAIRING && r.data.at(0) >= 2; };
        Report result;
        QVERIFY(Log().WaitReport(final, TestLimit(3000), &result));
        QCOMPARE(int(result.data.at(0)), status);
        QVERIFY(result.time - start >= std::chrono::milliseconds(earliestMs));
        const std::vector<Report> reports = Log().Reports();
        QCOMPARE(reports.front().type(), int(DIVAZA_REPORT_PAIRING));
        QCOMPARE(int(reports.front().data.at(0)), 1);   // in progress first

        char paired[16] = {};
        QCOMPARE(SimDevice_PairedMouse("receiver", paired, sizeof paired), status == 3 ? 1 : 0);
        if (status == 3) {
            QCOMPARE(QByteArray(paired), QByteArray("mouse"));
            if (mouseOn)
                QCOMPARE(int(UsbFinderC_GetDeviceInfo(Receiver()).mid), 1);
        }
        const size_t from = Log().ReportCount();
        QVERIFY(UsbServer_ReadDonglePairStatus());
        QCOMPARE(int(Waited(DIVAZA_REPORT_PAIRING, from).data.at(0)), 0);
    }

    void aShutdownEndsAPairingAttempt()
    {
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_EnterDonglePairOnlyCid(10));
        UsbLibrary_Shutdown();
        QVERIFY(Open(Receiver()));
        const size_t from = Log().ReportCount();
        QVERIFY(UsbServer_ReadDonglePairStatus());
        QCOMPARE(int(Waited(DIVAZA_REPORT_PAIRING, from).data.at(0)), 0);
    }

    void pairingAsksForTheCustomersMice()
    {
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_PAIRING, 50));
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_PAIRING_TIMEOUT, 200));
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_EnterDonglePairOnlyCid(11));
        Report result;
        QVERIFY(Log().WaitReport([](const Report& r) { return r.type() == 6 && r.data.at(0) >= 2; }, 2000, &result));
        QCOMPARE(int(result.data.at(0)), 2);
        // A mouse on its cable is no receiver to pair with.
        QVERIFY(SimDevice_Plug("mouse", 1));
        QVERIFY(Open(Cable()));
        QCOMPARE(UsbServer_EnterDonglePairOnlyCid(10), 0);
    }

    void receiverLightAndLongRange()
    {
        unsigned char record[10];
        std::memset(record, 0xEE, sizeof record);
        QVERIFY(UsbFinderC_Get4KDongleRGBValue(Receiver(), reinterpret_cast<DongleRGB*>(record)));
        QCOMPARE(int(record[0]), 2);
        const QByteArray library(reinterpret_cast<char*>(record) + 1, 9);
        record[0] = 3;
        QVERIFY(UsbFinderC_Set4KDongleRGB(Receiver(), reinterpret_cast<DongleRGB*>(record)));
        QCOMPARE(SimDevice_ReceiverLight("receiver"), 3);
        std::memset(record, 0, sizeof record);
        QVERIFY(UsbFinderC_Get4KDongleRGBValue(Receiver(), reinterpret_cast<DongleRGB*>(record)));
        QCOMPARE(int(record[0]), 3);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(record) + 1, 9), library);
        record[0] = 4;
        QCOMPARE(UsbFinderC_Set4KDongleRGB(Receiver(), reinterpret_cast<DongleRGB*>(record)), 0);

        unsigned char mode = 0x73;
        QVERIFY(UsbFinderC_GetLongRangeMode(Receiver(), &mode));
        QCOMPARE(int(mode), 1);
        QVERIFY(UsbFinderC_SetLongRangeMode(Receiver(), 0));
        QVERIFY(UsbFinderC_GetLongRangeMode(Receiver(), &mode));
        QCOMPARE(int(mode), 0);
        QVERIFY(SimDevice_Plug("mouse", 1));
        mode = 0x73;
        QCOMPARE(UsbFinderC_GetLongRangeMode(Cable(), &mode), 0);
        QCOMPARE(int(mode), 0x73);
    }

    void receiverReportsOfItsOwn()
    {
        QVERIFY(Open(Receiver()));
        QVERIFY(SimDevice_SetReceiverLight("receiver", 1));
        QCOMPARE(int(Waited(DIVAZA_REPORT_DONGLE_RGB).data.at(0)), 1);
        QVERIFY(SimDevice_SetLongRange("receiver", 0));
        QCOMPARE(int(Waited(DIVAZA_REPORT_LONG_RANGE_OFF).data.size()), 10);
    }

    void theReceiverIdPairsAMouseOnTheCable()
    {
        QVERIFY(SimDevice_LoadScenario(R"({"receivers": [{"id": "receiver", "address": "0A:0B:0C"}],
                                           "mice": [{"id": "mouse", "cable": true}]})"));
        QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()), 0);
        const unsigned char id[5] = {0x0C, 0x0B, 0x0A, 0, 1};
        QVERIFY(UsbFinderC_SetDongleIDToMouse(Cable(), id));
        unsigned char stored[5] = {};
        QVERIFY(SimDevice_DongleId("mouse", stored));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(stored), 5), QByteArray(reinterpret_cast<const char*>(id), 5));
        QCOMPARE(UsbFinderC_GetDeviceOnLine(Receiver()), 1);
    }

    void droppedAndDelayedAnswers()
    {
        QVERIFY(Open(Receiver()));
        QVERIFY(SimDevice_DropAnswers(1));
        QVERIFY(UsbServer_ReadVersion());
        QVERIFY(UsbServer_ReadBatteryLevel());
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_BATTERY, TestLimit(2000)));
        QCOMPARE(int(Log().ReportCount()), 1);

        QVERIFY(SimDevice_SetTiming(SIM_TIMING_WHOLE_READ, 300));
        const Clock::time_point asked = Clock::now();
        QVERIFY(UsbServer_ReadAllFlashData());
        const Report whole = Waited(DIVAZA_REPORT_FLASH_DATA, 0, 3000);
        QVERIFY(whole.time - asked >= std::chrono::milliseconds(300));

        QVERIFY(SimDevice_DropAnswers(-1));
        QVERIFY(UsbServer_ReadVersion());
        QVERIFY(NoReportOfType(DIVAZA_REPORT_VERSION, 100));
    }

    void anUnpluggedDeviceIsServedAgainWhenBack()
    {
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_WHOLE_READ, 100));
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(SimDevice_Plug("receiver", 0));
        QCOMPARE(UsbServer_ReadVersion(), 0);
        QVERIFY(SimDevice_Plug("receiver", 1));
        QVERIFY(NoReportOfType(DIVAZA_REPORT_FLASH_DATA, 300));    // lost with the device
        QCOMPARE(Open("a"), false);
        QVERIFY(SimDevice_Plug("receiver", 0));
        QCOMPARE(Open(Receiver()), false);                          // nothing to open
        QVERIFY(SimDevice_Plug("receiver", 1));
        QVERIFY(Open(Receiver()));
        QVERIFY(SimDevice_Plug("receiver", 0));
        QVERIFY(SimDevice_Plug("receiver", 1));
        QVERIFY(UsbServer_ReadVersion());
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_VERSION, TestLimit(2000)));
    }

    void anotherCallbackTakesOverTheReports()
    {
        static std::atomic<int> oldCalls{0};
        oldCalls = 0;
        QVERIFY(UsbServerC_Start(Receiver(), Receiver(), [](const unsigned char*, int, const unsigned char*, int) {
            ++oldCalls;
        }));
        QVERIFY(UsbServer_SetPCDriverStatus(1));
        QCOMPARE(SimDevice_PCDriverStatus(), 1);
        QVERIFY(Open(Receiver()));
        QVERIFY(UsbServer_ReadVersion());
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_VERSION, TestLimit(2000)));
        QCOMPARE(oldCalls.load(), 0);
    }
};

TALVIRE_TEST_MAIN(DeviceLibDevicesTest)
#include "test_devicelib_devices.moc"
