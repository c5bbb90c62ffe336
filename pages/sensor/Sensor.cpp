#include "pages/sensor/Sensor.h"

#include "core/MacroIni.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "pages/sensor/SensorTables.h"
#include "pages/sensor/options/DpiLightFrame.h"
#include "platform/UserDataFolder.h"
#include "ui_Sensor.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QListView>
#include <QSignalBlocker>

#include <cstdlib>

namespace {
// Sleep-list items in tens of seconds: 30 s, 1, 2, 5, 10, 15 minutes.
constexpr int SleepBytes[] = {3, 6, 12, 30, 60, 90};
constexpr int SleepItems = int(sizeof SleepBytes / sizeof SleepBytes[0]);
// The rate index (125 Hz ... 8000 Hz) of a report-rate code; -1 for another.
int RateIndexOfCode(int code)
{
    switch (code) {
    case 8: return 0;
    case 4: return 1;
    case 2: return 2;
    case 1: return 3;
    case 16: return 4;
    case 32: return 5;
    case 64: return 6;
    default: return -1;
    }
}

bool HighRateCode(int code)
{
    return code == 16 || code == 32 || code == 64;
}

// Receivers that carry rates above 1000 Hz.
bool HighRateReceiver(int linkType)
{
    return linkType == 1 || linkType == 4 || linkType == 5;
}

// The highest rate the link carries (SensorRate::SetMaxRate), -1 for a link
// type of no known kind.
int MaxRateOfLink(int linkType)
{
    switch (linkType) {
    case 0:
    case 2: return 0;
    case 1: return 1;
    case 4: return 2;
    case 3:
    case 5: return 3;
    default: return -1;
    }
}

constexpr int RateIndex1000 = 3;
constexpr int RateIndex8000 = 6;
constexpr int ModeCorded = 2;
constexpr int CompactLayout = 2;
const QPoint LightFrameFull(80, 456);
const QPoint LightTitleFull(40, 463);
const QPoint LightFrameCompact(80, 316);
const QPoint LightTitleCompact(40, 323);

QString ByteColour(const DpiStage& stage)
{
    return QStringLiteral("#%1%2%3")
        .arg(uint(stage.red), 2, 16, QLatin1Char('0'))
        .arg(uint(stage.green), 2, 16, QLatin1Char('0'))
        .arg(uint(stage.blue), 2, 16, QLatin1Char('0'));
}
} // namespace

