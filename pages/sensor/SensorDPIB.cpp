#include "pages/sensor/SensorDPIB.h"

#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "dialogs/StandardDialogTheme.h"
#include "pages/sensor/DpiStageEditing.h"
#include "pages/sensor/SensorTables.h"
#include "ui_SensorDPIB.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QListView>

#include <utility>

namespace {
const char* const DefaultColors[SensorDPIB::Stages] = {"#ff0000", "#ffff00", "#ffaa00", "#00ff00",
                                                       "#aaffff", "#aa55ff", "#9f0000", "#00d4d4"};
// The colour buttons' look after ResetButtonColors.
const char* const ResetColors[SensorDPIB::Stages] = {"#ff0000", "#00ffff", "#00ff00", "#ffffff",
                                                     "#00ffff", "#ff557d", "#ff00ff", "#00ffff"};

bool ValidStage(int stage)
{
    return stage >= 0 && stage < SensorDPIB::Stages;
}

QString ColourButtonRule(const QString& colour)
{
    return QStringLiteral("QToolButton{border:0px;border-radius:3px;background-position:center;"
                          "background-repeat:no-repeat;background-color:")
        + colour + QStringLiteral(";}");
}
} // namespace

SensorDPIB::SensorDPIB(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::SensorDPIB)
{
    ui->setupUi(this);
    PictureDir = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    for (int i = 0; i < Stages; ++i)
        StageColors[i] = QLatin1String(DefaultColors[i]);
    StageBoxGroup = new QButtonGroup(this);
    StageBoxGroup->setExclusive(true);
    ColorDialog = new QColorDialog(this);
    ColorDialog->setOption(QColorDialog::DontUseNativeDialog);
    StandardDialogTheme::Apply(ColorDialog);
    connect(ColorDialog, &QColorDialog::colorSelected, this, &SensorDPIB::SetColor);

    QCheckBox* const boxes[Stages] = {ui->MA, ui->MB, ui->MC, ui->MD, ui->ME, ui->MF, ui->MG, ui->MH};
    QToolButton* const buttons[Stages] = {ui->BlueButtonA,  ui->BrightRedButtonA, ui->RedButtonA,
                                          ui->YellowButtonA, ui->GreenButtonA,     ui->PurpleButtonA,
                                          ui->LightBlueButtonA, ui->LightYellowButtonA};
    QSlider* const sliders[Stages] = {ui->horizontalSliderA, ui->horizontalSliderB, ui->horizontalSliderC,
                                      ui->horizontalSliderD, ui->horizontalSliderE, ui->horizontalSliderF,
                                      ui->horizontalSliderG, ui->horizontalSliderH};
    QSpinBox* const spinBoxes[Stages] = {ui->spinBoxA, ui->spinBoxB, ui->spinBoxC, ui->spinBoxD,
                                         ui->spinBoxE, ui->spinBoxF, ui->spinBoxG, ui->spinBoxH};

    // The frame itself draws no panel: only its controls show.
    setStyleSheet(QStringLiteral("SensorDPIB{border:0px;}"));
    ui->label->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    ui->ChooseEvent->setStyleSheet(StyleSheet::ComboBoxRule(PictureDir));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->ChooseEvent->setView(view);
    ui->ChooseEvent->setMaxVisibleItems(5);
    const QString sliderRule = DpiStageEditing::SliderRule(PictureDir);
    const QString spinBoxRule = DpiStageEditing::SpinBoxRule();
    const QString boxRule = StyleSheet::ChoiceBoxRule(PictureDir);
    for (int i = 0; i < Stages; ++i) {
        boxes_[i] = boxes[i];
        colourButtons_[i] = buttons[i];
        sliders_[i] = sliders[i];
        spinBoxes_[i] = spinBoxes[i];
        sliders_[i]->setStyleSheet(sliderRule);
        spinBoxes_[i]->setStyleSheet(spinBoxRule);
        boxes_[i]->setStyleSheet(boxRule);
        // Red until the page restyles them; the stored colours wait.
        colourButtons_[i]->setStyleSheet(QLatin1Char('#') + colourButtons_[i]->objectName()
                                         + QStringLiteral("{border:0px;border-radius:3px;background-position:center;"
                                                          "background-repeat:no-repeat;background-color: rgb(255, "
                                                          "0, 0);}"));
        StageBoxGroup->addButton(boxes_[i]);
    }
}

