#include "pages/settings/FormSetting.h"

#include "core/FirmwareImages.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/Match.h"
#include "dialogs/UpDateWarning.h"
#include "pages/settings/UpgradeDriver.h"
#include "widgets/StopCloseTime.h"
#include "platform/AutoStart.h"
#include "platform/MouseSettingsLauncher.h"
#include "ui_FormSetting.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>

#include <mutex>

namespace {
// Where the foot buttons sit on the short and on the long page.
const QPoint WebShort(610, 540);
const QPoint CompanyShort(370, 560);
const QPoint WebLong(610, 710);
const QPoint CompanyLong(370, 730);

const char YaHei[] = "微软雅黑";
// Where the page's notices go, from its centre.
constexpr int NoticeDx = -75;
constexpr int NoticeDy = -65;

bool ChineseLanguage(int index)
{
    return index == 1 || index == 2;
}

// A link through a receiver, as opposed to the cable.
bool ReceiverLink(quint8 linkType)
{
    return linkType == 0 || linkType == 1 || linkType == 4 || linkType == 5;
}

int Advanced(ProductDescription::AdvancedItem item)
{
    return ProductDescription::Instance().Advanced(CurrentDevice.get().modelIndex, item);
}
} // namespace

FormSetting::FormSetting(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::FormSetting)
{
    ui->setupUi(this);
    // Kept in the form, never shown: the update button, the notice line,
    // the sleep block and the light-off frame. Their texts still follow.
    for (QWidget* hidden : {static_cast<QWidget*>(ui->Receive_2), static_cast<QWidget*>(ui->NewLabel),
                            static_cast<QWidget*>(ui->TitleButton_8), static_cast<QWidget*>(ui->label_12),
                            static_cast<QWidget*>(ui->label_13), static_cast<QWidget*>(ui->frameClose)})
        hidden->hide();

    ConnectBus();
    connect(ui->scrollArea->verticalScrollBar(), &QScrollBar::valueChanged, this, &FormSetting::SlotScroolChange);
    pictureDir = StyleSheet::PictureFolder(QStringLiteral("FormSetting"));
    MakeUpgradeDriver();
    lightGroup = new QButtonGroup(this);
    lightGroup->setExclusive(true);
    ApplyStyles();

    SetUpLanguageTexts();
    const int language = LanguageTexts::StoredIndex();
    // The list offers two languages; another one stored is still named.
    ui->comboBox->ShowEntry(language, LanguageTexts::NativeName(language));
    labelPos = ui->label->pos();
    SlotChangeLanguage(language);

    // Only a click acts on the box: setting it here writes nothing.
    ui->checkBox->setChecked(
        MacroIni::Instance()->GetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable")).toInt() == 1);

    ShowLongRangeRows(false);
    ShowReceiverLightRows(false);
    SetShortPage();
    for (QAbstractButton* option : {static_cast<QAbstractButton*>(ui->ReUntil),
                                    static_cast<QAbstractButton*>(ui->ReUntil_2),
                                    static_cast<QAbstractButton*>(ui->ReUntil_3)})
        lightGroup->addButton(option);
}

FormSetting::~FormSetting()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    delete ui;
}

void FormSetting::ConnectBus()
{
    const Qt::ConnectionType blocking = Qt::BlockingQueuedConnection;
    LanguageTexts::Follow(this);
    PostMsg::Connect(SIGNAL(SigLanguageSameB(int)), this, SLOT(SlotLanguageSameB(int)));
    PostMsg::Connect(SIGNAL(SigSetNewVer()), this, SLOT(SetVerText()));
    PostMsg::Connect(SIGNAL(SigLightToFrom(int)), this, SLOT(SlotLightToFrom(int)));
    PostMsg::Connect(SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRGBValue(DongleRGB*)), blocking);
    PostMsg::Connect(SIGNAL(SigLongRangeMode(bool)), this, SLOT(SlotLongRangeMode(bool)), blocking);
    PostMsg::Connect(SIGNAL(SigForm()), this, SLOT(SlotForm()), blocking);
    PostMsg::Connect(SIGNAL(SigFormB()), this, SLOT(SlotFormB()));
    PostMsg::Connect(SIGNAL(SigSetver(int)), this, SLOT(SetVer(int)));
    PostMsg::Connect(SIGNAL(SigLabelText(int, QString)), this, SLOT(SlotLabelText(int, QString)));
    PostMsg::Connect(SIGNAL(SigCheckUpdate()), this, SLOT(SlotCheckUpdate()));
    PostMsg::Connect(SIGNAL(SigLabelTextB(QString, QString)), this, SLOT(SlotLabelTextB(QString, QString)));
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetForm()), blocking);
}