Sensor::Sensor(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Sensor)
    , language_(QStringLiteral("Sensor"),
                {
                    {QStringLiteral("label_2"), [this](const QString& t) { ui->frameDpi->SetTitleText(t); }},
                    {QStringLiteral("label_3"), [this](const QString& t) { ui->frameRate->SetText(t); }},
                    {QStringLiteral("label_5"), [this](const QString& t) { ui->label_5->setText(t); }},
                    {QStringLiteral("label_11"), [this](const QString& t) { ui->label_11->setText(t); }},
                    {QStringLiteral("ModeSelectDes"), [this](const QString& t) { ui->label_11->setToolTip(t); }},
                    {QStringLiteral("label_12"), [this](const QString& t) { ui->frameLOD->SetText(t); }},
                    {QStringLiteral("LODDes"), [this](const QString& t) { ui->frameLOD->SetToolTip(t); }},
                    // Motion sync has no control on this page.
                    {QStringLiteral("label_7"), [](const QString&) {}},
                    {QStringLiteral("MotionSyncDes"), [](const QString&) {}},
                    {QStringLiteral("Performance"), [this](const QString& t) { ui->Performance->setText(t); }},
                    {QStringLiteral("FullPerformanceDes"),
                     [this](const QString& t) { ui->Performance->setToolTip(t); }},
                    {QStringLiteral("PerformanceOpen"), [this](const QString& t) { ui->PerformanceOpen->setItemText(0, t); }},
                    {QStringLiteral("PerformanceOpen1"), [this](const QString& t) { ui->PerformanceOpen->setItemText(1, t); }},
                    {QStringLiteral("PerformanceOpen2"), [this](const QString& t) { ui->PerformanceOpen->setItemText(2, t); }},
                    {QStringLiteral("PerformanceOpen3"), [this](const QString& t) { ui->PerformanceOpen->setItemText(3, t); }},
                    {QStringLiteral("PerformanceOpen4"), [this](const QString& t) { ui->PerformanceOpen->setItemText(4, t); }},
                    {QStringLiteral("PerformanceOpen5"), [this](const QString& t) { ui->PerformanceOpen->setItemText(5, t); }},
                    {QStringLiteral("Model"), [this](const QString& t) { ui->frameEffect->SetModeItemText(0, t); }},
                    {QStringLiteral("Model1"), [this](const QString& t) { ui->frameEffect->SetModeItemText(1, t); }},
                    {QStringLiteral("Model2"), [this](const QString& t) { ui->frameEffect->SetModeItemText(2, t); }},
                    {QStringLiteral("label"), [this](const QString& t) { ui->frame->SetText(t); }},
                    {QStringLiteral("RippleDes"), [this](const QString& t) { ui->frame->SetToolTip(t); }},
                    {QStringLiteral("label_6"), [this](const QString& t) { ui->frame_4->SetText(t); }},
                    {QStringLiteral("FixLineDes"), [this](const QString& t) { ui->frame_4->SetToolTip(t); }},
                    {QStringLiteral("label_4"), [this](const QString& t) { ui->frameEffect->SetTitleText(t); }},
                    {QStringLiteral("label_14"), [this](const QString& t) { ui->frameEffect->SetSpeedText(t); }},
                    {QStringLiteral("label_15"), [this](const QString& t) { ui->frameEffect->SetBrightnessText(t); }},
                })
{
    ui->setupUi(this);
    // The lift-off distance follows the mouse but is not offered here: the
    // performance switch takes its place.
    ui->frameLOD->hide();
    PictureDir = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    UserSettingDir = UserDataFolder() + QStringLiteral("/usersetting/SensorPage");

    LanguageTexts::Follow(this);
    PostMsg::Connect(SIGNAL(SigHideModel(int)), this, SLOT(SlotHideModel(int)));

    QDir().mkpath(UserSettingDir);
    LoadLevelIni();

    auto* modeView = new QListView(ui->ModelChoose);
    auto* sleepView = new QListView(ui->PerformanceOpen);
    ui->ModelChoose->setView(modeView);
    ui->PerformanceOpen->setView(sleepView);
    ui->PerformanceOpen->setMaxVisibleItems(5);
    ApplyStyles();

    ReadSensorDefines();
    SlotChangeLanguage(LanguageTexts::StoredIndex());
    ModeListView = modeView;

    // The device thread waits until the page has taken what it sends.
    const Qt::ConnectionType blocking = Qt::BlockingQueuedConnection;
    PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(SlotUpDataSenSorUISensor(FlashDataMap)),
                     blocking);
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotUpDataReportRate(int)), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotUpDataDPI(int)), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotUpDataDPILed(FlashDataMap)), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
}

Sensor::~Sensor()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    delete ui;
}

