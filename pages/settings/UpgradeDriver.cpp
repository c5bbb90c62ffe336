#include "pages/settings/UpgradeDriver.h"

#include "core/FirmwareImages.h"
#include "core/FirmwareUpgrade.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/RepairUpgrade.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/RepairDialogTracker.h"
#include "dialogs/UpDateRepair.h"
#include "dialogs/UpDateWarning.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

namespace {
constexpr int Receiver = FirmwareImages::ReceiverType;
constexpr int Mouse = FirmwareImages::MouseType;

// The receiver kind of a listed device's link, for the kinds the driver
// knows (link types 1, 4, 0, 5); 0 for any other link.
int KnownReceiverKind(const DeviceAllInfo& device)
{
    return DeviceAllInfo::ReceiverKind(device.linkType);
}

// A receiver listed beside a mouse on its cable: with address bytes, on a
// receiver, of a known kind.
const DeviceAllInfo* ReceiverBeside(const QList<DeviceAllInfo>& devices)
{
    for (const DeviceAllInfo& device : devices)
        if (!device.address.isEmpty() && !device.wired && KnownReceiverKind(device) != 0)
            return &device;
    return nullptr;
}

// The id transfer of the driver's own (unused) helpers.
bool receiverIdReadB = false;
QList<quint8> receiverIdBytesB;
} // namespace

UpgradeDriver::UpgradeDriver(const Widgets& widgets)
    : QObject(widgets.page)
    , w_(widgets)
    , warningDialog(std::make_unique<UpDateWarning>())
{
    pictureDir = StyleSheet::PictureFolder(QStringLiteral("FormSetting"));
    buttonColor = StyleSheet::ColourText(QStringLiteral("ButtonColor"));

    // The one update and repair dialog lives until the program ends.
    if (!RepairDialog) {
        auto* dialog = new UpDateRepair();
        dialog->hide();
        RepairDialogTracker::Track(dialog);
    }

    DongleCheckTimer = new QTimer(this);
    MouseCheckTimer = new QTimer(this);
    connect(DongleCheckTimer, &QTimer::timeout, this, &UpgradeDriver::onDongleCheckTimer);
    connect(MouseCheckTimer, &QTimer::timeout, this, &UpgradeDriver::onMouseCheckTimer);
    DongleCheckTimer->setInterval(Timing::Ms(TickMs));
    MouseCheckTimer->setInterval(Timing::Ms(TickMs));

    PostMsg::Connect(SIGNAL(SigUpdateStart()), this, SLOT(on_Start()));
    PostMsg::Connect(SIGNAL(SigContinue(int)), this, SLOT(SlotContinue(int)));
    if (w_.updateButton)
        connect(w_.updateButton, &QAbstractButton::clicked, this, &UpgradeDriver::on_Receive_2_clicked);
}

UpgradeDriver::~UpgradeDriver()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
}

QVector<LanguageTexts::Child> UpgradeDriver::TextChildren()
{
    return {
        {QStringLiteral("NoDevice"), LanguageTexts::Keep(&noDeviceText)},
        {QStringLiteral("SameDevice"), LanguageTexts::Keep(&sameDeviceText)},
        {QStringLiteral("VerNew"), LanguageTexts::Keep(&verNewText)},
        {QStringLiteral("Receive"), LanguageTexts::Keep(&receiveText)},
        {QStringLiteral("NoRecieve"), LanguageTexts::Keep(&noReceiverText)},
        {QStringLiteral("NoUSB"), LanguageTexts::Keep(&noUsbText)},
        {QStringLiteral("Error"), LanguageTexts::Keep(&errorText)},
        {QStringLiteral("MultiDongle"), LanguageTexts::Keep(&multiDongleText)},
        {QStringLiteral("MultiMouse"), LanguageTexts::Keep(&multiMouseText)},
        {QStringLiteral("RecordFail"), LanguageTexts::Keep(&notRecordedText)},
    };
}

UpDateRepair* UpgradeDriver::Dialog()
{
    return qobject_cast<UpDateRepair*>(RepairDialog.data());
}

void UpgradeDriver::ClearUpgradeFlags()
{
    mouseUpToDate = false;
    mouseUpgrading = false;
    receiverUpToDate = false;
    receiverUpgrading = false;
}

bool UpgradeDriver::Running() const
{
    return DongleCheckTimer->isActive() || MouseCheckTimer->isActive();
}

