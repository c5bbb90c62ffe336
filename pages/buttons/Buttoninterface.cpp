#include "pages/buttons/Buttoninterface.h"

#include "core/ButtonRecords.h"
#include "core/ConfigIni.h"
#include "core/LanguageTexts.h"
#include "core/MacroFile.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/ScopedFlag.h"
#include "core/SensorDefineFile.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "core/ConfigurationFile.h"
#include "dialogs/ContainReset.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/FileChooser.h"
#include "dialogs/FireKey.h"
#include "dialogs/GroupKey.h"
#include "dialogs/InportFail.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/MacroKeyCodes.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/UpDataParam.h"
#include "platform/UserDataFolder.h"
#include "ui_Buttoninterface.h"

#include <QButtonGroup>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// How long the page waits for a running pass when it goes. A pass waits only
// for the GUI thread, which the wait keeps serving, so this is ample.
constexpr int WorkerStopMs = 5000;
// Dialogs opened from the button rows and the function list sit this far
// from the page's centre.
constexpr int DialogDx = -50;
constexpr int DialogDy = -70;
// One row of the lists scrolls by this many pixels.
constexpr int RowHeight = 15;
// The mouse picture's markers are tested against the list 340 px lower.
constexpr int MarkerShift = 340;
constexpr int FunctionFontPoints = 9;
constexpr int SmallFunctionFontPoints = 7;
constexpr int RussianIndex = 4;
constexpr int ToolTipIndex = 5;
constexpr int DebounceUnits = 21;
constexpr int MacroButtonWidth = 174;
constexpr int MacroButtonHeight = 22;
constexpr int PlaceholderHeight = 23;
constexpr int MacroListWidth = 205;
constexpr int MacroListHeight = 220;
constexpr int MacroListRows = 7;
constexpr int LockStep = 100;
constexpr int LockCount = 12;
// The import and reset dialogs sit this far from the page's centre.
constexpr int WaitDx = -75;
constexpr int WaitDy = -65;
// After a save, the macro editor's file is settled before the blocks go.
constexpr int MacroSaveWaitMs = 1500;

const QString FontFamily = QStringLiteral("微软雅黑");

QString ScrollBarWidth(int pixels)
{
    return QStringLiteral("QScrollBar {width:%1px;}").arg(pixels);
}

void SetScroll(QScrollArea* area, int position)
{
    area->verticalScrollBar()->setValue(position);
}

// Unchecks every button of an exclusive group.
void UncheckGroup(QButtonGroup* group)
{
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

int KeyNumber()
{
    const QString group = QStringLiteral("Drive%1").arg(CurrentDevice.get().modelIndex + 1);
    const int count = ConfigIni::Instance()->GetValue(group, QStringLiteral("KeyNumber")).trimmed().toInt();
    // The image holds 16 button records.
    return qBound(0, count, int(ButtonRecords::ImageButtons));
}

QString ModelGroup()
{
    return QStringLiteral("Drive%1").arg(CurrentDevice.get().modelIndex + 1);
}

QString ModelValue(const QString& key)
{
    return ConfigIni::Instance()->GetValue(ModelGroup(), key);
}

QStringList ModelValueList(const QString& key)
{
    return ConfigIni::Instance()->GetValueList(ModelGroup(), key);
}
} // namespace

// One row of the button list.
struct Buttoninterface::Row {
    QToolButton* label;
    QToolButton* marker;
    int button;   // device button
};

// One function button and what it stores.
struct Buttoninterface::Assignment {
    enum Kind { ListFunction, PanelFunction, Consumer, DpiLock, Fire };
    QToolButton* button;
    Kind kind;
    int type;
    int value;   // value1; the usage of a consumer key; the DPI of a lock
};

Buttoninterface::Buttoninterface(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Buttoninterface)
{
    ui->setupUi(this);
    LanguageTexts::Follow(this);
    PostMsg::Connect(SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));

    PictureDir = StyleSheet::PictureFolder(QStringLiteral("Buttoninterface"));
    UserSettingDir = UserDataFolder() + QStringLiteral("/usersetting/MainPage");
    QDir().mkpath(UserSettingDir);
    SlotMouseIndex(0);

    rows_ = {{ui->FireKey, ui->Number1, 0}, {ui->RightKey, ui->Number2, 1}, {ui->BackKey, ui->Number3, 2},
             {ui->StartPause, ui->Number4, 4}, {ui->TopMusic, ui->Number5, 3}, {ui->BackMusic, ui->Number6, 5}};
    mediaButtons_ = {ui->Player, ui->StartPause_2, ui->BackMusic_2, ui->TopMusic_2, ui->Mute, ui->VolumeUp,
                     ui->VolumeDown, ui->VolumeDown_4, ui->VolumeDown_5, ui->VolumeDown_6, ui->VolumeDown_3,
                     ui->VolumeDown_8, ui->VolumeDown_9, ui->VolumeDown_10, ui->VolumeDown_7, ui->VolumeDown_12,
                     ui->VolumeDown_13, ui->VolumeDown_11};
    lockButtons_ = {ui->VolumeUp_11, ui->VolumeUp_12, ui->VolumeUp_13, ui->VolumeUp_16, ui->VolumeUp_15, ui->VolumeUp_19,
                    ui->VolumeUp_20, ui->VolumeUp_22, ui->VolumeUp_18, ui->VolumeUp_24, ui->VolumeUp_23, ui->VolumeUp_21};
    functionButtons_ = {ui->LeftKey_3, ui->RightKey_3, ui->MidKey, ui->BackKey_2, ui->ForWardKey, ui->DPI_2,
                        ui->DPI_3, ui->DPI_6, ui->DPI_8, ui->DPI_5, ui->DPI_13, ui->DPI_11,
                        ui->DPI_4, ui->DPI_9, ui->DPI_7, ui->DPI_12, ui->DPI_10};
    InitButtonGroups();
    ButtonColorList = ConfigIni::Instance()->GetValueList(QStringLiteral("Option"), QStringLiteral("ButtonColor"));
    ButtonColor = StyleSheet::ColourText(ButtonColorList);
    LoadMacroButtons();
    ui->DPI_3->hide();
    ui->DPI_9->hide();
    ApplyStyleSheets();
    ReadSensorDefines();
    ConnectAssignments();

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
    ui->groupBox->setStyleSheet(QStringLiteral("#groupBox {border: 0;background-image: url(") + PictureDir
                                + QStringLiteral("TiltleBack.png);}"));
    for (QWidget* framed : {static_cast<QWidget*>(ui->groupBox_4), static_cast<QWidget*>(ui->groupBox_2),
                            static_cast<QWidget*>(ui->scrollArea_4), static_cast<QWidget*>(ui->scrollArea_3),
                            static_cast<QWidget*>(ui->scrollArea_7), static_cast<QWidget*>(ui->scrollArea_8),
                            static_cast<QWidget*>(ui->scrollArea_10), static_cast<QWidget*>(ui->scrollArea_6),
                            static_cast<QWidget*>(ui->scrollArea_9), static_cast<QWidget*>(ui->scrollArea_12)})
        framed->setStyleSheet(QStringLiteral("#%1 {border: 0;}").arg(framed->objectName()));
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
    LabelGroup = new QButtonGroup(this);
    ListGroup = new QButtonGroup(this);
    PanelGroup = new QButtonGroup(this);
    MarkerGroup = new QButtonGroup(this);
    for (const Row& row : qAsConst(rows_)) {
        LabelGroup->addButton(row.label);
        MarkerGroup->addButton(row.marker);
    }
    for (QToolButton* button : qAsConst(functionButtons_))
        ListGroup->addButton(button);
    for (QToolButton* button : {ui->Player, ui->StartPause_2, ui->BackMusic_2, ui->TopMusic_2, ui->Mute, ui->VolumeUp,
                                ui->VolumeDown, ui->VolumeDown_3, ui->VolumeDown_4, ui->VolumeDown_5, ui->VolumeDown_6,
                                ui->VolumeDown_7, ui->VolumeDown_8, ui->VolumeDown_9, ui->VolumeDown_10,
                                ui->VolumeDown_11, ui->VolumeDown_12, ui->VolumeDown_13, ui->VolumeUp_4, ui->VolumeUp_5,
                                ui->VolumeUp_6, ui->VolumeUp_7, ui->VolumeUp_11, ui->VolumeUp_12, ui->VolumeUp_13,
                                ui->VolumeUp_15, ui->VolumeUp_16, ui->VolumeUp_18, ui->VolumeUp_19, ui->VolumeUp_20,
                                ui->VolumeUp_21, ui->VolumeUp_22, ui->VolumeUp_23, ui->VolumeUp_24, ui->VolumeDown_2,
                                ui->VolumeUp_2, ui->VolumeUp_10, ui->VolumeUp_8, ui->VolumeUp_9, ui->VolumeUp_14,
                                ui->VolumeDown_14})
        PanelGroup->addButton(button);
    for (QButtonGroup* group : {LabelGroup, ListGroup, PanelGroup, MarkerGroup})
        group->setExclusive(true);
}

