#include "pages/sensor/SensorDPI.h"

#include "core/DeviceAllInfo.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "dialogs/StandardDialogTheme.h"
#include "pages/sensor/DpiStageEditing.h"
#include "pages/sensor/SensorTables.h"
#include "ui_SensorDPI.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QListView>
#include <QMouseEvent>

namespace {
constexpr int MarkerX[SensorDPI::Stages] = {27, 118, 209, 300, 391, 483, 573, 664};
constexpr int MarkerY = 154;
const char* const DefaultColors[SensorDPI::Stages] = {"255,0,0",   "0,255,0",    "0,0,255", "255,255,0",
                                                      "0,255,255", "255,85,255", "159,0,0", "0,212,252"};

// The marker drag: the pointer's x at release must lie on the stage buttons,
// and left of the last stage shown (by the stage count list's index).
constexpr int DragLeft = 15;
constexpr int DragRight = 706;
constexpr int RightLimits[] = {69, 160, 251, 342, 433, 524, 612};
constexpr int StageSpacing = 91;
// How far the pointer went from the marker's home (inclusive ranges) and how
// many stages that moves.
struct DragRange {
    int from;
    int to;
    int stages;
};
constexpr DragRange DragRanges[] = {
    {78, 129, 1},     {168, 214, 2},    {264, 317, 3},    {361, 389, 4},    {443, 495, 5},
    {538, 591, 6},    {623, 669, 7},    {-102, -51, -1},  {-192, -144, -2}, {-284, -236, -3},
    {-369, -327, -4}, {-465, -411, -5}, {-556, -504, -6}, {-646, -599, -7},
};

bool ValidStage(int stage)
{
    return stage >= 0 && stage < SensorDPI::Stages;
}

// "#rrggbb" as "r,g,b"; "" for a text of another form.
QString DecimalColour(const QString& hex)
{
    int red = 0;
    int green = 0;
    int blue = 0;
    if (!DpiStageEditing::HexColourParts(hex, &red, &green, &blue))
        return QString();
    return QStringLiteral("%1,%2,%3").arg(red).arg(green).arg(blue);
}
} // namespace

SensorDPI::SensorDPI(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::SensorDPI)
{
    ui->setupUi(this);
    PictureDir = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    for (int i = 0; i < Stages; ++i) {
        MarkerPositions[i] = QPoint(MarkerX[i], MarkerY);
        StageColors[i] = QLatin1String(DefaultColors[i]);
    }
    ButtonTextColor = StyleSheet::ColourText(QStringLiteral("ButtonColor"));
    StageButtonGroup = new QButtonGroup(this);
    SwatchGroup = new QButtonGroup(this);
    StageButtonGroup->setExclusive(true);
    SwatchGroup->setExclusive(true);
    ColorDialog = new QColorDialog(this);
    ColorDialog->setOption(QColorDialog::DontUseNativeDialog);
    StandardDialogTheme::Apply(ColorDialog);
    connect(ColorDialog, &QColorDialog::colorSelected, this, &SensorDPI::SetColor);

    stageButtons_[0] = ui->BlueButton;
    stageButtons_[1] = ui->BrightRedButton;
    stageButtons_[2] = ui->RedButton;
    stageButtons_[3] = ui->YellowButton;
    stageButtons_[4] = ui->GreenButton;
    stageButtons_[5] = ui->PurpleButton;
    stageButtons_[6] = ui->LightBlueButton;
    stageButtons_[7] = ui->LightYellowButton;
    swatches_[0] = ui->BlueButtonA;
    swatches_[1] = ui->BrightRedButtonA;
    swatches_[2] = ui->RedButtonA;
    swatches_[3] = ui->YellowButtonA;
    swatches_[4] = ui->GreenButtonA;
    swatches_[5] = ui->PurpleButtonA;
    swatches_[6] = ui->LightBlueButtonA;
    swatches_[7] = ui->LightYellowButtonA;

    // The frame itself draws no panel: only its controls show on the page.
    setStyleSheet(QStringLiteral("SensorDPI{border:0px;}"));
    ui->label->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    ui->label_8->setStyleSheet(
        QStringLiteral("#label_8{border:0px;background-position:center;background-repeat:no-repeat;"
                       "background-image: url(")
        + PictureDir
        + QStringLiteral("Level.png);}#label_8:hover{border:0px;background-position:center;"
                         "background-repeat:no-repeat;background-image: url(")
        + PictureDir + QStringLiteral("LevelHover.png);}"));
    ui->ChooseEvent->setStyleSheet(StyleSheet::ComboBoxRule(PictureDir));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->ChooseEvent->setView(view);
    ui->ChooseEvent->setMaxVisibleItems(5);
    ui->horizontalSliderC->setStyleSheet(DpiStageEditing::SliderRule(PictureDir));
    ui->spinBoxA->setStyleSheet(DpiStageEditing::SpinBoxRule());
    ui->ReduceLevelA->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("#ReduceLevelA"), PictureDir,
                                                            QStringLiteral("Reduce.png")));
    ui->AddLevelA->setStyleSheet(
        StyleSheet::PictureRule(QStringLiteral("#AddLevelA"), PictureDir, QStringLiteral("Add.png")));

    // Hidden controls keep their place, so the others do not move.
    QList<QWidget*> keepPlace{ui->horizontalSliderC, ui->spinBoxA, ui->ReduceLevelA, ui->AddLevelA};
    for (int i = 0; i < Stages; ++i) {
        keepPlace.append(stageButtons_[i]);
        stageButtons_[i]->setStyleSheet(StageButtonRule(false));
        swatches_[i]->setStyleSheet(QLatin1Char('#') + swatches_[i]->objectName()
                                    + QStringLiteral("{border:0px;border-radius:3px;background-position:center;"
                                                     "background-repeat:no-repeat;background-color: rgb(255, 0, 0);"
                                                     "background-image: url(")
                                    + PictureDir + QStringLiteral("MinB.png);}"));
        StageButtonRects[i] = stageButtons_[i]->geometry();
        SwatchRects[i] = swatches_[i]->geometry();
    }
    for (QWidget* widget : keepPlace) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    for (int i = 0; i < Stages; ++i) {
        StageButtonGroup->addButton(stageButtons_[i]);
        SwatchGroup->addButton(swatches_[i]);
    }
    DragArea = QRect(0, 0, 728, 194);
}

