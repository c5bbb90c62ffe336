#include "pages/buttons/Buttoninterface.h"

#include "core/ButtonRecords.h"
#include "core/LanguageTexts.h"
#include "core/MacroFile.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/ScopedFlag.h"
#include "core/SensorDefineFile.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "pages/buttons/ButtonFunctionList.h"
#include "pages/buttons/ButtonMacros.h"
#include "pages/buttons/ButtonFunctionTable.h"
#include "pages/buttons/ButtonPageStyle.h"
#include "pages/buttons/ButtonPageTexts.h"
#include "pages/buttons/ConfigurationActions.h"
#include "platform/UserDataFolder.h"
#include "ui_Buttoninterface.h"

#include <QButtonGroup>
#include <QDebug>
#include <QDir>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {
// How long the page waits for a running pass when it goes. A pass waits only
// for the GUI thread, which the wait keeps serving, so this is ample.
constexpr int WorkerStopMs = 5000;
constexpr int FunctionFontPoints = 9;
constexpr int SmallFunctionFontPoints = 7;
constexpr int RussianIndex = 4;

const QString FontFamily = QStringLiteral("微软雅黑");

// The current model's group of the product description.
ProductDescription::Group Model()
{
    return ProductDescription::Instance().Model(CurrentDevice.get().modelIndex);
}

// The device buttons the current model has; the image holds 16 records.
int KeyNumber()
{
    return qBound(0, Model().Int(QStringLiteral("KeyNumber")), int(ButtonRecords::ImageButtons));
}
} // namespace


Buttoninterface::Buttoninterface(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Buttoninterface)
{
    ui->setupUi(this);
    LanguageTexts::Follow(this);
    PostMsg::Connect(SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));

    pictureDir_ = StyleSheet::PictureFolder(QStringLiteral("Buttoninterface"));
    userSettingDir_ = UserDataFolder() + QStringLiteral("/usersetting/MainPage");
    QDir().mkpath(userSettingDir_);
    SlotMouseIndex(0);

    rows_ = {{ui->FireKey, ui->Number1, 0}, {ui->RightKey, ui->Number2, 1}, {ui->BackKey, ui->Number3, 2},
             {ui->StartPause, ui->Number4, 4}, {ui->TopMusic, ui->Number5, 3}, {ui->BackMusic, ui->Number6, 5}};
    functions_ = std::make_unique<ButtonFunctionTable>(ui);
    QVector<QToolButton*> markers;
    for (const Row& row : qAsConst(rows_))
        markers << row.marker;
    buttonColour_ = StyleSheet::ColourText(ProductDescription::Instance().Option().List(QStringLiteral("ButtonColor")));
    InitButtonGroups();
    LoadMacroButtons();
    ui->DPI_3->hide();
    ui->DPI_9->hide();
    ButtonPageStyle::Apply(ui, *functions_, pictureDir_, buttonColour_, markers);
    ReadSensorDefines();
    functionList_->ConnectAssignments();

    const Qt::ConnectionType blocking = Qt::BlockingQueuedConnection;
    PostMsg::Connect(SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this,
                     SLOT(SlotUpDataButtonUIButton(FlashDataMap)), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataConfigUI(int, int, bool)), this, SLOT(SlotUpDataConfigUI(int, int, bool)),
                     blocking);
    PostMsg::Connect(SIGNAL(SigUpDataButtonUIC(FlashDataMap)), this, SLOT(SlotUpDataButtonUIB(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigAddMacroButton()), this, SLOT(SlotAddMacroButton()));
    PostMsg::Connect(SIGNAL(SigDeleteMacroButton(QString)), this, SLOT(SlotDeleteMacroButton(QString)));
    PostMsg::Connect(SIGNAL(SigUpDataMacro(QString, int)), this, SLOT(SlotUpDataMacro(QString, int)));
    PostMsg::Connect(SIGNAL(SigMacroRename(QString, QString)), this, SLOT(SlotMacroRename(QString, QString)));
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetButton()), blocking);

    // The worker has no parent: the page stops it itself before it goes.
    worker_ = new Worker(this);

    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);

    InitLanguageTexts();
    LoadLanguage(1, LanguageTexts::StoredIndex());
    ButtonPageStyle::ApplyFrames(ui, pictureDir_);
}

