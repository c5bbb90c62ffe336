// The simulated link: a write moves only the 64-byte reports of the device block
// that differ from what the library last wrote or read, and every report takes
// the link's report time.
#include "core/FlashDataMap.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "tests/common/TestEnvironment.h"
#include "tests/devicelib/ReportLog.h"

#include <QApplication>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <functional>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
using Block = std::vector<unsigned char>;
using Change = std::function<void(FlashDataMap&)>;
// Runs before the measured write; may replace the image the change starts from.
using Before = std::function<bool(FlashDataMap&)>;

constexpr int WholeBlockReports = DIVAZA_DEVICE_BLOCK_SIZE / 64;
constexpr int DeviceMark = 0xF0;   // 16 bytes the device keeps as its own

ReportLog& Log()
{
    return ReportLog::Instance();
}

const char* Receiver()
{
    return SimDevice_PathOf("receiver");
}

Block StoredBlock(int configuration = -1)
{
    Block block(DIVAZA_DEVICE_BLOCK_SIZE);
    SimDevice_ReadDeviceBlock("mouse", configuration, block.data(), int(block.size()));
    return block;
}

FlashDataMap Parsed(const Block& block)
{
    FlashDataMap image;
    ProtocolDataParser(block.data(), &image);
    return image;
}

bool Write(FlashDataMap image)
{
    return ProtocolDataUpdate(&image) != 0;
}

bool SameImage(const FlashDataMap& a, const FlashDataMap& b)
{
    return std::memcmp(a.bytes(), b.bytes(), FlashDataMap::Size) == 0;
}

// Opens the mouse through its receiver and reads its whole configuration, as
// the program does when a device is picked; the image read comes back.
bool OpenAndRead(FlashDataMap* image)
{
    const size_t from = Log().ReportCount();
    if (!UsbServerC_Start(Receiver(), Receiver(), &ReportLog::OnReport) || !UsbServer_ReadAllFlashData())
        return false;
    ReportLog::Report report;
    if (!Log().WaitReportType(DIVAZA_REPORT_FLASH_DATA, TestLimit(3000), &report, from))
        return false;
    *image = Parsed(report.data);
    return true;
}

void OneSetting(FlashDataMap& image)
{
    image.reportRate = image.reportRate == 64 ? 8 : 64;
}

// Every field of the image changes.
void EverythingNew(FlashDataMap& image)
{
    for (int i = 0; i < 0x7C; ++i)
        image.bytes()[i] ^= 0x01;
    for (KeyRecord& key : image.keys) {
        key.count = quint8((key.count + 1) % (KeyRecord::MaxEvents + 1));
        for (DeviceEvent& event : key.events)
            event.code ^= 0x0101;
    }
    for (MacroBlock& macro : image.macros) {
        macro.count = quint8((macro.count + 1) % (MacroBlock::MaxEvents + 1));
        for (DeviceEvent& event : macro.events)
            event.code ^= 0x0101;
    }
}

Before Nothing()
{
    return [](FlashDataMap&) { return true; };
}

// A write the library reports as failed after `reports` of its reports arrived.
Before FailedWrite(int reports, Change change)
{
    return [reports, change](FlashDataMap& image) {
        FlashDataMap attempt = image;
        change(attempt);
        return SimDevice_FailNextWrite(reports) && !Write(attempt) && SimDevice_FailNextWrite(-1);
    };
}

// Another onboard configuration becomes the current one; the program's image
// is then that configuration's.
Before SwitchTo(int configuration)
{
    return [configuration](FlashDataMap& image) {
        if (!UsbServer_SetCurrentConfig(quint8(configuration)))
            return false;
        image = Parsed(StoredBlock(configuration));
        return true;
    };
}
} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Before)
// Takes a device out of the mouse's reach (0) or brings it back (1).
using Reach = std::function<int(int)>;
Q_DECLARE_METATYPE(Reach)

