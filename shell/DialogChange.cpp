#include "shell/DialogChange.h"

#include "core/DeviceListRules.h"
#include "core/FirmwareImages.h"
#include "core/MacroIni.h"
#include "core/PicturePreload.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "dialogs/RepairDialogTracker.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/Match.h"
#include "dialogs/QuestiondialogB.h"
#include "dialogs/RePair.h"
#include "dialogs/UpDateWarning.h"
#include "platform/Registry.h"
#include "shell/mytoolButtonEnter.h"
#include "ui_DialogChange.h"
#include "widgets/StyleWhenShown.h"

#include <QCoreApplication>
#include <QLabel>
#include <QThread>

#include <atomic>

QList<mytoolButtonEnter*> DialogChange::DeviceButtons;
QList<QLabel*> DialogChange::OfflineMarkers;
QList<QLabel*> DialogChange::LinkIcons;
QList<QLabel*> DialogChange::RateBadges;

namespace {
DialogChange* TheChooser = nullptr;

// Between showing the configuration frame and the worker's pass of a pick.
constexpr int PickWaitMs = 150;

// A notice is waiting in the GUI thread's queue.
std::atomic<bool> ChangeQueued{false};

// Where the widgets of one device sit on its page.
struct DeviceSlot {
    QPoint button;
    QPoint marker; // the offline marker and the link icon
    QPoint badge;
};

const DeviceSlot FullPage[3] = {
    {{0, 0}, {225, 20}, {7, 10}},
    {{300, 0}, {525, 20}, {307, 10}},
    {{600, 0}, {825, 20}, {607, 10}},
};
const DeviceSlot LastPageOfOne[1] = {
    {{305, 0}, {530, 20}, {312, 10}},
};
const DeviceSlot LastPageOfTwo[2] = {
    {{135, 0}, {360, 20}, {142, 10}},
    {{445, 0}, {665, 20}, {452, 10}},
};

const QSize ButtonSize(284, 360);
const QSize MarkerSize(32, 32);
const QSize BadgeSize(42, 26);

// The badge pictures of the receiver kinds, in the order of ReceiverPidLists.
const char* const BadgePictures[4] = {"1KHz.png", "2KHz.png", "4KHz.png", "8KHz.png"};

template <class Widget>
void DiscardAll(QList<Widget*>& widgets)
{
    for (Widget* widget : qAsConst(widgets))
        widget->deleteLater();
    widgets.clear();
}

void SetFixedSize(QWidget* widget, const QSize& size)
{
    widget->setFixedSize(size);
    widget->setFocusPolicy(Qt::NoFocus);
}
} // namespace