Buttoninterface::~Buttoninterface()
{
    // No bus slot runs on a page that is going.
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    if (worker_->StopAndWait(Timing::Ms(WorkerStopMs))) {
        delete worker_;
    } else {
        // Still in a pass: it ends on its own; the worker goes once it has.
        qWarning() << "button page: the worker is still in a pass; it is deleted when the pass ends";
        connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
    }
    StopUsbChanged();
    delete ui;
}

void Buttoninterface::InitButtonGroups()
{
    PanelGroup = new QButtonGroup(this);
    for (QToolButton* button : functions_->PanelButtons())
        PanelGroup->addButton(button);
    PanelGroup->setExclusive(true);

    ButtonFunctionList::Page page;
    page.widget = this;
    page.held = [this](int button) { return HeldBy(button); };
    page.dpiOf = [this](int lockRegister) { return DpiValueFromIndex(lockRegister); };
    page.registerOf = [this](int dpi) -> std::optional<int> {
        // A model with a register table but no entry for this DPI has no
        // register to lock to.
        if (SensorDefineFile::HasDpiTable(DefineNames, DefineValues, SensorModel)
            && SensorDefineFile::IndexOfDpi(DefineNames, DefineValues, SensorModel, dpi) < 0)
            return std::nullopt;
        return DpiIndexFromValue(dpi);
    };
    functionList_ = std::make_unique<ButtonFunctionList>(ui, *functions_, rows_, PanelGroup, page);
    connect(functionList_.get(), &ButtonFunctionList::Stored, this, &Buttoninterface::SetButtonState);
    connect(functionList_.get(), &ButtonFunctionList::Combination, this, &Buttoninterface::SetButtonComboKey);

    ButtonMacros::Page macroPage;
    macroPage.widget = this;
    macroPage.pictureDir = pictureDir_;
    macroPage.buttonColour = buttonColour_;
    macroPage.held = page.held;
    macroPage.prefix = [this] { return MacroPrefix; };
    macros_ = std::make_unique<ButtonMacros>(ui, rows_, PanelGroup, macroPage);
    connect(macros_.get(), &ButtonMacros::Stored, this, &Buttoninterface::SetButtonState);
    connect(functionList_.get(), &ButtonFunctionList::MacroRowOpened, macros_.get(), &ButtonMacros::ShowInList);
}

void Buttoninterface::ReadSensorDefines()
{
    // The file beside the program does not change while it runs: it is read
    // once, for every page the frame builds.
    static const SensorDefineFile defines = [] {
        SensorDefineFile file;
        file.Read();
        return file;
    }();
    DefineNames += defines.Names();
    DefineValues += defines.Values();
}

// ---------------------------------------------------------------------------
// Records

KeyRecord Buttoninterface::ComboKeyRecordFromText(int button, const QString& text)
{
    Q_UNUSED(button)
    KeyRecord record;
    ButtonRecords::ComboKeyRecord(text, &record);
    return record;
}

KeyRecord Buttoninterface::FillComboKeyEvent(const QString& keyName, int button, int index, int count,
                                             KeyRecord record)
{
    Q_UNUSED(button)
    return ButtonRecords::FillComboKeyEvent(keyName, index, count, record);
}

void Buttoninterface::SetButtonComboKey(int button, const QString& text)
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    UncheckFunctionButtons();
    KeyRecord record;
    QToolButton* label = LabelOf(button);
    if (label && ButtonRecords::ComboKeyRecord(text, &record)
        && SetButtonKeyData(button, ButtonFunction{ButtonFunctionTable::KeyType, 0, 0}, record)) {
        SetButtonState(button, ButtonFunctionTable::KeyType, 0, 0);
        label->setText(text);
    }
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ButtonPageStyle::ScrollBarWidth(10));
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

void Buttoninterface::SetButtonMediaKey(int button, int code)
{
    const ButtonFunctionTable::Function* key = code >= 0 && code <= 0xFF ? functions_->Consumer(code) : nullptr;
    QToolButton* label = LabelOf(button);
    if (!key || !label)
        return;
    if (SetButtonKeyData(button, ButtonFunction{ButtonFunctionTable::KeyType, 0, 0},
                         ButtonRecords::ConsumerKeyRecord(key->value))) {
        SetButtonState(button, ButtonFunctionTable::KeyType, 0, 0);
        label->setText(key->button->text());
    }
}