void Sensor::ApplyStyles()
{
    const QString combo = StyleSheet::ComboBoxRule(PictureDir);
    ui->ModelChoose->setStyleSheet(combo);
    ui->PerformanceOpen->setStyleSheet(combo);
    const QString list = StyleSheet::ComboListRule();
    ui->ModelChoose->view()->setStyleSheet(list);
    ui->PerformanceOpen->view()->setStyleSheet(list);

    const QString label = StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor"));
    ui->label_5->setStyleSheet(label);
    ui->label_11->setStyleSheet(label);
    ui->Performance->setStyleSheet(
        StyleSheet::ColourRule(QStringLiteral("QCheckBox"), QStringLiteral("LabelColor"))
        + QStringLiteral("QCheckBox::indicator:checked {image: url(") + PictureDir
        + QStringLiteral("CheckBoxChecked.png);}QCheckBox::indicator:unchecked {image: url(") + PictureDir
        + QStringLiteral("CheckBox.png);}"));
    for (QToolButton* title : {ui->TitleButton, ui->TitleButton_2, ui->TitleButton_3, ui->TitleButton_4}) {
        title->setStyleSheet(QStringLiteral("#") + title->objectName() + QStringLiteral("{border-image: url(")
                             + PictureDir + QStringLiteral("Title.png);}"));
    }
}