DialogChange::DialogChange(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::DialogChange)
{
    ui->setupUi(this);
    TheChooser = this;
    ui->comboBox->setCurrentIndex(0);
    setPalette(StyleSheet::DarkPalette());
    // The pictures decoded ahead while the program started, if it did.
    PicturePreload::HandOver();

    // Hidden at start (the arrows until there is a page to go to, Repair
    // until an update waits to be repaired, the new-firmware popup): their
    // pictures are decoded when they are first shown.
    ui->RightButton->hide();
    ui->LeftButton->hide();
    ui->Repair->hide();
    if (!Registry::Instance()->GetValue(Registry::UpdateFailInfoKey()).isEmpty())
        ui->Repair->show();
    ui->FindVer->hide();

    pictureFolder_ = StyleSheet::PictureFolder(QStringLiteral("DialogChange"));
    const QString& folder = pictureFolder_;
    ui->frameChange->setStyleSheet(
        StyleSheet::StretchedPictureRule(QStringLiteral("#frameChange"), folder, QStringLiteral("MainBack.png")));
    ui->CloseButton->setStyleSheet(StyleSheet::CloseRule(folder));
    ui->MinButton->setStyleSheet(StyleSheet::IconButtonRule(folder, QStringLiteral("Min.png"),
                                                            QStringLiteral("MinHover.png"),
                                                            QStringLiteral("MinClick.png")));
    // The wrench looks like a button under the pointer; its tool tip names it.
    SetStyleSheetWhenShown(
        ui->Repair,
        StyleSheet::BackgroundRule(QStringLiteral("Repair"), folder, QStringLiteral("Repair.png"))
            + StyleSheet::PictureRule(QStringLiteral("#Repair:hover"), folder, QStringLiteral("RepairHover.png"))
            + StyleSheet::PictureRule(QStringLiteral("#Repair:pressed"), folder, QStringLiteral("RepairClick.png")));
    const auto arrowRule = [&folder](const QString& name) {
        return StyleSheet::StretchedPictureRule(QStringLiteral("QToolButton"), folder, name + QStringLiteral(".png"))
            + StyleSheet::StretchedPictureRule(QStringLiteral("QToolButton:hover"), folder,
                                               name + QStringLiteral("Click.png"));
    };
    SetStyleSheetWhenShown(ui->RightButton, arrowRule(QStringLiteral("Right")));
    SetStyleSheetWhenShown(ui->LeftButton, arrowRule(QStringLiteral("Left")));
    ui->comboBox->setStyleSheet(StyleSheet::ComboBoxRule(folder));
    ui->comboBox->SetListViewWhenOpened(StyleSheet::ComboListRule());
    ui->comboBox->setMaxVisibleItems(5);

    const QString warning = StyleSheet::PictureFolder(QStringLiteral("WarningDialog"));
    ui->FindVerlaebl->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    SetStyleSheetWhenShown(ui->NewHong, StyleSheet::ConfirmRule(warning, QStringLiteral("ButtonColor")));
    SetStyleSheetWhenShown(ui->CloseButton_2, StyleSheet::CloseRule(warning));
    SetStyleSheetWhenShown(ui->FindVer, StyleSheet::BackgroundRule(QStringLiteral("FindVer"), warning));
    SetStyleSheetWhenShown(ui->NoApear, StyleSheet::CheckBoxRule(warning, QStringLiteral("LabelColor")));

    ui->label_2->show();
    ui->label_3->show();
    // The prompts lie over the device pages; clicks go through them to the
    // device buttons.
    ui->label_2->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->label_3->setAttribute(Qt::WA_TransparentForMouseEvents);

    PostMsg* bus = PostMsg::Instance();
    connect(bus, SIGNAL(SigLanguageSameA(int)), this, SLOT(SlotSameLanguageA(int)));
    connect(bus, SIGNAL(SigUpDateButton(bool)), this, SLOT(SlotUpDateButton(bool)));
    connect(bus, SIGNAL(SigEnterKey()), this, SLOT(SlotEnterKey()));
    connect(bus, &PostMsg::SigChangeMainDialog, this, [this](int page) {
        if (page == PostMsg::ChooserPage)
            ++listShown_;
    });
    LanguageTexts::Follow(this, SLOT(ChangeDialogLanguage(int)));

    modelCount_ = ProductDescription::Instance().DeviceTotal();

    // "Visible" below means shown on screen: the Repair button of a chooser
    // that is not shown yet is not, so the first load puts the connection
    // prompt on "label_2".
    const auto repairShown = [this] { return ui->Repair->isVisible(); };
    language_ = std::make_unique<LanguageTexts>(QStringLiteral("DialogChange"), QVector<LanguageTexts::Child>{
        {QStringLiteral("label_2"), LanguageTexts::Keep(&connectPrompt_)},
        {QStringLiteral("label_2"), LanguageTexts::When([repairShown] { return !repairShown(); },
                                                        LanguageTexts::TextOf(ui->label_2))},
        {QStringLiteral("label_3"), LanguageTexts::TextOf(ui->label_3)},
        {QStringLiteral("OfflineTips1"), LanguageTexts::Keep(&offlineTips1_)},
        {QStringLiteral("OfflineTips2"), LanguageTexts::Keep(&offlineTips2_)},
        {QStringLiteral("RepairDevice"), LanguageTexts::Keep(&repairPrompt_)},
        {QStringLiteral("RepairDevice"), LanguageTexts::When(repairShown, LanguageTexts::TextOf(ui->label_2))},
        {QStringLiteral("Repair"), [this](const QString& text) { ui->Repair->setToolTip(text); }},
        {QStringLiteral("label"), LanguageTexts::TextOf(ui->FindVerlaebl)},
        {QStringLiteral("NewHong"), LanguageTexts::TextOf(ui->NewHong)},
        {QStringLiteral("NoApear"), LanguageTexts::TextOf(ui->NoApear)},
        {QStringLiteral("MouseIsNewTips"), LanguageTexts::Keep(&MouseIsNewTipsText)},
    });
    language_->SetFinished([this] { SetOfflineTips(); });

    const int language = LanguageTexts::StoredIndex();
    ShowLanguage(language);
    ChangeDialogLanguage(language);

    ChooserDeviceChangeCallback = &DialogChange::UsbChangedCallback;
    StartUsbChanged(&DialogChange::UsbChangedCallback, 600);
}