void Buttoninterface::SetButtonState(int button, int type, int value1, int value2)
{
    if (button < 0 || button >= ButtonTypes.size() || button >= ButtonValue1.size() || button >= ButtonValue2.size())
        return;
    ButtonTypes[button] = type;
    ButtonValue1[button] = value1;
    ButtonValue2[button] = value2;
}

void Buttoninterface::UncheckFunctionButtons()
{
    functionList_->UncheckFunctionButtons();
}

int Buttoninterface::MirrorType(int button) const
{
    return button >= 0 && button < ButtonTypes.size() ? ButtonTypes.at(button) : -1;
}

int Buttoninterface::MirrorValue1(int button) const
{
    return button >= 0 && button < ButtonValue1.size() ? ButtonValue1.at(button) : -1;
}

int Buttoninterface::MirrorValue2(int button) const
{
    return button >= 0 && button < ButtonValue2.size() ? ButtonValue2.at(button) : -1;
}

ButtonFunctionList::Held Buttoninterface::HeldBy(int button) const
{
    return ButtonFunctionList::Held{MirrorType(button), MirrorValue1(button), MirrorValue2(button)};
}

int Buttoninterface::DeviceButtonOf(const QToolButton* label) const
{
    return functionList_->DeviceButtonOf(label);
}

QToolButton* Buttoninterface::LabelOf(int button) const
{
    for (const Row& row : rows_) {
        if (row.button == button)
            return row.label;
    }
    return nullptr;
}

QToolButton* Buttoninterface::CheckedLabel() const
{
    return functionList_->CheckedLabel();
}

// ---------------------------------------------------------------------------
// Showing the device's assignments

void Buttoninterface::SlotUpDataButtonUIButton(FlashDataMap image)
{
    Refresh(image, true);
}

void Buttoninterface::SlotUpDataButtonUIB(FlashDataMap image)
{
    Refresh(image, false);
}

void Buttoninterface::Refresh(const FlashDataMap& image, bool fromDevice)
{
    if (fromDevice)
        ButtonPageFilled = false;
    const ScopedFlag loading(ButtonPageLoading);
    if (fromDevice)
        PostMsg::Instance()->PostLightToFrom(image.lightOffTime * 10);
    SensorModel = Model().Text(QStringLiteral("Sensor"));
    if (!fromDevice)
        PostMsg::Instance()->PostLightToFrom(image.lightOffTime * 10);
    lastShown_ = image;
    hasShown_ = true;
    ShowImage(image);
    ui->DebunceButton->SetDebounce(image.debounceTime);
    if (fromDevice)
        ButtonPageFilled = true;
}

void Buttoninterface::ShowButtonFunction(int button, int type, int value1, int value2, const FlashDataMap& image,
                                         Macros macros)
{
    QToolButton* label = button >= 0 && button < ButtonRecords::ShownButtons ? LabelOf(button) : nullptr;
    if (!label)
        return;
    switch (type) {
    case ButtonFunctionTable::KeyType: {
        const KeyRecord& record = image.keys[button];
        if (record.events[0].kind == DeviceEvent::Consumer) {
            if (const ButtonFunctionTable::Function* key = functions_->Consumer(record.events[0].code & 0xFF))
                label->setText(key->button->text());
        } else {
            label->setText(ButtonRecords::ComboText(record));
        }
        return;
    }
    case ButtonFunctionTable::MacroType: {
        const QString name = ButtonRecords::MacroName(image.macros[button]);
        label->setText(MacroPrefix + name);
        // The name comes from the device: it becomes a file name only when
        // it is a sound one.
        if (macros == Macros::Take && MacroFile::NameAllowed(name)) {
            WriteMacroHeader(name, QString::number(value2));
            PostMsg::Instance()->PostButtonToMacro(image, button);
        }
        return;
    }
    case ButtonFunctionTable::DpiLockType:
        label->setText(functions_->LockText(QString::number(DpiValueFromIndex(value1))));
        return;
    default:
        if (const ButtonFunctionTable::Function* function = functions_->Find(type, value1))
            label->setText(function->button->text());
        return;
    }
}

QString Buttoninterface::KeyNameFromDeviceCode(int code, int kind)
{
    return ButtonRecords::KeyNameFromDeviceCode(code, kind);
}

void Buttoninterface::WriteMacroHeader(const QString& name, const QString& text)
{
    ButtonMacros::WriteHeader(name, text);
}