// ---- Looks and messages -------------------------------------------------------------

void UpgradeDriver::ConfirmLook()
{
    if (!w_.updateButton)
        return;
    w_.updateButton->setStyleSheet(
        QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + buttonColor + QStringLiteral(";);border-image: url(") + pictureDir + QStringLiteral("Confirm.png);}"));
}

void UpgradeDriver::PlaceOverPage(QWidget* dialog) const
{
    if (w_.page)
        DialogPlacement::CentreOver(dialog, w_.page, -75, -65);
}

void UpgradeDriver::ShowWarning(const QString& text)
{
    PlaceOverPage(warningDialog.get());
    warningDialog->setWindowModality(Qt::ApplicationModal);
    warningDialog->SetText(text);
    warningDialog->show();
}

bool UpgradeDriver::LookUp(int type, const QString& version, const QString& key) const
{
    const ProductDescription::Group group = ProductDescription::Instance().Model(CurrentDevice.get().modelIndex);
    return FirmwareImages::FindSettingFirmwareImage(type, version, group.Text(key), SettingCid, SettingMid);
}

int& UpgradeDriver::BootCount(int kind)
{
    switch (kind) {
    case 2:
        return bootCountD2M;
    case 4:
        return bootCountD4M;
    case 8:
        return bootCountD8M;
    default:
        return bootCountDM;
    }
}

// ---- Starting runs ---------------------------------------------------------------------

void UpgradeDriver::StartRun(bool receiver)
{
    FirmwareUpdateRunning = true;
    notRecorded_ = false;
    upgradeStep = 0;
    if (receiver) {
        if (w_.receiverMarker)
            w_.receiverMarker->hide();
        emit SetVer(2);
        ranReceiver_ = true;
    } else {
        if (w_.mouseMarker)
            w_.mouseMarker->hide();
        emit SetVer(1);
        ranMouse_ = true;
    }
    DeviceWatchEnabled = false;
    (receiver ? DongleCheckTimer : MouseCheckTimer)->start();
    (receiver ? receiverUpgrading : mouseUpgrading) = true;
}

void UpgradeDriver::on_Start()
{
    dialogRun_ = true;
    ranReceiver_ = false;
    ranMouse_ = false;
    endMessage_.clear();
    bootCountDM = bootCountD2M = bootCountD4M = bootCountD8M = 0;
    if (UpDateRepair* dialog = Dialog())
        dialog->ShowUpgrading();
    const int mid = ProductDescription::Instance().Mid(driveIndex_);
    const QString shown = w_.receiverVersion ? w_.receiverVersion->text() : QString();
    const bool found = FirmwareImages::FindSettingFirmwareImage(Receiver, shown, failedReceiverModel,
                                                                ProductDescription::Instance().Cid(), mid);
    if (!found && mouseRepairPending == 1) {
        chainedStart = true;
        on_Mouse_clicked();
    } else if (ReceiverUpgradeState != FirmwareUpgrade::Upgrading && MouseUpgradeState != FirmwareUpgrade::Upgrading
               && !mouseUpgrading && !receiverUpToDate) {
        StartRun(true);
    } else if (receiverUpToDate) {
        ConfirmLook();
        SlotContinue(0);
    }
    EndOfDialogRun();
}

void UpgradeDriver::on_Receive_clicked()
{
    ReceiverKind = 0;
    const DeviceAllInfo current = CurrentDevice.get();
    const QList<DeviceAllInfo> devices = WorkerDeviceList.get();
    if (!current.wired) {
        ReceiverKind = KnownReceiverKind(current);
    } else if (devices.size() == 2) {
        if (const DeviceAllInfo* receiver = ReceiverBeside(devices))
            ReceiverKind = KnownReceiverKind(*receiver);
    }
    if (receiverUpToDate || mouseUpgrading)
        return;
    StartRun(true);
}

void UpgradeDriver::on_Mouse_clicked()
{
    const DeviceAllInfo current = CurrentDevice.get();
    if (current.wired) {
        const QList<DeviceAllInfo> devices = WorkerDeviceList.get();
        if (devices.isEmpty() || !devices.first().wired || devices.first().mid != current.mid) {
            // The failure view is the run's final view.
            dialogRun_ = false;
            PostMsg::Instance()->PostProgress(0, 5);
            return;
        }
    }
    if (mouseUpToDate) {
        if (w_.updateButton)
            w_.updateButton->setText(verNewText);
        return;
    }
    if (receiverUpgrading)
        return;
    StartRun(false);
}

