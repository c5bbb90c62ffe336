// The device parameter setters against the simulated mouse of the device
// library: the bytes each writes into the live image and into the device, the
// offline path with its notice, and the writes that are refused.
#include "core/FlashDataMap.h"
#include "core/ParameterSetters.h"
#include "core/Worker.h"
#include "core/PostMsg.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/TestImages.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

#include <cstring>
#include <functional>

using SetterCall = std::function<bool()>;
using Bytes = QMap<int, int>;   // offset -> value
Q_DECLARE_METATYPE(SetterCall)

namespace {
void IgnoreReports(const unsigned char*, int, const unsigned char*, int) {}

template <typename Record>
Bytes RecordBytes(int offset, const Record& record)
{
    Bytes bytes;
    const quint8* data = reinterpret_cast<const quint8*>(&record);
    for (int i = 0; i < int(sizeof(Record)); ++i)
        bytes.insert(offset + i, data[i]);
    return bytes;
}

Bytes Merged(Bytes a, const Bytes& b)
{
    for (auto it = b.begin(); it != b.end(); ++it)
        a.insert(it.key(), it.value());
    return a;
}

DeviceEvent Event(quint8 release, quint8 kind, quint16 code, quint32 delay)
{
    DeviceEvent event;
    event.release = release;
    event.kind = kind;
    event.code = code;
    event.delay = delay;
    return event;
}

// Ctrl+C as a key combination: two presses and two releases.
KeyRecord CopyKeys()
{
    KeyRecord keys;
    keys.count = 4;
    keys.events[0] = Event(0, DeviceEvent::Modifier, 0x01, 0);
    keys.events[1] = Event(0, DeviceEvent::Key, 0x06, 0);
    keys.events[2] = Event(1, DeviceEvent::Key, 0x06, 0);
    keys.events[3] = Event(1, DeviceEvent::Modifier, 0x01, 0);
    return keys;
}

MacroBlock TypingMacro()
{
    MacroBlock macro;
    const QByteArray name("Typing");
    macro.nameLength = quint8(name.size());
    std::memcpy(macro.name, name.constData(), size_t(name.size()));
    macro.count = 70;
    for (int i = 0; i < MacroBlock::MaxEvents; ++i)
        macro.events[i] = Event(quint8(i % 2), DeviceEvent::Key, quint16(0x04 + i / 2), quint32(20 + i));
    return macro;
}

DpiStage Stage(quint8 x, quint8 y, quint8 bits, quint8 red, quint8 green, quint8 blue)
{
    DpiStage stage;
    stage.x = x;
    stage.y = y;
    stage.bits = bits;
    stage.red = red;
    stage.green = green;
    stage.blue = blue;
    return stage;
}

void SetBytes(FlashDataMap* image, const Bytes& bytes)
{
    for (auto it = bytes.begin(); it != bytes.end(); ++it)
        image->bytes()[it.key()] = quint8(it.value());
}
} // namespace

class SettersTest : public QObject {
    Q_OBJECT

private slots:
    // Each test starts with the default scenario's mouse behind its receiver,
    // open, and the live image as the mouse holds it.
    void init()
    {
        QVERIFY(SimDevice_Reset());
        const char* path = SimDevice_PathOf("receiver");
        QVERIFY(path);
        QVERIFY(UsbServerC_Start(path, path, IgnoreReports));
        CurrentDevicePath.set(QByteArray(path));
        LiveFlashDataSource.set(QByteArray(path));
        SensorPageLoading = false;
        ButtonPageLoading = false;
        LiveFlashData.set(StoredImage());
    }

    void cleanup()
    {
        SensorPageLoading = false;
        ButtonPageLoading = false;
        UsbServer_Exit();
    }

    void cleanupTestCase()
    {
        UsbLibrary_Shutdown();
    }