int Buttoninterface::DpiValueFromIndex(int index) const
{
    if (!SensorDefineFile::HasDpiTable(DefineNames, DefineValues, SensorModel))
        return (index + 1) * 50;
    return qMax(0, SensorDefineFile::DpiOfRegister(DefineNames, DefineValues, SensorModel, index));
}

int Buttoninterface::DpiIndexFromValue(int dpi) const
{
    const int base = dpi / 50;
    if (!SensorDefineFile::HasDpiTable(DefineNames, DefineValues, SensorModel))
        return base - 1;
    const int entry = SensorDefineFile::IndexOfDpi(DefineNames, DefineValues, SensorModel, dpi);
    return entry >= 0 ? DefineValues.at(entry) : base;
}

void Buttoninterface::SlotFormResetButton()
{
    const ScopedFlag loading(ButtonPageLoading);
    SlotMouseIndex(0);
    PostMsg::Instance()->PostMouseIndex(0);
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    ButtonTypes.clear();
    ButtonValue1.clear();
    ButtonValue2.clear();
    for (int b = 0; b < ButtonRecords::ShownButtons; ++b) {
        ButtonTypes.append(ButtonRecords::DefaultTypes[b]);
        ButtonValue1.append(ButtonRecords::DefaultValues1[b]);
        ButtonValue2.append(0);
    }
    ui->DebunceButton->SetDebounce(8);
    PostMsg::Instance()->PostLightToFrom(60);
}

void Buttoninterface::SlotMouseIndex(int index)
{
    // Every model shows the same mouse picture.
    Q_UNUSED(index)
    ui->widget->setStyleSheet(ButtonPageStyle::MouseRule(pictureDir_));
}

void Buttoninterface::SlotUpDataConfigUI(int count, int current, bool enabled)
{
    ui->ProjectChoose->clear();
    {
        const QSignalBlocker quiet(ui->ProjectChoose);
        const int entries = count > 0 ? count : (count == 0 ? 1 : 0);
        for (int i = 0; i < entries; ++i)
            ui->ProjectChoose->addItem(profilePrefix_ + QString::number(i + 1));
    }
    ui->ProjectChoose->setEnabled(enabled);
    if (count > 0)
        ui->ProjectChoose->setCurrentIndex(current);
}

// ---------------------------------------------------------------------------
// Choosing the button to edit

void Buttoninterface::on_FireKey_clicked()
{
    functionList_->ChooseRow(0);
}

void Buttoninterface::on_RightKey_clicked()
{
    functionList_->ChooseRow(1);
}

void Buttoninterface::on_BackKey_clicked()
{
    functionList_->ChooseRow(2);
}

void Buttoninterface::on_StartPause_clicked()
{
    functionList_->ChooseRow(3);
}

void Buttoninterface::on_TopMusic_clicked()
{
    functionList_->ChooseRow(4);
}

void Buttoninterface::on_BackMusic_clicked()
{
    functionList_->ChooseRow(5);
}

// ---------------------------------------------------------------------------
// Assigning functions

void Buttoninterface::ClosePanels()
{
    functionList_->ClosePanels();
}

void Buttoninterface::UncheckLabels()
{
    functionList_->UncheckLabels();
}

void Buttoninterface::on_LeftKey_3_clicked(bool checked)
{
    functionList_->AssignOf(ui->LeftKey_3, checked);
}

void Buttoninterface::on_RightKey_3_clicked(bool checked)
{
    functionList_->AssignOf(ui->RightKey_3, checked);
}

void Buttoninterface::on_MidKey_clicked(bool checked)
{
    functionList_->AssignOf(ui->MidKey, checked);
}

void Buttoninterface::on_BackKey_2_clicked(bool checked)
{
    functionList_->AssignOf(ui->BackKey_2, checked);
}

void Buttoninterface::on_ForWardKey_clicked(bool checked)
{
    functionList_->AssignOf(ui->ForWardKey, checked);
}

void Buttoninterface::on_VolumeUp_8_clicked(bool checked)
{
    functionList_->AssignOf(ui->VolumeUp_8, checked);
}

void Buttoninterface::on_DPI_13_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_10);
}

void Buttoninterface::on_DPI_11_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_4);
}

void Buttoninterface::on_DPI_4_clicked(bool checked)
{
    Q_UNUSED(checked)
}

void Buttoninterface::on_DPI_4_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_8);
}