void Buttoninterface::ApplyStyleSheets()
{
    const QString transparent = QStringLiteral("background-color:transparent;border:none;");
    const QString colour = QStringLiteral("color: rgb(") + ButtonColor + QStringLiteral(";);");
    const QString panelPage = QStringLiteral("QToolButton{") + colour + QStringLiteral("border-image: url(") + PictureDir
        + QStringLiteral("CMenuTitle.png);}QToolButton:checked{") + colour + QStringLiteral("border-image: url(")
        + PictureDir + QStringLiteral("CMenuTitleChecked.png); }");
    for (QWidget* contents : {ui->scrollAreaWidgetContents_3, ui->scrollAreaWidgetContents_4,
                              ui->scrollAreaWidgetContents_6, ui->scrollAreaWidgetContents_8,
                              ui->scrollAreaWidgetContents_9, ui->scrollAreaWidgetContents_12,
                              ui->scrollAreaWidgetContents_10})
        contents->setStyleSheet(transparent);
    for (QWidget* page : {ui->page_3, ui->page_9, ui->page_4, ui->page_6, ui->page_7, ui->page_10, ui->page_8})
        page->setStyleSheet(panelPage);
    ui->scrollAreaWidgetContents_11->setStyleSheet(
        QStringLiteral("#scrollAreaWidgetContents_11{background-color:transparent;border:none;}"
                       "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;")
        + colour + QStringLiteral("background-image: url(") + PictureDir
        + QStringLiteral("AMenuTitle.png);}QToolButton:checked{background-image: url(") + PictureDir
        + QStringLiteral("AMenuTitleChecked.png); }QToolButton:unchecked{background-image: url(") + PictureDir
        + QStringLiteral("AMenuTitle.png); }QLabel{color: rgb(0, 0, 0);border:0px;background-position:center;"
                         "background-repeat:no-repeat;background-image: url(")
        + PictureDir + QStringLiteral("LabelNumber.png);}"));
    ui->scrollArea_11->setFrameShape(QFrame::NoFrame);
    ui->groupBox_4->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));
    ui->groupBox_2->setStyleSheet(QStringLiteral("QGroupBox{border:none;}"));

    ui->ProjectChoose->setStyleSheet(StyleSheet::ComboBoxRule(PictureDir));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->ProjectChoose->setView(view);

    ui->label_3->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    const QString pageButton = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:"
                                              "no-repeat;")
        + colour + QStringLiteral("border-image: url(") + PictureDir
        + QStringLiteral("Reset.png);}QToolButton:hover{border-image: url(") + PictureDir
        + QStringLiteral("ResetHover.png); }QToolButton:pressed{border-image: url(") + PictureDir
        + QStringLiteral("ResetClick.png); }");
    for (QToolButton* button : {ui->Reset, ui->ImportData, ui->OutputData})
        button->setStyleSheet(pageButton);
    const QString marker = QStringLiteral("QToolButton{color: rgb(0, 0, 0);border:0px;background-position:center;"
                                          "background-repeat:no-repeat;background-image: url(")
        + PictureDir + QStringLiteral("NumberOrigin.png);}QToolButton:hover{background-image: url(") + PictureDir
        + QStringLiteral("NumberHover.png);}QToolButton:pressed{padding-left: 0px;background-image: url(") + PictureDir
        + QStringLiteral("NumberClick.png);}");
    for (const Row& row : qAsConst(rows_))
        row.marker->setStyleSheet(marker);
    const auto listSheet = [this](const QString& suffix) {
        return QStringLiteral("QToolButton{border:0px;color: rgb(255,255,255);background-position:center;"
                              "background-repeat:no-repeat;background-image: url(")
            + PictureDir + QStringLiteral("BMenuTitle") + suffix
            + QStringLiteral(".png);}QToolButton:checked{color: rgb(255,255,255);background-image: url(") + PictureDir
            + QStringLiteral("BMenuTitleChecked") + suffix + QStringLiteral(".png);}");
    };
    ui->LeftKey_3->setStyleSheet(listSheet(QString()));
    for (QToolButton* button : std::initializer_list<QToolButton*>{ui->RightKey_3, ui->MidKey, ui->BackKey_2,
                                                                   ui->ForWardKey, ui->DPI_2, ui->DPI_3, ui->DPI_6,
                                                                   ui->DPI_8, ui->DPI_5})
        button->setStyleSheet(listSheet(QString()));
    for (QToolButton* button : {ui->DPI_13, ui->DPI_11, ui->DPI_10, ui->DPI_9, ui->DPI_7, ui->DPI_12, ui->DPI_4})
        button->setStyleSheet(listSheet(QStringLiteral("B")));
    ui->label->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("#label"), PictureDir, QStringLiteral("Config.png"),
                                                     QStringLiteral("255, 255, 255")));
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
    if (label && ButtonRecords::ComboKeyRecord(text, &record) && SetButtonKeyData(button, ButtonFunction{5, 0, 0}, record)) {
        SetButtonState(button, 5, 0, 0);
        label->setText(text);
    }
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ScrollBarWidth(10));
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