    void setter_data()
    {
        QTest::addColumn<SetterCall>("call");
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<int>("writes");
        QTest::addColumn<bool>("checksOnline");

        auto row = [](const char* name, SetterCall call, const Bytes& bytes) {
            QTest::newRow(name) << call << bytes << 1 << true;
        };
        QTest::newRow("CheckDeviceOnline") << SetterCall([] { return CheckDeviceOnline(); }) << Bytes() << 0 << true;
        row("SetReportRate 1000 Hz", [] { return SetReportRate(1); }, {{0x00, 0x01}});
        row("SetReportRate 8000 Hz", [] { return SetReportRate(64); }, {{0x00, 64}});
        row("SetDpiStageCount", [] { return SetDpiStageCount(6); }, {{0x01, 6}});
        row("SetCurrentDpiStage", [] { return SetCurrentDpiStage(3); }, {{0x02, 3}});
        row("SetParamByte03 keeps the low byte", [] { return SetParamByte03(0x1A5); }, {{0x03, 0xA5}});
        row("SetParamByte04", [] { return SetParamByte04(0x5A); }, {{0x04, 0x5A}});
        row("SetLiftOffDistance 0.7 mm", [] { return SetLiftOffDistance(3); }, {{0x05, 3}});
        row("SetDebounceTime", [] { return SetDebounceTime(4); }, {{0x06, 4}});
        row("SetMotionSync", [] { return SetMotionSync(1); }, {{0x07, 1}});
        row("SetLightOffTime", [] { return SetLightOffTime(240); }, {{0x08, 240}});
        row("SetAngleSnapping", [] { return SetAngleSnapping(1); }, {{0x09, 1}});
        row("SetRippleControl", [] { return SetRippleControl(1); }, {{0x0A, 1}});
        row("SetMoveLightOff", [] { return SetMoveLightOff(1); }, {{0x0B, 1}});
        row("SetPerformanceMode", [] { return SetPerformanceMode(1); }, {{0x0C, 1}});
        row("SetSleepTime", [] { return SetSleepTime(30); }, {{0x0D, 30}});
        row("SetSensorMode", [] { return SetSensorMode(2); }, {{0x0E, 2}});
        row("SetDpiStageValue stage 7", [] { return SetDpiStageValue(7, 0x12, 0x34, 0x05); },
            {{0x0F + 42, 0x12}, {0x10 + 42, 0x34}, {0x11 + 42, 0x05}});
        row("SetDpiStageColor stage 0", [] { return SetDpiStageColor(0, 255, 0, 128); },
            {{0x12, 255}, {0x13, 0}, {0x14, 128}});
        const DpiStage a = Stage(0x20, 0x21, 0x01, 10, 20, 30);
        const DpiStage b = Stage(0x40, 0x41, 0x02, 40, 50, 60);
        row("SetDpiStages", [a, b] { return SetDpiStages(a, b, 2, 5, 2); },
            Merged(Merged(RecordBytes(0x0F + 6 * 5, a), RecordBytes(0x0F + 6 * 2, b)), {{0x02, 2}, {0x01, 3}}));
        row("SetDpiLightMode breathing", [] { return SetDpiLightMode(2); }, {{0x3F, 2}, {0x42, 1}});
        row("SetDpiLightMode off keeps the mode", [] { return SetDpiLightMode(0); }, {{0x42, 0}});
        row("SetDpiLightBrightness", [] { return SetDpiLightBrightness(255); }, {{0x40, 255}});
        row("SetDpiLightSpeed", [] { return SetDpiLightSpeed(5); }, {{0x41, 5}});
        row("SetLightMode", [] { return SetLightMode(6); }, {{0x43, 6}, {0x49, 1}});
        row("SetLightMode off keeps the mode", [] { return SetLightMode(0); }, {{0x49, 0}});
        row("SetLightColor", [] { return SetLightColor(1, 2, 3); }, {{0x44, 1}, {0x45, 2}, {0x46, 3}});
        row("SetLightSpeed", [] { return SetLightSpeed(3); }, {{0x47, 3}});
        row("SetLightBrightness", [] { return SetLightBrightness(99); }, {{0x48, 99}});
        row("SetButtonKey button 4", [] { return SetButtonKey(4, 2, 0x10, 0x20); },
            {{0x4A + 12, 2}, {0x4B + 12, 0x10}, {0x4C + 12, 0x20}});
        const ButtonFunction keyFunction{3, 0, 0};
        row("SetButtonKeyData button 0", [keyFunction] { return SetButtonKeyData(0, keyFunction, CopyKeys()); }, Merged(RecordBytes(0x4A, keyFunction), RecordBytes(0x7C, CopyKeys())));
        const ButtonFunction macroFunction{9, 15, 1};
        row("SetButtonMacro button 15", [macroFunction] { return SetButtonMacro(15, macroFunction, TypingMacro()); }, Merged(RecordBytes(0x77, macroFunction), RecordBytes(0x266C, TypingMacro())));
        QTest::newRow("SendFlashData") << SetterCall([] { return SendFlashData(); }) << Bytes() << 1 << false;
    }