SensorDPI::~SensorDPI()
{
    delete ui;
}

bool SensorDPI::Ready()
{
    return UiReady;
}

bool SensorDPI::Loading()
{
    return SensorPageLoading;
}

// --- Operations of the sensor page ------------------------------------------

void SensorDPI::BlockChooseEventSignals(bool block)
{
    ui->ChooseEvent->blockSignals(block);
}

void SensorDPI::ClearChooseEvent()
{
    ui->ChooseEvent->blockSignals(true);
    ui->ChooseEvent->clear();
    ui->ChooseEvent->blockSignals(false);
}

void SensorDPI::InsertChooseEventItem(int position, const QString& text)
{
    ui->ChooseEvent->insertItem(position, text);
}

void SensorDPI::SetChooseEventIndex(int index)
{
    ui->ChooseEvent->setCurrentIndex(index);
}

void SensorDPI::BlockSliderSignals(bool block)
{
    ui->horizontalSliderC->blockSignals(block);
}

void SensorDPI::SetSliderEnabled(bool enabled)
{
    ui->horizontalSliderC->setEnabled(enabled);
}

void SensorDPI::SetDpiMaximum(int value)
{
    ui->horizontalSliderC->setMaximum(value);
}

void SensorDPI::SetDpiMinimum(int value)
{
    ui->horizontalSliderC->setMinimum(value);
}

void SensorDPI::SetDpiValue(int value)
{
    ui->horizontalSliderC->setValue(value);
}

void SensorDPI::SetSpinValue(int value)
{
    ui->spinBoxA->setValue(value);
}

void SensorDPI::SetStageText(int stage, const QString& text)
{
    if (ValidStage(stage))
        stageButtons_[stage]->setText(text);
}

void SensorDPI::SetStageColor(int stage, const QString& colour)
{
    const QString decimal = DecimalColour(colour);
    if (ValidStage(stage) && !decimal.isEmpty())
        StageColors[stage] = decimal;
}

void SensorDPI::HighlightStage(int stage)
{
    if (!ValidStage(stage))
        return;
    for (int i = 0; i < Stages; ++i) {
        if (i == stage) {
            swatches_[i]->setStyleSheet(SwatchRule(i, true));
        } else {
            swatches_[i]->setGeometry(SwatchRects[i]);
            swatches_[i]->setStyleSheet(SwatchRule(i, false));
        }
    }
}

void SensorDPI::CheckStage(int stage)
{
    if (ValidStage(stage))
        stageButtons_[stage]->setChecked(true);
}

void SensorDPI::SetCurrentStage(int stage)
{
    currentStage_ = ValidStage(stage) ? stage : 0;
}

void SensorDPI::SetStageCount(int count)
{
    stageCount_ = count >= 1 && count <= Stages ? count : 1;
}

