// The product description shipped beside the program parses with the key table
// the program reads.
#include "core/ConfigIni.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

class ProductDescriptionTest : public QObject {
    Q_OBJECT

private:
    ConfigIni* config() { return ConfigIni::Instance(); }

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
};

TALVIRE_TEST_MAIN(ProductDescriptionTest)
#include "test_product_description.moc"
