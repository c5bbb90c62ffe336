// The update and repair dialog: its views, what close, cancel, start and the
// keys do, the status reports of the settings page's upgrade, and the repair
// check against the listed devices, the record and the images.
#include "tests/common/Screenshot.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/TestEnvironment.h"
#include "tests/firmware/UpgradeTestSupport.h"

#include <QAbstractButton>
#include <QApplication>

#include <algorithm>
#include <functional>

using Step = std::function<void(UpDateRepair&)>;
Q_DECLARE_METATYPE(Step)

namespace {
UpgradeStatusPacket Packet(int type, int kind, int value)
{
    UpgradeStatusPacket packet{};
    packet.type = static_cast<unsigned char>(type);
    packet.kind = static_cast<unsigned char>(kind);
    packet.value = static_cast<unsigned char>(value);
    return packet;
}

DeviceAllInfo Listed(bool wired, int mid, const QString& pid = QString())
{
    DeviceAllInfo device;
    device.wired = wired;
    device.mid = quint8(mid);
    device.cid = 10;
    device.pid = pid;
    device.path = QStringLiteral("/dev/hidsim/fixture-%1-%2").arg(wired).arg(mid);
    return device;
}

QString Kind4ReceiverPid()
{
    return ProductDescription::Instance().ReceiverPids(4).value(0);
}
} // namespace