void Buttoninterface::SetButtonMediaKey(int button, int code)
{
    const int row = code >= 0 && code <= 0xFF ? ButtonRecords::ConsumerRow(code) : -1;
    QToolButton* label = LabelOf(button);
    if (row < 0 || !label)
        return;
    if (SetButtonKeyData(button, ButtonFunction{5, 0, 0},
                         ButtonRecords::ConsumerKeyRecord(ButtonRecords::ConsumerUsages().at(row)))) {
        SetButtonState(button, 5, 0, 0);
        label->setText(mediaButtons_.at(row)->text());
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
    UncheckGroup(PanelGroup);
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

int Buttoninterface::DeviceButtonOf(const QToolButton* label) const
{
    for (const Row& row : rows_) {
        if (row.label == label)
            return row.button;
    }
    return -1;
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
    for (const Row& row : rows_) {
        if (row.label->isChecked())
            return row.label;
    }
    return nullptr;
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
    SensorModel = ModelValue(QStringLiteral("Sensor"));
    if (!fromDevice)
        PostMsg::Instance()->PostLightToFrom(image.lightOffTime * 10);
    const int count = KeyNumber();
    ButtonTypes.clear();
    ButtonValue1.clear();
    ButtonValue2.clear();
    for (int b = 0; b < count; ++b) {
        ButtonTypes.append(image.buttons[b].type);
        ButtonValue1.append(image.buttons[b].value1);
        ButtonValue2.append(image.buttons[b].value2);
    }
    lastShown_ = image;
    hasShown_ = true;
    for (int b = 0; b < count; ++b)
        ShowButtonFunction(b, ButtonTypes.at(b), ButtonValue1.at(b), ButtonValue2.at(b), image);
    ui->DebunceButton->SetDebounce(image.debounceTime);
    if (fromDevice)
        ButtonPageFilled = true;
}

void Buttoninterface::ShowButtonFunction(int button, int type, int value1, int value2, const FlashDataMap& image)
{
    QToolButton* label = button >= 0 && button < ButtonRecords::ShownButtons ? LabelOf(button) : nullptr;
    if (!label)
        return;
    const auto byValue = [value1](std::initializer_list<std::pair<int, QToolButton*>> table) -> QToolButton* {
        for (const auto& entry : table) {
            if (entry.first == value1)
                return entry.second;
        }
        return nullptr;
    };
    QToolButton* source = nullptr;
    switch (type) {
    case 0:
        source = ui->DPI_5;
        break;
    case 1:
        source = byValue({{1, ui->LeftKey_3}, {2, ui->RightKey_3}, {4, ui->MidKey}, {8, ui->BackKey_2},
                          {16, ui->ForWardKey}});
        break;
    case 2:
        source = byValue({{1, ui->VolumeUp_8}, {2, ui->VolumeUp_9}, {3, ui->VolumeUp_10}});
        break;
    case 3:
        source = byValue({{1, ui->VolumeUp_2}, {2, ui->VolumeDown_2}});
        break;
    case 4:
        source = ui->DPI_6;
        break;
    case 5: {
        const KeyRecord& record = image.keys[button];
        if (record.events[0].kind == DeviceEvent::Consumer) {
            const int row = ButtonRecords::ConsumerRow(record.events[0].code & 0xFF);
            if (row >= 0)
                label->setText(mediaButtons_.at(row)->text());
        } else {
            label->setText(ButtonRecords::ComboText(record));
        }
        return;
    }
    case 6: {
        const QString name = ButtonRecords::MacroName(image.macros[button]);
        label->setText(MacroPrefix + name);
        // The name comes from the device: it becomes a file name only when
        // it is a sound one.
        if (MacroFile::NameAllowed(name)) {
            WriteMacroHeader(name, QString::number(value2));
            PostMsg::Instance()->PostButtonToMacro(image, button);
        }
        return;
    }
    case 7:
        source = ui->DPI_2;
        break;
    case 8:
        source = byValue({{0, ui->VolumeUp_4}, {1, ui->VolumeUp_5}, {3, ui->VolumeUp_6}, {4, ui->VolumeUp_7}});
        break;
    case 9:
        source = ui->DPI_3;
        break;
    case 10:
        label->setText(ui->DPI_4->text() + QStringLiteral("-") + QString::number(DpiValueFromIndex(value1)));
        return;
    case 11:
        source = byValue({{1, ui->VolumeUp_14}, {2, ui->VolumeDown_14}});
        break;
    default:
        break;
    }
    if (source)
        label->setText(source->text());
}

QString Buttoninterface::KeyNameFromDeviceCode(int code, int kind)
{
    return ButtonRecords::KeyNameFromDeviceCode(code, kind);
}

void Buttoninterface::WriteMacroHeader(const QString& name, const QString& text)
{
    QDir().mkpath(MacroFile::Folder());
    QString error;
    if (!MacroFile::WriteHeader(MacroFile::PathOf(name), text, &error))
        qWarning() << "button page: the macro file of" << name << "is not written:" << error;
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
    ui->widget->setStyleSheet(QStringLiteral("#widget{border:0px;background-position:center;background-repeat:"
                                             "no-repeat;background-image: url(")
                              + PictureDir + QStringLiteral("mouse0.png);}"));
}

void Buttoninterface::SlotUpDataConfigUI(int count, int current, bool enabled)
{
    ui->ProjectChoose->clear();
    {
        const QSignalBlocker quiet(ui->ProjectChoose);
        const int entries = count > 0 ? count : (count == 0 ? 1 : 0);
        for (int i = 0; i < entries; ++i)
            ui->ProjectChoose->addItem(ProfilePrefix + QString::number(i + 1));
    }
    ui->ProjectChoose->setEnabled(enabled);
    if (count > 0)
        ui->ProjectChoose->setCurrentIndex(current);
}

// ---------------------------------------------------------------------------
// Choosing the button to edit

void Buttoninterface::on_FireKey_clicked()
{
    ChooseRow(0);
}

void Buttoninterface::on_RightKey_clicked()
{
    ChooseRow(1);
}

void Buttoninterface::on_BackKey_clicked()
{
    ChooseRow(2);
}

void Buttoninterface::on_StartPause_clicked()
{
    ChooseRow(3);
}

void Buttoninterface::on_TopMusic_clicked()
{
    ChooseRow(4);
}

void Buttoninterface::on_BackMusic_clicked()
{
    ChooseRow(5);
}

void Buttoninterface::OpenList(QToolButton* listButton, int listRow, QWidget* panelPage)
{
    ui->stackedWidget->setCurrentWidget(ui->page_2);
    ui->stackedWidget_2->setCurrentWidget(panelPage);
    if (listButton)
        listButton->setChecked(true);
    SetScroll(ui->scrollArea_4, RowHeight * listRow);
}

void Buttoninterface::ChooseRow(int rowIndex)
{
    const Row& row = rows_.at(rowIndex);
    const QString leftClick = ui->LeftKey_3->text();
    int leftLabels = 0;
    for (const Row& other : qAsConst(rows_))
        leftLabels += other.label->text() == leftClick ? 1 : 0;
    if (leftLabels == 1 && row.label->text() == leftClick) {
        ui->stackedWidget->setCurrentWidget(ui->page);
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        UncheckLabels();
        LeftButtonOnly notice;
        DialogPlacement::CentreOver(&notice, this, DialogDx, DialogDy);
        notice.exec();
        return;
    }
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ScrollBarWidth(rowIndex == 0 ? 10 : 0));

    const int type = MirrorType(row.button);
    const int value = MirrorValue1(row.button);
    const auto check = [value](std::initializer_list<std::pair<int, QToolButton*>> table) {
        for (const auto& entry : table) {
            if (entry.first == value)
                entry.second->setChecked(true);
        }
    };
    int lockRow = 0;
    switch (type) {
    case 0:
        OpenList(ui->DPI_5, 9, ui->page_9);
        break;
    case 1: {
        const QVector<QToolButton*> clicks{ui->LeftKey_3, ui->RightKey_3, ui->MidKey, ui->BackKey_2, ui->ForWardKey};
        int bit = 0;
        while (bit < clicks.size() && (1 << bit) != value)
            ++bit;
        if (bit < clicks.size())
            OpenList(clicks.at(bit), bit, ui->page_9);
        else
            OpenList(nullptr, 0, ui->page_9);
        break;
    }
    case 2:
        OpenList(ui->DPI_7, 13, ui->page_7);
        check({{1, ui->VolumeUp_8}, {2, ui->VolumeUp_9}, {3, ui->VolumeUp_10}});
        break;
    case 3:
        OpenList(ui->DPI_11, 10, ui->page_4);
        check({{1, ui->VolumeUp_2}, {2, ui->VolumeDown_2}});
        break;
    case 4:
        OpenList(ui->DPI_6, 7, ui->page_9);
        break;
    case 5: {
        // A consumer key opens its page; anything else is a combination.
        const DeviceEvent first = LiveFlashData.read([&](const FlashDataMap& image) {
            return image.keys[row.button].events[0];
        });
        const int mediaRow = first.kind == DeviceEvent::Consumer ? ButtonRecords::ConsumerRow(first.code & 0xFF) : -1;
        if (mediaRow >= 0) {
            OpenList(ui->DPI_12, 16, ui->page_3);
            mediaButtons_.at(mediaRow)->setChecked(true);
            int position = mediaRow;
            // The row of AC Back and AC Forward is swapped for the second row.
            if (rowIndex == 1 && (mediaRow == 13 || mediaRow == 14))
                position = mediaRow == 13 ? 14 : 13;
            SetScroll(ui->scrollArea_3, RowHeight * position);
        } else {
            OpenList(ui->DPI_8, 8, ui->page_9);
            SetScroll(ui->scrollArea_3, 0);
        }
        return;
    }
    case 6: {
        OpenList(ui->DPI_10, 15, ui->page_5);
        const QString text = row.label->text();
        for (int k = 0; k < MacroButtons.size(); ++k) {
            QToolButton* macro = MacroButtons.at(k);
            if (macro->isEnabled() && MacroPrefix + macro->text() == text) {
                macro->setChecked(true);
                SetScroll(ui->scrollArea_7, RowHeight * (k + 1));
            }
        }
        break;
    }
    case 7:
        OpenList(ui->DPI_2, 5, ui->page_9);
        break;
    case 8:
        OpenList(ui->DPI_9, 12, ui->page_6);
        check({{0, ui->VolumeUp_4}, {1, ui->VolumeUp_5}, {3, ui->VolumeUp_6}, {4, ui->VolumeUp_7}});
        break;
    case 9:
        OpenList(ui->DPI_3, 6, ui->page_9);
        break;
    case 10: {
        OpenList(ui->DPI_4, 15, ui->page_8);
        const int dpi = DpiValueFromIndex(value);
        if (dpi >= LockStep && dpi <= LockStep * LockCount && dpi % LockStep == 0) {
            lockButtons_.at(dpi / LockStep - 1)->setChecked(true);
            lockRow = dpi / LockStep - 1;
        }
        break;
    }
    case 11:
        OpenList(ui->DPI_13, 10, ui->page_10);
        check({{1, ui->VolumeUp_14}, {2, ui->VolumeDown_14}});
        break;
    default:
        // An unknown or missing function opens nothing.
        return;
    }
    SetScroll(ui->scrollArea_10, RowHeight * lockRow);
}

// ---------------------------------------------------------------------------
// Assigning functions

void Buttoninterface::ConnectAssignments()
{
    using A = Assignment;
    assignments_ = {
        {ui->LeftKey_3, A::ListFunction, 1, 1},      {ui->RightKey_3, A::ListFunction, 1, 2},
        {ui->MidKey, A::ListFunction, 1, 4},         {ui->BackKey_2, A::ListFunction, 1, 8},
        {ui->ForWardKey, A::ListFunction, 1, 16},    {ui->DPI_2, A::ListFunction, 7, 0},
        {ui->DPI_3, A::ListFunction, 9, 0},          {ui->DPI_5, A::ListFunction, 0, 0},
        {ui->VolumeUp_8, A::PanelFunction, 2, 1},    {ui->VolumeUp_9, A::PanelFunction, 2, 2},
        {ui->VolumeUp_10, A::PanelFunction, 2, 3},   {ui->VolumeUp_2, A::PanelFunction, 3, 1},
        {ui->VolumeDown_2, A::PanelFunction, 3, 2},  {ui->VolumeUp_14, A::PanelFunction, 11, 1},
        {ui->VolumeDown_14, A::PanelFunction, 11, 2}, {ui->VolumeUp_4, A::PanelFunction, 8, 0},
        {ui->VolumeUp_5, A::PanelFunction, 8, 1},    {ui->VolumeUp_6, A::PanelFunction, 8, 3},
        {ui->VolumeUp_7, A::PanelFunction, 8, 4},
    };
    for (int i = 0; i < lockButtons_.size(); ++i)
        assignments_.append({lockButtons_.at(i), A::DpiLock, 10, LockStep * (i + 1)});
    for (int i = 0; i < mediaButtons_.size(); ++i)
        assignments_.append({mediaButtons_.at(i), A::Consumer, 5, ButtonRecords::ConsumerUsages().at(i)});
    assignments_.append({ui->DPI_6, A::Fire, 4, 0});

    // Buttons with a slot of their own are bound by name; the rest here.
    for (const Assignment& assignment : qAsConst(assignments_)) {
        const QByteArray slot = "on_" + assignment.button->objectName().toLatin1() + "_clicked(bool)";
        if (metaObject()->indexOfSlot(slot.constData()) >= 0)
            continue;
        const Assignment copy = assignment;
        connect(assignment.button, &QToolButton::clicked, this, [this, copy](bool checked) { Assign(copy, checked); });
    }
}

void Buttoninterface::Assign(const Assignment& assignment, bool checked)
{
    if (!checked)
        return;
    if (assignment.kind == Assignment::ListFunction || assignment.kind == Assignment::Fire)
        UncheckFunctionButtons();
    int value1 = assignment.value;
    int value2 = 0;
    QString text = assignment.button->text();
    bool storable = true;
    switch (assignment.kind) {
    case Assignment::DpiLock:
        value1 = DpiIndexFromValue(assignment.value);
        text = ui->DPI_4->text() + QStringLiteral("-") + assignment.button->text();
        // A model with a register table but no entry for this DPI has no
        // register to lock to.
        storable = !SensorDefineFile::HasDpiTable(DefineNames, DefineValues, SensorModel)
            || SensorDefineFile::IndexOfDpi(DefineNames, DefineValues, SensorModel, assignment.value) >= 0;
        break;
    case Assignment::Fire:
        value1 = FireInterval;
        value2 = FireCount;
        text = ui->DPI_6->text();
        break;
    case Assignment::Consumer:
        value1 = 0;
        break;
    default:
        break;
    }
    QToolButton* label = CheckedLabel();
    if (label && storable) {
        const int button = DeviceButtonOf(label);
        const bool stored = assignment.kind == Assignment::Consumer
            ? SetButtonKeyData(button, ButtonFunction{5, 0, 0}, ButtonRecords::ConsumerKeyRecord(assignment.value))
            : SetButtonKey(button, assignment.type, value1, value2);
        if (stored) {
            label->setText(text);
            SetButtonState(button, assignment.type, value1, value2);
        }
    }
    ClosePanels();
}

void Buttoninterface::ClosePanels()
{
    ui->stackedWidget->setCurrentWidget(ui->page);
    ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ScrollBarWidth(10));
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
}