void UpgradeDriver::SlotContinue(int state)
{
    Q_UNUSED(state)
    bootCountDM = bootCountD2M = bootCountD4M = bootCountD8M = 0;
    const auto doneOrCurrent = [](int value) {
        return value == FirmwareUpgrade::Succeeded || value == FirmwareUpgrade::NothingNewer;
    };
    if (MouseUpdateAvailable && doneOrCurrent(ReceiverUpgradeState)) {
        chainedStart = true;
        on_Mouse_clicked();
    }
    if (ReceiverUpdateAvailable && doneOrCurrent(MouseUpgradeState)) {
        chainedStart = true;
        on_Receive_clicked();
    }
}

void UpgradeDriver::onDongleCheckTimer()
{
    RunUpgrade(upgradeStep, Receiver, w_.receiverVersion ? w_.receiverVersion->text() : QString());
}

void UpgradeDriver::onMouseCheckTimer()
{
    RunUpgrade(upgradeStep, Mouse, w_.mouseVersion ? w_.mouseVersion->text() : QString());
}

// ---- The step machine ---------------------------------------------------------------------

void UpgradeDriver::RunUpgrade(int step, int target, const QString& version)
{
    const bool mouse = target == Mouse;
    std::atomic<int>& state = mouse ? MouseUpgradeState : ReceiverUpgradeState;
    const ProductDescription& description = ProductDescription::Instance();
    const DeviceAllInfo current = CurrentDevice.get();
    const ProductDescription::Group group = description.Model(current.modelIndex);
    const auto nothingNewer = [&] {
        state = FirmwareUpgrade::NothingNewer;
        mouse ? OnMouseUpgradeFinished() : OnReceiverUpgradeFinished();
        (mouse ? mouseUpToDate : receiverUpToDate) = true;
        upgradeStep = 4;
    };

    switch (step) {
    case 0: {
        SettingCid = description.Cid();
        SettingMid = description.Mid(current.modelIndex);
        bool found = false;
        if (mouse) {
            found = LookUp(Mouse, version, QStringLiteral("MM"));
        } else {
            receiverPaths.clear();
            const int kind = ReceiverKind;
            const QString key = ProductDescription::ReceiverModelKey(kind);
            // The kind-1 receiver is looked up also without a model name.
            if (!key.isEmpty() && (kind == 1 || !group.Text(key).isEmpty())) {
                found = LookUp(target, QString(), key);
                if (found)
                    BootCount(kind) = FirmwareUpgrade::BootCount(FirmwareImages::SettingImageList().value(0));
            }
            const QList<DeviceAllInfo> devices = WorkerDeviceList.get();
            for (const DeviceAllInfo& device : devices) {
                if (device.wired)
                    continue;
                if (current.wired)
                    receiverPaths << device.path;
                else if (device.path == current.path)
                    receiverPaths << current.path;
            }
        }
        if (!found && ReceiverKind != 0)
            nothingNewer();
        else
            upgradeStep = 1;
        return;
    }
    case 1: {
        const QList<DeviceAllInfo> devices = WorkerDeviceList.get();
        int count = 0;
        if (mouse) {
            count = int(std::count_if(devices.begin(), devices.end(),
                                      [](const DeviceAllInfo& device) { return device.wired; }))
                + mouseRepairPending;
        } else {
            count = receiverPaths.size() + bootCountDM + bootCountD2M + bootCountD4M + bootCountD8M;
        }
        if (count != 1) {
            DeviceCountFailure(mouse, count);
            return;
        }
        bool found = true;
        if (mouse) {
            found = LookUp(Mouse, version, QStringLiteral("MM"));
        } else if (bootCountDM == 1 || bootCountD2M == 1 || bootCountD4M == 1 || bootCountD8M == 1) {
            const int kind = bootCountDM == 1 ? 1 : bootCountD2M == 1 ? 2 : bootCountD4M == 1 ? 4 : 8;
            LookUp(target, QString(), ProductDescription::ReceiverModelKey(kind));
        } else {
            const int kind = ReceiverKind;
            QString current_version = version;
            QString key = QStringLiteral("DM");
            if (kind == 2 || kind == 4 || kind == 8) {
                key = ProductDescription::ReceiverModelKey(kind);
                current_version = FirmwareUpgrade::SlaveVersion(receiverPaths.value(0));
            }
            found = LookUp(target, current_version, key);
        }
        const QList<QByteArray> images = FirmwareImages::SettingImageList();
        // No image kept (also in boot mode, where the lookup above may have
        // found none): nothing to start.
        if (!found || images.isEmpty()) {
            nothingNewer();
            return;
        }
        UpgradeTarget = target;
        // Upgrading before the start: a result that comes at once is not lost.
        state = FirmwareUpgrade::Upgrading;
        reportsSeen_ = FirmwareUpgrade::ReportCount();
        lastReportAt_ = QDateTime::currentMSecsSinceEpoch();
        const FirmwareUpgrade::StartResult started = FirmwareUpgrade::Start(
            images.first(), mouse ? &UpgradeStatusCallbackB : &UpgradeStatusCallbackA,
            FirmwareUpgrade::FailRecordOf(target, ReceiverKind, SettingCid, SettingMid));
        if (started == FirmwareUpgrade::NotRecorded) {
            NotRecorded(mouse);
            return;
        }
        if (started == FirmwareUpgrade::Refused)
            FirmwareUpgrade::Fail();
        upgradeStep = 2;
        return;
    }
    case 2:
        upgradeStep = 3;
        return;
    case 3: {
        if (state != FirmwareUpgrade::Upgrading) {
            upgradeStep = 4;
            return;
        }
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const int reports = FirmwareUpgrade::ReportCount();
        if (reports != reportsSeen_) {
            reportsSeen_ = reports;
            lastReportAt_ = now;
        } else if (now - lastReportAt_ > Timing::Ms(SilenceLimitMs)) {
            // The library has gone silent: the upgrade failed.
            FirmwareUpgrade::Fail();
            upgradeStep = 4;
        }
        return;
    }
    default:
        break;
    }

    // Step 4: the run ends.
    if (mouse) {
        mouseUpgrading = false;
        OnMouseUpgradeFinished();
    } else {
        receiverUpgrading = false;
        OnReceiverUpgradeFinished();
    }
    chainedStart = false;
    DongleCheckTimer->stop();
    MouseCheckTimer->stop();
    FirmwareUpdateRunning = false;
    // A run that could not record its start ends the chain.
    if (!mouse && !notRecorded_) {
        if (mouseRepairPending == 1) {
            chainedStart = true;
            on_Mouse_clicked();
        } else {
            SlotContinue(0);
        }
    }
    // The device list hid the repair while the run was on; once no run goes
    // on, it offers it again when the run left its record (a failure).
    if (!FirmwareUpdateRunning)
        PostMsg::Instance()->PostUpDateButton(FirmwareUpgrade::FailRecordText().isEmpty());
    EndOfDialogRun();
}

