#pragma once

#include <QFrame>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QColorDialog;
class QSlider;
class QSpinBox;
class QToolButton;

namespace Ui {
class SensorDPIB;
}

// A layout of the DPI stages with one row per stage: a check box that
// selects the stage, a colour button, the stage's DPI slider and its
// read-only value. It edits what SensorDPI edits (the stage count, the
// current stage, each stage's DPI and colour) and can be driven by a page the
// same way; the sensor page uses SensorDPI. Rows are stages 0 to 7. Each
// slider writes its own row's stage, whichever stage is current. GUI thread.
class SensorDPIB : public QFrame {
    Q_OBJECT
public:
    static constexpr int Stages = 8;

    explicit SensorDPIB(QWidget* parent = nullptr);
    ~SensorDPIB() override;

    void SetTitleText(const QString& text);

    // The stage count list: its entries come from the page; a change of the
    // current entry outside loading is a stage-count change (index + 1).
    void BlockChooseEventSignals(bool block);
    // Empties the list with its signals blocked; they are unblocked after.
    void ClearChooseEvent();
    void InsertChooseEventItem(int position, const QString& text);
    void SetChooseEventIndex(int index);

    // All eight sliders at once.
    void BlockSliderSignals(bool block);
    void SetSlidersEnabled(bool enabled);
    void SetSliderMaximum(int value);
    void SetSliderMinimum(int value);
    // One row's slider (its change is written unless the sliders' signals
    // are blocked) or value box; another stage is ignored.
    void SetSliderValue(int value, int stage);
    void SetSpinBoxValue(int value, int stage);
    // A row's DPI as decimal text into its slider and its value box; another
    // stage, or a text that is not a number, is ignored.
    void SetStageValueText(int stage, const QString& text);

    // A stage's colour as "#rrggbb" (either case), kept as given; the button
    // follows at RefreshStageButtons. Another stage or another form of text
    // is ignored.
    void SetStageColor(int stage, const QString& colour);
    // Every row's colour button in its stored colour.
    void RefreshStageButtons();
    // The colour buttons in fixed colours; the stored colours stay.
    void ResetButtonColors();

    // Checks a row's box (its selection runs when it was not checked);
    // another stage is ignored.
    void CheckStage(int stage);
    // As CheckStage, after the panel's own check that the mouse answers.
    void SelectStage(int stage);
    // The selected stage as the device has it; a stage outside 0-7 counts as
    // 0 here (nothing is written).
    void SetCurrentStage(int stage);
    // The stage count as the caller has it; a count outside 1-8 counts as 1.
    // Nothing is shown.
    void SetStageCount(int count);
    // Shows rows 0 to last (0-7) and hides the others; another value changes
    // nothing.
    void ShowStages(int last);

public slots:
    // A colour confirmed in the colour dialog: it goes to the row whose
    // colour button was clicked last.
    void SetColor(const QColor& colour);

private slots:
    void on_ChooseEvent_currentIndexChanged(int index);
    void on_horizontalSliderA_valueChanged(int value);
    void on_horizontalSliderB_valueChanged(int value);
    void on_horizontalSliderC_valueChanged(int value);
    void on_horizontalSliderD_valueChanged(int value);
    void on_horizontalSliderE_valueChanged(int value);
    void on_horizontalSliderF_valueChanged(int value);
    void on_horizontalSliderG_valueChanged(int value);
    void on_horizontalSliderH_valueChanged(int value);
    void on_MA_toggled(bool on);
    void on_MB_toggled(bool on);
    void on_MC_toggled(bool on);
    void on_MD_toggled(bool on);
    void on_ME_toggled(bool on);
    void on_MF_toggled(bool on);
    void on_MG_toggled(bool on);
    void on_MH_toggled(bool on);
    void on_BlueButtonA_clicked();
    void on_BrightRedButtonA_clicked();
    void on_RedButtonA_clicked();
    void on_YellowButtonA_clicked();
    void on_GreenButtonA_clicked();
    void on_PurpleButtonA_clicked();
    void on_LightBlueButtonA_clicked();
    void on_LightYellowButtonA_clicked();

private:
    void SliderChanged(int stage, int value);
    void StageToggled(int stage, bool on);
    void ColourButtonClicked(int stage);
    // The row's colour button in the row's stored colour.
    void UpdateButtonStyle(int stage);

    Ui::SensorDPIB* ui;
    QString PictureDir;
    QButtonGroup* StageBoxGroup;
    QColorDialog* ColorDialog;
    QCheckBox* boxes_[Stages];
    QToolButton* colourButtons_[Stages];
    QSlider* sliders_[Stages];
    QSpinBox* spinBoxes_[Stages];
    int currentStage_ = 1;
    int stageCount_ = 1;
    QString StageColors[Stages];
    // CurrentStage when the stage count last changed.
    int previousStage_ = 0;
    // The row whose colour button was clicked last: the dialog's colour
    // goes there.
    int ColorSlot = 0;
};