void Buttoninterface::UncheckLabels()
{
    UncheckGroup(LabelGroup);
}

void Buttoninterface::on_LeftKey_3_clicked(bool checked)
{
    Assign(assignments_.at(0), checked);
}

void Buttoninterface::on_RightKey_3_clicked(bool checked)
{
    Assign(assignments_.at(1), checked);
}

void Buttoninterface::on_MidKey_clicked(bool checked)
{
    Assign(assignments_.at(2), checked);
}

void Buttoninterface::on_BackKey_2_clicked(bool checked)
{
    Assign(assignments_.at(3), checked);
}

void Buttoninterface::on_ForWardKey_clicked(bool checked)
{
    Assign(assignments_.at(4), checked);
}

void Buttoninterface::on_VolumeUp_8_clicked(bool checked)
{
    Assign(assignments_.at(8), checked);
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
    if (!MacroButtons.isEmpty()) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_5);
        return;
    }
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    MakeMacro notice;
    DialogPlacement::CentreOver(&notice, this, DialogDx, DialogDy);
    notice.exec();
}

void Buttoninterface::on_DPI_6_clicked(bool checked)
{
    Assign(assignments_.last(), checked);
}

void Buttoninterface::on_DPI_6_clicked()
{
    // Offline: the notice, as for every other assignment; no dialog.
    if (!CheckDeviceOnline()) {
        ui->stackedWidget->setCurrentWidget(ui->page);
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        return;
    }
    int interval = 10;
    int count = 3;
    if (QToolButton* label = CheckedLabel()) {
        const int button = DeviceButtonOf(label);
        if (label->text() == ui->DPI_6->text() && MirrorType(button) >= 0) {
            interval = MirrorValue1(button);
            count = MirrorValue2(button);
        }
    }
    FireKey dialog;
    dialog.SetInterval(interval);
    dialog.SetCount(count);
    DialogPlacement::CentreOver(&dialog, this, DialogDx, DialogDy);
    dialog.exec();
    if (!dialog.Confirmed)
        return;
    FireInterval = dialog.Interval;
    FireCount = dialog.Count;
    on_DPI_6_clicked(true);
}