void Buttoninterface::on_DPI_9_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_6);
}

void Buttoninterface::on_DPI_7_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_7);
}

void Buttoninterface::on_DPI_12_clicked()
{
    ui->stackedWidget_2->setCurrentWidget(ui->page_3);
}

void Buttoninterface::on_DPI_10_clicked()
{
    functionList_->OpenMacros(!macros_->Empty());
}

void Buttoninterface::on_DPI_6_clicked(bool checked)
{
    functionList_->AssignOf(ui->DPI_6, checked);
}

void Buttoninterface::on_DPI_6_clicked()
{
    functionList_->AskFire();
}

void Buttoninterface::on_DPI_8_clicked()
{
    functionList_->AskCombination();
}

void Buttoninterface::CheckMarkerRow(int row)
{
    CheckDeviceOnline();
    rows_.at(row).label->setChecked(true);
}

void Buttoninterface::on_Number1_clicked()
{
    CheckMarkerRow(0);
}

void Buttoninterface::on_Number2_clicked()
{
    CheckMarkerRow(1);
}

void Buttoninterface::on_Number3_clicked()
{
    CheckMarkerRow(2);
}

void Buttoninterface::on_Number4_clicked()
{
    CheckMarkerRow(3);
}

void Buttoninterface::on_Number5_clicked()
{
    CheckMarkerRow(4);
}

void Buttoninterface::on_Number6_clicked()
{
    CheckMarkerRow(5);
}

void Buttoninterface::on_stackedWidget_currentChanged(int index)
{
    functionList_->ListPageChanged(index);
}

void Buttoninterface::on_stackedWidget_2_currentChanged(int index)
{
    Q_UNUSED(index)
}

void Buttoninterface::on_ProjectChoose_currentIndexChanged(int index)
{
    Q_UNUSED(index)
}

// ---------------------------------------------------------------------------
// Page events

void Buttoninterface::mousePressEvent(QMouseEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress || event->button() != Qt::LeftButton)
        return;
    functionList_->PagePressed(event->pos());
}

void Buttoninterface::changeEvent(QEvent* event)
{
    if (event->type() != QEvent::LanguageChange)
        return;
    const int index = ui->ProjectChoose->currentIndex();
    const QSignalBlocker quiet(ui->ProjectChoose);
    ui->retranslateUi(this);
    ui->ProjectChoose->setCurrentIndex(index);
}

// ---------------------------------------------------------------------------
// Texts

void Buttoninterface::InitLanguageTexts()
{
    QVector<QToolButton*> labels;
    for (const Row& row : qAsConst(rows_))
        labels << row.label;
    language_ = std::make_unique<LanguageTexts>(
        QStringLiteral("Buttoninterface"),
        ButtonPageTexts::Children(ui, labels, *functions_, &MacroPrefix, &profilePrefix_));
    language_->SetFinished([this] { FinishLanguage(languageFlag_); });
}

void Buttoninterface::LoadLanguage(int flag, int index)
{
    QFont font(FontFamily, index == RussianIndex ? SmallFunctionFontPoints : FunctionFontPoints);
    for (QToolButton* button : functions_->ListButtons())
        button->setFont(font);
    languageFlag_ = flag;
    language_->Load(index);
}

void Buttoninterface::SlotChangeLanguage(int index)
{
    LoadLanguage(0, index);
}

void Buttoninterface::FinishLanguage(int flag)
{
    if (flag == 0 && hasShown_)
        Relabel();
    RebuildProfiles();
}

void Buttoninterface::Relabel()
{
    // The live image once it is the device's own; else what the page showed
    // last (an offline device's stored configuration). Only the texts: the
    // macros were taken when the image was shown, and a language change
    // writes no macro file.
    ShowImage(LiveFlashDataIsCurrent() ? LiveFlashData.get() : lastShown_, Macros::Leave);
}

void Buttoninterface::ShowImage(const FlashDataMap& image, Macros macros)
{
    const int count = KeyNumber();
    ButtonTypes.clear();
    ButtonValue1.clear();
    ButtonValue2.clear();
    for (int b = 0; b < count; ++b) {
        ButtonTypes.append(image.buttons[b].type);
        ButtonValue1.append(image.buttons[b].value1);
        ButtonValue2.append(image.buttons[b].value2);
    }
    for (int b = 0; b < count; ++b)
        ShowButtonFunction(b, ButtonTypes.at(b), ButtonValue1.at(b), ButtonValue2.at(b), image, macros);
}

