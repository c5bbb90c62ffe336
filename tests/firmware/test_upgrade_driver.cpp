// The settings page's firmware update: the update check over the listed
// devices, the record and the images, and the runs of the receiver, then the
// mouse, on the simulated devices, with their endings.
#include "core/Timing.h"
#include "dialogs/UpDateWarning.h"
#include "pages/settings/UpgradeDriver.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/TestEnvironment.h"
#include "tests/firmware/UpgradeTestSupport.h"

#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QToolButton>

namespace {
const int RunMs = TestLimit(30000);

// The page's texts, as the language file gives them.
QHash<QString, QString> PageTexts()
{
    static QHash<QString, QString> texts;
    if (texts.isEmpty()) {
        static QString values[11];
        const QStringList names{QStringLiteral("NoDevice"),  QStringLiteral("SameDevice"),  QStringLiteral("VerNew"),
                                QStringLiteral("Receive"),   QStringLiteral("NoRecieve"),   QStringLiteral("NoUSB"),
                                QStringLiteral("Error"),     QStringLiteral("MultiDongle"), QStringLiteral("MultiMouse"),
                                QStringLiteral("WiredMode"), QStringLiteral("RecordFail")};
        QVector<LanguageTexts::Child> children;
        for (int i = 0; i < names.size(); ++i)
            children.append({names[i], LanguageTexts::Keep(&values[i])});
        LanguageTexts language(QStringLiteral("FormSetting"), children);
        language.Load(0);
        for (int i = 0; i < names.size(); ++i)
            texts.insert(names[i], values[i]);
        texts.insert(QString(), QString());
    }
    return texts;
}

// A stand-in of the settings page: its version labels, markers and update button.
struct Page {
    QWidget widget;
    QLabel* receiverVersion = new QLabel(&widget);
    QLabel* mouseVersion = new QLabel(&widget);
    QToolButton* receiverMarker = new QToolButton(&widget);
    QToolButton* mouseMarker = new QToolButton(&widget);
    QToolButton* updateButton = new QToolButton(&widget);
    std::unique_ptr<UpgradeDriver> driver;

    Page()
    {
        widget.resize(880, 630);
        receiverMarker->hide();
        mouseMarker->hide();
        driver = std::make_unique<UpgradeDriver>(UpgradeDriver::Widgets{
            &widget, receiverVersion, mouseVersion, receiverMarker, mouseMarker, updateButton});
        // The settings page loads the driver's texts with its own.
        LanguageTexts texts(QStringLiteral("FormSetting"), driver->TextChildren());
        texts.Load(LanguageTexts::StoredIndex());
    }
    ~Page() { driver.reset(); }
};

DeviceAllInfo Device(const char* id)
{
    DeviceAllInfo device = Found(id);
    if (device.address.isEmpty())
        device.ReadOnlineAndAddress(device.path.toLocal8Bit());
    return device;
}

DeviceAllInfo Fixture(bool wired, int mid, int linkType = 1, bool address = true, int cid = 10)
{
    DeviceAllInfo device;
    device.wired = wired;
    device.mid = quint8(mid);
    device.cid = quint8(cid);
    device.linkType = quint8(wired ? 2 : linkType);
    if (address)
        device.address = {1, 2, 3};
    device.path = QStringLiteral("/dev/hidsim/fixture-%1-%2").arg(wired).arg(mid);
    return device;
}

bool Load(const char* scenario)
{
    return SimDevice_LoadScenarioFile(qPrintable(QStringLiteral(TALVIRE_SCENARIO_DIR "/") + scenario)) != 0;
}

QString DialogMessage()
{
    return RepairView::Of(*UpgradeDriver::Dialog()).message;
}

// The mouse on its cable and its receiver, listed; the current device is the mouse.
bool ListCableAndReceiver()
{
    if (!Load("cable-and-receiver.json"))
        return false;
    SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 10);
    const DeviceAllInfo mouse = Device("mouse");
    CurrentDevice.set(mouse);
    WorkerDeviceList.set({mouse, Device("receiver")});
    return mouse.wired;
}

// The page shows the receiver at v1.2 and the mouse at the version; the
// update check found the images, and the dialog waits for its start.
bool ReadyToStart(Page& page, const QString& mouseVersion)
{
    page.receiverVersion->setText(QStringLiteral("v1.2"));
    page.mouseVersion->setText(mouseVersion);
    UpDateRepair* dialog = UpgradeDriver::Dialog();
    dialog->ResetView();
    if (!page.driver->ChechIsUpDate())
        return false;
    dialog->ShowUpdateReady();
    DeviceChosen = 1;
    return true;
}