void UpgradeDriver::NotRecorded(bool mouse)
{
    (mouse ? MouseUpgradeState : ReceiverUpgradeState) = FirmwareUpgrade::Idle;
    mouse ? OnMouseUpgradeFinished() : OnReceiverUpgradeFinished();
    notRecorded_ = true;
    endMessage_ = notRecordedText;
    if (!dialogRun_)
        ShowWarning(notRecordedText);
    chainedStart = false;
    upgradeStep = 4;
}

void UpgradeDriver::DeviceCountFailure(bool mouse, int count)
{
    (mouse ? MouseUpgradeState : ReceiverUpgradeState) = FirmwareUpgrade::Idle;
    mouse ? OnMouseUpgradeFinished() : OnReceiverUpgradeFinished();
    const QString text = count >= 2 ? sameDeviceText : mouse ? WiredModeText : noDeviceText;
    endMessage_ = text;
    if (chainedStart) {
        ShowWarning(text);
        chainedStart = false;
    } else if (QWidget* marker = mouse ? w_.mouseMarker : w_.receiverMarker) {
        marker->show();
    }
    upgradeStep = 4;
}

void UpgradeDriver::OnReceiverUpgradeFinished()
{
    RunFinished(false);
}

void UpgradeDriver::OnMouseUpgradeFinished()
{
    RunFinished(true);
}