SensorDPIB::~SensorDPIB()
{
    delete ui;
}

void SensorDPIB::SetTitleText(const QString& text)
{
    ui->label->setText(text);
}

// --- Stage count list ----------------------------------------------------------

void SensorDPIB::BlockChooseEventSignals(bool block)
{
    ui->ChooseEvent->blockSignals(block);
}

void SensorDPIB::ClearChooseEvent()
{
    ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->clear();
    ui->ChooseEvent->blockSignals(false);
}

void SensorDPIB::InsertChooseEventItem(int position, const QString& text)
{
    ui->ChooseEvent->insertItem(position, text);
}

void SensorDPIB::SetChooseEventIndex(int index)
{
    ui->ChooseEvent->setCurrentIndex(index);
}

// --- Sliders and values ----------------------------------------------------------

void SensorDPIB::BlockSliderSignals(bool block)
{
    for (QSlider* slider : sliders_)
        slider->blockSignals(block);
}

void SensorDPIB::SetSlidersEnabled(bool enabled)
{
    for (QSlider* slider : sliders_)
        slider->setEnabled(enabled);
}

void SensorDPIB::SetSliderMaximum(int value)
{
    for (QSlider* slider : sliders_)
        slider->setMaximum(value);
}

void SensorDPIB::SetSliderMinimum(int value)
{
    for (QSlider* slider : sliders_)
        slider->setMinimum(value);
}

void SensorDPIB::SetSliderValue(int value, int stage)
{
    if (ValidStage(stage))
        sliders_[stage]->setValue(value);
}

void SensorDPIB::SetSpinBoxValue(int value, int stage)
{
    if (ValidStage(stage))
        spinBoxes_[stage]->setValue(value);
}

void SensorDPIB::SetStageValueText(int stage, const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ValidStage(stage) || !ok)
        return;
    sliders_[stage]->setValue(value);
    spinBoxes_[stage]->setValue(value);
}

void SensorDPIB::SliderChanged(int stage, int value)
{
    QSpinBox* spinBox = spinBoxes_[stage];
    if (UiReady && !SensorPageLoading && !DpiStageEditing::DeviceAnswersOrNotify()) {
        spinBox->setValue(value);
        return;
    }
    // Only the value box shows the fitted value; the slider stays where it
    // was let go.
    value = DpiStageEditing::FitToDpiSegments(value, sliders_[stage]);
    spinBox->setValue(value);
    if (!ApplyInProgress)
        WriteDpiStage(stage, value);
}

// --- Colours -------------------------------------------------------------------

void SensorDPIB::SetStageColor(int stage, const QString& colour)
{
    int red = 0;
    int green = 0;
    int blue = 0;
    if (ValidStage(stage) && DpiStageEditing::HexColourParts(colour, &red, &green, &blue))
        StageColors[stage] = colour;
}

void SensorDPIB::UpdateButtonStyle(int stage)
{
    colourButtons_[stage]->setStyleSheet(ColourButtonRule(StageColors[stage]));
}

void SensorDPIB::RefreshStageButtons()
{
    for (int i = 0; i < Stages; ++i)
        UpdateButtonStyle(i);
}

void SensorDPIB::ResetButtonColors()
{
    for (int i = 0; i < Stages; ++i)
        colourButtons_[i]->setStyleSheet(ColourButtonRule(QLatin1String(ResetColors[i])));
}

void SensorDPIB::ColourButtonClicked(int stage)
{
    ColorSlot = stage;
    ColorDialog->show();
}

void SensorDPIB::SetColor(const QColor& colour)
{
    if (!ValidStage(ColorSlot))
        return;
    StageColors[ColorSlot] = DpiStageEditing::HexColour(colour);
    if (UiReady && !SensorPageLoading)
        SetDpiStageColor(ColorSlot, colour.red(), colour.green(), colour.blue());
    UpdateButtonStyle(ColorSlot);
}

// --- Stages --------------------------------------------------------------------

void SensorDPIB::CheckStage(int stage)
{
    if (ValidStage(stage))
        boxes_[stage]->setChecked(true);
}

void SensorDPIB::SelectStage(int stage)
{
    if (UiReady && !SensorPageLoading && !DpiStageEditing::DeviceAnswersOrNotify())
        return;
    CheckStage(stage);
}