class DeviceLibLinkTest : public QObject {
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
        qputenv("TALVIRE_LINK_REPORT_MS", "0");
    }

    // Report n holds block bytes 64n to 64n+63. Block offsets: report rate 0x00,
    // DPI stages 0x10-0x3F, buttons 0x54-0x83, key records of 31 bytes from
    // 0x100 (an event is 5 bytes after the count), macros of 382 bytes from 0x2F0;
    // report 3 holds only the device's own bytes.
    void aWriteMovesTheReportsThatDiffer_data()
    {
        QTest::addColumn<Before>("before");
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("reports");

        QTest::newRow("one setting") << Nothing() << Change(OneSetting) << 1;
        QTest::newRow("nothing changed") << Nothing() << Change([](FlashDataMap&) {}) << 0;
        QTest::newRow("last byte of a report (block 0x3F)")
            << Nothing() << Change([](FlashDataMap& image) { image.dpiStages[7].blue ^= 0xFF; }) << 1;
        QTest::newRow("first byte of a report (block 0x80)")
            << Nothing() << Change([](FlashDataMap& image) { image.buttons[14].value2 ^= 0xFF; }) << 1;
        QTest::newRow("an event across two reports (block 0x13F-0x143)")
            << Nothing() << Change([](FlashDataMap& image) {
                   image.keys[2].events[0].kind ^= 0x01;
                   image.keys[2].events[0].code ^= 0x0101;
               }) << 2;
        QTest::newRow("a whole stage record") << Nothing() << Change([](FlashDataMap& image) {
            image.dpiStages[2] = DpiStage{0x7F, 0x7E, 0x03, 1, 2, 3};
        }) << 1;
        QTest::newRow("a whole macro (reports 53-59)") << Nothing() << Change([](FlashDataMap& image) {
            MacroBlock& macro = image.macros[7];
            macro.nameLength = MacroBlock::MaxNameLength;
            std::memset(macro.name, 'M', MacroBlock::MaxNameLength);
            macro.count = MacroBlock::MaxEvents;
            for (int i = 0; i < MacroBlock::MaxEvents; ++i) {
                DeviceEvent& event = macro.events[i];
                event.release = quint8(i % 2);
                event.kind = DeviceEvent::Key;
                event.code = quint16(0x104 + i);
                event.delay = quint32(10 + i);
            }
        }) << 7;
        QTest::newRow("a whole new image") << Nothing() << Change(EverythingNew) << WholeBlockReports - 1;
        QTest::newRow("nothing read or written yet") << Before([](FlashDataMap& image) {
            if (!SimDevice_Reset() || !UsbServerC_Start(Receiver(), Receiver(), &ReportLog::OnReport))
                return false;
            image = Parsed(StoredBlock());
            return true;
        }) << Change(OneSetting) << WholeBlockReports;
        QTest::newRow("after a write that failed at once")
            << FailedWrite(0, OneSetting) << Change(OneSetting) << WholeBlockReports;
        QTest::newRow("after a write cut after one of its reports")
            << FailedWrite(1, [](FlashDataMap& image) {
                   image.reportRate = 16;
                   image.keys[2].events[0].code ^= 0x0101;
               })
            << Change(OneSetting) << WholeBlockReports;
        QTest::newRow("after a switch to a configuration not read yet")
            << SwitchTo(1) << Change(OneSetting) << WholeBlockReports;
        QTest::newRow("after switching back to a configuration read before") << Before([](FlashDataMap& image) {
            const FlashDataMap first = image;
            if (!SwitchTo(1)(image) || !SwitchTo(0)(image))
                return false;
            return SameImage(image, first);
        }) << Change(OneSetting) << 1;
        QTest::newRow("after the DPI button changed the device's stage") << Before([](FlashDataMap& image) {
            // The program has read the stage the mouse moved to.
            if (!SimDevice_PressDpiButton("mouse"))
                return false;
            image.currentDpiStage = Parsed(StoredBlock()).currentDpiStage;
            return true;
        }) << Change([](FlashDataMap& image) { image.buttons[0].value1 ^= 0xFF; }) << 2;
        QTest::newRow("after a factory reset") << Before([](FlashDataMap& image) {
            if (!UsbServer_SetClearSetting())
                return false;
            image = Parsed(StoredBlock());
            return true;
        }) << Change(OneSetting) << WholeBlockReports;
    }

    void aWriteMovesTheReportsThatDiffer()
    {
        QFETCH(Before, before);
        QFETCH(Change, change);
        QFETCH(int, reports);
        FlashDataMap image;
        QVERIFY(OpenAndRead(&image));
        QVERIFY(before(image));
        const Block old = StoredBlock();
        const int writes = SimDevice_WriteCount("mouse");
        change(image);

        QVERIFY(SimDevice_ResetReportsMoved("mouse"));
        QVERIFY(Write(image));
        QCOMPARE(SimDevice_ReportsMoved("mouse"), reports);
        QCOMPARE(SimDevice_WriteCount("mouse"), writes + 1);
        const Block stored = StoredBlock();
        QVERIFY(SameImage(Parsed(stored), image));
        QVERIFY(std::memcmp(stored.data() + DeviceMark, old.data() + DeviceMark, 16) == 0);

        // The library knows the device now: the same image again moves nothing.
        QVERIFY(Write(image));
        QCOMPARE(SimDevice_ReportsMoved("mouse"), reports);
        QVERIFY(StoredBlock() == stored);
    }

    // The mouse's DPI button moves its stage on its own: an image copied
    // before the press, still carrying the stage the library last wrote or
    // read, leaves the mouse's stage; a stage the program sets is written.
    void aWriteKeepsTheStageTheMouseMovedTo_data()
    {
        QTest::addColumn<int>("imageStage");   // -1: the stage read before the press
        QTest::addColumn<int>("storedStage");  // -1: the stage the press led to
        QTest::newRow("the image carries the stage read before the press") << -1 << -1;
        QTest::newRow("the program sets another stage") << 0 << 0;
        QTest::newRow("the program sets the stage the press led to") << 2 << 2;
    }

    void aWriteKeepsTheStageTheMouseMovedTo()
    {
        QFETCH(int, imageStage);
        QFETCH(int, storedStage);
        FlashDataMap image;
        QVERIFY(OpenAndRead(&image));
        QCOMPARE(int(image.currentDpiStage), 1);
        QVERIFY(SimDevice_PressDpiButton("mouse"));
        if (imageStage >= 0)
            image.currentDpiStage = quint8(imageStage);
        OneSetting(image);
        QVERIFY(Write(image));
        const FlashDataMap stored = Parsed(StoredBlock());
        QCOMPARE(int(stored.currentDpiStage), storedStage >= 0 ? storedStage : 2);
        QCOMPARE(int(stored.reportRate), int(image.reportRate));

        // Written again, the image still leaves the mouse's stage as it is.
        QVERIFY(SimDevice_PressDpiButton("mouse"));
        const int pressed = Parsed(StoredBlock()).currentDpiStage;
        QVERIFY(Write(image));
        QCOMPARE(int(Parsed(StoredBlock()).currentDpiStage), pressed);
    }

    // The mouse is switched off in the middle of a write: the write fails, and
    // as the library cannot know what arrived, the next one moves the whole block.
    void anInterruptedWriteLeavesTheDeviceUnknown()
    {
        FlashDataMap image;
        QVERIFY(OpenAndRead(&image));
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_REPORT, 5));
        EverythingNew(image);
        QVERIFY(SimDevice_ResetReportsMoved("mouse"));
        // Armed for this write (beyond its reports): the write broken off
        // spends it.
        QVERIFY(SimDevice_FailNextWrite(WholeBlockReports + 5));
        std::atomic<int> written{-1};
        std::thread writer([&written, image] { written = Write(image) ? 1 : 0; });
        QTRY_VERIFY_WITH_TIMEOUT(SimDevice_ReportsMoved("mouse") >= 2, TestLimit(3000));
        QVERIFY(SimDevice_SetPower("mouse", 0));
        writer.join();
        QCOMPARE(written.load(), 0);
        const int arrived = SimDevice_ReportsMoved("mouse");
        QVERIFY(arrived >= 2 && arrived < WholeBlockReports - 1);

        QVERIFY(SimDevice_SetPower("mouse", 1));
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_REPORT, 0));
        QVERIFY(SimDevice_ResetReportsMoved("mouse"));
        QVERIFY(Write(image));
        QCOMPARE(SimDevice_ReportsMoved("mouse"), WholeBlockReports);
        QVERIFY(SameImage(Parsed(StoredBlock()), image));
    }

    // SimDevice_FailNextWrite(n): the next write fails once min(n, the reports
    // it moves) of them have arrived, also a write that moves fewer than n or
    // none; the fault is then spent, and the next write goes through.
    void theWriteFaultHitsTheNextWrite_data()
    {
        QTest::addColumn<int>("failAfter");
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("arrived");

        const Change twoReports = [](FlashDataMap& image) {
            image.keys[2].events[0].kind ^= 0x01;
            image.keys[2].events[0].code ^= 0x0101;
        };
        QTest::newRow("at once") << 0 << Change(OneSetting) << 0;
        QTest::newRow("after one of two reports") << 1 << twoReports << 1;
        QTest::newRow("after as many as the write moves") << 2 << twoReports << 2;
        QTest::newRow("a write moving fewer reports") << 2 << Change(OneSetting) << 1;
        QTest::newRow("a write moving none") << 3 << Change([](FlashDataMap&) {}) << 0;
        QTest::newRow("a whole new image, after 40") << 40 << Change(EverythingNew) << 40;
        QTest::newRow("a whole new image, more than it moves")
            << WholeBlockReports + 5 << Change(EverythingNew) << WholeBlockReports - 1;
    }

    void theWriteFaultHitsTheNextWrite()
    {
        QFETCH(int, failAfter);
        QFETCH(Change, change);
        QFETCH(int, arrived);
        FlashDataMap image;
        QVERIFY(OpenAndRead(&image));
        const Block old = StoredBlock();
        const int writes = SimDevice_WriteCount("mouse");
        change(image);

        QVERIFY(SimDevice_ResetReportsMoved("mouse"));
        QVERIFY(SimDevice_FailNextWrite(failAfter));
        QVERIFY(!Write(image));
        QCOMPARE(SimDevice_ReportsMoved("mouse"), arrived);
        QCOMPARE(SimDevice_WriteCount("mouse"), writes);
        if (arrived == 0)
            QVERIFY(StoredBlock() == old);

        // The fault is spent: the next write arrives whole, as the library no
        // longer knows what the device holds.
        QVERIFY(SimDevice_ResetReportsMoved("mouse"));
        QVERIFY(Write(image));
        QCOMPARE(SimDevice_ReportsMoved("mouse"), WholeBlockReports);
        QCOMPARE(SimDevice_WriteCount("mouse"), writes + 1);
        QVERIFY(SameImage(Parsed(StoredBlock()), image));
    }

    // A write that fails because the mouse is out of reach is the write an
    // armed fault was meant for: the fault is spent with it, and the write after
    // the mouse is back goes through.
    void aWriteFailingOtherwiseSpendsTheFault_data()
    {
        QTest::addColumn<Reach>("reach");
        QTest::newRow("receiver out") << Reach([](int on) { return SimDevice_Plug("receiver", on); });
        QTest::newRow("mouse switched off") << Reach([](int on) { return SimDevice_SetPower("mouse", on); });
    }

    void aWriteFailingOtherwiseSpendsTheFault()
    {
        QFETCH(Reach, reach);
        FlashDataMap image;
        QVERIFY(OpenAndRead(&image));
        OneSetting(image);
        QVERIFY(SimDevice_FailNextWrite(0));
        QVERIFY(reach(0));
        QVERIFY(!Write(image));
        QVERIFY(reach(1));
        QVERIFY(Write(image));
        QVERIFY(SameImage(Parsed(StoredBlock()), image));
    }

    // SimDevice_Settle is a barrier, not a shutdown: every answer queued on
    // the link before it (here 300, each taking the link's report time) has
    // reached the callback when it returns, and the device stays open.
    void theBarrierDeliversEveryQueuedAnswer()
    {
        const int answers = 300;
        QVERIFY(UsbServerC_Start(Receiver(), Receiver(), &ReportLog::OnReport));
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_REPORT, 1));
        for (int i = 0; i < answers; ++i)
            QVERIFY(UsbServer_ReadVersion());
        QVERIFY(SimDevice_Settle(10000));
        QCOMPARE(Log().ReportCount(), size_t(answers));
        QVERIFY(UsbServer_ReadBatteryLevel());
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_BATTERY, 3000));
    }

    // With the link's report time (1 ms unless the scenario or a test sets
    // another), a write takes that time per report it moves and an answer per
    // report it fills: at least that long (a busy machine only adds to it;
    // how fast it is otherwise is scripts/bench's to measure).
    void theLinkTakesItsReportTime_data()
    {
        QTest::addColumn<QByteArray>("scenario");
        QTest::addColumn<int>("reportMs");
        QTest::addColumn<bool>("wholeImage");
        QTest::addColumn<int>("writeMs");
        QTest::newRow("one setting, default time") << QByteArray() << -1 << false << 1;
        QTest::newRow("a whole new image, default time") << QByteArray() << -1 << true << WholeBlockReports - 1;
        QTest::newRow("one setting, time of the scenario")
            << QByteArray(R"({"receivers": [{"id": "receiver"}], "mice": [{"id": "mouse", "receiver": "receiver"}],
                             "timing": {"report": 10}})") << -1 << false << 10;
        QTest::newRow("one setting, time set through the control functions") << QByteArray() << 10 << false << 10;
    }

    void theLinkTakesItsReportTime()
    {
        QFETCH(QByteArray, scenario);
        QFETCH(int, reportMs);
        QFETCH(bool, wholeImage);
        QFETCH(int, writeMs);
        qunsetenv("TALVIRE_LINK_REPORT_MS");
        QVERIFY(scenario.isEmpty() ? SimDevice_Reset() : SimDevice_LoadScenario(scenario.constData()));
        if (reportMs >= 0)
            QVERIFY(SimDevice_SetTiming(SIM_TIMING_REPORT, reportMs));
        const int report = reportMs >= 0 ? reportMs : scenario.isEmpty() ? 1 : 10;
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_WHOLE_READ, 0));

        // The whole read: 108 reports.
        Clock::time_point start = Clock::now();
        FlashDataMap image;
        QVERIFY(OpenAndRead(&image));
        auto took = Clock::now() - start;
        QVERIFY2(took >= std::chrono::milliseconds(WholeBlockReports * report), qPrintable(QString::number(took.count())));

        // A short answer: one report after the device's answer time.
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_ANSWER, 0));
        const size_t from = Log().ReportCount();
        start = Clock::now();
        QVERIFY(UsbServer_ReadVersion());
        ReportLog::Report version;
        QVERIFY(Log().WaitReportType(DIVAZA_REPORT_VERSION, TestLimit(3000), &version, from));
        QVERIFY(version.time - start >= std::chrono::milliseconds(report));

        if (wholeImage)
            EverythingNew(image);
        else
            OneSetting(image);
        QVERIFY(SimDevice_ResetReportsMoved("mouse"));
        start = Clock::now();
        QVERIFY(Write(image));
        took = Clock::now() - start;
        QVERIFY2(took >= std::chrono::milliseconds(writeMs), qPrintable(QString::number(took.count())));
        // The time is the reports' the write moved, no more of them.
        QCOMPARE(SimDevice_ReportsMoved("mouse") * report, writeMs);
    }
};

TALVIRE_TEST_MAIN(DeviceLibLinkTest)
#include "test_devicelib_link.moc"
