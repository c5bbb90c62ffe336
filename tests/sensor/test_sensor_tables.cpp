// The sensor description header and what is read from it: the definition
// table and the feature switches, from fixture files and from the product's
// own file.
#include "core/SensorDefineFile.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Switches = QMap<int, QString>;   // SensorDefineFile::Switch -> model list
Q_DECLARE_METATYPE(Switches)

namespace {
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

private slots:
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
        QVERIFY(SensorDefineFile::HasDpiTable(names, model));
        QVERIFY(!SensorDefineFile::HasDpiTable(names, QStringLiteral("3395")));
        QCOMPARE(SensorDefineFile::DpiOfRegister(names, values, model, 31), 1600);
        QCOMPARE(SensorDefineFile::DpiOfRegister(names, values, model, 20), -1);   // not the model's entry
        QCOMPARE(SensorDefineFile::DpiOfRegister(names, values, model, 99), 0);    // no number in the name
        QCOMPARE(SensorDefineFile::IndexOfDpi(names, model, 1600), 2);
        QCOMPARE(SensorDefineFile::IndexOfDpi(names, model, 1000), -1);
        QCOMPARE(SensorDefineFile::DpiOfName(QStringLiteral("SENSOR_3950_DPI_12000")), 12000);
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
        QVERIFY(!SensorDefineFile::HasDpiTable(defines.Names(), QStringLiteral("3395")));
        for (int dpi = 50; dpi <= 10000; dpi += 50) {
            const int index = SensorDefineFile::IndexOfDpi(defines.Names(), QStringLiteral("3950"), dpi);
            QVERIFY2(index >= 0, qPrintable(QString::number(dpi)));
            QCOMPARE(defines.Values().at(index), dpi / 50 - 1);
        }
    }
};

TALVIRE_TEST_MAIN(SensorTablesTest)
#include "test_sensor_tables.moc"