void FormSetting::ApplyStyles()
{
    const QString& p = pictureDir;
    buttonColor = StyleSheet::ColourText(QStringLiteral("ButtonColor"));
    const QString labelColour = StyleSheet::ColourText(QStringLiteral("LabelColor"));

    for (QLabel* label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_5, ui->label_6, ui->label_7,
                          ui->label_8, ui->label_9, ui->label_11, ui->label_14, ui->label_10})
        label->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    ui->pushButton_2->setStyleSheet(
        StyleSheet::PictureRule(QStringLiteral("QPushButton"), p, QStringLiteral("PariButton.png"), buttonColor));
    const QString link = QStringLiteral("QPushButton{border:none;background:transparent;color: rgb(") + labelColour
        + QStringLiteral(";);text-align : %1;padding-right:1px;}");
    ui->pushButton->setStyleSheet(link.arg(QStringLiteral("left")));
    ui->pushButton_3->setStyleSheet(link.arg(QStringLiteral("right")));
    ui->pushButton_4->setStyleSheet(link.arg(QStringLiteral("right")));
    for (QWidget* marker : {ui->TitleButton_2, ui->TitleButton_3, ui->TitleButton_4, ui->TitleButton_5,
                            ui->TitleButton_6, ui->TitleButton_7})
        marker->setStyleSheet(StyleSheet::StretchedPictureRule(QLatin1Char('#') + marker->objectName(), p,
                                                               QStringLiteral("Title.png")));
    ui->toolButton->setStyleSheet(
        StyleSheet::StretchedPictureRule(QStringLiteral("#toolButton"), p, QStringLiteral("Mouse.png")));
    ui->comboBox->setStyleSheet(StyleSheet::ComboBoxRule(p));
    for (QWidget* box : {static_cast<QWidget*>(ui->checkBox), static_cast<QWidget*>(ui->checkBox_2)}) {
        const QString id = QLatin1Char('#') + box->objectName();
        box->setStyleSheet(id + QStringLiteral("{color: rgb(255, 255, 255);}") + id
                           + QStringLiteral("::indicator:unchecked{image: url(") + p + QStringLiteral("CheckBox.png);}")
                           + id + QStringLiteral("::indicator:checked{image: url(") + p
                           + QStringLiteral("CheckBoxChecked.png);}"));
    }
    const QString option = QStringLiteral("QCheckBox{color: rgb(") + labelColour
        + QStringLiteral(";);}QCheckBox:indicator::checked {image: url(") + p
        + QStringLiteral("CheckBoxCheck.png);}QCheckBox::indicator::unchecked {image: url(") + p
        + QStringLiteral("CheckBox2.png);}");
    for (QWidget* box : {ui->ReUntil, ui->ReUntil_2, ui->ReUntil_3})
        box->setStyleSheet(option);
    for (QWidget* edit : {ui->textEdit, ui->textEdit_2, ui->textEdit_3, ui->textEdit_4})
        edit->setStyleSheet(QLatin1Char('#') + edit->objectName()
                            + QStringLiteral("{border: transparent;background-color: transparent;color: rgb(")
                            + labelColour + QStringLiteral(";);}"));
    for (QWidget* marker : {ui->toolButton_2, ui->toolButton_3}) {
        marker->setStyleSheet(
            StyleSheet::PictureRule(QStringLiteral("QToolButton"), p, QStringLiteral("Picture.png"), QStringLiteral("255,106,0")));
        marker->hide();
    }
    ui->scrollArea->setFrameShape(QFrame::NoFrame);
    ui->scrollAreaWidgetContents->setStyleSheet(QStringLiteral("background-color:transparent;border:none;"));

    auto* view = new QListView(ui->comboBox);
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->comboBox->setMaxVisibleItems(5);
    ui->comboBox->setView(view);
}

// ---- Language texts ----------------------------------------------------------------