// The run and its timers have ended.
bool RunEnded(Page& page)
{
    return QTest::qWaitFor([&] { return !FirmwareUpdateRunning && !page.driver->DongleCheckTimer->isActive()
                                        && !page.driver->MouseCheckTimer->isActive(); },
                           RunMs);
}
} // namespace

class TestUpgradeDriver : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Timing::SetScale(0.01);
        WiredModeText = PageTexts().value(QStringLiteral("WiredMode"));
    }

    void init()
    {
        ResetSharedState();
        ResetUpgradeState();
        QVERIFY(SimDevice_Reset());
        SimDevice_SetTiming(SIM_TIMING_UPGRADE_STEP, 10);
        FirmwareUpdateRunning = false;
    }

    void check_data()
    {
        QTest::addColumn<QList<DeviceAllInfo>>("devices");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("stages");

        const QStringList both{MouseImage, Receiver4KImage};
        const DeviceAllInfo mouse = Fixture(true, 1);
        const DeviceAllInfo receiver = Fixture(false, 1);
        const QString normal = QStringLiteral("cable-and-receiver.json");

        QTest::newRow("both on receivers") << QList<DeviceAllInfo>{receiver, receiver} << QString() << both << normal
                                           << false << QStringLiteral("NoUSB") << 1;
        QTest::newRow("models differ") << QList<DeviceAllInfo>{mouse, Fixture(false, 2)} << QString() << both
                                       << normal << false << QStringLiteral("NoRecieve") << 1;
        QTest::newRow("receiver without address") << QList<DeviceAllInfo>{mouse, Fixture(false, 1, 1, false)}
                                                  << QString() << both << normal << false
                                                  << QStringLiteral("NoRecieve") << 1;
        QTest::newRow("nothing newer") << QList<DeviceAllInfo>{mouse, receiver} << QString() << QStringList()
                                       << normal << false << QStringLiteral("VerNew") << 1;
        QTest::newRow("both newer") << QList<DeviceAllInfo>{mouse, receiver} << QString() << both << normal << true
                                    << QString() << 2;
        QTest::newRow("only the mouse newer") << QList<DeviceAllInfo>{mouse, receiver} << QString()
                                              << QStringList{MouseImage} << normal << true << QString() << 1;
        QTest::newRow("four devices") << QList<DeviceAllInfo>{mouse, mouse, receiver, receiver} << QString() << both
                                      << normal << false << QStringLiteral("MultiMouse") << 1;
        QTest::newRow("three devices") << QList<DeviceAllInfo>{mouse, receiver, receiver} << QString() << both
                                       << normal << false << QStringLiteral("MultiDongle") << 1;
        QTest::newRow("one mouse, no record") << QList<DeviceAllInfo>{mouse} << QString() << both << normal << false
                                              << QStringLiteral("NoRecieve") << 1;
        QTest::newRow("one receiver, no record") << QList<DeviceAllInfo>{receiver} << QString() << both << normal
                                                 << false << QStringLiteral("NoUSB") << 1;
        QTest::newRow("mouse repair in boot mode")
            << QList<DeviceAllInfo>{receiver} << QStringLiteral("210,1,10,1") << both
            << QStringLiteral("mouse-boot-mode.json") << true << QString() << 1;
        QTest::newRow("mouse repair, nothing in boot mode")
            << QList<DeviceAllInfo>{receiver} << QStringLiteral("210,1,10,1") << both << normal << false
            << QStringLiteral("NoDevice") << 1;
        QTest::newRow("another customer") << QList<DeviceAllInfo>{Fixture(false, 1, 1, true, 11)}
                                          << QStringLiteral("210,1,10,1") << both
                                          << QStringLiteral("mouse-boot-mode.json") << false
                                          << QStringLiteral("Error") << 1;
        QTest::newRow("no device") << QList<DeviceAllInfo>{} << QString() << both << normal << false
                                   << QStringLiteral("Error") << 1;
    }

    void check()
    {
        QFETCH(QList<DeviceAllInfo>, devices);
        QFETCH(QString, record);
        QFETCH(QStringList, images);
        QFETCH(QString, scenario);
        QFETCH(bool, result);
        QFETCH(QString, message);
        QFETCH(int, stages);

        QVERIFY(Load(qPrintable(scenario)));
        ImageFolder folder(images);
        SetFailRecord(record);
        Page page;
        page.receiverVersion->setText(QStringLiteral("v1.2"));
        page.mouseVersion->setText(QStringLiteral("v1.5"));
        WorkerDeviceList.set(devices);
        UpgradeDriver::Dialog()->ResetView();

        QCOMPARE(page.driver->ChechIsUpDate(), result);
        if (!result)
            QCOMPARE(DialogMessage(), PageTexts().value(message));
        else
            QCOMPARE(SettingStageCount.load(), stages);
        if (QTest::currentDataTag() == QLatin1String("only the mouse newer"))
            QVERIFY(MouseUpdateAvailable);
        if (QTest::currentDataTag() == QLatin1String("mouse repair in boot mode")) {
            QCOMPARE(page.driver->mouseRepairPending, 1);
            QCOMPARE(ReceiverKind.load(), 1);
        }
    }

    void updateButtonWhenNothingIsNewer()
    {
        QVERIFY(Load("cable-and-receiver.json"));
        ImageFolder folder({});
        Page page;
        WorkerDeviceList.set({Fixture(true, 1), Fixture(false, 1)});
        page.updateButton->setText(QStringLiteral("Update"));
        page.driver->on_Receive_2_clicked();
        QCOMPARE(page.updateButton->text(), PageTexts().value(QStringLiteral("VerNew")));
        QVERIFY(!UpgradeDriver::Dialog()->isVisible());
        // Once up to date, a click does not even check.
        WorkerDeviceList.set({});
        UpgradeDriver::Dialog()->SetMessage(QStringLiteral("untouched"));
        if (!PageTexts().value(QStringLiteral("VerNew")).isEmpty()) {
            page.driver->on_Receive_2_clicked();
            QCOMPARE(DialogMessage(), QStringLiteral("untouched"));
        }
    }

    void runs_data()
    {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("receiverState");
        QTest::addColumn<int>("mouseState");
        QTest::addColumn<int>("receiverVersion");
        QTest::addColumn<int>("mouseVersion");
        QTest::addColumn<QString>("record");
        QTest::addColumn<int>("logLines");
        QTest::addColumn<QString>("message");

        const QStringList both{MouseImage, Receiver4KImage};
        QTest::newRow("receiver, then mouse") << both << 0 << 2 << 2 << 0x0103 << 0x0106 << QString() << 0
                                              << RepairTexts::Success;
        QTest::newRow("only the mouse newer") << QStringList{MouseImage} << 0 << 4 << 2 << 0x0102 << 0x0106
                                              << QString() << 0 << RepairTexts::Success;
        QTest::newRow("receiver fails") << both << int(SIM_UPGRADE_FAIL_AT) << 3 << 0 << -1 << 0x0105
                                        << QStringLiteral("211,4,10,1") << 8 << RepairTexts::Fail;
        QTest::newRow("start refused") << both << int(SIM_UPGRADE_REFUSE) << 3 << 0 << 0x0102 << 0x0105
                                       << QStringLiteral("211,4,10,1") << 8 << RepairTexts::Fail;
        QTest::newRow("result at once") << both << int(SIM_UPGRADE_IMMEDIATE) << 2 << 2 << 0x0103 << 0x0106
                                        << QString() << 0 << RepairTexts::Success;
        // The result reaches the callback before the start call has returned:
        // the run counts as upgrading from before the call on.
        QTest::newRow("result during the start call") << both << int(SIM_UPGRADE_IN_CALL) << 2 << 2 << 0x0103
                                                      << 0x0106 << QString() << 0 << RepairTexts::Success;
        // No report at all: the silence limit (scaled down) ends the run.
        QTest::newRow("library silent") << both << int(SIM_UPGRADE_SILENT) << 3 << 0 << 0x0102 << 0x0105
                                        << QStringLiteral("211,4,10,1") << 8 << RepairTexts::Fail;
    }

    void runs()
    {
        QFETCH(QStringList, images);
        QFETCH(int, fault);
        QFETCH(int, receiverState);
        QFETCH(int, mouseState);
        QFETCH(int, receiverVersion);
        QFETCH(int, mouseVersion);
        QFETCH(QString, record);
        QFETCH(int, logLines);
        QFETCH(QString, message);

        QVERIFY(ListCableAndReceiver());
        ImageFolder folder(images);
        Page page;
        QVERIFY(ReadyToStart(page, QStringLiteral("v1.5")));
        const int linesBefore = LogLineCount();
        if (fault)
            SimDevice_SetUpgradeFault(fault, 50);
        UpgradeDriver::Dialog()->on_NewHong_2_clicked();
        QVERIFY(FirmwareUpdateRunning);
        QVERIFY(RunEnded(page));
        TRY_COMPARE(DialogMessage(), message);
        QCOMPARE(ReceiverUpgradeState.load(), receiverState);
        QCOMPARE(MouseUpgradeState.load(), mouseState);
        if (receiverVersion >= 0)
            QCOMPARE(SimDevice_Version("receiver"), receiverVersion);
        QCOMPARE(SimDevice_Version("mouse"), mouseVersion);
        QCOMPARE(FailRecord(), record);
        QCOMPARE(LogLineCount() - linesBefore, logLines);
        QVERIFY(DeviceWatchEnabled);
        if (logLines) {
            QVERIFY(!MouseUpdateAvailable);
            QVERIFY(!ReceiverUpdateAvailable);
        }
        if (mouseState == 2)
            QCOMPARE(Registry::Instance()->GetValue(Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1"))),
                     QStringLiteral("v1.6"));
    }

    // A run started from the dialog that ends without a result of the library
    // still ends in a final view: the reason, and the dialog can be closed.
    // Between the check and the start the images or the devices change.
    void aDialogRunWithoutResultEndsInAFinalView_data()
    {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QList<DeviceAllInfo>>("added");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("receiverVersion");

        const QStringList both{MouseImage, Receiver4KImage};
        QTest::newRow("no image left") << QStringList() << QList<DeviceAllInfo>() << PageTexts().value("VerNew")
                                       << 0x0102;
        QTest::newRow("a second receiver") << both << QList<DeviceAllInfo>{Fixture(false, 1)}
                                           << PageTexts().value("SameDevice") << 0x0102;
        // The receiver is updated; the mouse stage finds two mice.
        QTest::newRow("a second mouse on a cable") << both << QList<DeviceAllInfo>{Fixture(true, 1)}
                                                   << RepairTexts::Fail << 0x0103;
    }

    void aDialogRunWithoutResultEndsInAFinalView()
    {
        QFETCH(QStringList, images);
        QFETCH(QList<DeviceAllInfo>, added);
        QFETCH(QString, message);
        QFETCH(int, receiverVersion);

        QVERIFY(ListCableAndReceiver());
        Page page;
        {
            ImageFolder checked({MouseImage, Receiver4KImage});
            QVERIFY(ReadyToStart(page, QStringLiteral("v1.5")));
        }
        ImageFolder folder(images);
        WorkerDeviceList.set(WorkerDeviceList.get() + added);
        UpgradeDriver::Dialog()->on_NewHong_2_clicked();
        QVERIFY(RunEnded(page));
        TRY_COMPARE(DialogMessage(), message);
        const RepairView view = RepairView::Of(*UpgradeDriver::Dialog());
        QVERIFY(view.messageShown);
        QVERIFY(view.startShown);
        QCOMPARE(view.startText, RepairTexts::Confirm);
        QVERIFY(view.closeEnabled);
        QVERIFY(view.cancelShown);
        QVERIFY(view.cancelEnabled);
        QCOMPARE(SimDevice_Version("receiver"), receiverVersion);
        QCOMPARE(SimDevice_Version("mouse"), 0x0105);
        QVERIFY(DeviceWatchEnabled);
        page.driver->WarningDialog()->close();
    }

    // Before the library's start the record of the update is on the disk,
    // also while the settings writer is busy: a crash or a power loss during
    // the update leaves the record that offers the repair. The end of the
    // record is on the disk when the run has ended.
    void recordIsOnDiskBeforeTheStart()
    {
        QVERIFY(ListCableAndReceiver());
        ImageFolder folder({Receiver4KImage});
        Page page;
        QVERIFY(ReadyToStart(page, QStringLiteral("v1.6")));
        QCOMPARE(FailRecordOnDisk(), QString());

        HoldSettingsWriter();
        UpgradeDriver::Dialog()->on_NewHong_2_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(SimDevice_BootMode("receiver"), 1, RunMs);
        QCOMPARE(FailRecordOnDisk(), QStringLiteral("211,4,10,1"));

        QVERIFY(RunEnded(page));
        TRY_COMPARE(DialogMessage(), RepairTexts::Success);
        QCOMPARE(SimDevice_Version("receiver"), 0x0103);
        QCOMPARE(FailRecordOnDisk(), QString());
    }

    // With a settings folder that cannot be written the record cannot be
    // put on the disk: nothing starts, no device leaves its firmware, the
    // record stays as it was, and the dialog says why.
    void unwritableSettingsStopTheStart_data()
    {
        QTest::addColumn<QString>("recordBefore");
        QTest::newRow("no record") << QString();
        QTest::newRow("an older record") << QStringLiteral("210,4,10,1");
    }

    void unwritableSettingsStopTheStart()
    {
        QFETCH(QString, recordBefore);
        QVERIFY(ListCableAndReceiver());
        ImageFolder folder({MouseImage, Receiver4KImage});
        Page page;
        QVERIFY(ReadyToStart(page, QStringLiteral("v1.5")));
        SetFailRecord(recordBefore);
        const int linesBefore = LogLineCount();
        {
            FullDisk full;
            UpgradeDriver::Dialog()->on_NewHong_2_clicked();
            QVERIFY(RunEnded(page));
        }
        const RepairView view = RepairView::Of(*UpgradeDriver::Dialog());
        QCOMPARE(view.message, PageTexts().value(QStringLiteral("RecordFail")));
        QVERIFY(view.messageShown);
        QVERIFY(view.closeEnabled);
        QVERIFY(!view.barShown);
        QCOMPARE(ReceiverUpgradeState.load(), 0);
        QCOMPARE(MouseUpgradeState.load(), 0);
        QCOMPARE(SimDevice_BootMode("receiver"), 0);
        QCOMPARE(SimDevice_Version("receiver"), 0x0102);
        QCOMPARE(SimDevice_Version("mouse"), 0x0105);
        QCOMPARE(FailRecord(), recordBefore);
        QCOMPARE(LogLineCount(), linesBefore);
        QVERIFY(DeviceWatchEnabled);
        QVERIFY(!page.driver->WarningDialog()->isVisible());
        // With room again, the record on the disk is the one from before.
        QVERIFY(Registry::Instance()->Flush());
        QCOMPARE(FailRecordOnDisk(), recordBefore);
    }

    void chainedRunWarnings_data()
    {
        QTest::addColumn<bool>("mouseRun");
        QTest::addColumn<QList<DeviceAllInfo>>("devices");
        QTest::addColumn<bool>("currentWired");
        QTest::addColumn<QString>("text");

        QTest::newRow("mouse, none on a cable") << true << QList<DeviceAllInfo>{Fixture(false, 1)} << false
                                                << QStringLiteral("WiredMode");
        QTest::newRow("receiver, two") << false << QList<DeviceAllInfo>{Fixture(false, 1), Fixture(false, 1)}
                                       << true << QStringLiteral("SameDevice");
        QTest::newRow("receiver, none") << false << QList<DeviceAllInfo>{Fixture(true, 1)} << true
                                        << QStringLiteral("NoDevice");
    }

    void chainedRunWarnings()
    {
        QFETCH(bool, mouseRun);
        QFETCH(QList<DeviceAllInfo>, devices);
        QFETCH(bool, currentWired);
        QFETCH(QString, text);

        ImageFolder folder({MouseImage, Receiver4KImage});
        Page page;
        page.mouseVersion->setText(QStringLiteral("v1.5"));
        DeviceAllInfo current = Fixture(currentWired, 1, 1);
        current.modelIndex = 0;
        CurrentDevice.set(current);
        WorkerDeviceList.set(devices);
        ReceiverKind = 4;
        if (mouseRun) {
            MouseUpdateAvailable = true;
            ReceiverUpgradeState = 2;
            page.driver->SlotContinue(0);
        } else {
            page.driver->chainedStart = true;
            page.driver->on_Receive_clicked();
        }
        QVERIFY(QTest::qWaitFor([&] { return !FirmwareUpdateRunning; }, RunMs));
        UpDateWarning* warning = page.driver->WarningDialog();
        TRY_VERIFY(warning->isVisible());
        QCOMPARE(warning->findChild<QLabel*>(QStringLiteral("label"))->text(), PageTexts().value(text));
        QCOMPARE((mouseRun ? MouseUpgradeState : ReceiverUpgradeState).load(), 0);
        QVERIFY(!page.receiverMarker->isVisibleTo(&page.widget));
        QVERIFY(!page.mouseMarker->isVisibleTo(&page.widget));
        QVERIFY(DeviceWatchEnabled);
        warning->close();
    }

    void unchainedCountFailureShowsMarker()
    {
        ImageFolder folder({MouseImage, Receiver4KImage});
        Page page;
        DeviceAllInfo current = Fixture(true, 1);
        CurrentDevice.set(current);
        WorkerDeviceList.set({current});
        ReceiverKind = 4;
        page.driver->on_Receive_clicked();
        QVERIFY(QTest::qWaitFor([&] { return !FirmwareUpdateRunning; }, RunMs));
        QVERIFY(page.receiverMarker->isVisibleTo(&page.widget));
        QVERIFY(!page.driver->WarningDialog()->isVisible());
    }
};

TALVIRE_TEST_MAIN(TestUpgradeDriver)
#include "test_upgrade_driver.moc"
