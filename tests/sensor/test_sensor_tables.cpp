// The sensor description header and what is read from it (the definition
// table, the feature switches, the DPI segments of a model), the conversion
// of DPI values to the registers of a DPI stage and back, on the simulated
// mouse, and the product's data against both.
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/SensorDefineFile.h"
#include "core/SharedState.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorTables.h"
#include "tests/common/SimImages.h"
#include "tests/sensor/OpenMouse.h"
#include "tests/common/TestEnvironment.h"
#include "tests/sensor/SensorFrameTests.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <limits>
#include <memory>

using Switches = QMap<int, QString>;   // SensorDefineFile::Switch -> model list
Q_DECLARE_METATYPE(Switches)

namespace {
const QStringList TwoSegments{"100", "10000", "50", "10100", "26000", "100", "0x22"};
const QStringList FourSegments{"50", "5000", "50", "5050", "10000", "50", "10100", "20000", "100",
                               "20200", "26000", "200", "0x33"};


// The sensor tables as a fresh program has them.
void ClearSensorTables()
{
    SensorDefineNames.clear();
    SensorDefineValues.clear();
    CurrentSensorModel.clear();
    DpiRangeMode = 0;
    DpiSegmentCount = 0;
    DpiSegmentMinima.clear();
    DpiSegmentMaxima.clear();
    for (DpiSegmentText& texts : DpiSegmentTexts)
        texts = DpiSegmentText();
}

// Writes the bytes as a fixture file and reads it.
SensorDefineFile ReadFixture(const QByteArray& bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("driver_sensor.h"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture file");
    file.close();
    SensorDefineFile defines;
    if (!defines.Read(path))
        qFatal("cannot read the fixture file");
    return defines;
}

Switches SwitchesOf(const SensorDefineFile& defines)
{
    Switches switches;
    for (int s = 0; s < SensorDefineFile::SwitchCount; ++s) {
        const QString text = defines.SwitchText(SensorDefineFile::Switch(s));
        if (!text.isEmpty())
            switches.insert(s, text);
    }
    return switches;
}
} // namespace

class SensorTablesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Sensor> page;

    // Tables of a model: its sensor, its "DPIRange" and a register table.
    void UseModel(const QString& model, const QStringList& range, const QStringList& names = {},
                  const QVector<int>& values = {})
    {
        ClearSensorTables();
        CurrentSensorModel = model;
        page->ReadDpiRange(range);
        SensorDefineNames = names;
        SensorDefineValues = values;
    }

    // The tables of a model of the product description and driver_sensor.h.
    void UseProductModel(int modelIndex)
    {
        ClearSensorTables();
        page->ReadSensorDefines();
        const ProductDescription::Group group = ProductDescription::Instance().Model(modelIndex);
        CurrentSensorModel = group.Text(QStringLiteral("Sensor"));
        page->ReadDpiRange(group.List(QStringLiteral("DPIRange")));
    }

private slots:
    void initTestCase()
    {
        page.reset(new Sensor);
    }

    void init()
    {
        UiReady = true;
        SensorPageLoading = false;
        ButtonPageLoading = false;
    }

    void cleanup()
    {
        UsbServer_Exit();
        ClearSensorTables();
    }

    void cleanupTestCase()
    {
        page.reset();
    }

    void readDefinitions_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QVector<int>>("values");
        QTest::addColumn<Switches>("switches");