void FormSetting::SetUpLanguageTexts()
{
    const auto onWidget = [](auto* widget) { return LanguageTexts::TextOf(widget); };
    QVector<LanguageTexts::Child> children;
    for (QLabel* label : {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_6, ui->label_8, ui->label_9,
                          ui->label_10, ui->label_11, ui->label_12, ui->label_13, ui->label_14})
        children.append({label->objectName(), onWidget(label)});
    for (int item = 0; item < StopCloseTime::EntryCount; ++item) {
        const QString name = item == 0 ? QStringLiteral("StopCloseTime") : QStringLiteral("StopCloseTime%1").arg(item);
        children.append({name, [this, item](const QString& text) { ui->frameClose->SetItemText(item, text); }});
    }
    for (QTextEdit* edit : {ui->textEdit, ui->textEdit_2, ui->textEdit_3, ui->textEdit_4, ui->NewLabel})
        children.append({edit->objectName(), onWidget(edit)});
    children.append({QStringLiteral("pushButton_2"), onWidget(ui->pushButton_2)});
    children.append({QStringLiteral("pushButton"), onWidget(ui->pushButton)});
    children.append({QStringLiteral("Receive"), onWidget(ui->Receive_2)});
    children += upgrade_->TextChildren();
    children.append({QStringLiteral("WiredMode"), LanguageTexts::Keep(&WiredModeText)});
    children.append({QStringLiteral("MouseSettingsFail"), LanguageTexts::Keep(&mouseSettingsFailText_)});
    children.append({QStringLiteral("WebFail"), LanguageTexts::Keep(&webFailText_)});
    children.append({QStringLiteral("AutoStartFail"), LanguageTexts::Keep(&autoStartFailText_)});
    language_ = std::make_unique<LanguageTexts>(QStringLiteral("FormSetting"), children);

    // The company texts: "CompanyWebcn" is the address of the Chinese
    // languages, "CompanyWeben" that of every other language.
    const auto chinese = [] { return ChineseLanguage(LanguageTexts::StoredIndex()); };
    companyTexts_ = std::make_unique<LanguageTexts>(
        QStringLiteral("English"),
        QVector<LanguageTexts::Child>{
            {QStringLiteral("CompanyName"), onWidget(ui->pushButton_4)},
            {QStringLiteral("CompanyWebcn"), LanguageTexts::When(chinese, onWidget(ui->pushButton_3))},
            {QStringLiteral("CompanyWeben"),
             LanguageTexts::When([chinese] { return !chinese(); }, onWidget(ui->pushButton_3))},
        });
}

void FormSetting::SlotChangeLanguage(int index)
{
    ui->Receive_2->setFont(QFont(QString::fromUtf8(YaHei), 10));
    PlaceVersionRows(index);
    if (!language_->Load(index))
        return;
    LoadCompanyTexts();
}

void FormSetting::PlaceVersionRows(int index)
{
    struct Rows {
        int values;      // x of both version values
        QPoint update;   // the update button; (-1, -1): it stays
    };
    Rows rows{235, QPoint(285, 155)};
    switch (index) {
    case 0:
        rows = {200, QPoint(280, 170)};
        break;
    case 1:
        rows = {150, QPoint(280, 170)};
        break;
    case 2:
        rows = {150, QPoint(330, 170)};
        break;
    case 3:
        rows = {170, QPoint(280, 170)};
        break;
    case 4:
        rows = {280, QPoint(330, 170)};
        break;
    case 5:
        rows = {280, QPoint(-1, -1)};
        ui->Receive_2->setFont(QFont(QString::fromUtf8(YaHei), 7));
        break;
    default:
        break;
    }
    ui->label_5->move(rows.values, 155);
    ui->label_7->move(rows.values, 185);
    if (rows.update.x() >= 0)
        ui->Receive_2->move(rows.update);
    ui->toolButton_2->move(460, 160);
    ui->toolButton_3->move(460, 190);
}

void FormSetting::LoadCompanyTexts()
{
    const QString language = ChineseLanguage(LanguageTexts::StoredIndex()) ? QStringLiteral("Chinese")
                                                                           : QStringLiteral("English");
    companyTexts_->SetRoot(QStringLiteral("Profile"), {language, QStringLiteral("Web")});
    companyTexts_->LoadFile(LanguageTexts::Folder() + QStringLiteral("Net.xml"));
}