void SensorDPIB::SetCurrentStage(int stage)
{
    currentStage_ = ValidStage(stage) ? stage : 0;
}

void SensorDPIB::SetStageCount(int count)
{
    stageCount_ = count >= 1 && count <= Stages ? count : 1;
}

void SensorDPIB::ShowStages(int last)
{
    if (!ValidStage(last))
        return;
    for (int i = 0; i < Stages; ++i) {
        const bool shown = i <= last;
        boxes_[i]->setVisible(shown);
        colourButtons_[i]->setVisible(shown);
        sliders_[i]->setVisible(shown);
        spinBoxes_[i]->setVisible(shown);
    }
}

void SensorDPIB::StageToggled(int stage, bool on)
{
    if (!on || !UiReady || SensorPageLoading)
        return;
    currentStage_ = stage;
    SetCurrentDpiStage(stage);
}

void SensorDPIB::on_ChooseEvent_currentIndexChanged(int index)
{
    if (SensorPageLoading || !ValidStage(index))
        return;
    const int previous = currentStage_;
    previousStage_ = previous;
    if (previous > index) {
        // The selected stage lies beyond the new last stage: its DPI and
        // colour move into the last row, which becomes the selected one.
        BlockSliderSignals(true);
        const int value = spinBoxes_[previous]->value();
        const int lastValue = spinBoxes_[index]->value();
        qSwap(StageColors[previous], StageColors[index]);
        for (const auto& [row, dpi] : {std::pair<int, int>{previous, lastValue}, {index, value}}) {
            UpdateButtonStyle(row);
            sliders_[row]->setValue(dpi);
            spinBoxes_[row]->setValue(dpi);
        }
        boxes_[index]->setChecked(true);
        stageCount_ = index + 1;
        currentStage_ = index;
        if (UiReady)
            DpiStageEditing::ExchangeStages(index, previous);
        BlockSliderSignals(false);
    }
    ShowStages(index);
    if (UiReady)
        SetDpiStageCount(index + 1);
}

// --- Slots by object name --------------------------------------------------------

void SensorDPIB::on_horizontalSliderA_valueChanged(int value) { SliderChanged(0, value); }
void SensorDPIB::on_horizontalSliderB_valueChanged(int value) { SliderChanged(1, value); }
void SensorDPIB::on_horizontalSliderC_valueChanged(int value) { SliderChanged(2, value); }
void SensorDPIB::on_horizontalSliderD_valueChanged(int value) { SliderChanged(3, value); }
void SensorDPIB::on_horizontalSliderE_valueChanged(int value) { SliderChanged(4, value); }
void SensorDPIB::on_horizontalSliderF_valueChanged(int value) { SliderChanged(5, value); }
void SensorDPIB::on_horizontalSliderG_valueChanged(int value) { SliderChanged(6, value); }
void SensorDPIB::on_horizontalSliderH_valueChanged(int value) { SliderChanged(7, value); }

void SensorDPIB::on_MA_toggled(bool on) { StageToggled(0, on); }
void SensorDPIB::on_MB_toggled(bool on) { StageToggled(1, on); }
void SensorDPIB::on_MC_toggled(bool on) { StageToggled(2, on); }
void SensorDPIB::on_MD_toggled(bool on) { StageToggled(3, on); }
void SensorDPIB::on_ME_toggled(bool on) { StageToggled(4, on); }
void SensorDPIB::on_MF_toggled(bool on) { StageToggled(5, on); }
void SensorDPIB::on_MG_toggled(bool on) { StageToggled(6, on); }
void SensorDPIB::on_MH_toggled(bool on) { StageToggled(7, on); }

void SensorDPIB::on_BlueButtonA_clicked() { ColourButtonClicked(0); }
void SensorDPIB::on_BrightRedButtonA_clicked() { ColourButtonClicked(1); }
void SensorDPIB::on_RedButtonA_clicked() { ColourButtonClicked(2); }
void SensorDPIB::on_YellowButtonA_clicked() { ColourButtonClicked(3); }
void SensorDPIB::on_GreenButtonA_clicked() { ColourButtonClicked(4); }
void SensorDPIB::on_PurpleButtonA_clicked() { ColourButtonClicked(5); }
void SensorDPIB::on_LightBlueButtonA_clicked() { ColourButtonClicked(6); }
void SensorDPIB::on_LightYellowButtonA_clicked() { ColourButtonClicked(7); }
