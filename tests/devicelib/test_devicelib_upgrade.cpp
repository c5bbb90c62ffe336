// Firmware upgrades of the simulated devices with the sample images the build
// writes: progress and result on the upgrade thread, boot mode, new versions,
// failures on purpose, the log lines and a follow-up upgrade from the callback.
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "tests/common/TestEnvironment.h"
#include "tests/devicelib/ReportLog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

namespace {
using Packet = ReportLog::Packet;
using Clock = std::chrono::steady_clock;

ReportLog& Log()
{
    return ReportLog::Instance();
}

// An image file with the UpgradeImage that points into it.
struct ImageFile {
    QByteArray bytes;
    UpgradeImage image{nullptr, 0};
};

std::shared_ptr<ImageFile> Load(const QString& relativePath)
{
    auto file = std::make_shared<ImageFile>();
    QFile in(QCoreApplication::applicationDirPath() + QLatin1Char('/') + relativePath);
    if (in.open(QIODevice::ReadOnly))
        file->bytes = in.readAll();
    file->image.data = reinterpret_cast<const unsigned char*>(file->bytes.constData());
    file->image.length = file->bytes.size();
    return file;
}

bool ResultCame(const std::vector<Packet>& packets)
{
    return !packets.empty() && packets.back().kind == 2;
}

std::vector<int> Progress(const std::vector<Packet>& packets)
{
    std::vector<int> values;
    for (const Packet& packet : packets) {
        if (packet.kind == 1)
            values.push_back(packet.value);
    }
    return values;
}

QStringList Logs()
{
    const char* const* lines = UsbUpgradeC_GetLogs();
    QStringList list;
    for (int i = 0; i < DIVAZA_UPGRADE_LOG_LINES; ++i)
        list << QString::fromLocal8Bit(lines[i]);
    return list;
}

int BootDevices(const std::shared_ptr<ImageFile>& file)
{
    int count = 5;
    UsbUpgradeC_FindBootDevices(&file->image, &count);
    return count;
}

int Found(const char* pid)
{
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId("3A17", pid, &count);
    return count;
}
} // namespace

Q_DECLARE_METATYPE(std::function<bool()>)
Q_DECLARE_METATYPE(std::function<void(QByteArray&)>)

class DeviceLibUpgradeTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(SimDevice_Reset());
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 5));
        Log().Clear();
    }

    void cleanup()
    {
        UsbLibrary_Shutdown();
        Log().Clear();
    }

    void theBuildWritesImagesForEveryModel()
    {
        const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/bin"));
        const QStringList names = folder.entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name);
        for (const char* name : {"TVM1-Mouse_v1.6.bin", "TVR1-1K_v1.3.bin", "TVR1-2K_v1.3.bin", "TVR1-4K_v1.3.bin",
                                 "TVR1-8K_v1.3.bin", "TVM2-Mouse_v2.6.bin", "TVR2-4K_v2.3.bin"})
            QVERIFY2(names.contains(QLatin1String(name)), name);
        // Beside the program only what a user gets; the samples the lookups
        // pass over are the tests' own.
        const QDir testFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/testdata/firmware"));
        const QStringList testNames = testFolder.entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name);
        for (const char* name : {"TVM1-Mouse_v1.5.bin", "OtherCustomer_TVM1-Mouse.bin", "damaged.bin"}) {
            QVERIFY2(!names.contains(QLatin1String(name)), name);
            QVERIFY2(testNames.contains(QLatin1String(name)), name);
        }
        for (const QString& name : names) {
            const auto shipped = Load(QStringLiteral("bin/") + name);
            QVERIFY2(shipped->bytes.size() > DIVAZA_FIRMWARE_HEADER_SIZE, qPrintable(name));
        }
        const std::shared_ptr<ImageFile> image = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        QVERIFY(image->bytes.size() > DIVAZA_FIRMWARE_HEADER_SIZE);
        const unsigned char* h = image->image.data;
        QCOMPARE(h[0x10] | h[0x11] << 8, 0x0103);
        QCOMPARE(int(h[0x14]), 211);
        QCOMPARE(int(h[0x15]), 10);
        QCOMPARE(int(h[0x16]), 1);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(h) + 0x57), QByteArray("TVR1-4K"));
    }

    void bootDevicesAreCountedByTheImageTheyFit()
    {
        const auto receiver = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        const auto otherKind = Load(QStringLiteral("bin/TVR1-1K_v1.3.bin"));
        const auto mouse = Load(QStringLiteral("bin/TVM1-Mouse_v1.6.bin"));
        QCOMPARE(BootDevices(receiver), 0);
        QVERIFY(SimDevice_SetBootMode("receiver", 1));
        QCOMPARE(BootDevices(receiver), 1);
        QCOMPARE(UsbUpgradeC_FindBootDevices(&receiver->image, nullptr), 1);
        QCOMPARE(BootDevices(otherKind), 0);
        QCOMPARE(BootDevices(mouse), 0);
        QCOMPARE(Found("5214"), 0);
        // A mouse in boot mode is reached on its cable.
        QVERIFY(SimDevice_SetBootMode("mouse", 1));
        QCOMPARE(BootDevices(mouse), 0);
        QVERIFY(SimDevice_Plug("mouse", 1));
        QCOMPARE(BootDevices(mouse), 1);
        QCOMPARE(Found("5201"), 0);
    }

    void anUpgradeReportsProgressThenOneResult_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<bool>("cable");
        QTest::addColumn<int>("version");
        QTest::newRow("receiver") << "bin/TVR1-4K_v1.3.bin" << QByteArray("receiver") << false << 0x0103;
        QTest::newRow("mouse on its cable") << "bin/TVM1-Mouse_v1.6.bin" << QByteArray("mouse") << true << 0x0106;
        QTest::newRow("mouse through its receiver") << "bin/TVM1-Mouse_v1.6.bin" << QByteArray("mouse") << false
                                                    << 0x0106;
    }

    void anUpgradeReportsProgressThenOneResult()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, device);
        QFETCH(bool, cable);
        QFETCH(int, version);
        QVERIFY(SimDevice_Plug("mouse", cable));
        const char* opened = SimDevice_PathOf(cable ? "mouse" : "receiver");
        QVERIFY(UsbServerC_Start(opened, opened, &ReportLog::OnReport));
        const auto image = Load(file);
        QVERIFY(StartUsbChanged(&ReportLog::OnChange, 600));
        QVERIFY(Log().WaitChanges(1, TestLimit(1000)));
        const auto seenInBootMode = std::make_shared<std::atomic<bool>>(false);
        Log().SetUpgradeHook([seenInBootMode, device, image](const Packet& packet) {
            if (packet.kind == 1 && packet.value == 50)
                *seenInBootMode = SimDevice_BootMode(device.constData()) == 1 && BootDevices(image) == 1;
        });

        QVERIFY(UsbUpgrade_Start(&image->image, &ReportLog::OnUpgrade, 10000));
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        const std::vector<Packet> packets = Log().Packets();
        QCOMPARE(Progress(packets), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
        QCOMPARE(packets.back().value, 1);
        for (const Packet& packet : packets) {
            QCOMPARE(packet.type, 7);
            QVERIFY(packet.thread == packets.front().thread);
            QVERIFY(packet.thread != std::this_thread::get_id());
        }
        QVERIFY(packets.front().thread != Log().ChangeThreads().front());
        QVERIFY(seenInBootMode->load());
        QVERIFY(Log().WaitChanges(3, TestLimit(1000)));     // into boot mode and back
        QCOMPARE(SimDevice_Version(device.constData()), version);
        QCOMPARE(SimDevice_BootMode(device.constData()), 0);
        if (device == "receiver") {
            int read = 0;
            QVERIFY(UsbFinderC_GetSlaveVersion(SimDevice_PathOf("receiver"), &read));
            QCOMPARE(read, version);
            unsigned char attribute[12] = {};
            QVERIFY(UsbFinderC_GetUsbDeviceAttribute(SimDevice_PathOf("receiver"), attribute));
            QCOMPARE(attribute[8] | attribute[9] << 8, version);
        } else {
            QCOMPARE(UsbFinderC_GetVersion(SimDevice_PathOf("receiver")), version);
        }
        const QStringList logs = Logs();
        QCOMPARE(logs.size(), 8);
        QVERIFY(logs.filter(QStringLiteral("Result: success")).size() == 1);
        // The device opened before the upgrade answers on the same connection.
        QVERIFY(UsbServer_ReadVersion());
        ReportLog::Report answer;
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_VERSION, TestLimit(2000), &answer));
        QVERIFY(answer.thread != packets.front().thread);
    }

    void theCallersImageMayGoAwayAtOnce()
    {
        auto image = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        QVERIFY(UsbUpgrade_Start(&image->image, &ReportLog::OnUpgrade, 10000));
        image->bytes.fill('\0');
        image.reset();
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        QCOMPARE(Log().Packets().back().value, 1);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("lastProgress");
        QTest::addColumn<int>("earliestMs");
        QTest::addColumn<QString>("reason");
        QTest::newRow("error at 40 %") << "bin/TVM1-Mouse_v1.6.bin" << SIM_UPGRADE_FAIL_AT << 40 << 30 << 0
                                       << "reported an error at 40%";
        QTest::newRow("error at once") << "bin/TVM1-Mouse_v1.6.bin" << SIM_UPGRADE_FAIL_AT << 0 << -1 << 0
                                       << "reported an error at 0%";
        QTest::newRow("no answer from 50 %") << "bin/TVM1-Mouse_v1.6.bin" << SIM_UPGRADE_STALL_AT << 50 << 40 << 300
                                             << "stopped answering at 50%";
    }

    void failures()
    {
        QFETCH(QString, file);
        QFETCH(int, fault);
        QFETCH(int, percent);
        QFETCH(int, lastProgress);
        QFETCH(int, earliestMs);
        QFETCH(QString, reason);
        QVERIFY(SimDevice_Plug("mouse", 1));
        QVERIFY(SimDevice_SetUpgradeFault(fault, percent));
        const auto image = Load(file);
        const Clock::time_point start = Clock::now();
        QVERIFY(UsbUpgrade_Start(&image->image, &ReportLog::OnUpgrade, 300));
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        QVERIFY(Clock::now() - start >= std::chrono::milliseconds(earliestMs));
        const std::vector<Packet> packets = Log().Packets();
        QCOMPARE(packets.back().value, 2);
        const std::vector<int> progress = Progress(packets);
        QCOMPARE(progress.empty() ? -1 : progress.back(), lastProgress);

        const QStringList logs = Logs();
        QCOMPARE(logs.size(), 8);
        QVERIFY2(logs.filter(QStringLiteral("Result: failed")).size() == 1, qPrintable(logs.join('\n')));
        QVERIFY2(logs.filter(reason).size() == 1, qPrintable(logs.join('\n')));
        QVERIFY(logs.filter(QStringLiteral("TVM1-Mouse")).size() >= 1);

        // The mouse stays in boot mode with its old firmware; a sound image repairs it.
        QCOMPARE(SimDevice_BootMode("mouse"), 1);
        QCOMPARE(SimDevice_Version("mouse"), 0x0105);
        const auto repair = Load(QStringLiteral("bin/TVM1-Mouse_v1.6.bin"));
        QCOMPARE(BootDevices(repair), 1);
        Log().Clear();
        QVERIFY(UsbUpgrade_Start(&repair->image, &ReportLog::OnUpgrade, 10000));
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        QCOMPARE(Log().Packets().back().value, 1);
        QCOMPARE(SimDevice_BootMode("mouse"), 0);
        QCOMPARE(SimDevice_Version("mouse"), 0x0106);
    }

    void aResultMayComeBeforeAnyProgress()
    {
        const auto image = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        QVERIFY(SimDevice_SetUpgradeFault(SIM_UPGRADE_IMMEDIATE, 0));
        QVERIFY(UsbUpgrade_Start(&image->image, &ReportLog::OnUpgrade, 10000));
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        QCOMPARE(int(Log().Packets().size()), 1);
        QCOMPARE(SimDevice_Version("receiver"), 0x0103);
    }

    // A library gone silent: the device enters boot mode, then neither
    // progress nor a result comes, also past the start's time limit; the
    // upgrade counts as running until the scenario is reset.
    void aSilentUpgradeReportsNothing()
    {
        const auto image = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        QVERIFY(SimDevice_SetUpgradeFault(SIM_UPGRADE_SILENT, 0));
        QVERIFY(UsbUpgrade_Start(&image->image, &ReportLog::OnUpgrade, 1));
        QTRY_COMPARE_WITH_TIMEOUT(SimDevice_BootMode("receiver"), 1, TestLimit(5000));
        // A second start is refused: its result is the only report.
        QVERIFY(!UsbUpgrade_Start(&image->image, &ReportLog::OnUpgrade, 10000));
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        QCOMPARE(int(Log().Packets().size()), 1);
        QVERIFY(Logs().filter(QStringLiteral("another upgrade is running")).size() == 1);
        QCOMPARE(SimDevice_Version("receiver"), 0x0102);

        QVERIFY(SimDevice_Reset());
        Log().Clear();
        QVERIFY(UsbUpgrade_Start(&image->image, &ReportLog::OnUpgrade, 10000));
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        QCOMPARE(Log().Packets().back().value, 1);
    }

    void aResultCallbackMayStartTheNextUpgrade()
    {
        QVERIFY(SimDevice_Plug("mouse", 1));
        const auto receiver = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        const auto mouse = Load(QStringLiteral("bin/TVM1-Mouse_v1.6.bin"));
        struct Chain {
            std::atomic<int> results{0};
            std::atomic<int> secondStart{-1};
        };
        const auto chain = std::make_shared<Chain>();
        Log().SetUpgradeHook([chain, mouse](const Packet& packet) {
            if (packet.kind == 2 && ++chain->results == 1)
                chain->secondStart = UsbUpgrade_Start(&mouse->image, &ReportLog::OnUpgrade, 10000);
        });
        QVERIFY(UsbUpgrade_Start(&receiver->image, &ReportLog::OnUpgrade, 10000));
        QVERIFY(Log().WaitPackets([](const std::vector<Packet>& packets) {
            int results = 0;
            for (const Packet& packet : packets)
                results += packet.kind == 2;
            return results == 2;
        }, 5000));
        QCOMPARE(chain->secondStart.load(), 1);
        QCOMPARE(Progress(Log().Packets()).size(), size_t(22));
        QCOMPARE(SimDevice_Version("receiver"), 0x0103);
        QCOMPARE(SimDevice_Version("mouse"), 0x0106);
    }

    void aShutdownAbandonsTheUpgrade()
    {
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 50));
        const auto receiver = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        QVERIFY(UsbUpgrade_Start(&receiver->image, &ReportLog::OnUpgrade, 10000));
        QVERIFY(Log().WaitPackets([](const std::vector<Packet>& p) { return p.size() >= 2; }, 2000));
        UsbLibrary_Shutdown();
        QVERIFY(!Log().WaitPackets(ResultCame, 200));
        QCOMPARE(SimDevice_BootMode("receiver"), 1);     // interrupted: a repair is needed
        QVERIFY(UsbUpgrade_Start(&receiver->image, &ReportLog::OnUpgrade, 10000));
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        QCOMPARE(SimDevice_BootMode("receiver"), 0);
    }

    // Every refused start leaves the devices as they were and reports one
    // failure result on the upgrade thread, so a caller waiting for the result
    // is not left waiting; the log lines give the reason. A damaged image is
    // refused before any device enters boot mode.
    void aRefusedStartReportsOneFailure_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<std::function<bool()>>("before");
        QTest::addColumn<std::function<void(QByteArray&)>>("damage");
        QTest::addColumn<QString>("reason");
        const std::function<bool()> nothing = [] { return true; };
        const std::function<void(QByteArray&)> whole = [](QByteArray&) {};
        const QString receiver = QStringLiteral("bin/TVR1-4K_v1.3.bin");
        QTest::newRow("the device refuses") << receiver << std::function<bool()>([] {
            return SimDevice_SetUpgradeFault(SIM_UPGRADE_REFUSE, 0) != 0;
        }) << whole << "the device refused";
        QTest::newRow("another customer") << "testdata/firmware/other-cid.bin" << nothing << whole << "no device fits";
        QTest::newRow("another model") << "testdata/firmware/other-mid.bin" << nothing << whole << "no device fits";
        QTest::newRow("name in another case") << "testdata/firmware/name-case.bin" << nothing << whole
                                              << "no device fits";
        QTest::newRow("receiver unplugged just before") << receiver << std::function<bool()>([] {
            return SimDevice_Plug("receiver", 0) != 0;
        }) << whole << "no device fits";
        QTest::newRow("two alike receivers") << receiver << std::function<bool()>([] {
            return SimDevice_LoadScenario(R"({"receivers": [{"id": "receiver"}, {"id": "r2"}],
                                             "mice": [{"id": "mouse", "receiver": "receiver"}]})") != 0;
        }) << whole << "2 devices fit";
        QTest::newRow("damaged body") << "testdata/firmware/damaged-body.bin" << nothing << whole << "checksum";
        QTest::newRow("header without body") << "testdata/firmware/header-only.bin" << nothing << whole << "no body";
        QTest::newRow("body cut short") << receiver << nothing
                                        << std::function<void(QByteArray&)>([](QByteArray& bytes) { bytes.chop(100); })
                                        << "the body is cut";
        QTest::newRow("body with bytes after its payload")
            << receiver << nothing << std::function<void(QByteArray&)>([](QByteArray& bytes) { bytes.append('x'); })
            << "longer than its payload";
        QTest::newRow("header of another file") << receiver << nothing
                                                << std::function<void(QByteArray&)>([](QByteArray& bytes) {
                                                       bytes.replace(0, 16, QByteArray(16, '\0'));
                                                   })
                                                << "does not start with a firmware header";
        QTest::newRow("shorter than its header") << "testdata/firmware/short.bin" << nothing << whole
                                                 << "shorter than its header";
    }

    void aRefusedStartReportsOneFailure()
    {
        QFETCH(QString, file);
        QFETCH(std::function<bool()>, before);
        QFETCH(std::function<void(QByteArray&)>, damage);
        QFETCH(QString, reason);
        QVERIFY(before());
        auto image = Load(file);
        QVERIFY(!image->bytes.isEmpty());
        damage(image->bytes);
        image->image.data = reinterpret_cast<const unsigned char*>(image->bytes.constData());
        image->image.length = image->bytes.size();

        QCOMPARE(UsbUpgrade_Start(&image->image, &ReportLog::OnUpgrade, 10000), 0);
        QVERIFY2(Logs().filter(reason).size() == 1, qPrintable(Logs().join('\n')));
        QVERIFY(Logs().filter(QStringLiteral("not started")).size() >= 1);
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(2000)));
        QVERIFY(!Log().WaitPackets([](const std::vector<Packet>& p) { return p.size() > 1; }, 100));
        const Packet result = Log().Packets().front();
        QCOMPARE(result.type, 7);
        QCOMPARE(result.value, 2);
        QVERIFY(result.thread != std::this_thread::get_id());
        for (const char* device : {"receiver", "mouse"}) {
            QCOMPARE(SimDevice_BootMode(device), 0);
            QCOMPARE(SimDevice_Version(device), device == QByteArray("receiver") ? 0x0102 : 0x0105);
        }
    }

    // A second start while one runs is refused with one failure result; the
    // running upgrade goes on to its own result.
    void aSecondStartWhileOneRunsIsRefused()
    {
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 50));
        const auto receiver = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        static std::atomic<int> secondResults{0};
        secondResults = 0;
        const UpgradeStatusCallback second = [](UpgradeStatusPacket* packet) {
            if (packet->kind == 2 && packet->value == 2)
                ++secondResults;
        };
        QVERIFY(UsbUpgrade_Start(&receiver->image, &ReportLog::OnUpgrade, 10000));
        QCOMPARE(UsbUpgrade_Start(&receiver->image, second, 10000), 0);
        QVERIFY(Logs().filter(QStringLiteral("another upgrade is running")).size() == 1);
        QTRY_COMPARE_WITH_TIMEOUT(secondResults.load(), 1, TestLimit(2000));
        QVERIFY(Log().WaitPackets(ResultCame, TestLimit(5000)));
        QCOMPARE(Log().Packets().back().value, 1);
        QCOMPARE(SimDevice_Version("receiver"), 0x0103);
        QCOMPARE(secondResults.load(), 1);
    }

    void badArguments()
    {
        const auto shortFile = Load(QStringLiteral("testdata/firmware/short.bin"));
        const auto sound = Load(QStringLiteral("bin/TVR1-4K_v1.3.bin"));
        QCOMPARE(shortFile->image.length, DIVAZA_FIRMWARE_HEADER_SIZE - 1);
        UpgradeImage noData{nullptr, 1000};
        UpgradeImage negative{sound->image.data, -1};
        const UpgradeImage* const images[] = {nullptr, &shortFile->image, &noData, &negative};
        for (const UpgradeImage* image : images) {
            int count = 5;
            QCOMPARE(UsbUpgradeC_FindBootDevices(image, &count), 0);
            QCOMPARE(count, 0);
            QCOMPARE(UsbUpgrade_Start(image, &ReportLog::OnUpgrade, 10000), 0);
        }
        // Each refusal is reported once; without a callback there is no one to tell.
        QVERIFY(Log().WaitPackets([](const std::vector<Packet>& p) { return p.size() == 4; }, 2000));
        for (const Packet& packet : Log().Packets())
            QVERIFY(packet.kind == 2 && packet.value == 2);
        QCOMPARE(UsbUpgrade_Start(&sound->image, nullptr, 10000), 0);
        QCOMPARE(Logs().size(), 8);
        QVERIFY(!Log().WaitPackets([](const std::vector<Packet>& p) { return p.size() > 4; }, 50));
        QCOMPARE(SimDevice_BootMode("receiver"), 0);
    }
};

TALVIRE_TEST_MAIN(DeviceLibUpgradeTest)
#include "test_devicelib_upgrade.moc"