void UpgradeDriver::RunFinished(bool mouse)
{
    DeviceWatchEnabled = true;
    QWidget* marker = mouse ? w_.mouseMarker : w_.receiverMarker;
    const auto hideMarker = [marker] {
        if (marker)
            marker->hide();
    };
    switch (mouse ? MouseUpgradeState : ReceiverUpgradeState) {
    case FirmwareUpgrade::NothingNewer:
        hideMarker();
        if (mouse && w_.updateButton)
            w_.updateButton->setText(verNewText);
        ConfirmLook();
        break;
    case FirmwareUpgrade::Succeeded:
        hideMarker();
        FirmwareUpgrade::RemoveFailRecord();
        ConfirmLook();
        (mouse ? MouseUpdateAvailable : ReceiverUpdateAvailable) = false;
        break;
    case FirmwareUpgrade::Upgrading:
        hideMarker();
        FirmwareUpgrade::RemoveFailRecord();
        break;
    default:
        break;
    }
    upgradeStep = 4;
}

void UpgradeDriver::EndOfDialogRun()
{
    if (!dialogRun_ || Running())
        return;
    dialogRun_ = false;
    const int receiver = ranReceiver_ ? ReceiverUpgradeState.load() : -1;
    const int mouse = ranMouse_ ? MouseUpgradeState.load() : -1;
    // A result the library reported has its view already.
    if (receiver == FirmwareUpgrade::Failed || mouse == FirmwareUpgrade::Failed || mouse == FirmwareUpgrade::Succeeded)
        return;
    if (receiver == FirmwareUpgrade::Succeeded && !notRecorded_) {
        if (SettingStageCount != 1)
            PostMsg::Instance()->PostProgress(0, mouse == FirmwareUpgrade::Idle ? 5 : 2);
        return;
    }
    UpDateRepair* dialog = Dialog();
    if (!dialog)
        return;
    dialog->SetMessage(endMessage_.isEmpty() ? verNewText : endMessage_);
    dialog->ShowNoUpdate();
}

// ---- The update check -------------------------------------------------------------------

bool UpgradeDriver::EndCheck(const QString& message)
{
    if (UpDateRepair* dialog = Dialog()) {
        dialog->SetMessage(message);
        dialog->ShowNoUpdate();
    }
    return false;
}

bool UpgradeDriver::ChechIsUpDate()
{
    ReceiverKind = 0;
    mouseRepairPending = 0;
    const QStringList record = FirmwareUpgrade::FailRecordParts();
    const ProductDescription& description = ProductDescription::Instance();
    driveIndex_ = CurrentDevice.get().modelIndex;
    driveGroup = ProductDescription::ModelGroupName(driveIndex_);
    const ProductDescription::Group group = description.Model(driveIndex_);
    const QString mouseModel = group.Text(QStringLiteral("MM"));
    const int mid = group.Int(QStringLiteral("MID"));
    const int cid = description.Cid();
    const QString receiverShown = w_.receiverVersion ? w_.receiverVersion->text() : QString();
    const QString mouseShown = w_.mouseVersion ? w_.mouseVersion->text() : QString();
    const QList<DeviceAllInfo> devices = WorkerDeviceList.get();

    if (devices.size() == 2) {
        if (!devices[0].wired && !devices[1].wired)
            return EndCheck(noUsbText);
        if (devices[0].mid != devices[1].mid)
            return EndCheck(noReceiverText);
        const DeviceAllInfo* receiver = ReceiverBeside(devices);
        if (!receiver)
            return EndCheck(noReceiverText);
        ReceiverKind = KnownReceiverKind(*receiver);
        foundReceiverModel = group.Text(ProductDescription::ReceiverModelKey(ReceiverKind));
        const bool receiverFound
            = FirmwareImages::FindSettingFirmwareImage(Receiver, receiverShown, foundReceiverModel, cid, mid);
        const bool mouseFound = FirmwareImages::FindSettingFirmwareImage(Mouse, mouseShown, mouseModel, cid, mid);
        MouseUpdateAvailable = mouseFound;
        if (!receiverFound && !mouseFound) {
            EndCheck(verNewText);
            receiverUpToDate = true;
            return false;
        }
        SettingStageCount = receiverFound && mouseFound ? 2 : 1;
        return true;
    }
    if (devices.size() > 2) {
        const int wired = int(std::count_if(devices.begin(), devices.end(),
                                            [](const DeviceAllInfo& device) { return device.wired; }));
        const int onReceivers = devices.size() - wired;
        UpDateRepair* dialog = Dialog();
        if (onReceivers >= 2 && dialog)
            dialog->SetMessage(multiDongleText);
        if (wired >= 2)
            return EndCheck(multiMouseText);
        if (dialog)
            dialog->ShowNoUpdate();
        return false;
    }
    if (devices.isEmpty())
        return EndCheck(errorText);

    // One device: the repair of an interrupted update.
    const DeviceAllInfo& device = devices.first();
    if (record.size() != 4)
        return EndCheck(device.wired ? noReceiverText : noUsbText);
    const int failedType = record[0].toInt();
    const int recordedMid = record[3].toInt();
    if (failedType == Receiver) {
        if (!device.wired || device.mid != recordedMid)
            return EndCheck(noUsbText);
    } else if (failedType == Mouse) {
        mouseRepairPending = 1;
        if (device.wired || device.mid != recordedMid)
            return EndCheck(noReceiverText);
    } else {
        return EndCheck(errorText);
    }
    const QString kindText = record[1];
    if (kindText == QLatin1String("1") || kindText == QLatin1String("2") || kindText == QLatin1String("4")
        || kindText == QLatin1String("8")) {
        ReceiverKind = kindText.toInt();
        failedReceiverModel = group.Text(ProductDescription::ReceiverModelKey(ReceiverKind));
    }
    const int recordedCid = record[2].toInt();
    if (device.cid != recordedCid)
        return EndCheck(errorText);
    if (failedType == Receiver)
        FirmwareImages::FindSettingFirmwareImage(Receiver, QString(), failedReceiverModel, recordedCid, mid);
    else
        FirmwareImages::FindSettingFirmwareImage(Mouse, QString(), mouseModel, recordedCid, mid);
    // Without an image no device counts.
    const int boot = FirmwareUpgrade::BootCount(FirmwareImages::SettingImageList().value(0));
    if (boot == 1) {
        const bool other = failedType == Receiver
            ? FirmwareImages::FindSettingFirmwareImage(Mouse, mouseShown, mouseModel, cid, mid)
            : FirmwareImages::FindSettingFirmwareImage(Receiver, receiverShown, failedReceiverModel, cid, mid);
        SettingStageCount = other ? 2 : 1;
        return true;
    }
    return EndCheck(boot == 0 ? noDeviceText : sameDeviceText);
}

