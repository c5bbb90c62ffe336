#include "dialogs/UpDateRepair.h"

#include "core/DeviceListRules.h"
#include "core/FirmwareImages.h"
#include "core/FirmwareUpgrade.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/RepairUpgrade.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "ui_UpDateRepair.h"

#include <QKeyEvent>

#include <algorithm>

namespace {
const char ProgressStyle[] = "QProgressBar {\n   border: 2px solid grey;\n   border-radius: 5px;\n"
                             "   background-color: TRANSPARENT;\n\tcolor: rgb(255, 255, 255);\n}\n"
                             "QProgressBar::chunk {\n   background-color: rgb(80, 240, 0);\n   width: 20px;\n}\n"
                             "QProgressBar {\n   border: 2px solid grey;\n   border-radius: 5px;\n"
                             "   text-align: center;\n}";

// The dialog's window flags: frameless, with the system menu and minimise hints.
constexpr int RepairWindowFlags = 0x6800;

// The receiver kind a record's second field names; 0 for another text.
int RecordedKind(const QString& field)
{
    static const QStringList kinds = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("4"),
                                      QStringLiteral("8")};
    return kinds.contains(field) ? field.toInt() : 0;
}
} // namespace

UpDateRepair::UpDateRepair(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::UpDateRepair)
{
    ui->setupUi(this);
    ui->NewHong->hide();
    ui->progressBar_2->hide();
    ui->NewHong_2->hide();
    ui->ToolText_2->hide();
    startText_ = ui->NewHong_2->text();
    cancelText_ = ui->NewHong->text();

    language_ = std::make_unique<LanguageTexts>(
        QStringLiteral("AutoRepair"),
        QVector<LanguageTexts::Child>{
            {QStringLiteral("ToolText"), LanguageTexts::TextOf(ui->ToolText)},
            {QStringLiteral("NewHong_2"), LanguageTexts::Keep(&startText_)},
            {QStringLiteral("Cancel"), LanguageTexts::Keep(&cancelText_)},
            {QStringLiteral("Confirm"), LanguageTexts::Keep(&confirmText_)},
            {QStringLiteral("ReadyUpdate"), LanguageTexts::Keep(&readyText_)},
            {QStringLiteral("UpdateNotMove"), LanguageTexts::Keep(&notMoveText_)},
            {QStringLiteral("UpdateSuccess"), LanguageTexts::Keep(&successText_)},
            {QStringLiteral("UpdateFail"), LanguageTexts::Keep(&failText_)},
            {QStringLiteral("NoDevice"), LanguageTexts::Keep(&noDeviceText_)},
            {QStringLiteral("SameDevice"), LanguageTexts::Keep(&sameDeviceText_)},
            {QStringLiteral("NoRecieve"), LanguageTexts::Keep(&noReceiveText_)},
            {QStringLiteral("NoUSB"), LanguageTexts::Keep(&noUsbText_)},
            {QStringLiteral("FileError"), LanguageTexts::Keep(&fileErrorText_)},
            {QStringLiteral("MultiDongle"), LanguageTexts::Keep(&multiDongleText_)},
            {QStringLiteral("MultiMouse"), LanguageTexts::Keep(&multiMouseText_)},
            {QStringLiteral("Error"), LanguageTexts::Keep(&errorText_)},
            {QStringLiteral("Error2"), LanguageTexts::Keep(&error2Text_)},
            {QStringLiteral("RecordFail"), LanguageTexts::Keep(&notRecordedText_)},
        });
    LanguageTexts::Follow(this);

    pictureFolder_ = StyleSheet::PictureFolder(QStringLiteral("WarningDialog"));
    setWindowFlags(Qt::WindowFlags(RepairWindowFlags));

    const QString label = StyleSheet::ColourText(QStringLiteral("LabelColor"));
    const QString button = StyleSheet::ColourText(QStringLiteral("ButtonColor"));
    // The shared dialog background is drawn for a smaller dialog: its edges
    // are kept at their size and only its inside is stretched, so the border
    // stays a crisp hair line.
    ui->AutoRepair->setStyleSheet(QStringLiteral("#AutoRepair{border-width:2px;border-image: url(") + pictureFolder_
                                  + QStringLiteral("BackGround.png) 2 2 2 2 stretch stretch;}"));
    ui->CloseButton->setStyleSheet(StyleSheet::CloseRule(pictureFolder_));
    ui->ToolText->setStyleSheet(QStringLiteral("#ToolText{color: rgb(") + label
                                + QStringLiteral(";);background-color:rgba(0,0,0,0);}"));
    ui->ToolText_2->setStyleSheet(
        QStringLiteral("#ToolText_2{color: rgb(255,0,0);background-color:rgba(0,0,0,0);}"));
    const QString buttons = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:"
                                           "no-repeat;color: rgb(")
        + button + QStringLiteral(";);border-image: url(") + pictureFolder_
        + QStringLiteral("ok_nr.png);}QToolButton:hover{border-image: url(") + pictureFolder_
        + QStringLiteral("ok_enter.png); }");
    ui->NewHong->setStyleSheet(buttons);
    ui->NewHong_2->setStyleSheet(buttons);
    ui->progressBar_2->setStyleSheet(QString::fromLatin1(ProgressStyle));

    PostMsg::Connect(SIGNAL(SigAutoRepair(int)), this, SLOT(SlotAutoRepair(int)));
    PostMsg::Connect(SIGNAL(SigAutoRepairProgress(int)), this, SLOT(SlotAutoRepairProgress(int)));
    PostMsg::Connect(SIGNAL(SigProgress(int, int)), this, SLOT(SlotProgress(int, int)));
    PostMsg::Connect(SIGNAL(SigRepairCheckUpdate()), this, SLOT(SlotRepairCheckUpdate()));
    SlotChangeLanguage(LanguageTexts::StoredIndex());
}