    // Online, a setter writes exactly its bytes into the live image, and the
    // device then holds the whole live image.
    void setter()
    {
        QFETCH(SetterCall, call);
        QFETCH(Bytes, bytes);
        QFETCH(int, writes);

        // A starting image on which every byte the row writes changes.
        FlashDataMap before = LiveFlashData.get();
        for (auto it = bytes.begin(); it != bytes.end(); ++it) {
            if (it.key() < 0x7A && before.bytes()[it.key()] == it.value())
                before.bytes()[it.key()] = quint8(it.value() ^ 0x01);
        }
        QVERIFY(ProtocolDataUpdate(&before));
        LiveFlashData.set(before);
        const QByteArray blockBefore = StoredBlock();
        const int writesBefore = SimDevice_WriteCount("mouse");
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        QVERIFY(call());

        FlashDataMap expected = before;
        SetBytes(&expected, bytes);
        const FlashDataMap live = LiveFlashData.get();
        QCOMPARE(ChangedBytes(live, expected), QList<int>());
        QCOMPARE(offline.count(), 0);
        QCOMPARE(SimDevice_WriteCount("mouse"), writesBefore + writes);
        QCOMPARE(ChangedBytes(StoredImage(), live), QList<int>());
        QCOMPARE(StoredBlock() != blockBefore, !bytes.isEmpty());
    }

    // Offline, every setter leaves the image and the device as they were and
    // asks once for the offline notice; not while a page fills its widgets.
    void offline_data()
    {
        setter_data();
    }

    void offline()
    {
        QFETCH(SetterCall, call);
        QFETCH(bool, checksOnline);
        const FlashDataMap before = PatternImage(3);
        LiveFlashData.set(before);
        QVERIFY(SimDevice_Plug("receiver", 0));
        const int writesBefore = SimDevice_WriteCount("mouse");

        struct Case {
            const char* loading;
            int notices;
        };
        for (const Case& c : {Case{"none", 1}, Case{"sensor", 0}, Case{"button", 0}}) {
            SensorPageLoading = QByteArray(c.loading) == "sensor";
            ButtonPageLoading = QByteArray(c.loading) == "button";
            QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
            QVERIFY2(!call(), c.loading);
            QVERIFY2(SameImage(LiveFlashData.get(), before), c.loading);
            QCOMPARE(offline.count(), checksOnline ? c.notices : 0);
            if (!offline.isEmpty())
                QCOMPARE(offline.first().value(0).toInt(), 0);
        }
        QCOMPARE(SimDevice_WriteCount("mouse"), writesBefore);
    }

    // A page fills its widgets under a loading guard: the setters it sets off
    // meanwhile stay quiet about an offline device, and once the fill is over,
    // however it ended, the flag is as it was before and they report again.
    void loadingGuardLastsTheFill()
    {
        QVERIFY(SimDevice_Plug("receiver", 0));
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const auto fill = [](bool leaveEarly) {
            const ScopedFlag loading(ButtonPageLoading);
            if (leaveEarly)
                return SetReportRate(1);
            const ScopedFlag sensor(SensorPageLoading);
            return SetReportRate(2);
        };
        QVERIFY(!fill(true));
        QVERIFY(!fill(false));
        QVERIFY(!ButtonPageLoading);
        QVERIFY(!SensorPageLoading);
        {
            // A fill within a fill leaves the outer one's flag set.
            const ScopedFlag outer(ButtonPageLoading);
            QVERIFY(!fill(true));
            QVERIFY(ButtonPageLoading);
        }
        QVERIFY(!ButtonPageLoading);
        QCOMPARE(offline.count(), 0);
        QVERIFY(!SetReportRate(1));
        QCOMPARE(offline.count(), 1);
    }

