// The rules of the chooser's device list without widgets: identical devices,
// the cabled mouse listed once, which receiver list decides a badge, and what
// is searched.
#include "core/DeviceListRules.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QtTest>

namespace {
// Product ids of the receiver kinds 1, 2, 4, 8; "5299" stands in none.
const QVector<QStringList> Receivers = {{"5211", "5221"}, {"5212"}, {"5214"}, {"5218"}};
constexpr int Models = 2;   // a record of model index 2 is of no known model

// "cable:<model>" is a mouse on its cable, "<pid>:<model>" a receiver record
// found under that product id.
QList<DeviceAllInfo> Devices(const QStringList& texts)
{
    QList<DeviceAllInfo> devices;
    for (const QString& text : texts) {
        const QStringList parts = text.split(QLatin1Char(':'));
        DeviceAllInfo info;
        info.path = QStringLiteral("/dev/hidraw%1").arg(devices.size());
        info.wired = parts.at(0) == QLatin1String("cable");
        info.pid = info.wired ? QStringLiteral("5201") : parts.at(0);
        info.modelIndex = parts.at(1).toInt();
        devices.append(info);
    }
    return devices;
}

QStringList Paths(const QList<DeviceAllInfo>& devices)
{
    QStringList paths;
    for (const DeviceAllInfo& info : devices)
        paths << info.path;
    return paths;
}
} // namespace

class TestDeviceList : public QObject {
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<int>("deviceTotal");
        QTest::addColumn<bool>("identical");
        QTest::addColumn<QList<int>>("kept");   // positions of the devices still listed

        QTest::newRow("no device") << QStringList{} << Models << false << QList<int>{};
        QTest::newRow("one receiver") << QStringList{"5214:0"} << Models << false << QList<int>{0};
        QTest::newRow("one cabled mouse") << QStringList{"cable:0"} << Models << false << QList<int>{0};
        QTest::newRow("a mouse on its cable and on its receiver")
            << QStringList{"5214:0", "cable:0"} << Models << false << QList<int>{1};
        QTest::newRow("a cabled mouse and another model's receiver")
            << QStringList{"cable:0", "5214:1"} << Models << false << QList<int>{0, 1};
        QTest::newRow("two receiver kinds of one model")
            << QStringList{"5211:0", "5212:0"} << Models << false << QList<int>{0, 1};
        QTest::newRow("three devices") << QStringList{"5211:0", "5212:0", "5214:1"} << Models << false
                                       << QList<int>{0, 1, 2};
        QTest::newRow("two cabled models and their receivers")
            << QStringList{"cable:0", "cable:1", "5211:0", "5212:1"} << Models << false << QList<int>{0, 1};
        QTest::newRow("five devices, every link kind")
            << QStringList{"5211:0", "5212:0", "5214:0", "5218:0", "cable:1"} << Models << false
            << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("the cable hides every receiver of its model")
            << QStringList{"5211:0", "5212:0", "cable:0", "5214:0", "5218:0"} << Models << false << QList<int>{2};
        QTest::newRow("two receivers of one kind and model")
            << QStringList{"5214:0", "5214:0"} << Models << true << QList<int>{0, 1};
        QTest::newRow("two product ids of one receiver kind, one model")
            << QStringList{"5211:0", "5221:0"} << Models << true << QList<int>{0, 1};
        QTest::newRow("two cabled mice of one model")
            << QStringList{"cable:0", "cable:0"} << Models << true << QList<int>{0, 1};
        QTest::newRow("identical devices among five")
            << QStringList{"5211:0", "5212:0", "5214:0", "5218:1", "5218:1"} << Models << true
            << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("two devices of no model on one receiver kind")
            << QStringList{"5214:2", "5214:2"} << Models << true << QList<int>{0, 1};
        QTest::newRow("a cabled device of no model hides no receiver")
            << QStringList{"cable:2", "5214:2"} << Models << false << QList<int>{0, 1};
        // A receiver record under an id of no receiver list is not counted:
        // not as a second cabled mouse, and it does not hide itself.
        QTest::newRow("a receiver of no receiver list alone")
            << QStringList{"5299:0"} << Models << false << QList<int>{0};
        QTest::newRow("a receiver of no receiver list beside the cable of its model")
            << QStringList{"cable:0", "5299:0"} << Models << false << QList<int>{0};
        QTest::newRow("model indices outside the count table")
            << QStringList{"5214:40", "5214:-1", "cable:40"} << Models << false << QList<int>{0, 1, 2};
        // The cable rule covers the models of "DeviceTotal" as read now.
        QTest::newRow("a model beyond the model total")
            << QStringList{"cable:1", "5214:1"} << 1 << false << QList<int>{0, 1};
    }
    void rules()
    {
        QFETCH(QStringList, devices);
        QFETCH(int, deviceTotal);
        QFETCH(bool, identical);
        QFETCH(QList<int>, kept);
        const QList<DeviceAllInfo> before = Devices(devices);
        QList<DeviceAllInfo> shown = before;
        const DeviceListRules::Outcome outcome = DeviceListRules::Apply(shown, Receivers, Models, deviceTotal);
        QCOMPARE(outcome == DeviceListRules::Outcome::IdenticalDevices, identical);
        QStringList expected;
        for (int position : kept)
            expected << before.at(position).path;
        QCOMPARE(Paths(shown), expected);
    }

    void badgeList_data()
    {
        QTest::addColumn<QString>("pid");
        QTest::addColumn<QVector<QStringList>>("receivers");
        QTest::addColumn<int>("counting");
        QTest::addColumn<int>("fullPage");
        QTest::addColumn<int>("lastPage");
        QTest::newRow("one list") << "5214" << Receivers << 2 << 2 << 2;
        QTest::newRow("another id of the first list") << "5221" << Receivers << 0 << 0 << 0;
        QTest::newRow("no list") << "5299" << Receivers << -1 << -1 << -1;
        QTest::newRow("ids differ in case") << "521a" << QVector<QStringList>{{"521A"}, {}, {}, {}} << -1 << -1 << -1;
        const QVector<QStringList> firstAndLast = {{"5211"}, {}, {}, {"5211"}};
        QTest::newRow("first and last list") << "5211" << firstAndLast << 0 << 0 << 3;
        const QVector<QStringList> firstAndSecond = {{"5211"}, {"5211"}, {}, {}};
        QTest::newRow("first and second list") << "5211" << firstAndSecond << 0 << 1 << 1;
    }
    void badgeList()
    {
        QFETCH(QString, pid);
        QFETCH(QVector<QStringList>, receivers);
        QFETCH(int, counting);
        QFETCH(int, fullPage);
        QFETCH(int, lastPage);
        using Order = DeviceListRules::ListOrder;
        QCOMPARE(DeviceListRules::ReceiverList(receivers, pid, Order::Counting), counting);
        QCOMPARE(DeviceListRules::ReceiverList(receivers, pid, Order::FullPageBadge), fullPage);
        QCOMPARE(DeviceListRules::ReceiverList(receivers, pid, Order::LastPageBadge), lastPage);
    }

    void searchList()
    {
        // Empty ids are left out; an id listed twice is searched twice.
        const QVector<QString> search = DeviceListRules::SearchList(
            {"5201", "", "5202"}, {{"5211"}, {}, {"5214", "5211"}, {"5218"}});
        QCOMPARE(search, (QVector<QString>{"5201", "5202", "5211", "5214", "5211", "5218"}));
    }
};

TALVIRE_TEST_MAIN(TestDeviceList)
#include "test_device_list.moc"