void Buttoninterface::on_DPI_8_clicked()
{
    GroupKey dialog;
    DialogPlacement::CentreOver(&dialog, this, DialogDx, DialogDy);
    dialog.exec();
    if (!dialog.Confirmed)
        return;
    QToolButton* label = CheckedLabel();
    if (!label) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_9);
        UncheckFunctionButtons();
        ui->stackedWidget->setCurrentWidget(ui->page_2);
        ui->scrollArea_11->verticalScrollBar()->setStyleSheet(ScrollBarWidth(10));
        return;
    }
    SetButtonComboKey(DeviceButtonOf(label), dialog.Combination);
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
    if (index == 0)
        return;
    ListGroup->setExclusive(false);
    ListGroup->setExclusive(true);
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
    const QPoint p = event->pos();
    const QPoint q(p.x(), p.y() - MarkerShift);
    const auto holds = [](const QWidget* widget, const QPoint& point) { return widget->geometry().contains(point); };
    const auto listShown = [this] { return ui->stackedWidget->currentWidget() != ui->page; };
    const auto panelResting = [this] { return ui->stackedWidget_2->currentWidget() == ui->page_9; };

    if (listShown() && !panelResting()) {
        if (!holds(ui->groupBox, p))
            ClosePanels();
    } else if (listShown() && panelResting()) {
        if (!holds(ui->scrollArea_11, p) && !holds(ui->stackedWidget, q))
            ClosePanels();
    }

    const bool list = listShown();
    const bool resting = panelResting();
    if (!list && resting) {
        if (!holds(ui->scrollArea_11, p) || holds(ui->stackedWidget, q)) {
            UncheckLabels();
            ClosePanels();
        }
    } else if (list && resting) {
        if (!holds(ui->groupBox, p)) {
            UncheckLabels();
            ClosePanels();
        }
    } else if (list && !resting) {
        if (!holds(ui->scrollArea_11, p) && !holds(ui->stackedWidget, p) && !holds(ui->stackedWidget_2, p)) {
            UncheckLabels();
            ClosePanels();
        }
    }

    bool otherMarker = false;
    for (QToolButton* marker : {ui->Number2, ui->Number3, ui->Number4, ui->Number5, ui->Number6})
        otherMarker = otherMarker || holds(marker, p);
    if (!holds(ui->Number1, p) || otherMarker)
        UncheckGroup(MarkerGroup);

    if (holds(ui->widget, p)) {
        UncheckLabels();
        ClosePanels();
    }
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
    QVector<LanguageTexts::Child> children;
    const auto toolTipped = [](QToolButton* button) {
        return [button](const QString& text) {
            button->setText(text);
            button->setToolTip(LanguageTexts::StoredIndex() == ToolTipIndex ? text : QString());
        };
    };
    children.append({QStringLiteral("Reset"), LanguageTexts::TextOf(ui->Reset)});
    children.append({QStringLiteral("ImportData"), toolTipped(ui->ImportData)});
    children.append({QStringLiteral("OutputData"), toolTipped(ui->OutputData)});
    QVector<QToolButton*> named;
    for (const Row& row : qAsConst(rows_))
        named << row.label;
    for (QToolButton* button : qAsConst(functionButtons_))
        named << button;
    named << mediaButtons_;
    for (QToolButton* button : {ui->VolumeUp_4, ui->VolumeUp_5, ui->VolumeUp_6, ui->VolumeUp_7, ui->VolumeUp_2,
                                ui->VolumeDown_2, ui->VolumeUp_14, ui->VolumeDown_14, ui->VolumeUp_8})
        named << button;
    for (QToolButton* button : qAsConst(named))
        children.append({button->objectName(), LanguageTexts::TextOf(button)});
    children.append({QStringLiteral("checkBox"), LanguageTexts::TextOf(ui->label_3)});
    children.append({QStringLiteral("Macro_"), LanguageTexts::Keep(&MacroPrefix)});
    children.append({QStringLiteral("Config"), LanguageTexts::Keep(&ProfilePrefix)});
    DebounceTime* debounce = ui->DebunceButton;
    for (int k = 1; k < DebounceUnits; ++k) {
        children.append({QStringLiteral("S%1").arg(k), [debounce, k](const QString& text) {
                             debounce->SetItemSuffix(k - 1, text);
                             // The last unit text also names the last entry.
                             if (k == DebounceUnits - 1)
                                 debounce->SetItemSuffix(k, text);
                         }});
    }
    language_ = std::make_unique<LanguageTexts>(QStringLiteral("Buttoninterface"), children);
    language_->SetFinished([this] { FinishLanguage(languageFlag_); });
}