    // Until the live image holds the current device's own configuration (none
    // read yet, or another device's), a setter writes nothing and keeps the
    // live image; the device answers, so there is no offline notice either.
    // SendFlashData, which skips the online check, refuses the same way.
    void configurationNotRead_data()
    {
        setter_data();
    }

    void configurationNotRead()
    {
        QFETCH(SetterCall, call);
        const FlashDataMap before = PatternImage(5);
        LiveFlashData.set(before);
        const int writesBefore = SimDevice_WriteCount("mouse");
        for (const QByteArray& source : {QByteArray(), QByteArray("/dev/hidsim/another-device")}) {
            LiveFlashDataSource.set(source);
            QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
            QVERIFY(!call());
            QVERIFY(SameImage(LiveFlashData.get(), before));
            QCOMPARE(offline.count(), 0);
        }
        QCOMPARE(SimDevice_WriteCount("mouse"), writesBefore);
    }

    // The device switched off behind its receiver counts as offline as well.
    void mouseSwitchedOff()
    {
        QVERIFY(SimDevice_SetPower("mouse", 0));
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QVERIFY(!SetReportRate(8));
        QCOMPARE(offline.count(), 1);
        QVERIFY(SimDevice_SetPower("mouse", 1));
        QVERIFY(SetReportRate(8));
        QCOMPARE(int(StoredImage().reportRate), 8);
    }

    // No device chosen yet: nothing to ask, so offline.
    void noCurrentDevice()
    {
        CurrentDevicePath.set(QByteArray());
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QVERIFY(!SetSleepTime(6));
        QCOMPARE(offline.count(), 1);
    }

    // The way the sensor page reorders stages: copies of stages n and m, then
    // n, m and n. The two records change places, n becomes the current stage
    // and the count n + 1.
    void sensorPageExchangesTwoStages()
    {
        const FlashDataMap before = LiveFlashData.get();
        QVERIFY(std::memcmp(&before.dpiStages[1], &before.dpiStages[4], sizeof(DpiStage)) != 0);
        DpiStage n = before.dpiStages[1];
        DpiStage m = before.dpiStages[4];
        QVERIFY(SetDpiStages(n, m, 1, 4, 1));

        FlashDataMap expected = before;
        expected.dpiStages[1] = before.dpiStages[4];
        expected.dpiStages[4] = before.dpiStages[1];
        expected.currentDpiStage = 1;
        expected.dpiStageCount = 2;
        QCOMPARE(ChangedBytes(LiveFlashData.get(), expected), QList<int>());
        QCOMPARE(ChangedBytes(StoredImage(), expected), QList<int>());
    }

    // An index outside the image's records is refused before anything else:
    // no write, no notice, online or not.
    void indexOutOfRange_data()
    {
        QTest::addColumn<SetterCall>("call");
        const ButtonFunction function{1, 1, 0};
        const DpiStage stage = Stage(1, 2, 3, 4, 5, 6);
        auto row = [](const char* name, SetterCall call) { QTest::newRow(name) << call; };
        row("SetButtonKey 16", [] { return SetButtonKey(16, 1, 1, 0); });
        row("SetButtonKey -1", [] { return SetButtonKey(-1, 1, 1, 0); });
        row("SetButtonKeyData 16", [function] { return SetButtonKeyData(16, function, CopyKeys()); });
        row("SetButtonMacro 16", [function] { return SetButtonMacro(16, function, TypingMacro()); });
        row("SetButtonMacro -1", [function] { return SetButtonMacro(-1, function, TypingMacro()); });
        row("SetCurrentDpiStage 8", [] { return SetCurrentDpiStage(8); });
        row("SetDpiStageValue 8", [] { return SetDpiStageValue(8, 1, 1, 0); });
        row("SetDpiStageColor -1", [] { return SetDpiStageColor(-1, 1, 1, 1); });
        row("SetDpiStages index A 8", [stage] { return SetDpiStages(stage, stage, 0, 8, 0); });
        row("SetDpiStages index B -1", [stage] { return SetDpiStages(stage, stage, -1, 0, 0); });
        row("SetDpiStages current 8", [stage] { return SetDpiStages(stage, stage, 0, 1, 8); });
    }