DialogChange::~DialogChange()
{
    if (TheChooser == this) {
        TheChooser = nullptr;
        // The widgets go with the chooser.
        DeviceButtons.clear();
        OfflineMarkers.clear();
        LinkIcons.clear();
        RateBadges.clear();
    }
    delete ui;
}

DialogChange* DialogChange::Chooser()
{
    return TheChooser;
}

QStringList DialogChange::PicturesAtStart()
{
    // The background first: the largest, needed first. Then the usual
    // device's picture and every small one an entry may show as the list is
    // first painted (its link, its receiver's rate). The pictures of a device
    // asleep or unknown, as large as the usual one, are decoded when shown:
    // kept decoded at every start, they would cost 0.8 MB.
    const QString folder = StyleSheet::PictureFolder(QStringLiteral("DialogChange"));
    QStringList pictures;
    for (const char* name : {"MainBack.png", "Close.png", "CloseClick.png", "Min.png", "MinClick.png",
                             "ComboboxBack.png", "ComboboxTextBack.png", "OnLine0.png", "OnLineWifi.png",
                             "OnLineUsb.png"})
        pictures << folder + QLatin1String(name);
    for (const char* badge : BadgePictures)
        pictures << folder + QLatin1String(badge);
    return pictures;
}

// ---- Language -----------------------------------------------------------------

void DialogChange::ChangeDialogLanguage(int index)
{
    language_->Load(index);
}

QString DialogChange::OfflineTips() const
{
    return offlineTips1_ + QLatin1Char('\n') + offlineTips2_;
}

void DialogChange::SetOfflineTips()
{
    for (QLabel* marker : qAsConst(OfflineMarkers))
        marker->setToolTip(OfflineTips());
}

void DialogChange::SlotSameLanguageA(int index)
{
    ShowLanguage(index);
}

void DialogChange::ShowLanguage(int index)
{
    // The list offers two languages; another one chosen elsewhere is still
    // named in the box.
    ui->comboBox->ShowEntry(index, LanguageTexts::NativeName(index));
}

void DialogChange::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->comboBox->blockSignals(true);
        ui->retranslateUi(this);
        ui->comboBox->setCurrentIndex(0);
        ui->comboBox->blockSignals(false);
    }
    QWidget::changeEvent(event);
}

// ---- Repair, keys, window --------------------------------------------------------

void DialogChange::ShowRepair(bool pending)
{
    ui->Repair->setVisible(pending);
    ui->label_2->setText(pending ? repairPrompt_ : connectPrompt_);
}

void DialogChange::SlotUpDateButton(bool hide)
{
    // Not while an upgrade runs: its record is on the disk from its start.
    ShowRepair(!hide && !RepairUpgradeRunning && !FirmwareUpdateRunning);
}

void DialogChange::SlotEnterKey()
{
    if (ui->FindVer->isVisible())
        ui->FindVer->hide();
    else if (ui->Repair->isVisible())
        on_Repair_clicked();
}

void DialogChange::WindowClosedA()
{
    close();
}

void DialogChange::WindowMinA()
{
    showMinimized();
}

// ---- Discovery ---------------------------------------------------------------------

void DialogChange::UsbChangedCallback()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() == app->thread()) {
        HandleDeviceChange();
        return;
    }
    if (ChangeQueued.exchange(true))
        return;
    QMetaObject::invokeMethod(
        app,
        [] {
            ChangeQueued = false;
            HandleDeviceChange();
        },
        Qt::QueuedConnection);
}