        const QStringList dpi800{QStringLiteral("SENSOR_3395_DPI_800")};
        QTest::newRow("hexadecimal") << QByteArray("#define SENSOR_3395_DPI_800\t0x1F\n") << dpi800
                                     << QVector<int>{31} << Switches();
        QTest::newRow("decimal") << QByteArray("#define SENSOR_3395_DPI_800\t31\n") << dpi800 << QVector<int>{31}
                                 << Switches();
        QTest::newRow("capital 0X is no number") << QByteArray("#define SENSOR_3395_DPI_800\t0X1F\n") << dpi800
                                                 << QVector<int>{0} << Switches();
        QTest::newRow("value that is no number") << QByteArray("#define SENSOR_3395_DPI_800\tabc\n") << dpi800
                                                 << QVector<int>{0} << Switches();
        QTest::newRow("one-word comment") << QByteArray("#define SENSOR_3395_DPI_800\t31 //800dpi\n") << dpi800
                                          << QVector<int>{31} << Switches();
        QTest::newRow("one-word comment reads decimal only")
            << QByteArray("#define SENSOR_3395_DPI_800\t0x1F //800dpi\n") << dpi800 << QVector<int>{0}
            << Switches();
        QTest::newRow("two-word comment") << QByteArray("#define SENSOR_3395_DPI_800\t31 //800 dpi\n")
                                          << QStringList() << QVector<int>() << Switches();
        QTest::newRow("TAB after #define") << QByteArray("#define\tSENSOR_3395_DPI_800\t31\n") << QStringList()
                                           << QVector<int>() << Switches();
        QTest::newRow("two spaces before the name") << QByteArray("#define  SENSOR_3395_DPI_800\t31\n") << dpi800
                                                    << QVector<int>{31} << Switches();
        QTest::newRow("no TAB-separated value")
            << QByteArray("#define SENSOR_3395_DPI_800\n#define SUPPORT_RIPPLE\n#define SENSOR_3395_DPI_800\t\n")
            << QStringList() << QVector<int>() << Switches();
        QTest::newRow("header guard and comments")
            << QByteArray("// Sensor tables\n#ifndef DRIVER_SENSOR_H\n#define DRIVER_SENSOR_H\n\n#endif\n")
            << QStringList() << QVector<int>() << Switches();
        QTest::newRow("switch line") << QByteArray("#define SUPPORT_RIPPLE\t3395,3950\n") << QStringList()
                                     << QVector<int>() << Switches{{SensorDefineFile::Ripple, "3395,3950"}};
        QTest::newRow("later switch line wins")
            << QByteArray("#define SUPPORT_FIXLINE\t3395\n#define SUPPORT_FIXLINE\t3950\n") << QStringList()
            << QVector<int>() << Switches{{SensorDefineFile::FixLine, "3950"}};
        QTest::newRow("every switch")
            << QByteArray("#define SUPPORT_SENSOR_MODE_SEL\ta\n#define SUPPORT_LOD_CAL\tb\n"
                          "#define SUPPORT_RIPPLE\tc\n#define SUPPORT_FIXLINE\td\n"
                          "#define SUPPORT_MOTION_SYNC\te\n#define SUPPORT_MOUSEPAD_CAL\tf\n")
            << QStringList() << QVector<int>()
            << Switches{{SensorDefineFile::ModeSelect, "a"}, {SensorDefineFile::LodCal, "b"},
                        {SensorDefineFile::Ripple, "c"},     {SensorDefineFile::FixLine, "d"},
                        {SensorDefineFile::MotionSync, "e"}, {SensorDefineFile::MousepadCal, "f"}};
        QTest::newRow("last line without its line feed")
            << QByteArray("#define SENSOR_3950_DPI_800\t15\n#define SENSOR_3950_DPI_1600\t31")
            << QStringList{QStringLiteral("SENSOR_3950_DPI_800")} << QVector<int>{15} << Switches();
        QTest::newRow("switch on the last line without its line feed")
            << QByteArray("#define SUPPORT_LOD_CAL\t3950") << QStringList() << QVector<int>()
            << Switches{{SensorDefineFile::LodCal, "3950"}};
        QTest::newRow("CR LF line ends")
            << QByteArray("#define SUPPORT_RIPPLE\t3395,3950\r\n#define SENSOR_3950_DPI_800\t0x0F\r\n"
                          "#define SENSOR_3950_DPI_1600\t31 //1600\r\n")
            << QStringList{QStringLiteral("SENSOR_3950_DPI_800"), QStringLiteral("SENSOR_3950_DPI_1600")}
            << QVector<int>{15, 31} << Switches{{SensorDefineFile::Ripple, "3395,3950"}};
        QTest::newRow("duplicates kept in file order")
            << QByteArray("#define B\t2\n#define A\t1\n#define B\t3\n")
            << QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B")} << QVector<int>{2, 1, 3}
            << Switches();
    }

    void readDefinitions()
    {
        QFETCH(QByteArray, file);
        const SensorDefineFile defines = ReadFixture(file);
        QTEST(defines.Names(), "names");
        QTEST(defines.Values(), "values");
        QTEST(SwitchesOf(defines), "switches");
    }

    void missingFileReadsNothing()
    {
        QTemporaryDir dir;
        SensorDefineFile defines;
        QVERIFY(!defines.Read(dir.filePath(QStringLiteral("driver_sensor.h"))));
        QVERIFY(defines.Names().isEmpty());
        QVERIFY(defines.Values().isEmpty());
        QVERIFY(SwitchesOf(defines).isEmpty());
    }

    void dpiTableLookups()
    {
        const QStringList names{QStringLiteral("SENSOR_3950_DPI_800"), QStringLiteral("OTHER"),
                                QStringLiteral("SENSOR_3950_DPI_1600"), QStringLiteral("SENSOR_3950_DPI_MAX")};
        const QVector<int> values{15, 20, 31, 99};
        const QString model = QStringLiteral("3950");
        QVERIFY(SensorDefineFile::HasDpiTable(names, values, model));
        QVERIFY(!SensorDefineFile::HasDpiTable(names, values, QStringLiteral("3395")));
        QCOMPARE(SensorDefineFile::DpiOfRegister(names, values, model, 31), 1600);
        QCOMPARE(SensorDefineFile::DpiOfRegister(names, values, model, 20), -1);   // not the model's entry
        QCOMPARE(SensorDefineFile::DpiOfRegister(names, values, model, 99), 0);    // no number in the name
        QCOMPARE(SensorDefineFile::IndexOfDpi(names, values, model, 1600), 2);
        QCOMPARE(SensorDefineFile::IndexOfDpi(names, values, model, 1000), -1);
        QCOMPARE(SensorDefineFile::DpiOfName(QStringLiteral("SENSOR_3950_DPI_12000")), 12000);
    }

    // An entry of driver_sensor.h that a stage register cannot hold (its
    // DPI or its register value out of range, however large) counts as
    // absent: no lookup finds it, a DPI is written with the entries that
    // remain, and nothing overflows.
    void entriesARegisterCannotHoldAreAbsent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("held");
        const auto row = [](const char* tag, const char* name, int value, bool held) {
            QTest::newRow(tag) << QString::fromLatin1(name) << value << held;
        };
        row("DPI beyond 64 bits", "SENSOR_3950_DPI_99999999999999999999999", 40, false);
        row("DPI beyond int", "SENSOR_3950_DPI_99999999999", 40, false);
        row("DPI beyond int, its low 32 bits a stage DPI", "SENSOR_3950_DPI_4294968096", 40, false);
        row("the largest int as DPI", "SENSOR_3950_DPI_2147483647", 40, false);
        row("the smallest int as DPI", "SENSOR_3950_DPI_-2147483648", 40, false);
        row("DPI above the largest stage", "SENSOR_3950_DPI_204850", 40, false);
        row("register above a byte", "SENSOR_3950_DPI_2400", 256, false);
        row("the largest int as register", "SENSOR_3950_DPI_2400", std::numeric_limits<int>::max(), false);
        row("negative register", "SENSOR_3950_DPI_2400", -1, false);
        row("the largest stage DPI", "SENSOR_3950_DPI_204800", 40, true);
    }

    void entriesARegisterCannotHoldAreAbsent()
    {
        QFETCH(QString, name);
        QFETCH(int, value);
        QFETCH(bool, held);
        const QString model = QStringLiteral("3950");
        const QStringList table{QStringLiteral("SENSOR_3950_DPI_800"), QStringLiteral("SENSOR_3950_DPI_1600"), name};
        const QVector<int> registers{15, 31, value};
        const int dpi = SensorDefineFile::DpiOfName(name);
        QCOMPARE(dpi >= 0 && value >= 0 && value <= 255, held);
        QCOMPARE(SensorDefineFile::EntryDpi(table, registers, model, 2), held ? dpi : -1);
        QCOMPARE(SensorDefineFile::DpiOfRegister(table, registers, model, value), held ? dpi : -1);
        if (dpi >= 0)
            QCOMPARE(SensorDefineFile::IndexOfDpi(table, registers, model, dpi), held ? 2 : -1);
        // Alone, the entry is no table.
        QCOMPARE(SensorDefineFile::HasDpiTable({name}, {value}, model), held);

        QVERIFY(OpenMouse());
        UseModel(model, TwoSegments, table, registers);
        // The stage record's register byte of the entry stands for its DPI,
        // times the bank's factor, or for none.
        for (const auto& bank : {qMakePair(0x00, 1), qMakePair(0x22, 2), qMakePair(0x33, 4)})
            QCOMPARE(StageDpiFromRegisters(value & 0xFF, bank.first), held ? dpi * bank.second : 0);
        // The nearest entry to the extremes of int, in each bank.
        QCOMPARE(WriteDpiStage(3, std::numeric_limits<int>::max()), held ? dpi * 2 : 3200);
        QCOMPARE(WriteDpiStage(3, std::numeric_limits<int>::min()), 800);
    }

    // The page keeps the six feature lists; a later line of a switch wins and
    // the line feed is not part of the list.
    void pageTakesSwitches()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("driver_sensor.h"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#define SUPPORT_SENSOR_MODE_SEL\t3395\n#define SUPPORT_LOD_CAL\t3950\n"
                   "#define SUPPORT_RIPPLE\t3389\n#define SUPPORT_RIPPLE\t3395,3950\n"
                   "#define SUPPORT_FIXLINE\t3395\n#define SUPPORT_MOTION_SYNC\t3395,3950\n"
                   "#define SUPPORT_MOUSEPAD_CAL\t3950\n#define SENSOR_3950_DPI_800\t0x0F\n");
        file.close();
        ClearSensorTables();
        Sensor sensor;
        ClearSensorTables();
        sensor.ReadSensorDefines(path);
        QCOMPARE(sensor.ModeSelectSensors, QStringLiteral("3395"));
        QCOMPARE(sensor.LodCalSensors, QStringLiteral("3950"));
        QCOMPARE(sensor.RippleSensors, QStringLiteral("3395,3950"));
        QCOMPARE(sensor.FixLineSensors, QStringLiteral("3395"));
        QCOMPARE(sensor.MotionSyncSensors, QStringLiteral("3395,3950"));
        QCOMPARE(sensor.MousepadCalSensors, QStringLiteral("3950"));
        QCOMPARE(SensorDefineNames, QStringList{QStringLiteral("SENSOR_3950_DPI_800")});
        QCOMPARE(SensorDefineValues, QVector<int>{15});
        // Read again, the table grows: it is filled once, never cleared.
        sensor.ReadSensorDefines(path);
        QCOMPARE(SensorDefineNames.size(), 2);
    }

    void featureSupported_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("supported");
        QTest::newRow("listed") << "3395" << true;
        QTest::newRow("not listed") << "3389" << false;
        QTest::newRow("part of a listed model") << "395" << true;
        QTest::newRow("no model yet") << "" << true;
    }

    void featureSupported()
    {
        QFETCH(QString, model);
        CurrentSensorModel = model;
        QTEST(SensorFeatureSupported(QStringLiteral("3395,3950")), "supported");
    }

    void dpiRange_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QVector<int>>("minima");
        QTest::addColumn<QVector<int>>("maxima");
        QTest::addColumn<QStringList>("rangeTexts");
        QTest::addColumn<QStringList>("steps");

        QTest::newRow("two segments") << TwoSegments << 0x22 << QVector<int>{100, 10100}
                                      << QVector<int>{10000, 26000} << QStringList{"100", "26000"}
                                      << QStringList{"50", "100"};
        QTest::newRow("four segments") << ProductDescription::Instance().Model(1).List(QStringLiteral("DPIRange"))
                                       << 0x33 << QVector<int>{50, 5100, 10100, 20200}
                                       << QVector<int>{5000, 10000, 20000, 30000} << QStringList{"50", "30000"}
                                       << QStringList{"50", "100", "100", "200"};
        QTest::newRow("mode without 0x") << QStringList{"100", "10000", "50", "10100", "26000", "100", "22"}
                                         << 0x22 << QVector<int>{100, 10100} << QVector<int>{10000, 26000}
                                         << QStringList{"100", "26000"} << QStringList{"50", "100"};
        QTest::newRow("missing") << QStringList() << 0 << QVector<int>() << QVector<int>()
                                 << QStringList{"kept", "kept"} << QStringList();
        // Numbers a stage register cannot hold make the range absent, as a
        // missing one.
        const auto unholdable = [](const char* tag, const QStringList& items) {
            QTest::newRow(tag) << items << 0 << QVector<int>() << QVector<int>() << QStringList{"kept", "kept"}
                               << QStringList();
        };
        unholdable("maximum beyond int", {"100", "99999999999", "50", "0x22"});
        unholdable("the largest int as maximum and step", {"100", "2147483647", "2147483647", "0x22"});
        unholdable("the smallest int as minimum", {"-2147483648", "10000", "50", "0x22"});
        unholdable("above the largest stage DPI", {"100", "10000", "50", "10100", "204850", "100", "0x22"});
        unholdable("a step beyond int in the second segment",
                   {"100", "10000", "50", "10100", "26000", "4294967296", "0x22"});
        unholdable("a number that is none", {"100", "ten thousand", "50", "0x22"});
        QStringList seven;
        for (int s = 0; s < 7; ++s)
            seven << QString::number(s * 1000 + 100) << QString::number(s * 1000 + 900) << "100";
        seven << "0x33";
        QTest::newRow("seven segments") << seven << 0 << QVector<int>() << QVector<int>()
                                        << QStringList{"kept", "kept"} << QStringList();
    }

    void dpiRange()
    {
        QFETCH(QStringList, items);
        QFETCH(QVector<int>, minima);
        QFETCH(QStringList, steps);
        // A range read before: what an unusable one leaves standing.
        page->ReadDpiRange(FourSegments);
        page->DpiRangeMinText = page->DpiRangeMaxText = QStringLiteral("kept");

        page->ReadDpiRange(items);
        QTEST(DpiRangeMode, "mode");
        QCOMPARE(DpiSegmentCount, minima.size());
        QCOMPARE(DpiSegmentMinima, minima);
        QTEST(DpiSegmentMaxima, "maxima");
        QTEST((QStringList{page->DpiRangeMinText, page->DpiRangeMaxText}), "rangeTexts");
        for (int s = 0; s < MaxDpiSegments; ++s) {
            const DpiSegmentText& texts = DpiSegmentTexts[s];
            if (s < minima.size()) {
                QCOMPARE(texts.MinText.toInt(), minima.at(s));
                QCOMPARE(texts.StepText, steps.at(s));
            } else {
                QVERIFY(texts.MinText.isEmpty() && texts.MaxText.isEmpty() && texts.StepText.isEmpty());
            }
        }
    }

    // A DPI written to a stage of the simulated mouse: the registers it
    // stores, the DPI reported back as written, and the DPI decoded from
    // what it stores.
    void encoding_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("range");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QVector<int>>("values");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("written");

        const QStringList none;
        const QStringList table{"SENSOR_3950_DPI_800", "SENSOR_3950_DPI_1600"};
        const QVector<int> registers{15, 31};
        auto row = [&](const char* name, const char* model, const QStringList& range, int dpi, int x, int bits,
                       int written, const QStringList& names = {}, const QVector<int>& values = {}) {
            QTest::newRow(name) << model << range << names << values << dpi << x << bits << written;
        };
        row("800 in the first segment", "3395", TwoSegments, 800, 15, 0x00, 800);
        row("12000 in the second segment", "3395", TwoSegments, 12000, 119, 0x22, 12000);
        row("26000: register 259 with its bits 8-9", "3395", TwoSegments, 26000, 3, 0x66, 26000);
        row("26000 on an 8-bit sensor is held at 25600", "3389", TwoSegments, 26000, 255, 0x22, 25600);
        row("40 is held at the lowest register", "3395", TwoSegments, 40, 0, 0x00, 50);
        row("825 between two steps", "3395", TwoSegments, 825, 15, 0x00, 800);
        row("four segments: 6000", "3395", FourSegments, 6000, 59, 0x22, 6000);
        row("four segments: 12000", "3395", FourSegments, 12000, 119, 0x11, 12000);
        row("four segments: 26000", "3395", FourSegments, 26000, 129, 0x33, 26000);
        row("no range read: 26000 is register 519", "3395", none, 26000, 7, 0x88, 26000);
        row("no range read: 60000 is held at register 1023", "3395", none, 60000, 255, 0xCC, 51200);
        row("table entry", "3950", TwoSegments, 1600, 31, 0x00, 1600, table, registers);
        row("table without the DPI: the nearest entry", "3950", TwoSegments, 1000, 15, 0x00, 800, table,
            registers);
        row("table, two entries as near: the lower", "3950", TwoSegments, 1200, 15, 0x00, 800, table, registers);
        row("table, above the first segment", "3950", TwoSegments, 26000, 31, 0x22, 3200, table, registers);
    }

    void encoding()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, range);
        QFETCH(QStringList, names);
        QFETCH(QVector<int>, values);
        QFETCH(int, dpi);
        QFETCH(int, x);
        QFETCH(int, bits);
        QFETCH(int, written);
        QVERIFY(OpenMouse());
        UseModel(model, range, names, values);

        QCOMPARE(WriteDpiStage(3, dpi), written);
        const DpiStage stored = StoredImage().dpiStages[3];
        QCOMPARE(int(stored.x), x);
        QCOMPARE(int(stored.y), x);
        QCOMPARE(int(stored.bits), bits);
        QCOMPARE(StageDpiFromRegisters(stored.x, stored.bits), written);
    }

    // A register the model's table does not hold stands for no DPI.
    void decodingWithoutTableEntry()
    {
        UseModel(QStringLiteral("3950"), TwoSegments, {"SENSOR_3950_DPI_800", "SENSOR_3950_DPI_1600"}, {15, 31});
        QCOMPARE(StageDpiFromRegisters(20, 0x00), 0);
        QCOMPARE(StageDpiFromRegisters(31, 0x22), 3200);
        QCOMPARE(StageDpiFromRegisters(15, 0x33), 3200);
    }

    void writesOnlyAChosenStage()
    {
        QVERIFY(OpenMouse());
        UseModel(QStringLiteral("3395"), TwoSegments);
        const QByteArray before = StoredBlock();
        const int writes = SimDevice_WriteCount("mouse");
        QCOMPARE(WriteDpiStage(-1, 800), -1);
        QCOMPARE(WriteDpiStage(8, 800), -1);
        QCOMPARE(SimDevice_WriteCount("mouse"), writes);
        QCOMPARE(StoredBlock(), before);
    }

    void mouseSwitchedOff()
    {
        QVERIFY(OpenMouse());
        UseModel(QStringLiteral("3395"), TwoSegments);
        QVERIFY(SimDevice_SetPower("mouse", 0));
        const QByteArray before = StoredBlock();
        const FlashDataMap image = LiveFlashData.get();
        QSignalSpy offline(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        QCOMPARE(WriteDpiStage(2, 12000), 12000);
        QCOMPARE(StoredBlock(), before);
        QVERIFY(std::memcmp(LiveFlashData.get().bytes(), image.bytes(), FlashDataMap::Size) == 0);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.first().first().toInt(), 0);
    }

    // Every DPI the DPI panel can give a stage of either model (each segment
    // from its minimum to its maximum in its step) is stored on that model's
    // mouse so that it reads back as itself; the table model finds each of
    // them in its table.
    void productModels_data()
    {
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<QByteArray>("scenario");
        QTest::newRow("model 1") << 0 << QByteArray(R"({"mice": [{"id": "mouse", "model": 1, "cable": true}]})");
        QTest::newRow("model 2") << 1 << QByteArray(R"({"mice": [{"id": "mouse", "model": 2, "cable": true}]})");
    }

    void productModels()
    {
        QFETCH(int, modelIndex);
        QFETCH(QByteArray, scenario);
        QVERIFY(OpenMouse(scenario.constData()));
        UseProductModel(modelIndex);
        QVERIFY(DpiSegmentCount > 0);
        const bool table = SensorDefineFile::HasDpiTable(SensorDefineNames, SensorDefineValues, CurrentSensorModel);
        QCOMPARE(table, modelIndex == 1);
        int stage = 0;
        for (int s = 0; s < DpiSegmentCount; ++s) {
            const int step = DpiSegmentTexts[s].StepText.toInt();
            QVERIFY(step > 0);
            for (int dpi = DpiSegmentMinima.at(s); dpi <= DpiSegmentMaxima.at(s); dpi += step) {
                const QByteArray what = QByteArray::number(dpi);
                if (table) {
                    const int c = dpi > 20000 ? 4 : dpi > 5000 ? 2 : 1;
                    QVERIFY2(SensorDefineFile::IndexOfDpi(SensorDefineNames, SensorDefineValues, CurrentSensorModel,
                                                          dpi / c)
                                 >= 0,
                             what);
                }
                stage = (stage + 1) % 8;
                QVERIFY2(WriteDpiStage(stage, dpi) == dpi, what);
                const DpiStage stored = StoredImage().dpiStages[stage];
                QVERIFY2(StageDpiFromRegisters(stored.x, stored.bits) == dpi, what);
            }
        }
    }

    // The file beside the program: the switches of both models and the whole
    // register table of the table model.
    void productFile()
    {
        SensorDefineFile defines;
        QVERIFY(defines.Read());
        QCOMPARE(SwitchesOf(defines),
                 (Switches{{SensorDefineFile::ModeSelect, "3395"},
                           {SensorDefineFile::LodCal, "3950"},
                           {SensorDefineFile::Ripple, "3395"},
                           {SensorDefineFile::FixLine, "3395"},
                           {SensorDefineFile::MotionSync, "3395,3950"},
                           {SensorDefineFile::MousepadCal, "3950"}}));
        QCOMPARE(defines.Names().size(), 200);
        QVERIFY(!SensorDefineFile::HasDpiTable(defines.Names(), defines.Values(), QStringLiteral("3395")));
        for (int dpi = 50; dpi <= 10000; dpi += 50) {
            const int index
                = SensorDefineFile::IndexOfDpi(defines.Names(), defines.Values(), QStringLiteral("3950"), dpi);
            QVERIFY2(index >= 0, qPrintable(QString::number(dpi)));
            QCOMPARE(defines.Values().at(index), dpi / 50 - 1);
        }
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    SensorTablesTest tables;
    SensorFrameTests frames;
    int status = QTest::qExec(&tables, argc, argv);
    status |= QTest::qExec(&frames, argc, argv);
    UsbLibrary_Shutdown();
    return status;
}
#include "test_sensor_tables.moc"
