// The device image layout and the device records.
#include "core/DeviceAllInfo.h"
#include "core/DongleRGB.h"
#include "core/FlashDataMap.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QtTest>

#include <cstring>

namespace {
// Offsets at which two images differ.
QList<int> ChangedBytes(const FlashDataMap& a, const FlashDataMap& b)
{
    QList<int> changed;
    for (int i = 0; i < FlashDataMap::Size; ++i) {
        if (a.bytes()[i] != b.bytes()[i])
            changed.append(i);
    }
    return changed;
}
} // namespace

class DeviceImageTest : public QObject {
    Q_OBJECT

private slots:
    void defaultImageIsAllZero()
    {
        const FlashDataMap image;
        QCOMPARE(int(sizeof(image)), 10428);
        for (int i = 0; i < FlashDataMap::Size; ++i)
            QCOMPARE(int(image.bytes()[i]), 0);
    }

    void fieldsLieAtTheirOffsets_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("field");
        QTest::newRow("report rate") << 0x00 << 0;
        QTest::newRow("stage count") << 0x01 << 1;
        QTest::newRow("current stage") << 0x02 << 2;
        QTest::newRow("lift-off") << 0x05 << 3;
        QTest::newRow("sensor mode") << 0x0E << 4;
        QTest::newRow("stage 7 blue") << 0x0F + 6 * 7 + 5 << 5;
        QTest::newRow("DPI light mode") << 0x3F << 6;
        QTest::newRow("DPI light on") << 0x42 << 7;
        QTest::newRow("light mode") << 0x43 << 8;
        QTest::newRow("light colour green") << 0x45 << 9;
        QTest::newRow("light on") << 0x49 << 10;
        QTest::newRow("button 0 type") << 0x4A << 11;
        QTest::newRow("button 15 value2") << 0x79 << 12;
        QTest::newRow("kept 0x7B") << 0x7B << 13;
        QTest::newRow("key record 0 count") << 0x7C << 14;
        QTest::newRow("key record 15 last byte") << 0x3BB << 15;
        QTest::newRow("macro 0 name length") << 0x3BC << 16;
        QTest::newRow("macro 15 last byte") << 0x28BB << 17;
    }

    void fieldsLieAtTheirOffsets()
    {
        QFETCH(int, offset);
        QFETCH(int, field);
        FlashDataMap image;
        switch (field) {
        case 0: image.reportRate = 0xA5; break;
        case 1: image.dpiStageCount = 0xA5; break;
        case 2: image.currentDpiStage = 0xA5; break;
        case 3: image.liftOffDistance = 0xA5; break;
        case 4: image.sensorMode = 0xA5; break;
        case 5: image.dpiStages[7].blue = 0xA5; break;
        case 6: image.dpiLightMode = 0xA5; break;
        case 7: image.dpiLightOn = 0xA5; break;
        case 8: image.lightMode = 0xA5; break;
        case 9: image.lightColor[1] = 0xA5; break;
        case 10: image.lightOn = 0xA5; break;
        case 11: image.buttons[0].type = 0xA5; break;
        case 12: image.buttons[15].value2 = 0xA5; break;
        case 13: image.reserved7A[1] = 0xA5; break;
        case 14: image.keys[0].count = 0xA5; break;
        case 15: image.keys[15].events[5].delay = 0xA5000000u; break;
        case 16: image.macros[0].nameLength = 0xA5; break;
        case 17: image.macros[15].events[69].delay = 0xA5000000u; break;
        }
        QCOMPARE(ChangedBytes(FlashDataMap(), image), QList<int>{offset});
    }

    void eventFieldsAreLittleEndian()
    {
        FlashDataMap image;
        image.keys[2].events[1].code = 0x1234;
        image.keys[2].events[1].delay = 0x0A0B0C0Du;
        const int event = 0x7C + 52 * 2 + 4 + 8 * 1;
        QCOMPARE(int(image.bytes()[event + 2]), 0x34);
        QCOMPARE(int(image.bytes()[event + 3]), 0x12);
        QCOMPARE(int(image.bytes()[event + 4]), 0x0D);
        QCOMPARE(int(image.bytes()[event + 7]), 0x0A);
    }

    void button15MacroTouchesOnlyItsBytes()
    {
        FlashDataMap image;
        ButtonFunction function;
        function.type = 6;
        function.value1 = 15;
        function.value2 = 1;
        MacroBlock block;
        std::memset(static_cast<void*>(&block), 0xFF, sizeof block);
        image.buttons[15] = function;
        image.macros[15] = block;
        const QList<int> changed = ChangedBytes(FlashDataMap(), image);
        QCOMPARE(changed.size(), 3 + 592);
        QCOMPARE(changed.first(), 0x77);
        QCOMPARE(changed.at(2), 0x79);
        QCOMPARE(changed.at(3), 0x266C);
        QCOMPARE(changed.last(), 0x28BB);
    }

    void copiesAreWholeImages()
    {
        FlashDataMap image;
        std::memset(image.bytes(), 0x5A, FlashDataMap::Size);
        const FlashDataMap copy = image;
        QVERIFY(std::memcmp(copy.bytes(), image.bytes(), FlashDataMap::Size) == 0);
        QCOMPARE(int(sizeof(DongleRGB)), 10);
        QCOMPARE(int(DongleRGB().option), 0);
    }

    void deviceRecordDefaults()
    {
        const DeviceAllInfo info;
        QCOMPARE(info.path, QString());
        QCOMPARE(info.vid, QStringLiteral("0"));
        QCOMPARE(info.pid, QStringLiteral("0"));
        QCOMPARE(int(info.cid), 0);
        QCOMPARE(int(info.mid), 0);
        QCOMPARE(int(info.linkType), 0);
        QCOMPARE(info.modelIndex, 0);
        QVERIFY(!info.online);
        QVERIFY(!info.wired);
        QVERIFY(info.receiverVersion.isEmpty());
        QVERIFY(info.mouseVersion.isEmpty());
        QVERIFY(info.address.isEmpty());
    }

    void deviceRecordCopiesEveryField()
    {
        DeviceAllInfo info;
        info.path = QStringLiteral("/sim/1");
        info.vid = QStringLiteral("3A17");
        info.pid = QStringLiteral("5211");
        info.cid = 10;
        info.mid = 2;
        info.linkType = 5;
        info.modelIndex = 1;
        info.online = true;
        info.wired = true;
        info.receiverVersion = QStringLiteral("v1.2");
        info.mouseVersion = QStringLiteral("v1.5");
        info.address = {1, 2, 3};
        DeviceAllInfo copy(info);
        DeviceAllInfo assigned;
        assigned = info;
        for (const DeviceAllInfo& other : {copy, assigned}) {
            QCOMPARE(other.path, info.path);
            QCOMPARE(other.vid, info.vid);
            QCOMPARE(other.pid, info.pid);
            QCOMPARE(other.cid, info.cid);
            QCOMPARE(other.mid, info.mid);
            QCOMPARE(other.linkType, info.linkType);
            QCOMPARE(other.modelIndex, info.modelIndex);
            QCOMPARE(other.online, info.online);
            QCOMPARE(other.wired, info.wired);
            QCOMPARE(other.receiverVersion, info.receiverVersion);
            QCOMPARE(other.mouseVersion, info.mouseVersion);
            QCOMPARE(other.address, info.address);
        }
    }

    void wiredAndReceiverKind_data()
    {
        QTest::addColumn<int>("linkType");
        QTest::addColumn<bool>("wired");
        QTest::addColumn<int>("kind");
        QTest::newRow("0") << 0 << false << 1;
        QTest::newRow("4") << 4 << false << 2;
        QTest::newRow("1") << 1 << false << 4;
        QTest::newRow("5") << 5 << false << 8;
        QTest::newRow("2") << 2 << true << 0;
        QTest::newRow("3") << 3 << true << 0;
        QTest::newRow("8") << 8 << true << 0;
        QTest::newRow("0x80") << 0x80 << true << 0;
    }

    void wiredAndReceiverKind()
    {
        QFETCH(int, linkType);
        QFETCH(bool, wired);
        QFETCH(int, kind);
        QCOMPARE(DeviceAllInfo::IsWiredLink(quint8(linkType)), wired);
        QCOMPARE(DeviceAllInfo::ReceiverKind(quint8(linkType)), kind);
    }

    void versionTexts_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("0x0105") << 0x0105 << "v1.5";
        QTest::newRow("0x010A") << 0x010A << "v1.a";
        QTest::newRow("0x01FF") << 0x01FF << "v1.ff";
        QTest::newRow("0x0203") << 0x0203 << "v2.3";
        QTest::newRow("0x0112") << 0x0112 << "v1.12";
        QTest::newRow("0") << 0 << "v0.0";
    }

    void versionTexts()
    {
        QFETCH(int, version);
        QFETCH(QString, text);
        QCOMPARE(DeviceAllInfo::VersionText(quint32(version)), text);
    }

    void addressComparison()
    {
        DeviceAllInfo a, b;
        QVERIFY(!a.SameAddress(b));          // no bytes match nothing
        a.address = {1, 2, 3};
        b.address = {1, 2};
        QVERIFY(!a.SameAddress(b));
        b.address = {1, 2, 3};
        QVERIFY(a.SameAddress(b));
        b.address = {1, 2, 4};
        QVERIFY(!a.SameAddress(b));
    }
};

TALVIRE_TEST_MAIN(DeviceImageTest)
#include "test_device_image.moc"