void DialogChange::HandleDeviceChange()
{
    // The identical-devices notice runs a modal loop inside a run; a notice
    // that comes meanwhile is handled once that run has ended.
    static bool running = false;
    static bool again = false;
    if (running) {
        again = true;
        return;
    }
    running = true;
    do {
        again = false;
        ReadDevices();
    } while (again);
    running = false;
}

void DialogChange::ReadDevices()
{
    DialogChange* chooser = Chooser();
    if (!chooser)
        return;
    // The record is on the disk from the start of an upgrade on; only one
    // that no running upgrade of this program owns is left unfinished.
    const bool updating = RepairUpgradeRunning || FirmwareUpdateRunning;
    chooser->ShowRepair(!updating && !Registry::Instance()->GetValue(Registry::UpdateFailInfoKey()).isEmpty());
    const ProductDescription& description = ProductDescription::Instance();
    const QString vid = description.Vid();
    ShownDevices.clear();
    IdentifiedDevices.clear();
    EnumerateDevices(vid, DeviceListRules::ReadProductIds(description));
    BuildDevicePages();
    chooser->devicesListed_ = true;
    // An open update and repair dialog looks at the devices again, unless it
    // is repairing or updating one (whose record then names the device).
    if (RepairDialog && RepairDialog->isVisible() && !RepairUpgradeRunning && !FirmwareUpdateRunning)
        PostMsg::Instance()->PostRepairCheckUpdate();
}

void DialogChange::EnumerateDevices(const QString& vid, const QVector<QString>& pids)
{
    const int capacity = 5;
    const QByteArray vendor = vid.toLatin1();
    for (const QString& pid : pids) {
        int count = capacity;
        const char* const* paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(vendor.constData(),
                                                                              pid.toLatin1().constData(), &count);
        if (!paths)
            continue;
        count = qBound(0, count, capacity);
        for (int i = 0; i < count; ++i) {
            if (!paths[i])
                continue;
            DeviceAllInfo info;
            info.path = QString::fromLatin1(paths[i]);
            info.vid = vid;
            info.pid = pid;
            info.receiverVersion = DeviceAllInfo::ReceiverVersionOf(paths[i]);
            info.online = false;
            if (IdentifyDevice(info))
                DeviceListRules::AppendIdentified(info);
        }
    }
}

bool DialogChange::IdentifyDevice(DeviceAllInfo& info)
{
    const QByteArray path = info.path.toLatin1();
    const DeviceAllInfo::Ids ids = DeviceAllInfo::ReadIds(path);
    const ProductDescription& description = ProductDescription::Instance();
    const int total = description.DeviceTotal();
    if (ids.counted) {
        const int model = description.ModelIndexOf(ids.cid, ids.mid);
        if (model >= 0) {
            info.SetModel(ids, model);
            // Set when it answers, never cleared here.
            if (DeviceAllInfo::Answers(path))
                info.online = true;
            return true;
        }
        if (total <= 0)
            return false;
    }
    // No model: listed as unknown, with the link type it reported.
    info.SetNoModel(ids.linkType, total);
    return true;
}

bool DialogChange::RefreshDeviceStatusBytes(int index)
{
    if (index < 0 || index >= ShownDevices.size())
        return false;
    DeviceAllInfo info = ShownDevices.at(index);
    const bool addressed = info.ReadOnlineAndAddress(info.path.toLatin1());
    DeviceListRules::StoreRefreshed(index, info);
    return addressed;
}

bool DialogChange::RefreshDeviceEntry(int index)
{
    // A button left from an earlier list may name a position the list no
    // longer has.
    if (index < 0 || index >= ShownDevices.size())
        return true;
    DeviceAllInfo info = ShownDevices.at(index);
    DeviceAllInfo presence = info;
    presence.ReadOnlineAndAddress(info.path.toLatin1());
    IdentifyDevice(info);
    // The online state comes from the address query alone.
    info.online = presence.online;
    info.address = presence.address;
    DeviceListRules::StoreRefreshed(index, info);
    if (DialogChange* chooser = Chooser())
        chooser->DrawEntry(index, info);
    return true;
}