void SensorDPI::ShowStages(int last)
{
    if (!ValidStage(last))
        return;
    for (int i = 0; i < Stages; ++i) {
        stageButtons_[i]->setVisible(i <= last);
        swatches_[i]->setVisible(i <= last);
    }
}

void SensorDPI::MoveMarkerToStage(int number)
{
    if (number >= 1 && number <= Stages)
        ui->label_8->move(MarkerPositions[number - 1]);
}

void SensorDPI::SetTitleText(const QString& text)
{
    ui->label->setText(text);
}

void SensorDPI::LoadDefaultStages()
{
    LoadDefaultStages(ProductDescription::Instance());
}

void SensorDPI::LoadDefaultStages(const ProductDescription& description)
{
    const ProductDescription::Group model = description.Model(CurrentDevice.get().modelIndex);
    // Three numbers per stage; an incomplete last colour is left out.
    const QStringList colours = model.List(QStringLiteral("DPIColor"));
    for (int k = 0; k < Stages && 3 * k + 2 < colours.size(); ++k)
        StageColors[k] = StyleSheet::ColourText(colours.mid(3 * k, 3));
    const QStringList grades = model.List(QStringLiteral("DPIGrade"));
    if (grades.size() < Stages)
        return;
    for (int i = 0; i < Stages; ++i) {
        // Each swatch as its stage stands: selected only for the checked one.
        const bool selected = swatches_[i]->isChecked();
        const QRect& rest = SwatchRects[i];
        swatches_[i]->setGeometry(selected ? QRect(rest.x() - 8, rest.y() + 6, 66, 14) : rest);
        swatches_[i]->setStyleSheet(SwatchRule(i, selected));
        stageButtons_[i]->setText(grades.at(i));
    }
}

void SensorDPI::BlockAllSignals(bool block)
{
    for (int i = 0; i < Stages; ++i) {
        stageButtons_[i]->blockSignals(block);
        swatches_[i]->blockSignals(block);
    }
    ui->horizontalSliderC->blockSignals(block);
    ui->spinBoxA->blockSignals(block);
}

void SensorDPI::BlockStageButtonSignals(bool block)
{
    ui->horizontalSliderC->blockSignals(block);
    ui->ChooseEvent->blockSignals(block);
    for (int i = 0; i < Stages; ++i) {
        stageButtons_[i]->blockSignals(block);
        swatches_[i]->blockSignals(block);
    }
}

void SensorDPI::SetSpinBoxVisible(bool visible)
{
    ui->spinBoxA->setVisible(visible);
}

// --- Stage count -----------------------------------------------------------

void SensorDPI::on_ChooseEvent_currentIndexChanged(int index)
{
    if (Loading() || !ValidStage(index))
        return;
    const int stage = currentStage_;
    previousStage_ = stage;
    if (stage > index) {
        // The selected stage lies beyond the new last stage: its DPI and
        // colour move into the last stage, which becomes the selected one.
        const QString text = stageButtons_[stage]->text();
        stageButtons_[stage]->setText(stageButtons_[index]->text());
        stageButtons_[index]->setText(text);
        qSwap(StageColors[stage], StageColors[index]);
        UpdateSwatchStyle(stage);
        UpdateSwatchStyle(index);
        ui->label_8->move(MarkerPositions[index]);
        stageButtons_[index]->setChecked(true);
        stageCount_ = index + 1;
        currentStage_ = index;
        if (Ready())
            DpiStageEditing::ExchangeStages(index, stage);
    }
    ShowStages(index);
    if (Ready())
        SetDpiStageCount(index + 1);
}

// --- Stage buttons and swatches ----------------------------------------------

QString SensorDPI::StageButtonRule(bool selected) const
{
    return QStringLiteral("QToolButton{border:0px;border-radius:3px;background-position:center;"
                          "background-repeat:no-repeat;color: rgb(")
        + ButtonTextColor + QStringLiteral(";);background-image: url(") + PictureDir
        + (selected ? QStringLiteral("MaxA.png") : QStringLiteral("MinA.png")) + QStringLiteral(");}");
}

QString SensorDPI::SwatchRule(int stage, bool selected) const
{
    return QStringLiteral("QToolButton{border:0px;border-radius:3px;background-position:center;"
                          "background-repeat:no-repeat;background-color:rgb(")
        + StageColors[stage] + QStringLiteral(");background-image: url(") + PictureDir
        + (selected ? QStringLiteral("MaxB.png") : QStringLiteral("MinB.png")) + QStringLiteral(");}");
}

void SensorDPI::UpdateSwatchStyle(int stage)
{
    swatches_[stage]->setStyleSheet(SwatchRule(stage, swatches_[stage]->isChecked()));
}