UpDateRepair::~UpDateRepair()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    delete ui;
}

// ---- Views -------------------------------------------------------------------------

void UpDateRepair::SetShortcuts()
{
    // Return presses the start or confirm button, Escape the cancel button.
    ui->NewHong_2->setShortcut(QKeySequence(QStringLiteral("Enter")));
    ui->NewHong_2->setShortcut(QKeySequence(Qt::Key_Return));
    ui->NewHong->setShortcut(QKeySequence(QStringLiteral("Esc")));
    ui->NewHong->setShortcut(QKeySequence(Qt::Key_Escape));
}

void UpDateRepair::ShowCancel()
{
    // Whichever view shows the button, it reads as the language file says
    // (the form's text is only a default).
    ui->NewHong->setText(cancelText_);
    ui->NewHong->show();
}

void UpDateRepair::ShowMessage(const QString& text)
{
    ui->ToolText_2->setText(text);
    ui->ToolText_2->show();
}

void UpDateRepair::ResetView()
{
    ui->NewHong_2->setText(startText_);
    ui->NewHong_2->show();
    ShowCancel();
    ui->CloseButton->show();
    ShowMessage(QString());
    ui->progressBar_2->setValue(0);
    ui->progressBar_2->hide();
    SetShortcuts();
}

void UpDateRepair::ShowUpdateReady()
{
    ui->NewHong_2->setText(startText_);
    ui->NewHong_2->show();
    ShowCancel();
    ui->NewHong->setEnabled(true);
    ui->CloseButton->show();
    ui->CloseButton->setEnabled(true);
    ShowMessage(readyText_);
    ui->progressBar_2->hide();
    SetShortcuts();
}

void UpDateRepair::ShowNoUpdate()
{
    ui->NewHong_2->setText(confirmText_);
    ui->NewHong_2->show();
    ShowCancel();
    ui->NewHong->setEnabled(true);
    ui->CloseButton->show();
    ui->CloseButton->setEnabled(true);
    ui->ToolText_2->show();
    ui->progressBar_2->hide();
    SetShortcuts();
}

void UpDateRepair::ShowUpgrading()
{
    ui->NewHong_2->hide();
    ui->NewHong->hide();
    ui->NewHong->setEnabled(false);
    ui->CloseButton->show();
    ui->CloseButton->setEnabled(false);
    ShowMessage(notMoveText_);
    ui->progressBar_2->show();
    SetShortcuts();
}