QString DialogChange::PictureRule(const QString& selector, const QString& picture) const
{
    return StyleSheet::PictureRule(selector, pictureFolder_, picture, QStringLiteral("255, 255, 255"));
}

void DialogChange::DrawEntry(int index, const DeviceAllInfo& info)
{
    if (index >= DeviceButtons.size() || index >= OfflineMarkers.size() || index >= LinkIcons.size())
        return;
    mytoolButtonEnter* button = DeviceButtons.at(index);
    QLabel* marker = OfflineMarkers.at(index);
    QLabel* link = LinkIcons.at(index);
    QString picture;
    if (info.modelIndex == modelCount_) {
        link->show();
        picture = QStringLiteral("Unknow.png");
    } else if (info.online) {
        link->show();
        marker->hide();
        picture = QStringLiteral("OnLine0.png");
    } else {
        picture = QStringLiteral("DisOnlin0.png");
        marker->show();
        link->hide();
    }
    // The pointer entering the button draws it again: the same picture is
    // not styled again.
    const QString rule = PictureRule(QStringLiteral("QToolButton"), picture);
    if (button->styleSheet() != rule)
        button->setStyleSheet(rule);
}

// ---- Pages ---------------------------------------------------------------------------

void DialogChange::BuildDevicePages()
{
    DialogChange* chooser = Chooser();
    if (!chooser)
        return;
    Ui::DialogChange* ui = chooser->ui;

    // A click on a device button may still be running (a modal dialog of the
    // selection): the old widgets go once control is back in the event loop.
    DiscardAll(DeviceButtons);
    DiscardAll(OfflineMarkers);
    DiscardAll(RateBadges);
    DiscardAll(LinkIcons);
    for (int page = ui->stackedWidget->count() - 1; page >= 0; --page) {
        QWidget* widget = ui->stackedWidget->widget(page);
        ui->stackedWidget->removeWidget(widget);
        widget->deleteLater();
    }

    if (ShownDevices.isEmpty()) {
        ui->label_2->show();
        ui->label_3->hide();
        ui->LeftButton->hide();
        ui->RightButton->hide();
        return;
    }

    // Every listed device gets a fresh online state and address.
    for (int i = 0; i < ShownDevices.size(); ++i)
        RefreshDeviceStatusBytes(i);
    if (DeviceListRules::Apply(ShownDevices, DeviceListRules::ReceiverPidLists, chooser->modelCount_,
                               ProductDescription::Instance().DeviceTotal())
        == DeviceListRules::Outcome::IdenticalDevices) {
        chooser->ShowIdenticalDevicesNotice();
        return;
    }

    ui->label_2->hide();
    ui->label_3->show();

    const int count = ShownDevices.size();
    const QString tips = chooser->OfflineTips();
    for (int first = 0; first < count; first += 3) {
        const int onPage = qMin(3, count - first);
        const DeviceSlot* places = onPage == 3 ? FullPage : onPage == 2 ? LastPageOfTwo : LastPageOfOne;
        const DeviceListRules::ListOrder badgeOrder = onPage == 3 ? DeviceListRules::ListOrder::FullPageBadge
                                                                  : DeviceListRules::ListOrder::LastPageBadge;
        auto* page = new QWidget;
        for (int slot = 0; slot < onPage; ++slot) {
            const int d = first + slot;
            const DeviceAllInfo& info = ShownDevices.at(d);

            // Its picture comes with its state, below.
            auto* button = new mytoolButtonEnter(page);
            button->setObjectName(QStringLiteral("btn") + QString::number(d));
            connect(button, &mytoolButtonEnter::Entered, chooser, [](int index) { RefreshDeviceEntry(index); });
            SetFixedSize(button, ButtonSize);
            button->move(places[slot].button);
            DeviceButtons.append(button);

            auto* marker = new QLabel(page);
            marker->setObjectName(QStringLiteral("label") + QString::number(d));
            SetFixedSize(marker, MarkerSize);
            marker->move(places[slot].marker);
            marker->setToolTip(tips);
            marker->hide();
            SetStyleSheetWhenShown(marker, chooser->PictureRule(QStringLiteral("QLabel"), QStringLiteral("DisOnline.png")));
            OfflineMarkers.append(marker);

            auto* link = new QLabel(page);
            link->setObjectName(QStringLiteral("UsbWifi") + QString::number(d));
            SetFixedSize(link, MarkerSize);
            link->move(places[slot].marker);
            link->setStyleSheet(chooser->PictureRule(
                QStringLiteral("QLabel"), info.wired ? QStringLiteral("OnLineUsb.png") : QStringLiteral("OnLineWifi.png")));
            link->hide();
            LinkIcons.append(link);

            const int kind
                = DeviceListRules::ReceiverList(DeviceListRules::ReceiverPidLists, info.pid, badgeOrder);
            if (kind >= 0) {
                auto* badge = new QLabel(page);
                SetFixedSize(badge, BadgeSize);
                badge->move(places[slot].badge);
                badge->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("QLabel"), chooser->pictureFolder_,
                                                             QLatin1String(BadgePictures[kind])));
                RateBadges.append(badge);
            }
        }
        ui->stackedWidget->addWidget(page);
    }

    // Each device's state picks its picture and markers before its page is
    // shown.
    for (mytoolButtonEnter* button : qAsConst(DeviceButtons)) {
        RefreshDeviceEntry(mytoolButtonEnter::IndexOf(button->objectName()));
        connect(button, SIGNAL(clicked()), chooser, SLOT(slotButtonClicked()));
    }
    chooser->ShowDevicePage(0);
}

