// The firmware update and repair in the whole program on the simulated mouse
// on its cable beside its receiver: an update whose receiver stage fails, the
// way back to the device list with its Repair button, and the repair that
// brings both devices to the images' versions.
#include "core/DeviceCacheFile.h"
#include "core/Timing.h"
#include "dialogs/UpDataParam.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/UpgradeDriver.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "shell/mytoolButtonEnter.h"
#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/TestEnvironment.h"
#include "tests/firmware/UpgradeTestSupport.h"

#include <QApplication>
#include <QStackedWidget>

#include <memory>
#include <optional>

namespace {
const int Patience = TestLimit(30000);
} // namespace

class FirmwareEndToEndTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogMain> window;

    QStackedWidget* Stack() { return window->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetMain")); }

    QAbstractButton* RepairButton()
    {
        return window->Chooser()->findChild<QAbstractButton*>(QStringLiteral("Repair"));
    }

    // Clicks the one listed device and waits until its configuration has come.
    bool OpenTheDevice()
    {
        if (!QTest::qWaitFor([] { return ShownDevices.size() == 1 && DialogChange::DeviceButtons.size() == 1; },
                             Patience))
            return false;
        QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        return Stack()->currentIndex() == 1
            && QTest::qWaitFor([] { return LiveFlashDataIsCurrent() && UiReady; }, Patience)
            && QTest::qWaitFor([this] { return !window->Frame()->ApplyDialog()->isVisible(); }, Patience);
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        Timing::SetScale(0.05);
    }

    void failedUpdateThenRepair()
    {
        ResetSharedState();
        ResetUpgradeState();
        QVERIFY(SimDevice_LoadScenarioFile(TALVIRE_SCENARIO_DIR "/cable-and-receiver.json"));
        SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 20);
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()));
        QVERIFY(OpenTheDevice());
        QVERIFY(CurrentDevice.get().wired);

        // The update, from the settings page's (hidden) update button.
        auto* page = window->Frame()->findChild<FormSetting*>();
        QVERIFY(page);
        QTRY_COMPARE_WITH_TIMEOUT(WorkerDeviceList.get().size(), 2, Patience);
        page->Upgrade()->on_Receive_2_clicked();
        UpDateRepair* dialog = UpgradeDriver::Dialog();
        QVERIFY(dialog->isVisible());
        QCOMPARE(RepairView::Of(*dialog).message, RepairTexts::Ready);
        SimDevice_SetUpgradeFault(SIM_UPGRADE_FAIL_AT, 50);
        QTest::mouseClick(dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong_2")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(RepairView::Of(*dialog).message, RepairTexts::Fail, Patience);
        QCOMPARE(FailRecord(), QStringLiteral("211,4,10,1"));
        QCOMPARE(MouseUpgradeState.load(), 0);

        // Closing goes back to the device list, which offers the repair.
        QTest::mouseClick(dialog->findChild<QAbstractButton*>(QStringLiteral("CloseButton")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(Stack()->currentIndex(), 0, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(RepairButton()->isVisible(), Patience);

        // The repair: ready, then both devices at the images' versions.
        QTest::mouseClick(RepairButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(dialog->isVisible(), Patience);
        QTRY_COMPARE_WITH_TIMEOUT(RepairView::Of(*dialog).message, RepairTexts::Ready, Patience);
        QVERIFY(!SaveScreenshot(dialog, QStringLiteral("firmware_repair_ready")).isEmpty());
        QTest::mouseClick(dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong_2")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(RepairView::Of(*dialog).message, RepairTexts::Success, Patience);
        QCOMPARE(SimDevice_Version("receiver"), 0x0103);
        QCOMPARE(SimDevice_Version("mouse"), 0x0106);
        QCOMPARE(FailRecord(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(!RepairButton()->isVisible(), Patience);
        QTest::mouseClick(dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong_2")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    }

    // Space on the device list with one receiver listed, a recorded mouse
    // version and only a newer receiver image: the question, then, when
    // confirmed, the receiver's update in a dialog of its own.
    void spaceKey_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("declined") << false;
    }

    void spaceKey()
    {
        QFETCH(bool, confirm);
        window.reset();
        ResetSharedState();
        ResetUpgradeState();
        QVERIFY(SimDevice_Reset());
        SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 20);
        QVERIFY(Registry::Instance()->SetValue(Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1")),
                                               QStringLiteral("v1.5")));
        ImageFolder folder({Receiver4KImage});
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()));
        QTRY_COMPARE_WITH_TIMEOUT(ShownDevices.size(), 1, Patience);
        QVERIFY(!ShownDevices.first().wired);

        QString seen;
        std::optional<ModalAnswer> update;
        ModalAnswer question([&](QWidget* shown) {
            if (!confirm) {
                shown->findChild<QAbstractButton*>(QStringLiteral("Cancel"))->click();
                return;
            }
            // The update dialog follows the question: it ends with its
            // success view, which its confirm button closes.
            update.emplace([&seen](QWidget* dialog) {
                auto* repair = qobject_cast<UpDateRepair*>(dialog);
                if (!repair)
                    return;
                (void)QTest::qWaitFor([repair] { return RepairView::Of(*repair).message == RepairTexts::Success; },
                                Patience);
                seen = RepairView::Of(*repair).message;
                repair->findChild<QAbstractButton*>(QStringLiteral("NewHong_2"))->click();
            });
            shown->findChild<QAbstractButton*>(QStringLiteral("OK"))->click();
        });
        QTest::keyClick(window.get(), Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(question.Answered(), Patience);
        QCOMPARE(question.DialogClass(), QStringLiteral("ContainReset"));
        if (confirm) {
            QTRY_VERIFY_WITH_TIMEOUT(update && update->Answered(), Patience);
            QCOMPARE(update->DialogClass(), QStringLiteral("UpDateRepair"));
            QCOMPARE(seen, RepairTexts::Success);
            QTRY_COMPARE_WITH_TIMEOUT(SimDevice_Version("receiver"), 0x0103, Patience);
        } else {
            QTest::qWait(300);
            QVERIFY(!QApplication::activeModalWidget());
            QCOMPARE(SimDevice_Version("receiver"), 0x0102);
        }
        QCOMPARE(SimDevice_Version("mouse"), 0x0105);
        QCOMPARE(FailRecord(), QString());
        QVERIFY(!RepairUpgradeRunning);
        QVERIFY(DeviceWatchEnabled);
    }

    void cleanupTestCase()
    {
        window.reset();
        UsbLibrary_Shutdown();
    }
};

TALVIRE_TEST_MAIN(FirmwareEndToEndTest)
#include "test_firmware_end_to_end.moc"