// ---- Versions ----------------------------------------------------------------------

void FormSetting::SetVer(int state)
{
    switch (state) {
    case PostMsg::SetverVersionRead:
        break;
    case PostMsg::SetverReceiverDone:
        ui->toolButton_2->hide();
        return;
    case PostMsg::SetverMouseDone:
        ui->toolButton_3->hide();
        return;
    case PostMsg::SetverDevicesChanged:
        ui->Receive_2->setText(upgrade_->receiveText);
        ui->toolButton_3->hide();
        ui->toolButton_2->hide();
        upgrade_->ClearUpgradeFlags();
        return;
    case PostMsg::SetverDeviceChosen:
        ui->label_5->setText(QString());
        ui->label_7->setText(QString());
        return;
    default:
        return;
    }

    const DeviceAllInfo device = CurrentDevice.get();
    const QList<DeviceAllInfo> found = WorkerDeviceList.get();
    QString receiver;
    QString mouse;
    int kind = 0;
    if (!device.online) {
        receiver = device.receiverVersion;
    } else if (!device.wired) {
        receiver = device.receiverVersion;
        mouse = device.mouseVersion;
    } else {
        mouse = device.mouseVersion;
    }
    // A mouse on its cable beside one more device: that device's receiver
    // gives the receiver's row and kind.
    const auto receiverBeside = [&found](bool needsKnownLink) -> const DeviceAllInfo* {
        if (found.size() != 2)
            return nullptr;
        for (const DeviceAllInfo& other : found) {
            if (!other.address.isEmpty() && !other.wired && (!needsKnownLink || ReceiverLink(other.linkType)))
                return &other;
        }
        return nullptr;
    };
    if (device.online && device.wired) {
        if (const DeviceAllInfo* beside = receiverBeside(false))
            receiver = beside->receiverVersion;
    }
    if (!device.wired)
        kind = DeviceAllInfo::ReceiverKind(device.linkType);
    else if (const DeviceAllInfo* beside = receiverBeside(true))
        kind = DeviceAllInfo::ReceiverKind(beside->linkType);
    if (FirmwareImages::FolderExists()) {
        MouseUpdateAvailable = FirmwareImages::CheckFirmwareUpdate(FirmwareImages::MouseType, mouse, kind);
        ReceiverUpdateAvailable = FirmwareImages::CheckFirmwareUpdate(FirmwareImages::ReceiverType, receiver, kind);
        if (MouseUpdateAvailable || ReceiverUpdateAvailable)
            ShowWaitUpdateLook();
        else
            ShowConfirmLook();
    }
    ui->label_5->setText(receiver);
    ui->label_7->setText(mouse);
}

void FormSetting::SetVerText()
{
    ui->Receive_2->setText(upgrade_->verNewText);
}

void FormSetting::SlotLabelText(int which, QString text)
{
    if (which == 0) {
        ui->label_5->setText(text);
        CurrentDevice.update([&text](DeviceAllInfo& device) { device.receiverVersion = text; });
    } else if (which == 1) {
        ui->label_7->setText(text);
        CurrentDevice.update([&text](DeviceAllInfo& device) { device.mouseVersion = text; });
    }
}

void FormSetting::SlotLabelTextB(QString version, QString flag)
{
    ui->label_5->setText(version);
    if (flag == QLatin1String("true"))
        ShowWaitUpdateLook();
    else
        ShowConfirmLook();
}

void FormSetting::ShowWaitUpdateLook()
{
    ui->Receive_2->setStyleSheet(
        QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + buttonColor + QStringLiteral(";);background-image: url(") + pictureDir
        + QStringLiteral("WaitUpdate.png);}QToolButton::hover{background-image: url(") + pictureDir
        + QStringLiteral("WaitUpdateHover.png);}"));
}

