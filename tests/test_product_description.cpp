// The product description shipped beside the program parses with the key table
// the program reads; the typed reader over it, on a small description with
// missing keys, short colour lists and model groups.
#include "core/ConfigIni.h"
#include "core/ProductDescription.h"
#include "core/StyleSheet.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
// Ids and product ids Base64-coded, as the program's own file has them.
const char Fixture[] =
    "[Option]\n"
    "DeviceTotal=3\n"
    "CID=MTA=\n"
    "VID=M0ExNw==\n"
    "USB_PID=NTIwMQ==\n"
    "Wireless_PID=NTIxMQ==, NTIyMQ==\n"
    "Wireless4_PID=NTIxNA==\n"
    "ShowBatteryValue=12abc\n"
    "LabelColor=10, 20, 30\n"
    "ShortColor=10, 20\n"
    "OneColor=128\n"
    "EmptyColor=\n"
    "WideColor=10, 300, 30\n"
    "NegativeColor=10, -1, 30\n"
    "WordColor=red, 20, 30\n"
    "LongColor=1, 2, 3, 4\n"
    "\n"
    "[Drive1]\n"
    "MID=1\n"
    "DPIRange=100, 10000, 50, 0x22\n"
    "KeyParam1=0x01, 0x01, 0x00\n"
    "Adveanced=1\n"
    "\n"
    "[Drive2]\n"
    "MID=7\n"
    "\n"
    "[Drive3]\n"
    "MID=7\n"
    "\n"
    "[Drive4]\n"
    "MID=9\n";
} // namespace

class ProductDescriptionTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<ConfigIni> fixtureStore_;
    std::unique_ptr<ProductDescription> fixture_;