void UpDateRepair::SetMessage(const QString& text)
{
    ui->ToolText_2->setText(text);
}

void UpDateRepair::HideCancelAndProgress()
{
    ui->NewHong->hide();
    ui->progressBar_2->hide();
}

void UpDateRepair::SlotAutoRepair(int code)
{
    ui->NewHong_2->setText(confirmText_);
    ShowCancel();
    ShowMessage(code == PostMsg::AutoRepairSucceeded ? successText_
                : code == PostMsg::AutoRepairNotRecorded ? notRecordedText_
                                                         : failText_);
    SetShortcuts();
}

void UpDateRepair::SlotAutoRepairProgress(int value)
{
    ui->progressBar_2->setValue(value);
}

void UpDateRepair::SlotChangeLanguage(int index)
{
    language_->Load(index);
}

void UpDateRepair::SlotProgress(int value, int state)
{
    const auto endButtons = [this] {
        ShowCancel();
        ui->NewHong->setEnabled(true);
        ui->CloseButton->setEnabled(true);
    };
    const auto confirm = [this] {
        ui->NewHong_2->setText(confirmText_);
        ui->NewHong_2->show();
    };
    switch (state) {
    case 0:
        ui->progressBar_2->setValue(value);
        break;
    case 1:
        confirm();
        endButtons();
        ShowMessage(failText_);
        break;
    case 2:
        confirm();
        ShowMessage(successText_);
        ui->progressBar_2->setValue(100);
        endButtons();
        break;
    case 3:
        ui->NewHong->hide();
        break;
    case 4:
        ui->NewHong->hide();
        ui->progressBar_2->setValue(0);
        break;
    case 5:
        confirm();
        ShowMessage(failText_);
        endButtons();
        ui->progressBar_2->setValue(50);
        break;
    case 6:
        ShowMessage(failText_);
        endButtons();
        break;
    default:
        break;
    }
    SetShortcuts();
}

// ---- Buttons and keys ------------------------------------------------------------------

void UpDateRepair::Dismiss()
{
    if (RepairUpgrading)
        return;
    if (ui->progressBar_2->isVisibleTo(this)) {
        if (ui->progressBar_2->value() == 100)
            PostMsg::Instance()->PostSetNewVer();
        else if (DeviceChosen != 0)
            PostMsg::Instance()->PostChangeMainDialog(PostMsg::ChooserPage);
    }
    QDialog::reject();
}

void UpDateRepair::on_CloseButton_clicked()
{
    Dismiss();
}

void UpDateRepair::on_NewHong_clicked()
{
    Dismiss();
}

void UpDateRepair::on_NewHong_2_clicked()
{
    if (!RepairUpgrading && ui->progressBar_2->isVisibleTo(this)) {
        Dismiss();
        return;
    }
    if (ui->NewHong_2->text() == confirmText_) {
        QDialog::reject();
        return;
    }
    if (DeviceChosen != 0) {
        PostMsg::Instance()->PostUpdateStart();
        return;
    }
    StartUpgrade();
}

void UpDateRepair::keyPressEvent(QKeyEvent* event)
{
    // Escape presses the cancel button, and nothing while that button is
    // hidden or disabled (during an upgrade): the dialog's own Escape would
    // close it past the guard of a running upgrade.
    const bool cancelShown = ui->NewHong->isVisibleTo(this) && ui->NewHong->isEnabled();
    if (event->key() == Qt::Key_Escape) {
        if (cancelShown)
            on_NewHong_clicked();
        return;
    }
    // Return reaches here only while the start or confirm button, its
    // shortcut, is hidden (a failure that shows only the cancel button): it
    // then closes as that button does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (cancelShown && !ui->NewHong_2->isVisibleTo(this))
            on_NewHong_clicked();
        return;
    }
    QDialog::keyPressEvent(event);
}

void UpDateRepair::SlotRepairCheckUpdate()
{
    if (CheckUpdate())
        ShowUpdateReady();
}

// ---- The repair check ---------------------------------------------------------------------