void FormSetting::ShowConfirmLook()
{
    ui->Receive_2->setStyleSheet(
        QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(")
        + buttonColor + QStringLiteral(";);border-image: url(") + pictureDir + QStringLiteral("Confirm.png);}"));
}

// ---- Rows per model and link -------------------------------------------------------

void FormSetting::ShowLongRangeRows(bool show)
{
    for (QWidget* row : {static_cast<QWidget*>(ui->TitleButton_6), static_cast<QWidget*>(ui->label_11),
                         static_cast<QWidget*>(ui->checkBox_2), static_cast<QWidget*>(ui->textEdit)})
        row->setVisible(show);
}

void FormSetting::ShowReceiverLightRows(bool show)
{
    for (QWidget* row : {static_cast<QWidget*>(ui->TitleButton_7), static_cast<QWidget*>(ui->label_14),
                         static_cast<QWidget*>(ui->ReUntil), static_cast<QWidget*>(ui->ReUntil_2),
                         static_cast<QWidget*>(ui->ReUntil_3), static_cast<QWidget*>(ui->textEdit_2),
                         static_cast<QWidget*>(ui->textEdit_3), static_cast<QWidget*>(ui->textEdit_4)})
        row->setVisible(show);
    if (!show)
        lightRowsDevice_.clear();
}

void FormSetting::SetShortPage()
{
    ui->scrollAreaWidgetContents->setFixedSize(PageWidth, ShortPageHeight);
    ui->pushButton_3->move(WebShort);
    ui->pushButton_4->move(CompanyShort);
}

void FormSetting::SetLongPage()
{
    ui->scrollAreaWidgetContents->setFixedSize(PageWidth, LongPageHeight);
    ui->pushButton_3->move(WebLong);
    ui->pushButton_4->move(CompanyLong);
}

void FormSetting::ApplyModelRows(bool showLongRange)
{
    if (Advanced(ProductDescription::ReceiverLightItem) == -1)
        ShowReceiverLightRows(false);
    if (Advanced(ProductDescription::LongRangeItem) == -1)
        ShowLongRangeRows(false);
    else if (showLongRange)
        ShowLongRangeRows(true);
    const DeviceAllInfo device = CurrentDevice.get();
    // The worker sends the light record before it asks for this layout: the
    // rows that record showed for this device stay.
    if (ReceiverLink(device.linkType) && lightRowsDevice_ != device.path) {
        ShowReceiverLightRows(false);
        SetShortPage();
    }
    if (device.wired) {
        ShowLongRangeRows(false);
        ShowReceiverLightRows(false);
        SetShortPage();
    }
}

void FormSetting::SlotForm()
{
    ApplyModelRows(true);
}

void FormSetting::SlotFormB()
{
    ApplyModelRows(false);
}

void FormSetting::SlotFormResetForm()
{
    ShowLongRangeRows(false);
    ShowReceiverLightRows(false);
    SetCheckedQuietly(ui->checkBox_2, false);
    SetShortPage();
}

void FormSetting::SetCheckedQuietly(QAbstractButton* box, bool checked)
{
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
}

// ---- Long range and receiver light -------------------------------------------------

bool FormSetting::DeviceAnswersOrNotice()
{
    if (DeviceAllInfo::Answers(CurrentDevicePath.get()))
        return true;
    PostMsg::Instance()->PostMouseOffLineo(PostMsg::MouseOffLine);
    return false;
}

void FormSetting::on_checkBox_2_toggled(bool checked)
{
    if (!UiReady || !DeviceAnswersOrNotice())
        return;
    UsbFinderC_SetLongRangeMode(CurrentDevicePath.get().constData(), checked ? 1 : 0);
}

void FormSetting::on_checkBox_2_clicked(bool checked)
{
    // The toggle slot does the work.
    Q_UNUSED(checked)
}

void FormSetting::SlotLongRangeMode(bool on)
{
    if (Advanced(ProductDescription::LongRangeItem) == -1)
        return;
    ShowLongRangeRows(true);
    // What the receiver reported is shown, not sent back.
    SetCheckedQuietly(ui->checkBox_2, on);
}

void FormSetting::on_ReUntil_toggled(bool checked)
{
    ReceiverLightToggled(1, checked);
}

void FormSetting::on_ReUntil_2_toggled(bool checked)
{
    ReceiverLightToggled(2, checked);
}

void FormSetting::on_ReUntil_3_toggled(bool checked)
{
    ReceiverLightToggled(3, checked);
}

void FormSetting::ReceiverLightToggled(int option, bool checked)
{
    if (!UiReady || !DeviceAnswersOrNotice() || !checked)
        return;
    const QByteArray path = CurrentDevicePath.get();
    std::lock_guard<std::mutex> lock(DongleRGBMutex);
    DongleRGBRecord->option = quint8(option);
    UsbFinderC_Set4KDongleRGB(path.constData(), DongleRGBRecord);
}

void FormSetting::SlotRGBValue(DongleRGB* record)
{
    const DeviceAllInfo device = CurrentDevice.get();
    if (Advanced(ProductDescription::ReceiverLightItem) == -1 || device.wired || device.linkType != 1)
        return;
    ShowReceiverLightRows(true);
    lightRowsDevice_ = device.path;
    int option = 0;
    if (record) {
        std::lock_guard<std::mutex> lock(DongleRGBMutex);
        option = record->option;
    }
    SetReceiverLightQuietly(option);
    SetLongPage();
}

void FormSetting::SetReceiverLightQuietly(int option)
{
    QAbstractButton* const boxes[] = {ui->ReUntil, ui->ReUntil_2, ui->ReUntil_3};
    if (option < 1 || option > 3)
        return;
    // All three: the group unchecks the one that was checked.
    const QSignalBlocker first(boxes[0]);
    const QSignalBlocker second(boxes[1]);
    const QSignalBlocker third(boxes[2]);
    boxes[option - 1]->setChecked(true);
}

// ---- Light-off time ----------------------------------------------------------------

void FormSetting::SlotLightToFrom(int seconds)
{
    // Shown without writing; a time the list does not offer changes nothing.
    ui->frameClose->SetIndex(StopCloseTime::IndexOfSeconds(seconds));
}

// ---- The other actions -------------------------------------------------------------

void FormSetting::on_comboBox_activated(int index)
{
    LanguageTexts::Choose(index);
    PostMsg::Instance()->PostLanguageSameA(index);
}

void FormSetting::SlotLanguageSameB(int index)
{
    ui->comboBox->ShowEntry(index, LanguageTexts::NativeName(index));
}

void FormSetting::on_checkBox_clicked(bool checked)
{
    MacroIni* const settings = MacroIni::Instance();
    const auto store = [settings](bool on) {
        settings->SetValue(QStringLiteral("AutoStart"), QStringLiteral("Enable"),
                           on ? QStringLiteral("1") : QStringLiteral("0"));
    };
    store(checked);
    if (AutoStart::SetEnabled(checked))
        return;
    // The session's start-up entry could not be changed: the box and the
    // stored choice say what the session still does.
    qWarning("the session start-up entry %s could not be %s", qUtf8Printable(AutoStart::EntryPath()),
             checked ? "written" : "removed");
    store(!checked);
    ui->checkBox->setChecked(!checked);
    ShowFailure(autoStartFailText_);
}

void FormSetting::on_pushButton_clicked()
{
    if (!MouseSettingsLauncher::Start())
        ShowFailure(mouseSettingsFailText_);
}

void FormSetting::on_pushButton_3_clicked()
{
    if (!QDesktopServices::openUrl(QUrl::fromUserInput(ui->pushButton_3->text())))
        ShowFailure(webFailText_);
}

void FormSetting::ShowFailure(const QString& text)
{
    UpDateWarning notice;
    notice.SetText(text);
    DialogPlacement::CentreOver(&notice, this, NoticeDx, NoticeDy);
    notice.exec();
}

void FormSetting::on_pushButton_2_clicked()
{
    {
        Match match;
        match.InitPairing();
        DialogPlacement::CentreOver(&match, this, -70, -30);
        match.exec();
    }
    Match::HandBackToWorker();
}

void FormSetting::SlotScroolChange(int value)
{
    ui->label->move(labelPos.x(), labelPos.y() + value + 10);
}

void FormSetting::SlotCheckUpdate()
{
    upgrade_->SlotCheckUpdate();
}

UpgradeDriver* FormSetting::Upgrade() const
{
    return upgrade_;
}

void FormSetting::MakeUpgradeDriver()
{
    upgrade_ = new UpgradeDriver(
        {this, ui->label_5, ui->label_7, ui->toolButton_2, ui->toolButton_3, ui->Receive_2});
    connect(upgrade_, &UpgradeDriver::SetVer, this, &FormSetting::SetVer);
}

void FormSetting::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}