void Buttoninterface::RebuildProfiles()
{
    MyConmboBox* combo = ui->ProjectChoose;
    const int count = combo->count();
    const int current = combo->currentIndex();
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (int i = 0; i < count; ++i)
        combo->addItem(profilePrefix_ + QString::number(i + 1));
    combo->setCurrentIndex(current);
}

// ---------------------------------------------------------------------------
// Macro list

void Buttoninterface::LoadMacroButtons()
{
    macros_->BuildList();
}

void Buttoninterface::SlotAddMacroButton()
{
    macros_->RebuildList();
}

MacroBlock Buttoninterface::ReadMacroFile(const QString& name, int button, bool* ok)
{
    Q_UNUSED(button)
    return ButtonMacros::ReadBlock(name, ok);
}

QString Buttoninterface::ReadMacroHeaderValue(const QString& name)
{
    return ButtonMacros::HeaderValue(name);
}

void Buttoninterface::slotButtonClicked(bool checked)
{
    if (!checked)
        return;
    macros_->Assign(qobject_cast<QToolButton*>(sender()), CheckedLabel());
    ClosePanels();
}

void Buttoninterface::SlotUpDataMacro(const QString& name, int mode)
{
    macros_->Saved(name, mode);
}

void Buttoninterface::SendPendingMacros()
{
    macros_->SendPending();
}

bool Buttoninterface::MacrosPending() const
{
    return macros_->Pending();
}

void Buttoninterface::SlotMacroRename(const QString& oldName, const QString& newName)
{
    macros_->Rename(oldName, newName);
}

void Buttoninterface::SlotDeleteMacroButton(const QString& text)
{
    FallBack(text);
}

const QList<QToolButton*>& Buttoninterface::MacroButtons() const
{
    return macros_->Buttons();
}

void Buttoninterface::FallBack(const QString& text)
{
    QStringList texts;
    for (const Row& row : qAsConst(rows_))
        texts << row.label->text();
    const int modelIndex = CurrentDevice.get().modelIndex;
    QVector<ButtonRecords::KeyParameter> parameters;
    for (int key = 1; key <= ButtonRecords::ShownButtons; ++key)
        parameters << ButtonRecords::KeyParameterOf(ProductDescription::Instance().KeyParam(modelIndex, key));
    for (int r = 0; r < rows_.size(); ++r) {
        if (texts.at(r) != text)
            continue;
        const int button = rows_.at(r).button;
        // The device button's default function, from the function table.
        const ButtonFunctionTable::Function* fallback =
            functions_->Find(ButtonRecords::DefaultTypes[button], ButtonRecords::DefaultValues1[button]);
        rows_.at(r).label->setChecked(true);
        fallback->button->setChecked(true);
        LiveFlashData.update([button](FlashDataMap& image) { image.keys[button] = KeyRecord(); });
        const ButtonRecords::KeyParameter& parameter = parameters.at(button);
        if (parameter.kind == ButtonRecords::KeyParameter::Consumer)
            SetButtonMediaKey(button, parameter.code);
        else if (parameter.kind == ButtonRecords::KeyParameter::Combination)
            SetButtonComboKey(button, parameter.text);
        else
            functionList_->Assign(*fallback, true);
    }
    UncheckLabels();
    ClosePanels();
    SendFlashData();
}


// ---------------------------------------------------------------------------
// Export, import, reset and profiles

bool Buttoninterface::ExportConfigFile(const QString& path, const FlashDataMap& image)
{
    return ConfigurationActions::Export(this, path, image);
}

void Buttoninterface::on_OutputData_clicked()
{
    ConfigurationActions::ChooseAndExport(this);
}

void Buttoninterface::on_ImportData_clicked()
{
    ConfigurationActions::Import(this);
}

void Buttoninterface::on_Reset_clicked()
{
    ConfigurationActions::Reset(this);
}

void Buttoninterface::on_ProjectChoose_activated(int index)
{
    if (!ConfigurationActions::DeviceAnswers() && !ButtonPageLoading) {
        ui->ProjectChoose->setCurrentIndex(ui->ProjectChoose->PressedIndex());
        PostMsg::Instance()->PostMouseOffLineo(0);
        return;
    }
    UsbServer_SetCurrentConfig(quint8(index));
}
