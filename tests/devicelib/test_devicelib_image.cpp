// The device library's image conversions: the whole block, the partial records
// and the report decoders, through the C API.
#include "core/FlashDataMap.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QtTest>

#include <cstring>
#include <vector>

namespace {
using Block = std::vector<unsigned char>;

void RandomEvent(QRandomGenerator& random, DeviceEvent* event, quint32 maxDelay)
{
    static const quint8 Kinds[] = {DeviceEvent::Modifier, DeviceEvent::Key, DeviceEvent::Consumer, DeviceEvent::Mouse};
    event->release = quint8(random.bounded(2));
    event->kind = Kinds[random.bounded(4)];
    event->code = quint16(random.bounded(0x10000));
    event->delay = random.generate() % (maxDelay + 1);
}

// An image the program can make: any settings bytes, key records of up to 6
// events, macros of up to 70 events and names of up to 30 bytes, delays the
// device can hold.
FlashDataMap RandomImage(QRandomGenerator& random)
{
    FlashDataMap image;
    for (int i = 0; i < 0x7C; ++i)
        image.bytes()[i] = quint8(random.bounded(256));
    for (KeyRecord& key : image.keys) {
        key.count = quint8(random.bounded(KeyRecord::MaxEvents + 1));
        for (DeviceEvent& event : key.events)
            RandomEvent(random, &event, 65535);
    }
    for (MacroBlock& macro : image.macros) {
        macro.nameLength = quint8(random.bounded(MacroBlock::MaxNameLength + 1));
        for (int i = 0; i < macro.nameLength; ++i)
            macro.name[i] = char(random.bounded(1, 256));
        macro.count = quint8(random.bounded(MacroBlock::MaxEvents + 1));
        for (DeviceEvent& event : macro.events)
            RandomEvent(random, &event, 0xFFFFF);
    }
    return image;
}

Block StoredBlock()
{
    Block block(DIVAZA_DEVICE_BLOCK_SIZE);
    SimDevice_ReadDeviceBlock("mouse", -1, block.data(), int(block.size()));
    return block;
}

FlashDataMap Parsed(const Block& block)
{
    FlashDataMap image;
    ProtocolDataParser(block.data(), &image);
    return image;
}

int FirstDifference(const FlashDataMap& a, const FlashDataMap& b)
{
    for (int i = 0; i < FlashDataMap::Size; ++i) {
        if (a.bytes()[i] != b.bytes()[i])
            return i;
    }
    return -1;
}
} // namespace

class DeviceLibImageTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(SimDevice_Reset());
        QVERIFY(UsbServerC_Start(SimDevice_PathOf("receiver"), SimDevice_PathOf("receiver"), nullptr));
    }

    void cleanupTestCase() { UsbLibrary_Shutdown(); }

    void generatedImagesSurviveWriteAndRead()
    {
        QRandomGenerator random(20240611);
        for (int round = 0; round < 200; ++round) {
            FlashDataMap image = RandomImage(random);
            const FlashDataMap sent = image;
            QVERIFY(ProtocolDataUpdate(&image));
            QCOMPARE(FirstDifference(sent, image), -1);     // the caller's image is not touched
            const FlashDataMap back = Parsed(StoredBlock());
            QCOMPARE(FirstDifference(back, sent), -1);
        }
    }

    void partialRecordsAreSlicesOfTheBlock()
    {
        QRandomGenerator random(7);
        FlashDataMap image = RandomImage(random);
        QVERIFY(ProtocolDataUpdate(&image));
        const Block block = StoredBlock();
        QCOMPARE(int(block[0x00]), int(image.reportRate));
        QCOMPARE(int(block[0x04]), int(image.currentDpiStage));

        FlashDataMap patched;
        QVERIFY(BufferToDPILed(block.data() + 0x4C, &patched.dpiLightMode));
        QVERIFY(BufferToLedBar(block.data() + 0xA0, &patched.lightMode));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(image.bytes()) + 0x3F, 11),
                 QByteArray(reinterpret_cast<const char*>(patched.bytes()) + 0x3F, 11));
    }

    void lightDecodersWriteOnlyTheirBytes_data()
    {
        QTest::addColumn<bool>("dpiLight");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("DPI light") << true << 0x3F << 0x42;
        QTest::newRow("light bar") << false << 0x43 << 0x49;
    }

    void lightDecodersWriteOnlyTheirBytes()
    {
        QFETCH(bool, dpiLight);
        QFETCH(int, first);
        QFETCH(int, last);
        std::vector<unsigned char> image(FlashDataMap::Size, 0xEE);
        const unsigned char record[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        QVERIFY(dpiLight ? BufferToDPILed(record, image.data() + first) : BufferToLedBar(record, image.data() + first));
        for (int i = 0; i < FlashDataMap::Size; ++i) {
            if (i < first || i > last)
                QVERIFY2(image[size_t(i)] == 0xEE, qPrintable(QStringLiteral("byte 0x%1 changed").arg(i, 0, 16)));
            else
                QVERIFY2(image[size_t(i)] != 0xEE, qPrintable(QStringLiteral("byte 0x%1 unset").arg(i, 0, 16)));
        }
    }

    void parserWritesEveryByte()
    {
        const Block block = StoredBlock();
        FlashDataMap zero;
        FlashDataMap filled;
        std::memset(filled.bytes(), 0xCC, FlashDataMap::Size);
        QVERIFY(ProtocolDataParser(block.data(), &zero));
        QVERIFY(ProtocolDataParser(block.data(), &filled));
        QCOMPARE(FirstDifference(zero, filled), -1);
    }

    void deviceBytesSurviveWrites()
    {
        // Bytes of the block that carry no image field belong to the device.
        const Block before = StoredBlock();
        FlashDataMap image;
        QVERIFY(ProtocolDataUpdate(&image));
        const Block after = StoredBlock();
        for (int i : {0x0F0, 0x0F5, 0x050, 0x053, 0x0A7, 0x0A8})
            QCOMPARE(int(after[size_t(i)]), int(before[size_t(i)]));
        QVERIFY(before[0x0F0] != 0);
    }

    void valuesBeyondTheDevicesRecordsAreCut_data()
    {
        QTest::addColumn<quint32>("delay");
        QTest::addColumn<int>("keyCount");
        QTest::addColumn<int>("macroCount");
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<quint32>("storedDelay");
        QTest::addColumn<int>("storedKeyCount");
        QTest::addColumn<int>("storedMacroCount");
        QTest::addColumn<int>("storedNameLength");
        QTest::newRow("largest") << 0xFFFFFu << 6 << 70 << 30 << 0xFFFFFu << 6 << 70 << 30;
        QTest::newRow("beyond") << 0x100000u << 9 << 71 << 48 << 0xFFFFFu << 6 << 70 << 30;
    }

    void valuesBeyondTheDevicesRecordsAreCut()
    {
        QFETCH(quint32, delay);
        QFETCH(int, keyCount);
        QFETCH(int, macroCount);
        QFETCH(int, nameLength);
        FlashDataMap image;
        image.keys[3].count = quint8(keyCount);
        image.macros[15].count = quint8(macroCount);
        image.macros[15].nameLength = quint8(nameLength);
        image.macros[15].events[69].delay = delay;
        QVERIFY(ProtocolDataUpdate(&image));
        const FlashDataMap back = Parsed(StoredBlock());
        QTEST(quint32(back.macros[15].events[69].delay), "storedDelay");
        QTEST(int(back.keys[3].count), "storedKeyCount");
        QTEST(int(back.macros[15].count), "storedMacroCount");
        QTEST(int(back.macros[15].nameLength), "storedNameLength");
    }

    void factorySettingsOfTheDefaultMouse()
    {
        const FlashDataMap image = Parsed(StoredBlock());
        QCOMPARE(int(image.reportRate), 1);
        QCOMPARE(int(image.dpiStageCount), 5);
        QCOMPARE(int(image.currentDpiStage), 1);
        // Register codes of sensor 3395: dpi / 50 - 1 up to 10000, dpi / 100 - 1 with flags 0x22 above.
        const int registers[8] = {7, 15, 31, 63, 127, 127, 159, 3};
        const int flags[8] = {0, 0, 0, 0, 0, 0x22, 0x22, 0x66};
        for (int s = 0; s < 8; ++s) {
            QCOMPARE(int(image.dpiStages[s].x), registers[s]);
            QCOMPARE(int(image.dpiStages[s].y), registers[s]);
            QCOMPARE(int(image.dpiStages[s].bits), flags[s]);
        }
        QCOMPARE(int(image.dpiStages[0].red), 255);
        QCOMPARE(int(image.dpiStages[3].green), 195);
        QCOMPARE(int(image.dpiLightOn), 1);
        const int functions[6][3] = {{1, 1, 0}, {1, 2, 0}, {1, 4, 0}, {1, 8, 0}, {6, 4, 1}, {2, 1, 0}};
        for (int b = 0; b < 6; ++b) {
            QCOMPARE(int(image.buttons[b].type), functions[b][0]);
            QCOMPARE(int(image.buttons[b].value1), functions[b][1]);
            QCOMPARE(int(image.buttons[b].value2), functions[b][2]);
        }
        QCOMPARE(QByteArray(image.macros[4].name, image.macros[4].nameLength), QByteArray("CopyPaste"));
        QCOMPARE(int(image.macros[4].count), 8);
        QCOMPARE(int(image.macros[4].events[1].code), 0x06);
    }

    void batteryAndStatusDecoders()
    {
        const unsigned char battery[4] = {80, 1, 0x12, 0x0F};
        unsigned char out[4] = {9, 9, 9, 9};
        QVERIFY(GetDeviceBatteryStatus(battery, out));
        QCOMPARE(int(out[0]), 80);
        QCOMPARE(int(out[1]), 1);
        const unsigned char overfull[2] = {250, 0};
        QVERIFY(GetDeviceBatteryStatus(overfull, out));
        QCOMPARE(int(out[0]), 100);
        QCOMPARE(int(out[1]), 0);

        const unsigned char status[7] = {1, 0, 3, 0, 0, 0, 1};
        unsigned char flags[7];
        std::memset(flags, 9, sizeof flags);
        QVERIFY(GetDeviceStatusChanged(status, flags));
        const unsigned char expected[7] = {1, 0, 1, 0, 0, 0, 1};
        QCOMPARE(QByteArray(reinterpret_cast<char*>(flags), 7), QByteArray(reinterpret_cast<const char*>(expected), 7));
    }

    void nullArgumentsAreRefused()
    {
        FlashDataMap image;
        unsigned char buffer[16] = {};
        QCOMPARE(ProtocolDataParser(nullptr, &image), 0);
        QCOMPARE(ProtocolDataParser(buffer, nullptr), 0);
        QCOMPARE(ProtocolDataUpdate(nullptr), 0);
        QCOMPARE(BufferToDPILed(nullptr, buffer), 0);
        QCOMPARE(BufferToDPILed(buffer, nullptr), 0);
        QCOMPARE(BufferToLedBar(nullptr, buffer), 0);
        QCOMPARE(BufferToLedBar(buffer, nullptr), 0);
        QCOMPARE(GetDeviceBatteryStatus(nullptr, buffer), 0);
        QCOMPARE(GetDeviceStatusChanged(buffer, nullptr), 0);
    }

    void writesNeedAReachableMouse()
    {
        FlashDataMap image;
        QVERIFY(UsbServer_Exit());
        QCOMPARE(ProtocolDataUpdate(&image), 0);
        QVERIFY(UsbServerC_Start(SimDevice_PathOf("receiver"), SimDevice_PathOf("receiver"), nullptr));
        QVERIFY(SimDevice_SetPower("mouse", 0));
        QCOMPARE(ProtocolDataUpdate(&image), 0);
        QCOMPARE(SimDevice_WriteCount("mouse"), 0);
    }

    void aBrokenWriteReportsFailureAndLeavesAPartialBlock()
    {
        const Block before = StoredBlock();
        QRandomGenerator random(99);
        FlashDataMap image = RandomImage(random);
        QVERIFY(SimDevice_FailNextWrite(2));
        QCOMPARE(ProtocolDataUpdate(&image), 0);
        const Block after = StoredBlock();
        QVERIFY(std::memcmp(after.data() + 128, before.data() + 128, after.size() - 128) == 0);
        QCOMPARE(int(after[0]), int(image.reportRate));
        QCOMPARE(SimDevice_WriteCount("mouse"), 0);

        QVERIFY(ProtocolDataUpdate(&image));
        QCOMPARE(FirstDifference(Parsed(StoredBlock()), image), -1);
        QCOMPARE(SimDevice_WriteCount("mouse"), 1);
    }
};

TALVIRE_TEST_MAIN(DeviceLibImageTest)
#include "test_devicelib_image.moc"