void DialogChange::ShowIdenticalDevicesNotice()
{
    ui->label_2->show();
    ui->label_3->hide();
    ui->LeftButton->hide();
    ui->RightButton->hide();
    QuestiondialogB notice;
    DialogPlacement::CentreOver(&notice, this);
    notice.exec();
}

// ---- Selection and the window's buttons -------------------------------------------------

namespace {
bool Answers(const DeviceAllInfo& record)
{
    return DeviceAllInfo::Answers(record.path.toLocal8Bit());
}
} // namespace

void DialogChange::slotButtonClicked()
{
    // The index is read now: a device change may rebuild the buttons while a
    // dialog of the selection runs.
    QObject* button = sender();
    SelectDevice(button ? mytoolButtonEnter::IndexOf(button->objectName()) : -1);
}

void DialogChange::SelectDevice(int index)
{
    const bool listed = index >= 0 && index < ShownDevices.size();
    if (listed)
        emit FrameNeeded();
    PostMsg* bus = PostMsg::Instance();
    bus->PostSetver(PostMsg::SetverDeviceChosen);
    if (!listed)
        return;
    // Copies: the list may be rebuilt while a dialog runs.
    const QList<DeviceAllInfo> shown = ShownDevices;
    const DeviceAllInfo record = shown.at(index);

    const int mid = ProductDescription::Instance().Mid(record.modelIndex);
    if (mid == 1)
        bus->PostMouseIndex(0);
    else if (mid == 2)
        bus->PostMouseIndex(1);

    // The same mouse listed twice, once answering and once not: the clicked
    // record is the one that does not answer.
    if (shown.size() == 2 && shown.at(0).cid == shown.at(1).cid && shown.at(0).mid == shown.at(1).mid) {
        const DeviceAllInfo& first = shown.at(0);
        const DeviceAllInfo& second = shown.at(1);
        if (index == 0 && !Answers(first) && Answers(second)) {
            if (!RePairCheck(first))
                return;
        } else if (index == 1 && Answers(first) && !Answers(second)) {
            if (!RePairCheck(second))
                return;
        }
    }

    const bool unidentified = record.modelIndex == modelCount_;
    if (unidentified && !record.wired && !RePairCheck(record))
        return;
    if (unidentified)
        return;
    OpenDevice(record);
}