class TestUpdateRepairDialog : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ResetSharedState();
        ResetUpgradeState();
        SimDevice_Reset();
    }

    void views_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<RepairView>("expected");
        using namespace RepairTexts;
        const auto upgrading = [](UpDateRepair& d) { d.ShowUpgrading(); };
        const auto then = [](Step first, Step second) {
            return Step([first, second](UpDateRepair& d) {
                first(d);
                second(d);
            });
        };
        const auto progress = [](int value, int state) {
            return Step([value, state](UpDateRepair& d) { d.SlotProgress(value, state); });
        };
        //                  start          text     cancel  enabled close   message         bar
        QTest::newRow("built") << Step([](UpDateRepair&) {})
                               << RepairView{false, QStringLiteral("升级"), false, true, true, false,
                                             QStringLiteral("当前没有发现可以升级的鼠标,请确认鼠标是否处于有线模式"),
                                             false, 0};
        QTest::newRow("reset keeps disabled")
            << then(upgrading, [](UpDateRepair& d) { d.ResetView(); })
            << RepairView{true, Start, true, false, false, true, QString(), false, 0};
        QTest::newRow("ready") << then(upgrading, [](UpDateRepair& d) { d.ShowUpdateReady(); })
                               << RepairView{true, Start, true, true, true, true, Ready, false, 0};
        QTest::newRow("no update") << Step([](UpDateRepair& d) {
            d.SetMessage(QStringLiteral("why"));
            d.ShowNoUpdate();
        }) << RepairView{true, Confirm, true, true, true, true, QStringLiteral("why"), false, 0};
        QTest::newRow("upgrading") << Step(upgrading)
                                   << RepairView{false, QStringLiteral("升级"), false, false, false, true, Upgrading,
                                                 true, 0};
        QTest::newRow("progress 0") << then(upgrading, progress(42, 0))
                                    << RepairView{false, QStringLiteral("升级"), false, false, false, true, Upgrading,
                                                  true, 42};
        QTest::newRow("progress 1") << then(upgrading, progress(42, 1))
                                    << RepairView{true, Confirm, true, true, true, true, Fail, true, 0};
        QTest::newRow("progress 2") << then(upgrading, progress(0, 2))
                                    << RepairView{true, Confirm, true, true, true, true, Success, true, 100};
        QTest::newRow("progress 3") << then([](UpDateRepair& d) { d.ResetView(); }, progress(0, 3))
                                    << RepairView{true, Start, false, true, true, true, QString(), false, 0};
        QTest::newRow("progress 4") << then(then(upgrading, progress(30, 0)), progress(0, 4))
                                    << RepairView{false, QStringLiteral("升级"), false, false, false, true, Upgrading,
                                                  true, 0};
        QTest::newRow("progress 5") << then(upgrading, progress(0, 5))
                                    << RepairView{true, Confirm, true, true, true, true, Fail, true, 50};
        QTest::newRow("progress 6") << then(upgrading, progress(0, 6))
                                    << RepairView{false, QStringLiteral("升级"), true, true, true, true, Fail, true, 0};
        QTest::newRow("progress 7") << then(upgrading, progress(0, 7))
                                    << RepairView{false, QStringLiteral("升级"), false, false, false, true, Upgrading,
                                                  true, 0};
        QTest::newRow("repaired") << then(upgrading, [](UpDateRepair& d) { d.SlotAutoRepair(0); })
                                  << RepairView{false, Confirm, true, false, false, true, Success, true, 0};
        QTest::newRow("repair failed") << then(upgrading, [](UpDateRepair& d) { d.SlotAutoRepair(1); })
                                       << RepairView{false, Confirm, true, false, false, true, Fail, true, 0};
    }

    void views()
    {
        QFETCH(Step, step);
        QFETCH(RepairView, expected);
        UpDateRepair dialog;
        step(dialog);
        QCOMPARE(RepairView::Of(dialog), expected);
        // A cancel button that shows reads as the language file says, also
        // where no earlier view named it (the Space key's automatic run).
        auto* cancel = dialog.findChild<QAbstractButton*>(QStringLiteral("NewHong"));
        if (expected.cancelShown)
            QCOMPARE(cancel->text(), RepairTexts::Cancel);
    }

    void look()
    {
        for (int language : {0, 1}) {
            UpDateRepair dialog;
            dialog.SlotChangeLanguage(language);
            const QString suffix = language == 0 ? QStringLiteral("en") : QStringLiteral("zh");
            dialog.ResetView();
            dialog.ShowUpdateReady();
            QVERIFY(!SaveScreenshot(&dialog, QStringLiteral("update_repair_ready_") + suffix).isEmpty());
            dialog.ShowUpgrading();
            dialog.SlotProgress(50, 0);
            QVERIFY(!SaveScreenshot(&dialog, QStringLiteral("update_repair_upgrading_") + suffix).isEmpty());
            dialog.SlotProgress(0, 2);
            QVERIFY(!SaveScreenshot(&dialog, QStringLiteral("update_repair_success_") + suffix).isEmpty());
            dialog.ShowUpgrading();
            dialog.SlotProgress(40, 0);
            dialog.SlotProgress(0, 6);
            QVERIFY(!SaveScreenshot(&dialog, QStringLiteral("update_repair_failure_") + suffix).isEmpty());
        }
        UpDateRepair dialog;
        QCOMPARE(dialog.size(), QSize(460, 289));
        QCOMPARE(int(dialog.windowFlags() & ~Qt::WindowType_Mask), 0x6800);
    }

    void buttons_data()
    {
        QTest::addColumn<Step>("prepare");
        QTest::addColumn<bool>("repairUpgrading");
        QTest::addColumn<int>("deviceChosen");
        QTest::addColumn<Step>("act");
        QTest::addColumn<QStringList>("emitted");
        QTest::addColumn<bool>("closed");

        const Step finished = [](UpDateRepair& d) {
            d.ShowUpgrading();
            d.SlotProgress(0, 2);
        };
        const Step failedAt40 = [](UpDateRepair& d) {
            d.ShowUpgrading();
            d.SlotProgress(40, 0);
            d.SlotProgress(0, 6);
        };
        const Step upgrading = [](UpDateRepair& d) {
            d.ShowUpgrading();
            d.SlotProgress(40, 0);
        };
        const Step ready = [](UpDateRepair& d) { d.ShowUpdateReady(); };
        const Step noUpdate = [](UpDateRepair& d) { d.ShowNoUpdate(); };
        const auto click = [](const char* name) {
            return Step([name](UpDateRepair& d) {
                QTest::mouseClick(d.findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
            });
        };
        const auto key = [](int k) { return Step([k](UpDateRepair& d) { QTest::keyClick(&d, Qt::Key(k)); }); };
        const Step closeSlot = [](UpDateRepair& d) { d.on_CloseButton_clicked(); };
        const Step cancelSlot = [](UpDateRepair& d) { d.on_NewHong_clicked(); };

        QTest::newRow("close at 100") << finished << false << 0 << click("CloseButton")
                                      << QStringList{QStringLiteral("SetNewVer")} << true;
        QTest::newRow("confirm at 100") << finished << false << 1 << click("NewHong_2")
                                        << QStringList{QStringLiteral("SetNewVer")} << true;
        QTest::newRow("cancel below 100, device view") << failedAt40 << false << 1 << click("NewHong")
                                                       << QStringList{QStringLiteral("ChangeMainDialog 0")} << true;
        QTest::newRow("cancel below 100, chooser") << failedAt40 << false << 0 << click("NewHong") << QStringList()
                                                   << true;
        QTest::newRow("close while repairing") << upgrading << true << 1 << closeSlot << QStringList() << false;
        QTest::newRow("cancel while repairing") << upgrading << true << 1 << cancelSlot << QStringList() << false;
        QTest::newRow("escape while repairing") << upgrading << true << 1 << key(Qt::Key_Escape) << QStringList()
                                                << false;
        QTest::newRow("escape without a bar") << ready << false << 1 << key(Qt::Key_Escape) << QStringList() << true;
        QTest::newRow("start, device view") << ready << false << 1 << click("NewHong_2")
                                            << QStringList{QStringLiteral("UpdateStart")} << false;
        QTest::newRow("return, device view") << ready << false << 1 << key(Qt::Key_Return)
                                             << QStringList{QStringLiteral("UpdateStart")} << false;
        // A failure that shows only the cancel button: Return closes as it does.
        QTest::newRow("return after a failure") << failedAt40 << false << 1 << key(Qt::Key_Return)
                                                << QStringList{QStringLiteral("ChangeMainDialog 0")} << true;
        QTest::newRow("return while repairing") << upgrading << true << 1 << key(Qt::Key_Return) << QStringList()
                                                << false;
        QTest::newRow("confirm closes") << noUpdate << false << 1 << click("NewHong_2") << QStringList() << true;
        QTest::newRow("start, no repair prepared") << ready << false << 0 << click("NewHong_2") << QStringList()
                                                   << false;
    }

    void buttons()
    {
        QFETCH(Step, prepare);
        QFETCH(bool, repairUpgrading);
        QFETCH(int, deviceChosen);
        QFETCH(Step, act);
        QFETCH(QStringList, emitted);
        QFETCH(bool, closed);

        UpDateRepair dialog;
        prepare(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog, DefaultTestLimit()));
        QApplication::setActiveWindow(&dialog);
        RepairUpgrading = repairUpgrading;
        DeviceChosen = deviceChosen;

        QStringList seen;
        PostMsg* bus = PostMsg::Instance();
        QMetaObject::Connection connections[] = {
            connect(bus, &PostMsg::SigSetNewVer, this, [&seen] { seen << QStringLiteral("SetNewVer"); }),
            connect(bus, &PostMsg::SigUpdateStart, this, [&seen] { seen << QStringLiteral("UpdateStart"); }),
            connect(bus, &PostMsg::SigChangeMainDialog, this,
                    [&seen](int page) { seen << QStringLiteral("ChangeMainDialog %1").arg(page); }),
        };
        act(dialog);
        // A shortcut presses its button with a short animation; the click
        // comes as the button is let up. What it queued is delivered then.
        const QList<QAbstractButton*> buttons = dialog.findChildren<QAbstractButton*>();
        TRY_VERIFY(std::none_of(buttons.cbegin(), buttons.cend(), [](QAbstractButton* b) { return b->isDown(); }));
        QCoreApplication::sendPostedEvents();
        for (const auto& connection : connections)
            disconnect(connection);
        QCOMPARE(seen, emitted);
        QCOMPARE(!dialog.isVisible(), closed);
    }

    void statusReports_data()
    {
        QTest::addColumn<int>("receiverState");
        QTest::addColumn<int>("mouseState");
        QTest::addColumn<int>("stages");
        QTest::addColumn<QByteArray>("packet");
        QTest::addColumn<QStringList>("emitted");
        QTest::addColumn<int>("receiverAfter");
        QTest::addColumn<int>("mouseAfter");
        QTest::addColumn<QString>("record");
        QTest::addColumn<int>("logLines");

        const auto bytes = [](int a, int b, int c) { const char data[] = {char(a), char(b), char(c)};
            return QByteArray(data, 3); };
        QTest::newRow("two stages, receiver 100") << 1 << 0 << 2 << bytes(7, 1, 100)
                                                  << QStringList{QStringLiteral("Progress 50 0")} << 1 << 0
                                                  << QString() << 0;
        QTest::newRow("two stages, mouse 0") << 2 << 1 << 2 << bytes(7, 1, 0)
                                             << QStringList{QStringLiteral("Progress 50 0")} << 2 << 1 << QString()
                                             << 0;
        QTest::newRow("two stages, mouse 100") << 2 << 1 << 2 << bytes(7, 1, 100)
                                               << QStringList{QStringLiteral("Progress 100 0")} << 2 << 1
                                               << QString() << 0;
        QTest::newRow("one stage, receiver 30") << 1 << 0 << 1 << bytes(7, 1, 30)
                                                << QStringList{QStringLiteral("Progress 30 0")} << 1 << 0 << QString()
                                                << 0;
        QTest::newRow("two stages, receiver success") << 1 << 0 << 2 << bytes(7, 2, 1)
                                                      << QStringList{QStringLiteral("LabelText 0")} << 2 << 0
                                                      << QString() << 0;
        QTest::newRow("one stage, receiver success")
            << 1 << 0 << 1 << bytes(7, 2, 1)
            << QStringList{QStringLiteral("Progress 0 2"), QStringLiteral("LabelText 0")} << 2 << 0 << QString()
            << 0;
        QTest::newRow("mouse success") << 2 << 1 << 2 << bytes(7, 2, 1)
                                       << QStringList{QStringLiteral("Progress 0 2"), QStringLiteral("LabelText 1")}
                                       << 2 << 2 << QString() << 0;
        QTest::newRow("mouse failure") << 2 << 1 << 2 << bytes(7, 2, 0)
                                       << QStringList{QStringLiteral("Progress 0 1")} << 2 << 3
                                       << QStringLiteral("210,4,10,1") << 8;
        QTest::newRow("type 6 ignored") << 1 << 0 << 1 << bytes(6, 1, 30) << QStringList() << 1 << 0 << QString()
                                        << 0;
        QTest::newRow("kind 3 ignored") << 1 << 0 << 1 << bytes(7, 3, 1) << QStringList() << 1 << 0 << QString()
                                        << 0;
        QTest::newRow("failure without a run") << 0 << 2 << 1 << bytes(7, 2, 0) << QStringList() << 0 << 2
                                               << QString() << 0;
        QTest::newRow("progress without a run") << 4 << 3 << 1 << bytes(7, 1, 50) << QStringList() << 4 << 3
                                                << QString() << 0;
    }

    void statusReports()
    {
        QFETCH(int, receiverState);
        QFETCH(int, mouseState);
        QFETCH(int, stages);
        QFETCH(QByteArray, packet);
        QFETCH(QStringList, emitted);
        QFETCH(int, receiverAfter);
        QFETCH(int, mouseAfter);
        QFETCH(QString, record);
        QFETCH(int, logLines);

        ReceiverUpgradeState = receiverState;
        MouseUpgradeState = mouseState;
        SettingStageCount = stages;
        UpgradeTarget = mouseState == 1 ? 210 : 211;
        ReceiverKind = 4;
        SettingCid = 10;
        SettingMid = 1;
        MouseUpdateAvailable = true;
        ReceiverUpdateAvailable = true;
        const int linesBefore = LogLineCount();

        QStringList seen;
        PostMsg* bus = PostMsg::Instance();
        QMetaObject::Connection connections[] = {
            connect(bus, &PostMsg::SigProgress, this,
                    [&seen](int value, int kind) { seen << QStringLiteral("Progress %1 %2").arg(value).arg(kind); }),
            connect(bus, &PostMsg::SigLabelText, this,
                    [&seen](int index, const QString&) { seen << QStringLiteral("LabelText %1").arg(index); }),
        };
        UpgradeStatusPacket p = Packet(packet[0], packet[1], packet[2]);
        // One callback for each target; both act alike.
        (mouseState == 1 ? UpgradeStatusCallbackB : UpgradeStatusCallbackA)(&p);
        for (const auto& connection : connections)
            disconnect(connection);

        QCOMPARE(seen, emitted);
        QCOMPARE(ReceiverUpgradeState.load(), receiverAfter);
        QCOMPARE(MouseUpgradeState.load(), mouseAfter);
        QCOMPARE(FailRecord(), record);
        QCOMPARE(LogLineCount() - linesBefore, logLines);
        const bool failed = logLines > 0;
        QCOMPARE(MouseUpdateAvailable.load(), !failed);
        QCOMPARE(ReceiverUpdateAvailable.load(), !failed);
    }

    void mouseVersionIsRecorded()
    {
        // The version recorded is that of the image handed to the start.
        ImageFolder folder({MouseImage});
        QVERIFY(FirmwareImages::FindSettingFirmwareImage(210, QString(), QStringLiteral("TVM1-Mouse"), 10, 1));
        SimDevice_SetUpgradeFault(SIM_UPGRADE_REFUSE, 0);
        QCOMPARE(FirmwareUpgrade::Start(FirmwareImages::SettingImageList().value(0), nullptr,
                                        FirmwareUpgrade::FailRecordOf(210, 0, 10, 1)),
                 FirmwareUpgrade::Refused);
        QCOMPARE(FirmwareUpgrade::StartedVersionText(), QStringLiteral("v1.6"));
        MouseUpgradeState = 1;
        UpgradeStatusPacket p = Packet(7, 2, 1);
        UpgradeStatusCallbackB(&p);
        QCOMPARE(Registry::Instance()->GetValue(Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1"))),
                 QStringLiteral("v1.6"));
    }

    void check_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QList<DeviceAllInfo>>("devices");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("message");

        using namespace RepairTexts;
        const QStringList both{MouseImage, Receiver4KImage};
        const DeviceAllInfo mouse = Listed(true, 1);
        const DeviceAllInfo receiver = Listed(false, 1, Kind4ReceiverPid());
        const QString boot = QStringLiteral("boot-mode.json");
        const QString mouseBoot = QStringLiteral("mouse-boot-mode.json");
        const QString normal = QStringLiteral("cable-and-receiver.json");
        const QString failed = QStringLiteral("211,4,10,1");

        QTest::newRow("no record") << QString() << QList<DeviceAllInfo>{mouse} << both << boot << false << QString();
        QTest::newRow("three fields") << QStringLiteral("211,4,10") << QList<DeviceAllInfo>{mouse} << both << boot
                                      << false << QString();
        QTest::newRow("no device") << failed << QList<DeviceAllInfo>{} << both << boot << false << NoDevice;
        QTest::newRow("two mice") << failed << QList<DeviceAllInfo>{mouse, mouse} << both << boot << false
                                  << MultiMouse;
        QTest::newRow("two receivers") << failed << QList<DeviceAllInfo>{receiver, receiver} << both << boot << false
                                       << MultiDongle;
        QTest::newRow("receiver of another model")
            << failed << QList<DeviceAllInfo>{mouse, Listed(false, 2, Kind4ReceiverPid())} << both << boot << false
            << MultiDongle;
        QTest::newRow("receiver listed first") << failed << QList<DeviceAllInfo>{receiver, mouse} << both << boot
                                               << false << NoUsb;
        QTest::newRow("mouse failure, mouse on the cable")
            << QStringLiteral("210,1,10,1") << QList<DeviceAllInfo>{mouse} << both << mouseBoot << false
            << NoRecieve;
        QTest::newRow("receiver in boot mode") << failed << QList<DeviceAllInfo>{mouse} << both << boot << true
                                               << Ready;
        QTest::newRow("receiver listed in normal mode")
            << failed << QList<DeviceAllInfo>{mouse, receiver} << both << normal << true << Ready;
        QTest::newRow("nothing in boot mode") << failed << QList<DeviceAllInfo>{mouse} << both << normal << false
                                              << NoDevice;
        QTest::newRow("no receiver image") << failed << QList<DeviceAllInfo>{mouse} << QStringList{MouseImage}
                                           << boot << false << FileError;
        QTest::newRow("no image, nothing in boot mode")
            << failed << QList<DeviceAllInfo>{mouse} << QStringList{MouseImage} << normal << false << FileError;
        QTest::newRow("mouse in boot mode on its receiver")
            << QStringLiteral("210,4,10,1") << QList<DeviceAllInfo>{receiver} << both << mouseBoot << true << Ready;
    }

    void check()
    {
        QFETCH(QString, record);
        QFETCH(QList<DeviceAllInfo>, devices);
        QFETCH(QStringList, images);
        QFETCH(QString, scenario);
        QFETCH(bool, result);
        QFETCH(QString, message);

        UpDateRepair dialog;
        {
            // A dialog whose earlier check was good: a later check that ends
            // early leaves nothing to start.
            QVERIFY(SimDevice_LoadScenarioFile(TALVIRE_SCENARIO_DIR "/boot-mode.json"));
            ImageFolder all({MouseImage, Receiver4KImage});
            SetFailRecord(QStringLiteral("211,4,10,1"));
            IdentifiedDevices = {Listed(true, 1)};
            QVERIFY(dialog.CheckUpdate());
        }
        QVERIFY(SimDevice_LoadScenarioFile(qPrintable(QStringLiteral(TALVIRE_SCENARIO_DIR "/") + scenario)));
        ImageFolder folder(images);

        dialog.ResetView();
        SetFailRecord(record);
        IdentifiedDevices = devices;
        dialog.SlotRepairCheckUpdate();
        QCOMPARE(dialog.Ready(), result);
        QCOMPARE(RepairView::Of(dialog).message, message);
        if (!message.isEmpty())
            QCOMPARE(RepairView::Of(dialog).startText, result ? RepairTexts::Start : RepairTexts::Confirm);
    }
};

TALVIRE_TEST_MAIN(TestUpdateRepairDialog)
#include "test_update_repair_dialog.moc"