    void indexOutOfRange()
    {
        QFETCH(SetterCall, call);
        const FlashDataMap before = LiveFlashData.get();
        const int writesBefore = SimDevice_WriteCount("mouse");
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        for (int plugged : {1, 0}) {
            QVERIFY(SimDevice_Plug("receiver", plugged));
            QVERIFY(!call());
            QVERIFY(SameImage(LiveFlashData.get(), before));
        }
        QCOMPARE(offline.count(), 0);
        QCOMPARE(SimDevice_WriteCount("mouse"), writesBefore);
    }

    // A write the library reports as failed is a failed setter, without the
    // offline notice. The bytes it changed get their old values back: the
    // refused value does not ride along with the next write, nor reach the
    // cache file that the frame writes from the live image.
    void failedWrite_data()
    {
        QTest::addColumn<int>("chunks");
        QTest::addColumn<SetterCall>("call");
        const SetterCall rate = [] { return SetReportRate(8); };
        const SetterCall macro = [] { return SetButtonMacro(3, ButtonFunction{9, 3, 1}, TypingMacro()); };
        const SetterCall stages = [] {
            return SetDpiStages(Stage(1, 2, 3, 4, 5, 6), Stage(7, 8, 9, 10, 11, 12), 0, 1, 4);
        };
        QTest::newRow("report rate, nothing written") << 0 << rate;
        QTest::newRow("report rate, cut after three chunks") << 3 << rate;
        QTest::newRow("button macro, nothing written") << 0 << macro;
        QTest::newRow("DPI stages, cut after one chunk") << 1 << stages;
    }

    void failedWrite()
    {
        QFETCH(int, chunks);
        QFETCH(SetterCall, call);
        const FlashDataMap before = LiveFlashData.get();
        QVERIFY(before.reportRate != 8);
        QVERIFY(before.sleepTime != 6);
        const QString cacheName = QStringLiteral("Device_CID0A_MID01.bin");
        Worker::WriteDeviceInfoFile(cacheName, before);

        QVERIFY(SimDevice_FailNextWrite(chunks));
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QVERIFY(!call());
        QCOMPARE(offline.count(), 0);
        QCOMPARE(ChangedBytes(LiveFlashData.get(), before), QList<int>());
        // What the frame stores when it closes.
        Worker::WriteDeviceInfoFile(cacheName, LiveFlashData.get());
        FlashDataMap cached;
        QVERIFY(Worker::ReadDeviceInfoFile(cacheName, &cached));
        QCOMPARE(ChangedBytes(cached, before), QList<int>());

        // The next write brings the device up to the live image, without the
        // refused change.
        QVERIFY(SetSleepTime(6));
        FlashDataMap expected = before;
        expected.sleepTime = 6;
        QCOMPARE(ChangedBytes(LiveFlashData.get(), expected), QList<int>());
        QCOMPARE(ChangedBytes(StoredImage(), expected), QList<int>());
    }

    void sendFlashData()
    {
        FlashDataMap image = LiveFlashData.get();
        image.reportRate = 16;
        LiveFlashData.set(image);
        QVERIFY(SendFlashData());
        QCOMPARE(int(StoredImage().reportRate), 16);
        QVERIFY(SimDevice_FailNextWrite(0));
        QVERIFY(!SendFlashData());
        QCOMPARE(ChangedBytes(LiveFlashData.get(), image), QList<int>());
    }
};

TALVIRE_TEST_MAIN(SettersTest)
#include "test_setters.moc"