bool UpDateRepair::NoUpdate(const QString& message)
{
    ShowMessage(message);
    ShowNoUpdate();
    return false;
}

bool UpDateRepair::CheckUpdate()
{
    // A check that ends early prepares nothing: the start button must not
    // repeat an earlier run that the record no longer asks for.
    ready_ = false;
    const QStringList parts = FirmwareUpgrade::FailRecordParts();
    RepairFailParts.set(parts);
    if (parts.size() != 4)
        return false;
    RepairReceiverKind = 0;
    failedType_ = parts[0].toInt();
    const int recordedMid = parts[3].toInt();
    const bool receiverFailed = failedType_ == FirmwareImages::ReceiverType;
    const bool mouseFailed = failedType_ == FirmwareImages::MouseType;

    const QList<DeviceAllInfo> devices = IdentifiedDevices;
    if (devices.isEmpty())
        return NoUpdate(noDeviceText_);
    if (devices.size() > 1) {
        int wiredCount = 0;
        int otherCount = 0;
        DeviceAllInfo lastWired;
        DeviceAllInfo lastOther;
        for (const DeviceAllInfo& device : devices) {
            if (device.wired) {
                ++wiredCount;
                lastWired = device;
            } else {
                ++otherCount;
                lastOther = device;
            }
        }
        if (wiredCount >= 2)
            return NoUpdate(multiMouseText_);
        if (otherCount >= 2)
            return NoUpdate(multiDongleText_);
        if (mouseFailed && wiredCount == 1 && lastWired.mid != recordedMid)
            return NoUpdate(multiMouseText_);
        if (receiverFailed && otherCount == 1 && lastOther.mid != recordedMid)
            return NoUpdate(multiDongleText_);
    }

    // Receivers listed in normal mode count as devices to repair.
    int receivers = 0;
    if (receiverFailed) {
        const QVector<QStringList> lists = DeviceListRules::ReceiverPidLists;
        const auto inAnyList = [&lists](const QString& pid) {
            for (const QStringList& list : lists)
                if (list.contains(pid))
                    return true;
            return false;
        };
        for (const DeviceAllInfo& device : devices)
            receivers += inAnyList(device.pid) ? 1 : 0;
        if (receivers == 1) {
            receivers = 0;
            const int list = ProductDescription::ReceiverKinds().indexOf(RecordedKind(parts[1]));
            if (list >= 0 && list < lists.size())
                for (const DeviceAllInfo& device : devices)
                    receivers += lists[list].contains(device.pid) ? 1 : 0;
        }
    }
    RepairStage = 0;

    if (auto_) {
        ready_ = true;
    } else {
        const DeviceAllInfo& first = devices.first();
        if (receiverFailed && !(first.wired && first.mid == recordedMid))
            return NoUpdate(noUsbText_);
        if (mouseFailed && !(!first.wired && first.mid == recordedMid))
            return NoUpdate(noReceiveText_);

        // The model the record's model id names; an earlier one stays when none does.
        const ProductDescription& description = ProductDescription::Instance();
        const int total = description.DeviceTotal();
        for (int index = 0; index < total; ++index) {
            if (description.Mid(index) == recordedMid) {
                modelIndex_ = index;
                modelGroup_ = ProductDescription::ModelGroupName(index);
                break;
            }
        }
        const ProductDescription::Group model = description.Model(modelIndex_);
        RepairMouseModel.set(model.Text(QStringLiteral("MM")));
        const int kind = RecordedKind(parts[1]);
        if (kind != 0) {
            RepairReceiverKind = kind;
            receiverModelName_ = model.Text(ProductDescription::ReceiverModelKey(kind));
        }
        RepairCid = parts[2].toInt();
        RepairMid = model.Int(QStringLiteral("MID"));
        RepairMouseListed = std::any_of(devices.begin(), devices.end(), [](const DeviceAllInfo& device) {
            return device.wired && device.mid == RepairMid;
        });

        const bool mouseImage = FirmwareImages::FindRepairFirmwareImage(FirmwareImages::MouseType, QString(),
                                                                        RepairMouseModel.get(), RepairCid, RepairMid);
        const bool receiverImage = FirmwareImages::FindRepairFirmwareImage(
            FirmwareImages::ReceiverType, QString(), receiverModelName_, RepairCid, RepairMid);
        RepairStageCount = mouseImage && receiverImage ? 2 : 1;
        if (receiverFailed) {
            RepairFailedStage = 0;
            ready_ = FirmwareImages::FindRepairFirmwareImage(FirmwareImages::ReceiverType, QString(),
                                                             receiverModelName_, RepairCid, RepairMid);
        } else {
            RepairFailedStage = 1;
            ready_ = FirmwareImages::FindRepairFirmwareImage(FirmwareImages::MouseType, QString(),
                                                             RepairMouseModel.get(), RepairCid, RepairMid);
        }
    }

    // Devices in boot mode that the failed device's image fits (none without
    // an image), and the receivers listed in normal mode.
    const QList<QByteArray> images = FirmwareImages::RepairImageList();
    const int count = FirmwareUpgrade::BootCount(images.isEmpty() ? QByteArray() : images.first()) + receivers;
    if (ready_ && count == 1)
        return true;
    if (ready_) {
        ready_ = false;
        RepairUpgradeRunning = false;
        return NoUpdate(count == 0 ? noDeviceText_ : sameDeviceText_);
    }
    return NoUpdate(fileErrorText_);
}