bool DialogChange::RePairCheck(const DeviceAllInfo& target)
{
    const FirmwareImages::RePairAnswers answers = FirmwareImages::AnswersFor(target);
    if (answers.recordedVersion.isEmpty()) {
        OpenPairing(target);
        return false;
    }
    const bool mouseNew = answers.mouseNew;
    const bool receiverNew = answers.receiverNew;
    if (mouseNew == receiverNew) {
        RePair question;
        DialogPlacement::CentreOver(&question, this);
        question.exec();
        if (question.Confirmed)
            OpenPairing(target);
        return false;
    }
    if (mouseNew) {
        UpDateWarning notice;
        notice.SetText(WiredModeText);
        DialogPlacement::CentreOver(&notice, this, -20);
        notice.exec();
        return false;
    }
    return true;
}

void DialogChange::OpenPairing(const DeviceAllInfo& target)
{
    UsePairingTarget = true;
    PairingTarget = target;
    Match match;
    match.InitPairing();
    DialogPlacement::CentreOver(&match, this);
    match.exec();
}

void DialogChange::OpenDevice(const DeviceAllInfo& record)
{
    PostMsg* bus = PostMsg::Instance();
    // The worker's slot runs within: the record is the current device now.
    bus->PostSelectMouseInfo(record);

    const int kind = DeviceAllInfo::ReceiverKind(record.linkType);
    if (FirmwareImages::FolderExists()) {
        const bool newer = !record.wired && kind != 0
            && FirmwareImages::CheckFirmwareUpdate(FirmwareImages::ReceiverType, record.receiverVersion, kind);
        ReceiverUpdateAvailable = newer;
        bus->PostLabelTextB(record.receiverVersion, newer ? QStringLiteral("true") : QString());
    } else {
        bus->PostLabelTextB(record.receiverVersion, QString());
    }

    const int listShown = listShown_;
    bus->PostChangeMainDialog(PostMsg::FramePage);
    Timing::WaitMs(PickWaitMs);
    // A device change during the wait may have brought the list back (the
    // device went): the pick ends there.
    if (listShown_ != listShown)
        return;
    // Chosen before the worker runs: a pass does device work only for a
    // chosen device.
    DeviceChosen = 1;
    if (Worker* worker = WorkerInstance.load())
        worker->RequestPass();
}

void DialogChange::on_CloseButton_clicked()
{
    PostMsg::Instance()->PostChangeSize(PostMsg::ChooserClose);
}

void DialogChange::on_MinButton_clicked()
{
    PostMsg::Instance()->PostChangeSize(PostMsg::ChooserToTray);
}

void DialogChange::on_LeftButton_clicked()
{
    ShowDevicePage(ui->stackedWidget->currentIndex() - 1);
}

void DialogChange::on_RightButton_clicked()
{
    ShowDevicePage(ui->stackedWidget->currentIndex() + 1);
}

void DialogChange::ShowDevicePage(int page)
{
    const int pages = ui->stackedWidget->count();
    if (page < 0 || page >= pages)
        return;
    ui->label_2->hide();
    ui->label_3->show();
    ui->stackedWidget->setCurrentIndex(page);
    // Every page with one before it has the left arrow, every page with one
    // after it the right arrow.
    ui->LeftButton->setVisible(page > 0);
    ui->RightButton->setVisible(page < pages - 1);
}

void DialogChange::on_CloseButton_2_clicked()
{
    ui->FindVer->hide();
}

void DialogChange::on_NewHong_clicked()
{
    ui->FindVer->hide();
}

void DialogChange::on_NoApear_clicked(bool checked)
{
    MacroIni::Instance()->SetValue(QStringLiteral("FindNew"), QStringLiteral("IsShow"),
                                   checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void DialogChange::on_Repair_clicked()
{
    // The settings page makes the update and repair dialog.
    emit FrameNeeded();
    QWidget* repair = RepairDialog;
    if (!repair)
        return;
    DialogPlacement::CentreOver(repair, this);
    QMetaObject::invokeMethod(repair, "ResetView");
    repair->setWindowModality(Qt::ApplicationModal);
    PostMsg::Instance()->PostRepairCheckUpdate();
    repair->show();
}

void DialogChange::on_comboBox_activated(int index)
{
    // Stored before the windows reload, then the settings page's list follows.
    LanguageTexts::Choose(index);
    PostMsg::Instance()->PostLanguageSameB(index);
}