void SensorDPI::StageToggled(int stage, bool on)
{
    QToolButton* button = stageButtons_[stage];
    if (!on) {
        button->setGeometry(StageButtonRects[stage]);
        button->setStyleSheet(StageButtonRule(false));
        return;
    }
    button->setGeometry(StageButtonRects[stage].adjusted(-7, -7, 7, 7));
    button->setStyleSheet(StageButtonRule(true));
    swatches_[stage]->setChecked(true);
    if (Ready() && !Loading()) {
        currentStage_ = stage;
        ui->label_8->move(MarkerPositions[stage]);
        SetCurrentDpiStage(stage);
    }
}

void SensorDPI::StageClicked(int stage)
{
    ui->horizontalSliderC->setValue(stageButtons_[stage]->text().toInt());
}

void SensorDPI::SwatchToggled(int stage, bool on)
{
    QToolButton* swatch = swatches_[stage];
    const QRect& rest = SwatchRects[stage];
    if (!on) {
        swatch->setGeometry(rest);
        swatch->setStyleSheet(SwatchRule(stage, false));
        return;
    }
    swatch->setGeometry(rest.x() - 8, rest.y() + 6, 66, 14);
    stageButtons_[stage]->setChecked(true);
    swatch->setStyleSheet(SwatchRule(stage, true));
    ShowStageDpi(stage);
}

void SensorDPI::SwatchClicked(int)
{
    ColorDialog->show();
}

void SensorDPI::ShowStageDpi(int stage)
{
    QSlider* slider = ui->horizontalSliderC;
    // Marked only when the move reaches the value handler; the mark holds
    // for that one move.
    holdSliderMove_ = !slider->signalsBlocked();
    slider->setValue(stageButtons_[stage]->text().toInt());
    holdSliderMove_ = false;
}

void SensorDPI::SetColor(const QColor& colour)
{
    int stage = 0;
    while (stage < Stages && !swatches_[stage]->isChecked())
        ++stage;
    if (stage == Stages)
        return;
    StageColors[stage] = DecimalColour(DpiStageEditing::HexColour(colour));
    if (Ready() && !Loading())
        SetDpiStageColor(stage, colour.red(), colour.green(), colour.blue());
    UpdateSwatchStyle(stage);
}

// --- DPI value ---------------------------------------------------------------

void SensorDPI::on_horizontalSliderC_sliderMoved(int value)
{
    ui->spinBoxA->setValue(DpiStageEditing::FitToDpiSegments(value, ui->horizontalSliderC));
}

void SensorDPI::on_horizontalSliderC_valueChanged(int value)
{
    const bool held = holdSliderMove_;
    holdSliderMove_ = false;
    if (Ready() && !Loading() && !DeviceAllInfo::Answers(CurrentDevicePath.get())) {
        ui->spinBoxA->setValue(value);
        PostMsg::Instance()->PostMouseOffLineo(PostMsg::MouseOffLine);
        return;
    }
    value = DpiStageEditing::FitToDpiSegments(value, ui->horizontalSliderC);
    int stage = -1;
    for (int i = 0; i < Stages && stage < 0; ++i) {
        if (stageButtons_[i]->isChecked())
            stage = i;
    }
    if (stage >= 0)
        stageButtons_[stage]->setText(QString::number(value));
    ui->spinBoxA->setValue(value);
    if (!held && !ApplyInProgress)
        WriteDpiStage(stage, value);
}

void SensorDPI::on_AddLevelA_clicked()
{
    if (Ready() && !DpiStageEditing::DeviceAnswersOrNotify())
        return;
    ui->horizontalSliderC->setValue(DpiStageEditing::StepUp(ui->spinBoxA->value()));
}

void SensorDPI::on_ReduceLevelA_clicked()
{
    if (Ready() && !DpiStageEditing::DeviceAnswersOrNotify())
        return;
    ui->horizontalSliderC->setValue(DpiStageEditing::StepDown(ui->spinBoxA->value()));
}

// --- Marker drag -------------------------------------------------------------

void SensorDPI::mousePressEvent(QMouseEvent* event)
{
    if (event->buttons() != Qt::NoButton && ui->label_8->geometry().contains(event->pos())) {
        MarkerDragging = true;
        DragGrabOffset = event->pos() - ui->label_8->pos();
    }
}

void SensorDPI::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton || !MarkerDragging)
        return;
    if (DragArea.contains(event->pos()))
        ui->label_8->move(event->pos() - DragGrabOffset);
    else
        mouseReleaseEvent(event);
}

void SensorDPI::ReturnMarker(const QPoint& home)
{
    ui->label_8->move(home);
}