void Buttoninterface::LoadLanguage(int flag, int index)
{
    QFont font(FontFamily, index == RussianIndex ? SmallFunctionFontPoints : FunctionFontPoints);
    for (QToolButton* button : qAsConst(functionButtons_))
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
    // last (an offline device's stored configuration).
    const FlashDataMap image = LiveFlashDataIsCurrent() ? LiveFlashData.get() : lastShown_;
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
        ShowButtonFunction(b, ButtonTypes.at(b), ButtonValue1.at(b), ButtonValue2.at(b), image);
}

void Buttoninterface::RebuildProfiles()
{
    MyConmboBox* combo = ui->ProjectChoose;
    const int count = combo->count();
    const int current = combo->currentIndex();
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (int i = 0; i < count; ++i)
        combo->addItem(ProfilePrefix + QString::number(i + 1));
    combo->setCurrentIndex(current);
}

// ---------------------------------------------------------------------------
// Macro list

QString Buttoninterface::MacroSheet() const
{
    return QStringLiteral("QToolButton{color: rgb(") + ButtonColor + QStringLiteral(";);border-image: url(") + PictureDir
        + QStringLiteral("CMenuTitle.png);}QToolButton:hover{background-image: none;}QToolButton:checked{border-image: url(")
        + PictureDir + QStringLiteral("CMenuTitleChecked.png);}");
}

void Buttoninterface::LoadMacroButtons()
{
    MacroListLayout = new QVBoxLayout;
    MacroListLayout->setSizeConstraint(QLayout::SetFixedSize);
    MacroListWidget = new QWidget(this);
    MacroListWidget->setMinimumSize(MacroListWidth, MacroListHeight);
    MacroListWidget->setMaximumSize(MacroListWidth, MacroListHeight);
    MacroListWidget->setStyleSheet(QStringLiteral("background-color:transparent;border:none;"));
    MacroListWidget->setLayout(MacroListLayout);
    ui->scrollArea_7->setWidget(MacroListWidget);
    AddMacroButtons();
}

void Buttoninterface::SlotAddMacroButton()
{
    for (QToolButton* button : qAsConst(MacroButtons))
        delete button;
    MacroButtons.clear();
    AddMacroButtons();
}

