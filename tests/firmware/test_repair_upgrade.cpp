// The repair of an interrupted firmware update on the simulated devices: the
// receiver, then the mouse, from the dialog's start; the endings when the mouse
// stage cannot follow or fails, when no image is there or the library refuses;
// and the receiver update of the top window's automatic start.
#include "tests/common/SharedStateReset.h"
#include "tests/common/TestEnvironment.h"
#include "tests/firmware/UpgradeTestSupport.h"

#include <QApplication>

namespace {
const int RunMs = TestLimit(30000);
const QString Repairable = QStringLiteral("211,4,10,1");

bool Load(const char* scenario)
{
    return SimDevice_LoadScenarioFile(qPrintable(QStringLiteral(TALVIRE_SCENARIO_DIR "/") + scenario)) != 0;
}

// What the bus carried during a run.
struct RunLog : QObject {
    QList<int> bar;
    QList<int> repairEndings;
    QList<bool> updateButton;
    QList<int> views;
    // The record when the mouse stage's first progress came.
    QString recordAtMouseStage = QStringLiteral("(none)");

    RunLog()
    {
        PostMsg* bus = PostMsg::Instance();
        connect(bus, &PostMsg::SigAutoRepairProgress, this, [this](int value) {
            if (value > 50 && recordAtMouseStage == QStringLiteral("(none)"))
                recordAtMouseStage = FailRecord();
            bar << value;
        });
        connect(bus, &PostMsg::SigAutoRepair, this, [this](int code) { repairEndings << code; });
        connect(bus, &PostMsg::SigUpDateButton, this, [this](bool hide) { updateButton << hide; });
        connect(bus, &PostMsg::SigProgress, this, [this](int, int state) { views << state; });
    }
};

bool Ended()
{
    return !RepairUpgradeRunning && !RepairUpgrading;
}
} // namespace