void SensorDPI::mouseReleaseEvent(QMouseEvent* event)
{
    MarkerDragging = false;
    const QPoint home = MarkerPositions[currentStage_];
    if (!ui->label_8->geometry().contains(event->pos())) {
        ReturnMarker(home);
        return;
    }
    const int x = event->pos().x();
    if (x < DragLeft || x > DragRight) {
        ReturnMarker(home);
        return;
    }
    const int index = ui->ChooseEvent->currentIndex();
    if (index >= 0 && index < int(sizeof(RightLimits) / sizeof(RightLimits[0])) && x > RightLimits[index]) {
        ReturnMarker(home);
        if (Ready())
            SetCurrentDpiStage(currentStage_);
        return;
    }
    const int distance = x - home.x();
    int stages = 0;
    for (const DragRange& range : DragRanges) {
        if (distance >= range.from && distance <= range.to)
            stages = range.stages;
    }
    if (stages == 0 || !ValidStage(currentStage_ + stages)) {
        ReturnMarker(home);
        return;
    }
    ui->label_8->move(home.x() + StageSpacing * stages, home.y());
    currentStage_ += stages;
    SelectStageAfterDrag(currentStage_);
    if (Ready())
        SetCurrentDpiStage(currentStage_);
}

void SensorDPI::SelectStageAfterDrag(int stage)
{
    if (Ready() && !Loading() && !DeviceAllInfo::Answers(CurrentDevicePath.get())) {
        PostMsg::Instance()->PostMouseOffLineo(PostMsg::MouseOffLine);
        return;
    }
    CheckStage(stage);
}

// --- Slots by object name ------------------------------------------------------

void SensorDPI::on_BlueButton_toggled(bool on) { StageToggled(0, on); }
void SensorDPI::on_BrightRedButton_toggled(bool on) { StageToggled(1, on); }
void SensorDPI::on_RedButton_toggled(bool on) { StageToggled(2, on); }
void SensorDPI::on_YellowButton_toggled(bool on) { StageToggled(3, on); }
void SensorDPI::on_GreenButton_toggled(bool on) { StageToggled(4, on); }
void SensorDPI::on_PurpleButton_toggled(bool on) { StageToggled(5, on); }
void SensorDPI::on_LightBlueButton_toggled(bool on) { StageToggled(6, on); }
void SensorDPI::on_LightYellowButton_toggled(bool on) { StageToggled(7, on); }

void SensorDPI::on_BlueButton_clicked() { StageClicked(0); }
void SensorDPI::on_BrightRedButton_clicked() { StageClicked(1); }
void SensorDPI::on_RedButton_clicked() { StageClicked(2); }
void SensorDPI::on_YellowButton_clicked() { StageClicked(3); }
void SensorDPI::on_GreenButton_clicked() { StageClicked(4); }
void SensorDPI::on_PurpleButton_clicked() { StageClicked(5); }
void SensorDPI::on_LightBlueButton_clicked() { StageClicked(6); }
void SensorDPI::on_LightYellowButton_clicked() { StageClicked(7); }

void SensorDPI::on_BlueButtonA_toggled(bool on) { SwatchToggled(0, on); }
void SensorDPI::on_BrightRedButtonA_toggled(bool on) { SwatchToggled(1, on); }
void SensorDPI::on_RedButtonA_toggled(bool on) { SwatchToggled(2, on); }
void SensorDPI::on_YellowButtonA_toggled(bool on) { SwatchToggled(3, on); }
void SensorDPI::on_GreenButtonA_toggled(bool on) { SwatchToggled(4, on); }
void SensorDPI::on_PurpleButtonA_toggled(bool on) { SwatchToggled(5, on); }
void SensorDPI::on_LightBlueButtonA_toggled(bool on) { SwatchToggled(6, on); }
void SensorDPI::on_LightYellowButtonA_toggled(bool on) { SwatchToggled(7, on); }

void SensorDPI::on_BlueButtonA_clicked() { SwatchClicked(0); }
void SensorDPI::on_BrightRedButtonA_clicked() { SwatchClicked(1); }
void SensorDPI::on_RedButtonA_clicked() { SwatchClicked(2); }
void SensorDPI::on_YellowButtonA_clicked() { SwatchClicked(3); }
void SensorDPI::on_GreenButtonA_clicked() { SwatchClicked(4); }
void SensorDPI::on_PurpleButtonA_clicked() { SwatchClicked(5); }
void SensorDPI::on_LightBlueButtonA_clicked() { SwatchClicked(6); }
void SensorDPI::on_LightYellowButtonA_clicked() { SwatchClicked(7); }