void UpgradeDriver::on_Receive_2_clicked()
{
    if (w_.updateButton && w_.updateButton->text() == verNewText)
        return;
    receiverUpToDate = false;
    UpDateRepair* dialog = Dialog();
    if (!dialog)
        return;
    PlaceOverPage(dialog);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->ResetView();
    if (ChechIsUpDate()) {
        dialog->ShowUpdateReady();
        dialog->show();
        return;
    }
    if (receiverUpToDate) {
        if (w_.updateButton)
            w_.updateButton->setText(verNewText);
        return;
    }
    dialog->show();
}

void UpgradeDriver::SlotCheckUpdate()
{
    if (ChechIsUpDate())
        if (UpDateRepair* dialog = Dialog())
            dialog->ShowUpdateReady();
}

// ---- Helpers nothing calls ----------------------------------------------------------------

void UpgradeDriver::WaitMilliseconds(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void UpgradeDriver::SetUpgradeRunning()
{
    FirmwareUpdateRunning = true;
}

void UpgradeDriver::StopUpgradeTimers()
{
    DongleCheckTimer->stop();
    MouseCheckTimer->stop();
    FirmwareUpdateRunning = false;
}

bool UpgradeDriver::IsReceiverUpgrading()
{
    return ReceiverUpgradeState == FirmwareUpgrade::Upgrading;
}

bool UpgradeDriver::IsMouseUpgrading()
{
    return MouseUpgradeState == FirmwareUpgrade::Upgrading;
}

bool UpgradeDriver::IsAnyUpgrading()
{
    return IsReceiverUpgrading() || IsMouseUpgrading();
}

bool UpgradeDriver::SetReceiverIdToMiceB()
{
    return RepairUpgrade::TransferReceiverId(WorkerDeviceList.get(), ReceiverKind, &receiverIdReadB,
                                             &receiverIdBytesB);
}

void UpgradeDriver::WriteReceiverIdToMiceB()
{
    if (receiverIdReadB)
        RepairUpgrade::WriteReceiverId(WorkerDeviceList.get(), ReceiverKind, receiverIdBytesB);
}