private:
    ConfigIni* config() { return ConfigIni::Instance(); }
    const ProductDescription& fixture() const { return *fixture_; }

    void verifyColour(const QString& key)
    {
        const QStringList rgb = config()->GetValueList(QStringLiteral("Option"), key);
        QVERIFY2(rgb.size() == 3, qPrintable(key));
        for (const QString& item : rgb) {
            bool ok = false;
            const int value = item.trimmed().toInt(&ok);
            QVERIFY2(ok && value >= 0 && value <= 255, qPrintable(key));
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        const QString path = dir_.filePath(QStringLiteral("Config.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(Fixture) == qint64(sizeof(Fixture) - 1));
        file.close();
        fixtureStore_ = std::make_unique<ConfigIni>(path);
        fixture_ = std::make_unique<ProductDescription>(fixtureStore_.get());
    }

    void fileLiesBesideTheProgram()
    {
        QVERIFY2(QFile::exists(config()->path()), qPrintable(config()->path()));
    }

    void optionGroup()
    {
        const QString option = QStringLiteral("Option");
        QVERIFY(config()->GetValue(option, QStringLiteral("DeviceTotal")).toInt() >= 2);
        QCOMPARE(config()->GetValue(option, QStringLiteral("CID")), QStringLiteral("10"));
        QCOMPARE(config()->GetValue(option, QStringLiteral("VID")).size(), 4);
        for (const char* key : {"USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"}) {
            const QStringList pids = config()->GetValueList(option, QLatin1String(key));
            QVERIFY2(!pids.isEmpty(), key);
            for (const QString& pid : pids) {
                bool ok = false;
                pid.toInt(&ok, 16);
                QVERIFY2(ok && pid.size() == 4, qPrintable(pid));
            }
        }
        QCOMPARE(config()->GetValue(option, QStringLiteral("ShowBatteryValue")), QStringLiteral("1"));
        for (const char* key : {"LabelColor", "ButtonColor", "ComboxTextColor", "ComboxSelectColor",
                                "ComboxBackGroundColor", "SliderColor", "LinEditColor", "LinEditColorSecond"})
            verifyColour(QLatin1String(key));
    }

    void everyModelGroup()
    {
        const int total = config()->GetValue(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
        QSet<QString> mids;
        for (int n = 1; n <= total; ++n) {
            const QString group = QStringLiteral("Drive%1").arg(n);
            QVERIFY2(config()->GetValue(group, QStringLiteral("MID")).toInt() > 0, qPrintable(group));
            mids.insert(config()->GetValue(group, QStringLiteral("MID")));
            for (const char* key : {"Sensor", "MM", "DM", "D2M", "D4M", "D8M"}) {
                const QString name = config()->GetValue(group, QLatin1String(key));
                QVERIFY2(!name.isEmpty() && !name.contains(QLatin1Char(' ')), key);
            }
            const int maxGrade = config()->GetValue(group, QStringLiteral("DPIMaxGrade")).toInt();
            QVERIFY(maxGrade >= 1 && maxGrade <= 8);
            const QStringList range = config()->GetValueList(group, QStringLiteral("DPIRange"));
            QVERIFY(range.size() % 3 == 1);
            QVERIFY(range.size() >= 4 && range.size() <= 13);
            bool ok = false;
            const int mode = range.last().trimmed().toInt(&ok, 16);
            QVERIFY(ok && (mode == 0x11 || mode == 0x22 || mode == 0x33));
            QCOMPARE(config()->GetValueList(group, QStringLiteral("DPIGrade")).size(), 8);
            QCOMPARE(config()->GetValueList(group, QStringLiteral("DPIColor")).size(), 24);
            QVERIFY(!config()->GetValue(group, QStringLiteral("XIn1")).isEmpty());
            const int keys = config()->GetValue(group, QStringLiteral("KeyNumber")).toInt();
            QCOMPARE(keys, 6);
            for (int k = 1; k <= keys; ++k)
                QVERIFY(config()->GetValueList(group, QStringLiteral("KeyParam%1").arg(k)).size() >= 3);
            QCOMPARE(config()->GetValueList(group, QStringLiteral("Adveanced")).size(), 2);
        }
        QCOMPARE(mids.size(), total);
        QVERIFY(config()->GetValue(QStringLiteral("Drive%1").arg(total + 1), QStringLiteral("MID")).isEmpty());
    }

    void sensorsAndRangeModes()
    {
        QCOMPARE(config()->GetValue(QStringLiteral("Drive1"), QStringLiteral("Sensor")), QStringLiteral("3395"));
        QCOMPARE(config()->GetValueList(QStringLiteral("Drive1"), QStringLiteral("DPIRange")).last().trimmed(),
                 QStringLiteral("0x22"));
        QCOMPARE(config()->GetValue(QStringLiteral("Drive2"), QStringLiteral("Sensor")), QStringLiteral("3950"));
        QCOMPARE(config()->GetValueList(QStringLiteral("Drive2"), QStringLiteral("DPIRange")).last().trimmed(),
                 QStringLiteral("0x33"));
    }

    void missingKeysReadEmpty()
    {
        QCOMPARE(config()->GetValue(QStringLiteral("Option"), QStringLiteral("NoSuchKey")), QString());
        QVERIFY(config()->GetValueList(QStringLiteral("NoGroup"), QStringLiteral("CID")).isEmpty());
        QCOMPARE(config()->GetValue(QStringLiteral("Option"), QStringLiteral("NoSuchKey")).toInt(), 0);
    }

    // ---- The typed reader --------------------------------------------------------

    void readerOptionKeys()
    {
        QCOMPARE(fixture().DeviceTotal(), 3);
        QCOMPARE(fixture().Cid(), 10);
        QCOMPARE(fixture().Vid(), QStringLiteral("3A17"));
        QCOMPARE(fixture().CablePids(), QStringList{"5201"});
        QCOMPARE(fixture().ReceiverPids(1), (QStringList{"5211", "5221"}));
        QCOMPARE(fixture().ReceiverPids(4), QStringList{"5214"});
        // A kind without its key, and a number that is no receiver kind.
        QVERIFY(fixture().ReceiverPids(2).isEmpty());
        QVERIFY(fixture().ReceiverPids(3).isEmpty());
        QCOMPARE(fixture().ReceiverPidLists(),
                 (QVector<QStringList>{{"5211", "5221"}, {}, {"5214"}, {}}));
    }

    void readerMissingAndMalformedValues_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("missing key") << "Option" << "Nothing" << "" << 0 << QStringList();
        QTest::newRow("missing group") << "Drive9" << "MID" << "" << 0 << QStringList();
        QTest::newRow("not a number") << "Option" << "ShowBatteryValue" << "12abc" << 0 << QStringList{"12abc"};
        QTest::newRow("a list as text and number") << "Drive1" << "DPIRange" << "" << 0
                                                   << QStringList{"100", "10000", "50", "0x22"};
        QTest::newRow("one item") << "Drive1" << "Adveanced" << "1" << 1 << QStringList{"1"};
        QTest::newRow("empty value") << "Option" << "EmptyColor" << "" << 0 << QStringList();
    }
    void readerMissingAndMalformedValues()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(QStringList, list);
        const ProductDescription::Group values(fixtureStore_.get(), group);
        QCOMPARE(values.Text(key), text);
        QCOMPARE(values.Int(key), number);
        QCOMPARE(values.List(key), list);
    }

    // The receiver options of a model: a missing item (one-item list, no
    // list, no group) is an absent feature, like "-1".
    void advancedItems_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("longRange");
        QTest::addColumn<int>("light");
        QTest::newRow("one item") << 0 << 1 << -1;
        QTest::newRow("no list") << 1 << -1 << -1;
        QTest::newRow("no group") << 7 << -1 << -1;
    }
    void advancedItems()
    {
        QFETCH(int, model);
        QFETCH(int, longRange);
        QFETCH(int, light);
        QCOMPARE(fixture().Advanced(model, ProductDescription::LongRangeItem), longRange);
        QCOMPARE(fixture().Advanced(model, ProductDescription::ReceiverLightItem), light);
    }

    void readerColours_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("colour");
        const QString fallback = StyleSheet::DefaultColour();
        QTest::newRow("three numbers") << "LabelColor" << "10,20,30";
        QTest::newRow("more than three: the first three") << "LongColor" << "1,2,3";
        QTest::newRow("two numbers") << "ShortColor" << fallback;
        QTest::newRow("one number") << "OneColor" << fallback;
        QTest::newRow("empty") << "EmptyColor" << fallback;
        QTest::newRow("missing") << "NoColor" << fallback;
        QTest::newRow("above 255") << "WideColor" << fallback;
        QTest::newRow("below 0") << "NegativeColor" << fallback;
        QTest::newRow("not a number") << "WordColor" << fallback;
    }
    void readerColours()
    {
        QFETCH(QString, key);
        QFETCH(QString, colour);
        QCOMPARE(fixture().Option().Colour(key), colour);
        // The same rule as the style sheets' own.
        QCOMPARE(StyleSheet::ColourText(fixture().Option().List(key)), colour);
    }

    void readerModelGroups()
    {
        QCOMPARE(ProductDescription::ModelGroupName(0), QStringLiteral("Drive1"));
        QCOMPARE(fixture().Model(2).Name(), QStringLiteral("Drive3"));
        QCOMPARE(fixture().Mid(0), 1);
        QCOMPARE(fixture().Mid(1), 7);
        QCOMPARE(fixture().Mid(8), 0);
        QCOMPARE(fixture().DpiRange(0), (QStringList{"100", "10000", "50", "0x22"}));
        QCOMPARE(fixture().KeyParam(0, 1), (QStringList{"0x01", "0x01", "0x00"}));
        QVERIFY(fixture().KeyParam(0, 2).isEmpty());
        QVERIFY(fixture().DpiRange(1).isEmpty());
    }

    void readerModelOfIds_data()
    {
        QTest::addColumn<int>("cid");
        QTest::addColumn<int>("mid");
        QTest::addColumn<int>("model");
        QTest::newRow("first model") << 10 << 1 << 0;
        QTest::newRow("two models with one id: the first") << 10 << 7 << 1;
        QTest::newRow("an id no model has") << 10 << 5 << -1;
        QTest::newRow("another customer") << 11 << 1 << -1;
        QTest::newRow("a group beyond the model total") << 10 << 9 << -1;
        QTest::newRow("zero ids") << 0 << 0 << -1;
    }
    void readerModelOfIds()
    {
        QFETCH(int, cid);
        QFETCH(int, mid);
        QFETCH(int, model);
        QCOMPARE(fixture().ModelIndexOf(cid, mid), model);
    }

    void readerOfTheShippedDescription()
    {
        const ProductDescription& shipped = ProductDescription::Instance();
        QCOMPARE(shipped.DeviceTotal(), 2);
        QCOMPARE(shipped.ModelIndexOf(10, 1), 0);
        QCOMPARE(shipped.ModelIndexOf(10, 2), 1);
        QCOMPARE(shipped.Option().Colour(QStringLiteral("SliderColor")), QStringLiteral("25,195,162"));
        QCOMPARE(shipped.Model(1).Text(QStringLiteral("Sensor")), QStringLiteral("3950"));
    }
};

TALVIRE_TEST_MAIN(ProductDescriptionTest)
#include "test_product_description.moc"
