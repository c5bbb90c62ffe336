#pragma once

#include "core/FlashDataMap.h"

#include <QWidget>

#include <memory>

namespace Ui {
class LampLight;
}
class LanguageTexts;
class QButtonGroup;
class QSpinBox;
class QToolButton;

// The page of the mouse's lighting: the mode (off and five effects), a
// custom colour with red, green and blue boxes, plus and minus buttons, a
// preview and a screen colour picker, fourteen preset colours, brightness
// and speed, lights off while the mouse moves, and the idle light-off time
// (the embedded StopCloseTime "frameClose"). Every change is written at
// once through the lighting setters.
//
// The program builds no such page. The constructor only builds the form and
// its pictures and connects nothing to the bus: whoever creates the page
// connects the refresh, reset and language slots. GUI thread.
class LampLight : public QWidget {
    Q_OBJECT
public:
    explicit LampLight(QWidget* parent = nullptr);
    ~LampLight() override;

    // Puts the fourteen preset buttons into the page's button group, if it
    // has one (it makes none; nothing calls this).
    void SetupButtonGroup();

public slots:
    // Refresh from an image; the first leaves the sliders disabled, the
    // second enables them. Nothing is written.
    void SlotUpDataLightUIA(FlashDataMap image);
    void SlotUpDataLightUILight(FlashDataMap image);
    // The page's defaults: mode 1, brightness 10, speed 8, moving light on,
    // light-off 60 s; nothing is written.
    void SlotFormResetLight();
    void SlotChangeLanguage(int index);
    // The argument as a character.
    QString ByteToQString(uchar value) const;

protected:
    // A press away from the colour boxes ends their editing; a press on the
    // colour board takes the colour of the screen under the cursor.
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void on_LightMod_currentIndexChanged(int mode);
    void on_LightMod_activated(int index);
    void on_LightMod_editTextChanged(const QString& text);
    void on_RSpinBox_valueChanged(int value);
    void on_GSpinBox_valueChanged(int value);
    void on_BSpinBox_valueChanged(int value);
    void on_AddR_clicked();
    void on_AddG_clicked();
    void on_AddB_clicked();
    void on_ReduceR_clicked();
    void on_ReduceG_clicked();
    void on_ReduceB_clicked();
    void on_toolButtonColorA_clicked();
    void on_toolButtonColorB_clicked();
    void on_toolButtonColorC_clicked();
    void on_toolButtonColorD_clicked();
    void on_toolButtonColorE_clicked();
    void on_toolButtonColorF_clicked();
    void on_toolButtonColorG_clicked();
    void on_toolButtonColorH_clicked();
    void on_toolButtonColorI_clicked();
    void on_toolButtonColorJ_clicked();
    void on_toolButtonColorK_clicked();
    void on_toolButtonColorL_clicked();
    void on_toolButtonColorM_clicked();
    void on_toolButtonColorN_clicked();
    void on_horizontalLight_sliderMoved(int value);
    void on_horizontalSpeed_sliderMoved(int value);
    void on_horizontalLight_valueChanged(int value);
    void on_horizontalSpeed_valueChanged(int value);
    void on_LightSpinBox_2_valueChanged(int value);
    void on_SpeedSpinBox_2_valueChanged(int value);
    void on_RippeControl_clicked(bool checked);
    // No child carries the name "StopCloseTime" (the frame is "frameClose"
    // and writes itself), so this stays unconnected.
    void on_StopCloseTime_activated(int index);

private:
    void ApplyPictures();
    void Refresh(const FlashDataMap& image, bool slidersEnabled);
    void ShowMode(int mode);
    void ShowPreview();
    // Whether a user's change may go on: with the interface ready it asks
    // the mouse, and when it does not answer (and the page is not filling
    // its widgets) the offline notice comes and the change is dropped.
    bool OnlineOrNotify() const;
    // A write of the mode, sliders and switch: only with the interface ready
    // and the page not filling its widgets.
    static bool MayWrite();
    void WriteColour();
    void Step(QSpinBox* box, int step);
    void Preset(int preset);
    // Takes the colour of the screen under the cursor into the colour boxes.
    void PickScreenColour();

    Ui::LampLight* ui;
    QButtonGroup* presetGroup_ = nullptr;
    std::unique_ptr<LanguageTexts> language_;
};