class TestRepairUpgrade : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ResetSharedState();
        ResetUpgradeState();
        QVERIFY(SimDevice_Reset());
        SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 10);
    }

    void repairsReceiverThenMouse()
    {
        QVERIFY(Load("boot-mode.json"));
        SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 10);
        SetFailRecord(Repairable);
        IdentifiedDevices = {Found("mouse")};
        QVERIFY(IdentifiedDevices.first().wired);

        UpDateRepair dialog;
        RunLog log;
        dialog.SlotRepairCheckUpdate();
        QCOMPARE(RepairView::Of(dialog).message, RepairTexts::Ready);
        QCOMPARE(RepairStageCount.load(), 2);
        dialog.on_NewHong_2_clicked();
        QCOMPARE(RepairView::Of(dialog).message, RepairTexts::Upgrading);
        QVERIFY(!DeviceWatchEnabled);
        QVERIFY(QTest::qWaitFor(Ended, RunMs));
        TRY_COMPARE(log.views, QList<int>{2});

        QCOMPARE(log.repairEndings, QList<int>{0});
        QCOMPARE(log.updateButton, QList<bool>{true});
        QVERIFY(!log.bar.isEmpty());
        QVERIFY(log.bar.first() < 50);
        QVERIFY(log.bar.contains(50));
        QCOMPARE(log.bar.last(), 100);
        QVERIFY(std::is_sorted(log.bar.begin(), log.bar.end()));
        // The receiver's record went with its stage; while the mouse's stage
        // runs, the record names the mouse, so a crash offers its repair.
        QCOMPARE(log.recordAtMouseStage, QStringLiteral("210,4,10,1"));
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(SimDevice_Version("receiver"), 0x0103);
        QCOMPARE(SimDevice_Version("mouse"), 0x0106);
        QCOMPARE(SimDevice_BootMode("receiver"), 0);
        QVERIFY(DeviceWatchEnabled);
        const RepairView view = RepairView::Of(dialog);
        QCOMPARE(view.message, RepairTexts::Success);
        QCOMPARE(view.bar, 100);
        QVERIFY(view.closeEnabled);
    }

    void endings_data()
    {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("faultAfterStart");
        QTest::addColumn<bool>("emptyFolderAtStart");
        QTest::addColumn<QList<int>>("views");
        QTest::addColumn<QList<bool>>("updateButton");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("bar");

        const QStringList both{MouseImage, Receiver4KImage};
        // The receiver is repaired, but no mouse image: the record is gone,
        // the dialog ends with the failure text at half the bar.
        QTest::newRow("no mouse image") << QStringList{Receiver4KImage} << 0 << false << false << QList<int>{5}
                                        << QList<bool>{true} << QString() << RepairTexts::Fail << 50;
        QTest::newRow("mouse stage fails") << both << int(SIM_UPGRADE_FAIL_AT) << true << false << QList<int>{6}
                                           << QList<bool>{false} << QStringLiteral("210,4,10,1")
                                           << RepairTexts::Fail << 70;
        QTest::newRow("receiver stage fails") << both << int(SIM_UPGRADE_FAIL_AT) << false << false
                                              << QList<int>{6} << QList<bool>{false} << Repairable
                                              << RepairTexts::Fail << 20;
        QTest::newRow("start refused") << both << int(SIM_UPGRADE_REFUSE) << false << false << QList<int>{6}
                                       << QList<bool>{false} << Repairable << RepairTexts::Fail << 0;
        QTest::newRow("images gone before the start") << both << 0 << false << true << QList<int>{6}
                                                      << QList<bool>{false} << Repairable << RepairTexts::Fail << 0;
    }

    void endings()
    {
        QFETCH(QStringList, images);
        QFETCH(int, fault);
        QFETCH(bool, faultAfterStart);
        QFETCH(bool, emptyFolderAtStart);
        QFETCH(QList<int>, views);
        QFETCH(QList<bool>, updateButton);
        QFETCH(QString, record);
        QFETCH(QString, message);
        QFETCH(int, bar);

        QVERIFY(Load("boot-mode.json"));
        SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 10);
        SetFailRecord(Repairable);
        IdentifiedDevices = {Found("mouse")};
        ImageFolder folder(images);
        UpDateRepair dialog;
        RunLog log;
        dialog.SlotRepairCheckUpdate();
        QCOMPARE(RepairView::Of(dialog).message, RepairTexts::Ready);
        if (emptyFolderAtStart)
            FirmwareImages::SetFolder(QStringLiteral("/nonexistent"));
        if (fault && !faultAfterStart)
            SimDevice_SetUpgradeFault(fault, 50);
        dialog.on_NewHong_2_clicked();
        if (fault && faultAfterStart)
            SimDevice_SetUpgradeFault(fault, 50);
        QVERIFY(QTest::qWaitFor(Ended, RunMs));
        TRY_COMPARE(log.views, views);
        // A refused start's late failure report changes nothing more.
        QTest::qWait(100);

        QCOMPARE(log.views, views);
        QCOMPARE(log.updateButton, updateButton);
        QCOMPARE(log.repairEndings, QList<int>{1});
        QCOMPARE(FailRecord(), record);
        QVERIFY(DeviceWatchEnabled);
        const RepairView view = RepairView::Of(dialog);
        QCOMPARE(view.message, message);
        QCOMPARE(view.bar, bar);
        QVERIFY(view.cancelEnabled);
        QVERIFY(view.closeEnabled);
    }

    // With a settings folder that cannot be written the record of the stage
    // cannot be put on the disk: the repair, and the top window's receiver
    // update, do not start; the record stays as it was, and the dialog says
    // why.
    void unwritableSettingsStopTheStart_data()
    {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QList<bool>>("updateButton");
        QTest::newRow("repair of the recorded receiver") << false << Repairable << QList<bool>{false, false};
        QTest::newRow("the top window's receiver update") << true << QString() << QList<bool>{false, true};
    }

    void unwritableSettingsStopTheStart()
    {
        QFETCH(bool, automatic);
        QFETCH(QString, record);
        QFETCH(QList<bool>, updateButton);
        QVERIFY(Load(automatic ? "cable-and-receiver.json" : "boot-mode.json"));
        SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 10);
        SetFailRecord(record);
        ImageFolder folder({MouseImage, Receiver4KImage});
        UpDateRepair dialog;
        if (automatic) {
            SimDevice_Plug("mouse", 0);
            TRY_VERIFY(SimDevice_PathOf("receiver"));
            ShownDevices = {Found("receiver")};
        } else {
            IdentifiedDevices = {Found("mouse")};
            dialog.SlotRepairCheckUpdate();
            QCOMPARE(RepairView::Of(dialog).message, RepairTexts::Ready);
        }
        const int bootBefore = SimDevice_BootMode("receiver");
        RunLog log;
        {
            FullDisk full;
            if (automatic)
                dialog.StartAutoUpgrade(0);
            else
                dialog.on_NewHong_2_clicked();
        }
        QVERIFY(!RepairUpgradeRunning);
        QCOMPARE(log.views, QList<int>{6});
        QCOMPARE(log.repairEndings, (QList<int>{1, 2}));
        QCOMPARE(log.updateButton, updateButton);
        const RepairView view = RepairView::Of(dialog);
        QCOMPARE(view.message, QStringLiteral("Update not started: the settings could not be saved. Check the disk."));
        QVERIFY(view.closeEnabled);
        QCOMPARE(SimDevice_Version("receiver"), 0x0102);
        QCOMPARE(SimDevice_BootMode("receiver"), bootBefore);
        QCOMPARE(FailRecord(), record);
        QVERIFY(Registry::Instance()->Flush());
        QCOMPARE(FailRecordOnDisk(), record);
        QVERIFY(DeviceWatchEnabled);
    }

    void automaticReceiverUpdate()
    {
        // The top window's start: the one listed receiver, nothing recorded.
        QVERIFY(Load("cable-and-receiver.json"));
        SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 10);
        SimDevice_Plug("mouse", 0);
        TRY_VERIFY(SimDevice_PathOf("receiver"));
        ShownDevices = {Found("receiver")};
        QVERIFY(!ShownDevices.first().wired);
        ImageFolder folder({Receiver4KImage});
        UpDateRepair dialog;
        RunLog log;
        dialog.StartAutoUpgrade(0);
        QVERIFY(QTest::qWaitFor(Ended, RunMs));
        TRY_COMPARE(log.views, QList<int>{2});
        QCOMPARE(log.repairEndings, QList<int>{0});
        QCOMPARE(SimDevice_Version("receiver"), 0x0103);
        QCOMPARE(SimDevice_Version("mouse"), 0x0105);
        QCOMPARE(RepairView::Of(dialog).message, RepairTexts::Success);
        QCOMPARE(FailRecord(), QString());
    }

    void automaticStartWithoutReceiver()
    {
        ShownDevices.clear();
        UpDateRepair dialog;
        RunLog log;
        dialog.StartAutoUpgrade(0);
        QVERIFY(!RepairUpgradeRunning);
        QCOMPARE(RepairView::Of(dialog).message, RepairTexts::NoDevice);
        QVERIFY(RepairView::Of(dialog).closeEnabled);
        QCOMPARE(log.views, QList<int>{});
    }
};

TALVIRE_TEST_MAIN(TestRepairUpgrade)
#include "test_repair_upgrade.moc"
