// Scenario files: each example describes the situation it is named after, and
// texts that describe no valid scenario are refused without changing the devices.
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "tests/common/TestEnvironment.h"
#include "tests/devicelib/ReportLog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <unistd.h>

namespace {
ReportLog& Log()
{
    return ReportLog::Instance();
}

int Found(const char* pid)
{
    int count = 5;
    UsbFinderC_FindHidDevicesByDefaultDeviceId("3A17", pid, &count);
    return count;
}

UsbDeviceInfo Info(const char* device)
{
    return UsbFinderC_GetDeviceInfo(SimDevice_PathOf(device));
}

QString Scenario(const char* name)
{
    return QStringLiteral(TALVIRE_SCENARIO_DIR "/") + QLatin1String(name);
}

int BootDevices(const char* imageFile)
{
    QFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/bin/") + QLatin1String(imageFile));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    const UpgradeImage image{reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size()};
    int count = 5;
    UsbUpgradeC_FindBootDevices(&image, &count);
    return count;
}

// What is written to the standard error while `run` runs.
QByteArray StandardError(const std::function<void()>& run)
{
    QTemporaryFile capture;
    if (!capture.open())
        return QByteArray("cannot capture the standard error");
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    run();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    QFile written(capture.fileName());
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

// The battery level the mouse reports through the device.
int Battery(const char* device)
{
    const size_t from = Log().ReportCount();
    const char* path = SimDevice_PathOf(device);
    if (!UsbServerC_Start(path, path, &ReportLog::OnReport) || !UsbServer_ReadBatteryLevel())
        return -1;
    ReportLog::Report report;
    if (!Log().WaitReportType(DIVAZA_REPORT_BATTERY, TestLimit(2000), &report, from))
        return -1;
    unsigned char out[4];
    GetDeviceBatteryStatus(report.data.data(), out);
    return out[0];
}
} // namespace

Q_DECLARE_METATYPE(std::function<bool()>)

class DeviceLibScenariosTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(SimDevice_Reset());
        Log().Clear();
    }

    void cleanup() { UsbLibrary_Shutdown(); }

    void everyExampleLoads()
    {
        const QStringList files = QDir(QStringLiteral(TALVIRE_SCENARIO_DIR)).entryList({QStringLiteral("*.json")});
        QVERIFY(files.size() >= 10);
        for (const QString& file : files)
            QVERIFY2(SimDevice_LoadScenarioFile(qPrintable(Scenario(qPrintable(file)))), qPrintable(file));
    }

    void examplesDescribeTheirSituation_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<std::function<bool()>>("holds");
        QTest::newRow("wired mouse") << "wired.json" << std::function<bool()>([] {
            return Found("5201") == 1 && Found("5214") == 0 && (Info("mouse").linkType & 0xFA)
                && Info("mouse").mid == 1 && UsbFinderC_GetDeviceOnLine(SimDevice_PathOf("mouse")) == 1;
        });
        QTest::newRow("mouse on cable and receiver") << "cable-and-receiver.json" << std::function<bool()>([] {
            unsigned char cable[10] = {};
            unsigned char receiver[10] = {};
            UsbFinderC_GetDeviceOnLineWithUsbAddress(SimDevice_PathOf("mouse"), cable);
            UsbFinderC_GetDeviceOnLineWithUsbAddress(SimDevice_PathOf("receiver"), receiver);
            return Found("5201") == 1 && Found("5214") == 1 && cable[6] == 1 && receiver[6] == 1
                && std::memcmp(cable + 7, receiver + 7, 3) == 0;
        });
        QTest::newRow("receiver kinds") << "receiver-kinds.json" << std::function<bool()>([] {
            return Found("5211") == 1 && Found("5212") == 1 && Found("5214") == 1 && Found("5218") == 1
                && Info("receiver1k").linkType == 0 && Info("receiver2k").linkType == 4
                && Info("receiver4k").linkType == 1 && Info("receiver8k").linkType == 5
                && Info("receiver2k").mid == 2 && Info("receiver8k").mid == 2;
        });
        QTest::newRow("several devices") << "several-devices.json" << std::function<bool()>([] {
            return Found("5214") == 1 && Found("5221") == 1 && Found("5218") == 1 && Found("5202") == 1
                && Info("receiver2").mid == 2 && Info("spare").mid == 0 && Info("wired").mid == 2;
        });
        QTest::newRow("twin receivers") << "twin-receivers.json" << std::function<bool()>([] {
            return Found("5214") == 2 && Info("receiver").mid == 1 && Info("twin").mid == 1;
        });
        QTest::newRow("unknown ids") << "unknown-ids.json" << std::function<bool()>([] {
            const UsbDeviceInfo unknown = Info("receiver");
            const UsbDeviceInfo foreign = Info("foreign");
            return unknown.cid == 10 && unknown.mid == 9 && foreign.cid == 99 && Info("silent").mid == 0;
        });
        QTest::newRow("no mouse paired") << "unpaired.json" << std::function<bool()>([] {
            return Found("5214") == 1 && Info("receiver").mid == 0
                && UsbFinderC_GetDeviceOnLine(SimDevice_PathOf("receiver")) == 0;
        });
        QTest::newRow("receiver in boot mode") << "boot-mode.json" << std::function<bool()>([] {
            return Found("5214") == 0 && Found("5201") == 1 && BootDevices("TVR1-4K_v1.3.bin") == 1;
        });
        QTest::newRow("mouse in boot mode") << "mouse-boot-mode.json" << std::function<bool()>([] {
            return Found("5201") == 0 && UsbFinderC_GetDeviceOnLine(SimDevice_PathOf("receiver")) == 0
                && BootDevices("TVM1-Mouse_v1.6.bin") == 1;
        });
        QTest::newRow("older firmware") << "old-firmware.json" << std::function<bool()>([] {
            int receiver = 0;
            UsbFinderC_GetSlaveVersion(SimDevice_PathOf("receiver"), &receiver);
            return receiver == 0x0100 && UsbFinderC_GetVersion(SimDevice_PathOf("receiver")) == 0x0100;
        });
        QTest::newRow("battery low") << "battery-low.json" << std::function<bool()>([] {
            return Battery("receiver") == 10;
        });
        QTest::newRow("pairing") << "pairing.json" << std::function<bool()>([] {
            return Found("5214") == 1 && Info("receiver").mid == 0
                && UsbFinderC_GetDeviceOnLine(SimDevice_PathOf("receiver")) == 0;
        });
        QTest::newRow("receiver that knows an earlier mouse") << "repair-twins.json" << std::function<bool()>([] {
            // Both receivers name a model-1 mouse; only the 4K one reaches it.
            return Found("5212") == 1 && Found("5214") == 1 && Info("old").mid == 1 && Info("receiver").mid == 1
                && UsbFinderC_GetDeviceOnLine(SimDevice_PathOf("old")) == 0
                && UsbFinderC_GetDeviceOnLine(SimDevice_PathOf("receiver")) == 1;
        });
        QTest::newRow("slow device") << "slow-device.json" << std::function<bool()>([] {
            const char* path = SimDevice_PathOf("receiver");
            UsbServerC_Start(path, path, &ReportLog::OnReport);
            UsbServer_ReadAllFlashData();
            return !Log().WaitReportType(DIVAZA_REPORT_FLASH_DATA, 1000);
        });
    }

    void examplesDescribeTheirSituation()
    {
        QFETCH(QString, file);
        QFETCH(std::function<bool()>, holds);
        QVERIFY(SimDevice_LoadScenarioFile(qPrintable(Scenario(qPrintable(file)))));
        QVERIFY(holds());
    }

    void invalidScenariosChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not JSON") << QByteArray("{ receivers: ");
        QTest::newRow("a list") << QByteArray("[]");
        QTest::newRow("unknown key") << QByteArray(R"({"mice": [{"id": "m", "colour": "red"}]})");
        QTest::newRow("no id") << QByteArray(R"({"mice": [{"model": 1}]})");
        QTest::newRow("id with spaces") << QByteArray(R"({"mice": [{"id": "my mouse"}]})");
        QTest::newRow("id twice") << QByteArray(R"({"receivers": [{"id": "x"}], "mice": [{"id": "x"}]})");
        QTest::newRow("kind 3") << QByteArray(R"({"receivers": [{"id": "r", "kind": 3}]})");
        QTest::newRow("battery 120") << QByteArray(R"({"mice": [{"id": "m", "battery": 120}]})");
        QTest::newRow("battery as text") << QByteArray(R"({"mice": [{"id": "m", "battery": "full"}]})");
        QTest::newRow("bad product id") << QByteArray(R"({"receivers": [{"id": "r", "pid": "52145"}]})");
        QTest::newRow("bad address") << QByteArray(R"({"receivers": [{"id": "r", "address": "5A:3C"}]})");
        QTest::newRow("bad version") << QByteArray(R"({"mice": [{"id": "m", "version": "v1"}]})");
        QTest::newRow("unknown receiver") << QByteArray(R"({"mice": [{"id": "m", "receiver": "r"}]})");
        QTest::newRow("receiver link type on the cable") << QByteArray(R"({"mice": [{"id": "m", "cableLinkType": 1}]})");
        QTest::newRow("two mice on one receiver")
            << QByteArray(R"({"receivers": [{"id": "r"}], "mice": [{"id": "a", "receiver": "r"}, {"id": "b", "receiver": "r"}]})");
        QTest::newRow("unknown link type without product id")
            << QByteArray(R"({"receivers": [{"id": "r", "linkType": 9}]})");
        QTest::newRow("timing below zero") << QByteArray(R"({"timing": {"answer": -1}})");
        QTest::newRow("pairing outcome") << QByteArray(R"({"pairing": "maybe"})");
        QTest::newRow("knows a mouse it has none of")
            << QByteArray(R"({"receivers": [{"id": "r", "knowsMouse": true}]})");
    }

    void invalidScenariosChangeNothing()
    {
        QFETCH(QByteArray, json);
        QCOMPARE(SimDevice_LoadScenario(json.constData()), 0);
        QCOMPARE(Found("5214"), 1);
        QCOMPARE(int(Info("receiver").mid), 1);
    }

    // Numbers far outside an int are refused as out of range before they are
    // converted, with a message that names the key and its range.
    void numbersOutOfRangeAreRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("battery 1e99") << QByteArray(R"({"mice": [{"id": "m", "battery": 1e99}]})")
                                      << QByteArray(R"(mouse "m": "battery" lies outside 0..100)");
        QTest::newRow("battery -1e99") << QByteArray(R"({"mice": [{"id": "m", "battery": -1e99}]})")
                                       << QByteArray(R"(mouse "m": "battery" lies outside 0..100)");
        QTest::newRow("largest double") << QByteArray(R"({"receivers": [{"id": "r", "cid": 1.7976931348623157e308}]})")
                                        << QByteArray(R"(receiver "r": "cid" lies outside 0..255)");
        QTest::newRow("timing 2^32") << QByteArray(R"({"timing": {"answer": 4294967296}})")
                                     << QByteArray(R"(timing: "answer" lies outside 0..600000)");
        QTest::newRow("link report time 2^31") << QByteArray(R"({"timing": {"report": 2147483648}})")
                                               << QByteArray(R"(timing: "report" lies outside 0..600000)");
        QTest::newRow("version 1e99") << QByteArray(R"({"mice": [{"id": "m", "version": 1e99}]})")
                                      << QByteArray(R"(mouse "m": "version" lies outside 0..65535)");
        QTest::newRow("version as text 0x100000000")
            << QByteArray(R"({"mice": [{"id": "m", "version": "0x100000000"}]})")
            << QByteArray(R"(mouse "m": "version" lies outside 0..65535)");
        QTest::newRow("a fraction in range") << QByteArray(R"({"mice": [{"id": "m", "battery": 50.5}]})")
                                             << QByteArray(R"(mouse "m": "battery" is not a whole number)");
    }

    void numbersOutOfRangeAreRefused()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, message);
        QTemporaryDir folder;
        const QString fileName = folder.filePath(QStringLiteral("scenario.json"));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
        file.close();
        int loaded = -1;
        const QByteArray written = StandardError([&] { loaded = SimDevice_LoadScenarioFile(qPrintable(fileName)); });
        QCOMPARE(loaded, 0);
        QVERIFY2(written.contains(message), written.constData());
        QCOMPARE(Found("5214"), 1);
        QCOMPARE(int(Info("receiver").mid), 1);
    }

    void missingFilesAndNullTexts()
    {
        QCOMPARE(SimDevice_LoadScenarioFile("/nonexistent/scenario.json"), 0);
        QCOMPARE(SimDevice_LoadScenarioFile(nullptr), 0);
        QCOMPARE(SimDevice_LoadScenario(nullptr), 0);
        QCOMPARE(Found("5214"), 1);
    }

    void theEnvironmentChoosesTheDevices()
    {
        qputenv("TALVIRE_DEVICES", QFile::encodeName(Scenario("wired.json")));
        QVERIFY(SimDevice_Reset());
        QCOMPARE(Found("5201"), 1);
        QCOMPARE(Found("5214"), 0);
        // A file that does not describe valid devices leaves the default ones.
        qputenv("TALVIRE_DEVICES", "/nonexistent/scenario.json");
        QVERIFY(SimDevice_Reset());
        QCOMPARE(Found("5214"), 1);
        qunsetenv("TALVIRE_DEVICES");
        QVERIFY(SimDevice_Reset());
    }

    void controlsRefuseUnknownDevicesAndBadValues()
    {
        unsigned char block[8];
        char id[8];
        QCOMPARE(SimDevice_Plug("nobody", 1), 0);
        QCOMPARE(SimDevice_Plug(nullptr, 1), 0);
        QCOMPARE(SimDevice_SetPower("receiver", 0), 0);
        QCOMPARE(SimDevice_PressDpiButton("receiver"), 0);
        QCOMPARE(SimDevice_SetBattery("mouse", 101, 0), 0);
        QCOMPARE(SimDevice_SetLongRange("mouse", 0), 0);
        QCOMPARE(SimDevice_SetTiming(9, 10), 0);
        QCOMPARE(SimDevice_SetTiming(SIM_TIMING_ANSWER, -5), 0);
        QCOMPARE(SimDevice_SetPairingOutcome(7), 0);
        QCOMPARE(SimDevice_SetUpgradeFault(SIM_UPGRADE_FAIL_AT, 101), 0);
        QCOMPARE(SimDevice_SetVersion("mouse", 0x10000), 0);
        QCOMPARE(SimDevice_ReadDeviceBlock("mouse", 4, block, 8), 0);
        QCOMPARE(SimDevice_ReadDeviceBlock("mouse", 0, nullptr, 8), 0);
        QCOMPARE(SimDevice_ReadDeviceBlock("mouse", 0, block, 8), 8);
        QCOMPARE(SimDevice_PairedMouse("receiver", id, 3), 0);       // "mouse" does not fit
        QCOMPARE(SimDevice_PairedMouse("receiver", id, sizeof id), 1);
        QCOMPARE(SimDevice_Version("nobody"), -1);
        QVERIFY(SimDevice_PathOf("nobody") == nullptr);
        QCOMPARE(QByteArray(SimDevice_PathOf(SimDevice_PathOf("receiver"))), QByteArray(SimDevice_PathOf("receiver")));
    }
};

TALVIRE_TEST_MAIN(DeviceLibScenariosTest)
#include "test_devicelib_scenarios.moc"