int Sensor::LoadLevelIni()
{
    int count = 1;
    QFile file(UserSettingDir + QStringLiteral("/Level.ini"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        bool number = false;
        const int read = QString::fromUtf8(file.readLine(64)).trimmed().toInt(&number);
        if (number)
            count = qBound(1, read, int(FlashDataMap::StageCount));
    }
    ui->frameDpi->SetStageCount(count);
    return count;
}

void Sensor::UseProductDescription(const ProductDescription* description)
{
    description_ = description;
}

const ProductDescription& Sensor::Description() const
{
    return description_ ? *description_ : ProductDescription::Instance();
}

void Sensor::ReadSensorDefines(const QString& path)
{
    SensorDefineFile defines;
    if (!defines.Read(path))
        return;
    SensorDefineNames += defines.Names();
    SensorDefineValues += defines.Values();
    ModeSelectSensors = defines.SwitchText(SensorDefineFile::ModeSelect);
    LodCalSensors = defines.SwitchText(SensorDefineFile::LodCal);
    RippleSensors = defines.SwitchText(SensorDefineFile::Ripple);
    FixLineSensors = defines.SwitchText(SensorDefineFile::FixLine);
    MotionSyncSensors = defines.SwitchText(SensorDefineFile::MotionSync);
    MousepadCalSensors = defines.SwitchText(SensorDefineFile::MousepadCal);
}

void Sensor::ReadDpiRange(const QStringList& items)
{
    DpiSegmentMinima.clear();
    DpiSegmentMaxima.clear();
    const int count = items.isEmpty() ? 0 : (items.size() - 1) / 3;
    if (count < 1 || count > MaxDpiSegments || !DpiRangeHoldable(items.mid(0, 3 * count))) {
        DpiRangeMode = 0;
        DpiSegmentCount = 0;
    } else {
        DpiRangeMode = items.last().trimmed().toInt(nullptr, 16);
        DpiSegmentCount = count;
        DpiRangeMinText = items.at(0);
        DpiRangeMaxText = items.at(3 * count - 2);
    }
    for (int s = 0; s < MaxDpiSegments; ++s) {
        if (s >= DpiSegmentCount) {
            DpiSegmentTexts[s] = DpiSegmentText();
            continue;
        }
        DpiSegmentTexts[s] = {items.at(3 * s), items.at(3 * s + 1), items.at(3 * s + 2)};
        DpiSegmentMinima.append(items.at(3 * s).trimmed().toInt());
        DpiSegmentMaxima.append(items.at(3 * s + 1).trimmed().toInt());
    }
}

int Sensor::BrightnessPositionOfByte(int value)
{
    const auto& steps = DpiLightFrame::BrightnessSteps;
    int best = 0;
    for (int i = 1; i < 10; ++i) {
        if (std::abs(steps[i] - value) < std::abs(steps[best] - value))
            best = i;
    }
    return best + 1;
}

int Sensor::SleepItemOfByte(int value)
{
    for (int item = 0; item < SleepItems; ++item) {
        if (SleepBytes[item] == value)
            return item;
    }
    return -1;
}

int Sensor::SleepByteOfItem(int item)
{
    return item >= 0 && item < SleepItems ? SleepBytes[item] : -1;
}

void Sensor::changeEvent(QEvent* event)
{
    ui->PerformanceOpen->setEnabled(ui->Performance->isChecked());
    QWidget::changeEvent(event);
}

void Sensor::SlotChangeLanguage(int index)
{
    language_.Load(index);
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap image)
{
    SensorPageFilled = false;
    ShowImage(image, true);
    SensorPageFilled = true;
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap image)
{
    ShowImage(image, false);
}

void Sensor::ShowImage(const FlashDataMap& image, bool fromDevice)
{
    SensorDPI* const dpi = ui->frameDpi;
    dpi->ClearChooseEvent();
    dpi->BlockSliderSignals(true);
    dpi->SetSliderEnabled(true);
    ui->frameEffect->SetSlidersEnabled(true);
    const ScopedFlag loading(SensorPageLoading);

    // The panel takes eight stages: a count or a stage outside them from the
    // mouse is held to the nearest one it has.
    const int stageCount = qBound(1, int(image.dpiStageCount), int(FlashDataMap::StageCount));
    const int current = qBound(0, int(image.currentDpiStage), int(FlashDataMap::StageCount) - 1);
    dpi->SetStageCount(stageCount);
    dpi->SetCurrentStage(current);

    const DeviceAllInfo device = CurrentDevice.get();
    const int rateIndex = RateIndexOfCode(image.reportRate);
    if (rateIndex >= 0)
        ui->frameRate->SetRate(rateIndex);
    // On the cable the mouse runs at 1000 Hz whatever it holds for its receiver.
    if (device.wired && (image.reportRate == 16 || image.reportRate == 32))
        ui->frameRate->SetRate(RateIndex1000);

    const ProductDescription::Group model = Description().Model(device.modelIndex);
    CurrentSensorModel = model.Text(QStringLiteral("Sensor"));
    if (CurrentSensorModel == QLatin1String("3950"))
        ui->frameLOD->AddLowLodItem();
    else
        ui->frameLOD->RemoveLowLodItem();

    if (SensorFeatureSupported(ModeSelectSensors)) {
        ui->ModelChoose->setEnabled(true);
        if (device.wired || (HighRateReceiver(device.linkType) && HighRateCode(image.reportRate))) {
            ui->ModelChoose->setCurrentIndex(ModeCorded);
            ui->ModelChoose->setEnabled(false);
        } else {
            ui->ModelChoose->setCurrentIndex(image.sensorMode);
            ModeListView->setRowHidden(ModeCorded, true);
        }
    } else {
        ui->ModelChoose->setEnabled(false);
    }

    ui->frameLOD->SetLod(image.liftOffDistance - 1);
    ui->Performance->setChecked(image.performanceMode != 0);
    ui->PerformanceOpen->setEnabled(image.performanceMode != 0);
    const int sleepItem = SleepItemOfByte(image.sleepTime);
    if (sleepItem >= 0)
        ui->PerformanceOpen->setCurrentIndex(sleepItem);
    ui->frame->SetChecked(image.rippleControl != 0);
    ui->frame_4->SetChecked(image.angleSnapping != 0);
    ShowDpiLight(image);

    const int shownRecords = qBound(0, model.Int(QStringLiteral("DPIMaxGrade")), int(FlashDataMap::StageCount));
    dpi->BlockChooseEventSignals(true);
    for (int i = 0; i < shownRecords; ++i) {
        dpi->SetStageColor(i, ByteColour(image.dpiStages[i]));
        dpi->InsertChooseEventItem(i, QString::number(i + 1));
    }
    dpi->BlockChooseEventSignals(false);
    dpi->HighlightStage(current);

    const bool compact = model.Int(QStringLiteral("XIn1")) == CompactLayout;
    ShowLayout(compact, compact && fromDevice);

    ReadDpiRange(model.List(QStringLiteral("DPIRange")));
    dpi->SetDpiMaximum(DpiRangeMaxText.trimmed().toInt());
    dpi->SetDpiMinimum(DpiRangeMinText.trimmed().toInt());
    for (int i = 0; i < shownRecords; ++i) {
        const int value = StageDpiFromRegisters(image.dpiStages[i].x, image.dpiStages[i].bits);
        dpi->SetStageText(i, QString::number(value));
        if (i == current) {
            dpi->SetDpiValue(value);
            dpi->SetSpinValue(value);
        }
    }

    dpi->ShowStages(stageCount - 1);
    dpi->SetChooseEventIndex(stageCount - 1);
    dpi->MoveMarkerToStage(current + 1);
    dpi->CheckStage(current);

    const int maxRate = MaxRateOfLink(device.linkType);
    if (maxRate >= 0)
        ui->frameRate->SetMaxRate(maxRate);

    ui->frameLOD->SetLodEnabled(SensorFeatureSupported(LodCalSensors));
    // The compact layout has no room for the two switches.
    ui->frame->setVisible(!compact && SensorFeatureSupported(RippleSensors));
    ui->frame_4->setVisible(!compact && SensorFeatureSupported(FixLineSensors));
    dpi->BlockSliderSignals(false);
}

void Sensor::ShowDpiLight(const FlashDataMap& image)
{
    SensorEffect* const light = ui->frameEffect;
    if (image.dpiLightOn == 0)
        light->SetMode(0);
    else if (image.dpiLightMode == 1 || image.dpiLightMode == 2)
        light->SetMode(image.dpiLightMode);
    light->SetSpeed(image.dpiLightSpeed);
    light->SetBrightness(BrightnessPositionOfByte(image.dpiLightBrightness));
}

void Sensor::ShowLayout(bool compact, bool moveLight)
{
    for (QWidget* widget : {static_cast<QWidget*>(ui->TitleButton_4), static_cast<QWidget*>(ui->label_5),
                            static_cast<QWidget*>(ui->label_11), static_cast<QWidget*>(ui->ModelChoose),
                            static_cast<QWidget*>(ui->Performance), static_cast<QWidget*>(ui->PerformanceOpen),
                            static_cast<QWidget*>(ui->frame), static_cast<QWidget*>(ui->frame_4)})
        widget->setVisible(!compact);
    ui->frameEffect->move(moveLight ? LightFrameCompact : LightFrameFull);
    ui->TitleButton_3->move(moveLight ? LightTitleCompact : LightTitleFull);
}

void Sensor::SlotFormReset()
{
    const ScopedFlag loading(SensorPageLoading);
    SensorDPI* const dpi = ui->frameDpi;
    dpi->SetDpiMinimum(50);
    dpi->SetDpiMaximum(12000);
    dpi->LoadDefaultStages();
    dpi->ClearChooseEvent();
    for (int i = 0; i < 6; ++i)
        dpi->InsertChooseEventItem(i, QString::number(i + 1));
    dpi->BlockChooseEventSignals(false);
    dpi->ShowStages(5);
    dpi->SetChooseEventIndex(5);
    dpi->MoveMarkerToStage(2);
    dpi->CheckStage(1);

    ui->frameLOD->SetLod(0);
    ui->Performance->setEnabled(true);
    ui->Performance->setChecked(true);
    dpi->SetDpiValue(800);
    dpi->SetSpinValue(800);

    const DeviceAllInfo device = CurrentDevice.get();
    {
        const QSignalBlocker blockMode(ui->ModelChoose);
        int maxRate = -1;
        int rate = -1;
        int mode = -1;
        switch (device.linkType) {
        case 0:
        case 2: maxRate = 0; rate = RateIndex1000; mode = 0; break;
        case 1: maxRate = 1; rate = RateIndex1000; mode = ModeCorded; break;
        case 4: maxRate = 2; rate = RateIndex1000; mode = ModeCorded; break;
        case 3:
        case 5: maxRate = 3; rate = RateIndex8000; mode = ModeCorded; break;
        default: break;
        }
        if (maxRate >= 0) {
            ui->frameRate->SetMaxRate(maxRate);
            ui->frameRate->SetRate(rate);
            ui->ModelChoose->setCurrentIndex(mode);
        }
        if (device.wired)
            ui->ModelChoose->setCurrentIndex(ModeCorded);
    }
    {
        const QSignalBlocker blockSleep(ui->PerformanceOpen);
        ui->PerformanceOpen->setCurrentIndex(1);
    }
    ui->frameLOD->SetLod(0);
    ui->frameEffect->SetMode(2);
    ui->frameEffect->SetSpeed(3);
    ui->frameEffect->SetBrightness(5);
    ui->Performance->setChecked(false);
    ui->PerformanceOpen->setEnabled(false);
    ui->frame_4->SetChecked(false);
    ui->frame->SetChecked(false);
}

void Sensor::ShowModeOfImage()
{
    const QSignalBlocker blockMode(ui->ModelChoose);
    ui->ModelChoose->setEnabled(true);
    ui->ModelChoose->setCurrentIndex(LiveFlashData.get().sensorMode);
    ModeListView->setRowHidden(ModeCorded, true);
}

void Sensor::ShowCorded()
{
    const QSignalBlocker blockMode(ui->ModelChoose);
    ModeListView->setRowHidden(ModeCorded, false);
    ui->ModelChoose->setCurrentIndex(ModeCorded);
    ui->ModelChoose->setEnabled(false);
}

void Sensor::SlotUpDataReportRate(int code)
{
    const int rateIndex = RateIndexOfCode(code);
    if (rateIndex < 0)
        return;
    ui->frameRate->SetRate(rateIndex);
    if (!SensorFeatureSupported(ModeSelectSensors) || CurrentDevice.get().wired)
        return;
    if (HighRateCode(code))
        ShowCorded();
    else
        ShowModeOfImage();
}

void Sensor::SlotHideModel(int aboveThousand)
{
    if (!SensorFeatureSupported(ModeSelectSensors))
        return;
    const DeviceAllInfo device = CurrentDevice.get();
    if (aboveThousand == 0 && !device.wired)
        ShowModeOfImage();
    else if (aboveThousand == 1 && HighRateReceiver(device.linkType))
        ShowCorded();
}

void Sensor::SlotUpDataDPI(int stage)
{
    // The stage shown is the mouse's own: nothing goes back to it, and the
    // page is as ready afterwards as it was before.
    const ScopedFlag quiet(UiReady, false);
    ui->frameDpi->MoveMarkerToStage(stage + 1);
    if (stage >= 0 && stage < FlashDataMap::StageCount) {
        ui->frameDpi->CheckStage(stage);
        ui->frameDpi->SetCurrentStage(stage);
    }
}

void Sensor::SlotUpDataDPILed(FlashDataMap image)
{
    // What the mouse reports is shown, never written back.
    const ScopedFlag loading(SensorPageLoading);
    ShowDpiLight(image);
}

void Sensor::on_ModelChoose_currentIndexChanged(int item)
{
    // Corded is the mouse's own choice on the cable or at a high rate.
    if (!UiReady || SensorPageLoading || item < 0 || item == ModeCorded)
        return;
    SetSensorMode(item);
}

void Sensor::on_Performance_clicked(bool checked)
{
    if (UiReady)
        SetPerformanceMode(checked ? 1 : 0);
}

void Sensor::on_Performance_toggled(bool checked)
{
    ui->PerformanceOpen->setEnabled(checked);
}

void Sensor::on_PerformanceOpen_currentIndexChanged(int item)
{
    if (!UiReady || SensorPageLoading)
        return;
    const int value = SleepByteOfItem(item);
    if (value >= 0)
        SetSleepTime(value);
}
