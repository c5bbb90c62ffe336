#pragma once

#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QString>

class ProductDescription;
class QButtonGroup;
class QColorDialog;
class QToolButton;

namespace Ui {
class SensorDPI;
}

// The DPI stage panel of the sensor page ("frameDpi"): up to eight stage
// buttons showing each stage's DPI, a colour swatch under each, the stage
// count list, the DPI slider of the selected stage with its read-only value
// and two step buttons, and a marker under the selected stage that can be
// dragged to another stage. The sensor page fills it through the operations
// below while SensorPageLoading is set; the panel's own slots write what the
// user changes (current stage, stage DPI, stage colour, stage count).
// Stages are numbered 0 to 7. GUI thread.
class SensorDPI : public QFrame {
    Q_OBJECT
public:
    static constexpr int Stages = 8;

    explicit SensorDPI(QWidget* parent = nullptr);
    ~SensorDPI() override;

    // The stage count list: its entries come from the page; a change of the
    // current entry outside loading is a stage-count change (index + 1).
    void BlockChooseEventSignals(bool block);
    // Empties the list with its signals blocked; they are unblocked after.
    void ClearChooseEvent();
    void InsertChooseEventItem(int position, const QString& text);
    void SetChooseEventIndex(int index);

    void BlockSliderSignals(bool block);
    void SetSliderEnabled(bool enabled);
    void SetDpiMaximum(int value);
    void SetDpiMinimum(int value);
    // The slider's value; unless its signals are blocked a change is handled
    // as a change of the selected stage's DPI.
    void SetDpiValue(int value);
    void SetSpinValue(int value);

    // The DPI text of a stage's button; another stage is ignored.
    void SetStageText(int stage, const QString& text);
    // A stage's colour as "#rrggbb" (either case); another stage, or a text
    // of another form, is ignored. The swatch is restyled by HighlightStage.
    void SetStageColor(int stage, const QString& colour);
    // Draws this stage's swatch selected and the others at rest; nothing is
    // checked or unchecked. Another stage is ignored.
    void HighlightStage(int stage);
    // Checks a stage's button (its handlers run when it was not checked);
    // another stage is ignored.
    void CheckStage(int stage);
    // The selected stage as the device has it; a stage outside 0-7 counts
    // as 0 here (nothing is written).
    void SetCurrentStage(int stage);
    // The stage count as the caller has it; a count outside 1-8 counts as 1.
    // Nothing is shown.
    void SetStageCount(int count);
    // Shows stages 0 to last (0-7) and hides the others; another value
    // changes nothing.
    void ShowStages(int last);
    // Moves the marker under stage number - 1 (number 1-8); another number
    // changes nothing.
    void MoveMarkerToStage(int number);
    void SetTitleText(const QString& text);
    // The current model's default stage colours ("DPIColor", three numbers
    // a stage) and DPI texts ("DPIGrade", only when it names all eight
    // stages), from the product description beside the program or another.
    void LoadDefaultStages();
    void LoadDefaultStages(const ProductDescription& description);

    // Not used by the sensor page: signals of the sixteen buttons, the
    // slider and the value box; of the slider, the list and the sixteen
    // buttons; the value box shown or hidden.
    void BlockAllSignals(bool block);
    void BlockStageButtonSignals(bool block);
    void SetSpinBoxVisible(bool visible);

public slots:
    // A colour confirmed in the colour dialog: it goes to the stage whose
    // swatch is checked.
    void SetColor(const QColor& colour);

protected:
    // The marker drag.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private slots:
    void on_ChooseEvent_currentIndexChanged(int index);
    void on_horizontalSliderC_valueChanged(int value);
    void on_horizontalSliderC_sliderMoved(int value);
    void on_ReduceLevelA_clicked();
    void on_AddLevelA_clicked();
    void on_BlueButton_toggled(bool on);
    void on_BlueButtonA_toggled(bool on);
    void on_LightBlueButton_toggled(bool on);
    void on_LightBlueButtonA_toggled(bool on);
    void on_BlueButtonA_clicked();
    void on_LightBlueButtonA_clicked();
    void on_BrightRedButton_toggled(bool on);
    void on_BrightRedButtonA_toggled(bool on);
    void on_BrightRedButtonA_clicked();
    void on_RedButton_toggled(bool on);
    void on_RedButtonA_toggled(bool on);
    void on_RedButtonA_clicked();
    void on_YellowButton_toggled(bool on);
    void on_YellowButtonA_toggled(bool on);
    void on_LightYellowButton_toggled(bool on);
    void on_LightYellowButtonA_toggled(bool on);
    void on_YellowButtonA_clicked();
    void on_LightYellowButtonA_clicked();
    void on_GreenButton_toggled(bool on);
    void on_GreenButtonA_toggled(bool on);
    void on_GreenButtonA_clicked();
    void on_PurpleButton_toggled(bool on);
    void on_PurpleButtonA_toggled(bool on);
    void on_PurpleButtonA_clicked();
    void on_BlueButton_clicked();
    void on_BrightRedButton_clicked();
    void on_RedButton_clicked();
    void on_YellowButton_clicked();
    void on_GreenButton_clicked();
    void on_PurpleButton_clicked();
    void on_LightBlueButton_clicked();
    void on_LightYellowButton_clicked();

private:
    void StageToggled(int stage, bool on);
    void StageClicked(int stage);
    void SwatchToggled(int stage, bool on);
    void SwatchClicked(int stage);
    // The swatch's look (picture and colour) by its checked state; the size
    // stays.
    void UpdateSwatchStyle(int stage);
    // The swatch's look at rest or selected, with its colour.
    QString SwatchRule(int stage, bool selected) const;
    QString StageButtonRule(bool selected) const;
    // Moves the slider to the stage's DPI as a selection shows it: that
    // move is not written back.
    void ShowStageDpi(int stage);
    // After a completed marker drag: checks the stage's button, unless the
    // device does not answer.
    void SelectStageAfterDrag(int stage);
    void ReturnMarker(const QPoint& home);
    static bool Ready();
    static bool Loading();

    Ui::SensorDPI* ui;
    QString PictureDir;
    QButtonGroup* StageButtonGroup;
    QButtonGroup* SwatchGroup;
    QColorDialog* ColorDialog;
    QString ButtonTextColor;
    QToolButton* stageButtons_[Stages];
    QToolButton* swatches_[Stages];
    QRect StageButtonRects[Stages];
    QRect SwatchRects[Stages];
    QPoint MarkerPositions[Stages];
    QRect DragArea;
    bool MarkerDragging = false;
    QPoint DragGrabOffset;
    int currentStage_ = 1;
    int stageCount_ = 1;
    QString StageColors[Stages];
    // The slider move that a selection makes is held back from the device.
    bool holdSliderMove_ = false;
    // CurrentStage when the stage count last changed.
    int previousStage_ = 1;
};