void Buttoninterface::AddMacroButtons()
{
    const QStringList names = MacroFile::List(MacroFile::Folder());
    const QFont font(FontFamily, FunctionFontPoints);
    const auto make = [&](const QString& text, int height) {
        auto* button = new QToolButton(MacroListWidget);
        button->setText(text);
        button->setStyleSheet(MacroSheet());
        button->setFont(font);
        button->setMinimumSize(MacroButtonWidth, height);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        MacroListLayout->addWidget(button);
        MacroButtons.append(button);
        return button;
    };
    for (const QString& name : names) {
        QToolButton* button = make(name, MacroButtonHeight);
        PanelGroup->addButton(button);
        connect(button, &QToolButton::clicked, this, &Buttoninterface::slotButtonClicked);
    }
    if (!names.isEmpty() && names.size() < MacroListRows) {
        for (int i = names.size(); i < MacroListRows; ++i) {
            QToolButton* placeholder = make(QString(), PlaceholderHeight);
            placeholder->setEnabled(false);
            placeholder->hide();
        }
    }
}

// ---------------------------------------------------------------------------
// Macros on the buttons

QString Buttoninterface::MacroNameOf(const QToolButton* label) const
{
    QString text = label->text();
    return MacroPrefix.isEmpty() ? text : text.remove(MacroPrefix);
}