void UpDateRepair::StartUpgrade()
{
    if (!ready_)
        return;
    RepairUpgradeRunning = true;
    RepairReceiverOnly = auto_;
    ShowUpgrading();
    DeviceWatchEnabled = false;

    const int mid = ProductDescription::Instance().Mid(modelIndex_);
    bool found = FirmwareImages::FindRepairFirmwareImage(FirmwareImages::ReceiverType, QString(),
                                                         receiverModelName_, RepairCid, mid);
    if (found) {
        RepairStage = 0;
    } else if (!auto_) {
        RepairStage = 1;
        found = FirmwareImages::FindRepairFirmwareImage(FirmwareImages::MouseType, QString(), RepairMouseModel.get(),
                                                        RepairCid, mid);
    }
    const QList<QByteArray> images = FirmwareImages::RepairImageList();
    if (!found || images.isEmpty()) {
        // No image for the device: a failure, and the record stays for a later repair.
        RepairUpgrade::Fail(false);
        return;
    }
    RepairRecordBefore.set(FirmwareUpgrade::FailRecordText());
    ready_ = RepairUpgrade::StartOrFail(images.first(), false);
}

void UpDateRepair::StartAutoUpgrade(int stage)
{
    auto_ = true;
    autoStage_ = stage;
    ready_ = PrepareReceiverRun();
    if (!ready_) {
        // No single receiver to update: say so instead of an empty dialog.
        NoUpdate(noDeviceText_);
        return;
    }
    StartUpgrade();
}

bool UpDateRepair::PrepareReceiverRun()
{
    const QList<DeviceAllInfo> shown = ShownDevices;
    if (shown.size() != 1 || shown.first().wired)
        return false;
    const DeviceAllInfo& record = shown.first();
    const ProductDescription& description = ProductDescription::Instance();
    if (record.modelIndex < 0 || record.modelIndex >= description.DeviceTotal())
        return false;
    const int kind = DeviceAllInfo::ReceiverKind(record.linkType);
    const QString key = ProductDescription::ReceiverModelKey(kind);
    if (key.isEmpty())
        return false;
    const ProductDescription::Group model = description.Model(record.modelIndex);
    modelIndex_ = record.modelIndex;
    modelGroup_ = ProductDescription::ModelGroupName(record.modelIndex);
    receiverModelName_ = model.Text(key);
    failedType_ = FirmwareImages::ReceiverType;
    RepairReceiverKind = kind;
    RepairCid = description.Cid();
    RepairMid = description.Mid(record.modelIndex);
    RepairMouseModel.set(model.Text(QStringLiteral("MM")));
    RepairStageCount = 1;
    RepairFailedStage = -1;
    RepairMouseListed = false;
    RepairStage = 0;
    return true;
}