MacroBlock Buttoninterface::ReadMacroFile(const QString& name, int button, bool* ok)
{
    Q_UNUSED(button)
    MacroBlock block;
    *ok = false;
    if (!UiReady)
        return block;
    QFile file(MacroFile::PathOf(name));
    if (!file.exists() || file.size() > MacroFile::MaxFileSize || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return block;
    *ok = true;
    ButtonRecords::SetMacroName(&block, name);
    file.readLine();
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    int index = 0;
    while (!file.atEnd()) {
        const QStringList parts = QString::fromUtf8(file.readLine()).split(blanks, Qt::SkipEmptyParts);
        if (index >= MacroBlock::MaxEvents)
            break;
        if (parts.size() == 3) {
            // A row whose flag is neither press nor release is left out.
            const QString& flag = parts.at(2);
            if (flag != QLatin1String("0") && flag != QLatin1String("1"))
                continue;
            DeviceEvent& event = block.events[index];
            MacroKeyCodes::FillDeviceEvent(KeyNameFromHidCode(parts.at(0), parts.at(1).toInt()), &event);
            event.release = flag == QLatin1String("1") ? 1 : 0;
            event.delay = 0;
        } else if (parts.size() == 1) {
            block.events[index].delay = quint32(QString(parts.at(0)).remove(QStringLiteral("ms")).toInt());
            ++index;
        }
    }
    block.count = quint8(qMin(index + 1, int(MacroBlock::MaxEvents)));
    return block;
}

QString Buttoninterface::ReadMacroHeaderValue(const QString& name)
{
    return MacroFile::ReadHeaderValue(MacroFile::PathOf(name));
}

void Buttoninterface::slotButtonClicked(bool checked)
{
    if (!checked)
        return;
    const auto* macro = qobject_cast<QToolButton*>(sender());
    QToolButton* label = CheckedLabel();
    if (macro && label) {
        const QString name = macro->text();
        const int button = DeviceButtonOf(label);
        bool ok = false;
        const MacroBlock block = ReadMacroFile(name, button, &ok);
        if (ok) {
            const int repeat = ReadMacroHeaderValue(name).toInt();
            if (SetButtonMacro(button, ButtonFunction{6, quint8(button), quint8(repeat)}, block)) {
                label->setText(MacroPrefix + name);
                SetButtonState(button, 6, button, repeat);
            }
        }
    }
    ClosePanels();
}

void Buttoninterface::SlotUpDataMacro(const QString& name, int mode)
{
    const auto pending = std::find_if(pendingMacros_.begin(), pendingMacros_.end(),
                                      [&name](const PendingMacro& entry) { return entry.name == name; });
    if (mode == 0) {
        // The events go to the mouse after a pause, on a timer: the window
        // keeps taking input meanwhile. The buttons are those that hold the
        // macro now; a later save of the same macro joins the waiting one and
        // starts its pause again, so its buttons get the last saved events once.
        const QVector<int> buttons = ButtonsHolding(name);
        if (pending != pendingMacros_.end()) {
            // Those of both saves, in row order as the writes go.
            QVector<int> joined;
            for (const Row& row : qAsConst(rows_)) {
                if (pending->buttons.contains(row.button) || buttons.contains(row.button))
                    joined.append(row.button);
            }
            pending->buttons = joined;
            pending->pause->start();
            return;
        }
        PendingMacro entry;
        entry.name = name;
        entry.buttons = buttons;
        entry.pause = new QTimer(this);
        entry.pause->setSingleShot(true);
        // Not before the pause is over.
        entry.pause->setTimerType(Qt::PreciseTimer);
        entry.pause->setInterval(Timing::Ms(MacroSaveWaitMs));
        // Found by its timer: a rename may have changed the entry's name.
        QTimer* const timer = entry.pause;
        connect(timer, &QTimer::timeout, this, [this, timer] {
            for (const PendingMacro& waiting : qAsConst(pendingMacros_)) {
                if (waiting.pause == timer) {
                    SendPendingMacro(waiting.name);
                    return;
                }
            }
        });
        pendingMacros_.append(entry);
        timer->start();
    } else if (mode == 1) {
        // The repeat code follows the events when those still wait.
        if (pending != pendingMacros_.end())
            pending->repeat = true;
        else
            SendMacroRepeat(name);
    }
}

QVector<int> Buttoninterface::ButtonsHolding(const QString& name) const
{
    QVector<int> buttons;
    for (const Row& row : qAsConst(rows_)) {
        if (MirrorType(row.button) == 6 && MacroNameOf(row.label) == name)
            buttons.append(row.button);
    }
    return buttons;
}

void Buttoninterface::SendPendingMacro(QString name)
{
    const auto pending = std::find_if(pendingMacros_.begin(), pendingMacros_.end(),
                                      [&name](const PendingMacro& entry) { return entry.name == name; });
    if (pending == pendingMacros_.end())
        return;
    const PendingMacro entry = *pending;
    pendingMacros_.erase(pending);
    entry.pause->deleteLater();
    // A button given another function or macro meanwhile keeps it.
    const QVector<int> holding = ButtonsHolding(entry.name);
    for (int button : entry.buttons) {
        if (holding.contains(button))
            PostMsg::Instance()->PostMacroDownLoadData(entry.name, button);
    }
    if (entry.repeat)
        SendMacroRepeat(entry.name);
}

void Buttoninterface::SendPendingMacros()
{
    // In the order of the saves.
    while (!pendingMacros_.isEmpty())
        SendPendingMacro(pendingMacros_.first().name);
}

void Buttoninterface::SendMacroRepeat(const QString& name)
{
    const int repeat = ReadMacroHeaderValue(name).toInt();
    for (int button : ButtonsHolding(name)) {
        ButtonFunction function;
        MacroBlock block;
        LiveFlashData.read([&](const FlashDataMap& image) {
            function = image.buttons[button];
            block = image.macros[button];
        });
        function.value2 = quint8(repeat);
        SetButtonMacro(button, function, block);
    }
}

void Buttoninterface::SlotMacroRename(const QString& oldName, const QString& newName)
{
    // A saved macro still waiting for its pause goes out under its new name.
    for (PendingMacro& entry : pendingMacros_) {
        if (entry.name == oldName)
            entry.name = newName;
    }
    for (const Row& row : qAsConst(rows_)) {
        if (MirrorType(row.button) != 6 || MacroNameOf(row.label) != oldName)
            continue;
        row.label->setText(MacroPrefix + newName);
        ButtonFunction function;
        MacroBlock block;
        LiveFlashData.read([&](const FlashDataMap& image) {
            function = image.buttons[row.button];
            block = image.macros[row.button];
        });
        ButtonRecords::SetMacroName(&block, newName);
        SetButtonMacro(row.button, function, block);
    }
}

// ---------------------------------------------------------------------------
// Macro fallback

void Buttoninterface::SlotDeleteMacroButton(const QString& text)
{
    QStringList texts;
    for (const Row& row : qAsConst(rows_))
        texts << row.label->text();
    QVector<ButtonRecords::KeyParameter> parameters;
    for (int key = 1; key <= ButtonRecords::ShownButtons; ++key)
        parameters << ButtonRecords::KeyParameterOf(ModelValueList(QStringLiteral("KeyParam%1").arg(key)));
    // The default function of each device button.
    const QVector<void (Buttoninterface::*)(bool)> defaults{
        &Buttoninterface::on_LeftKey_3_clicked, &Buttoninterface::on_RightKey_3_clicked,
        &Buttoninterface::on_MidKey_clicked,    &Buttoninterface::on_BackKey_2_clicked,
        &Buttoninterface::on_ForWardKey_clicked, &Buttoninterface::on_VolumeUp_8_clicked};
    const QVector<QToolButton*> defaultButtons{ui->LeftKey_3, ui->RightKey_3, ui->MidKey,
                                               ui->BackKey_2, ui->ForWardKey, ui->VolumeUp_8};
    for (int r = 0; r < rows_.size(); ++r) {
        if (texts.at(r) != text)
            continue;
        const int button = rows_.at(r).button;
        rows_.at(r).label->setChecked(true);
        defaultButtons.at(button)->setChecked(true);
        LiveFlashData.update([button](FlashDataMap& image) { image.keys[button] = KeyRecord(); });
        const ButtonRecords::KeyParameter& parameter = parameters.at(button);
        if (parameter.kind == ButtonRecords::KeyParameter::Consumer)
            SetButtonMediaKey(button, parameter.code);
        else if (parameter.kind == ButtonRecords::KeyParameter::Combination)
            SetButtonComboKey(button, parameter.text);
        else
            (this->*defaults.at(button))(true);
    }
    UncheckLabels();
    ClosePanels();
    SendFlashData();
}

// ---------------------------------------------------------------------------
// Export, import, reset and profiles

bool Buttoninterface::ExportConfigFile(const QString& path, const FlashDataMap& image)
{
    if (ConfigurationFile::Export(path, image))
        return true;
    qWarning() << "button page: the configuration is not exported to" << path;
    InportFail notice;
    notice.ShowExportFailText();
    DialogPlacement::CentreOver(&notice, this, WaitDx, WaitDy);
    notice.exec();
    return false;
}

void Buttoninterface::on_OutputData_clicked()
{
    const QString path = FileChooser::SaveFile(this, FileChooser::Use::Configuration, QStringLiteral("FileSave"),
                                               QStringLiteral("File(*.bin)"));
    if (!path.isEmpty())
        ExportConfigFile(path, LiveFlashData.get());
}

bool Buttoninterface::DeviceAnswers() const
{
    return UsbFinderC_GetDeviceOnLine(CurrentDevicePath.get().constData()) != 0;
}

void Buttoninterface::on_ImportData_clicked()
{
    if (!DeviceAnswers()) {
        PostMsg::Instance()->PostMouseOffLineo(0);
        return;
    }
    const ScopedFlag busy(ApplyInProgress);
    const QString path = FileChooser::OpenFile(this, FileChooser::Use::Configuration, QStringLiteral("SelectFile"),
                                               QStringLiteral("File(*.bin)"));
    if (path.isEmpty())
        return;
    ImportActive = 1;
    UpDataParam wait;
    wait.StartTimer();
    wait.SetImportMode(true);
    wait.SetImportPath(path);
    DialogPlacement::CentreOver(&wait, this, WaitDx, WaitDy);
    wait.exec();
    ImportActive = 0;
}

void Buttoninterface::on_Reset_clicked()
{
    if (!DeviceAnswers()) {
        PostMsg::Instance()->PostMouseOffLineo(0);
        return;
    }
    ContainReset question;
    DialogPlacement::CentreOver(&question, this, WaitDx, WaitDy);
    question.exec();
    if (!question.Confirmed)
        return;
    const ScopedFlag busy(ApplyInProgress);
    QTimer* onlineCheck = Worker::OnlineCheckTimer();
    if (onlineCheck)
        onlineCheck->stop();
    UsbServer_SetBatteryOptimizeEnable(0);
    SendFlashData();
    UsbServer_SetClearSetting();
    {
        UpDataParam wait;
        wait.StartTimer();
        wait.SetWaitOnlyMode(true);
        if (Worker* worker = WorkerInstance.load())
            worker->RequestPass();
        DialogPlacement::CentreOver(&wait, this, WaitDx, WaitDy);
        wait.exec();
    }
    if (onlineCheck)
        onlineCheck->start();
}

void Buttoninterface::on_ProjectChoose_activated(int index)
{
    if (!DeviceAnswers() && !ButtonPageLoading) {
        ui->ProjectChoose->setCurrentIndex(ui->ProjectChoose->PressedIndex());
        PostMsg::Instance()->PostMouseOffLineo(0);
        return;
    }
    UsbServer_SetCurrentConfig(quint8(index));
}
