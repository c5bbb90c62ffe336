#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QSlider;
class QSpinBox;

// The DPI indicator light frames: the light's mode (off, steady, breathing),
// a speed slider and a brightness slider, each with its value beside it.
// Rows that do not apply to the mode give their place to a thin line. The
// frames write image bytes 0x3F-0x42 through the DPI light setters.
class DpiLightFrame : public QFrame {
    Q_OBJECT
public:
    // Brightness byte (0x40) of slider positions 1 to 10.
    static constexpr int BrightnessSteps[10] = {16, 30, 60, 90, 128, 150, 180, 210, 230, 255};
    // The byte of a slider position; positions outside 1-10 are held there.
    static int BrightnessOfPosition(int position);

    // The sliders' values (speed 1-5, brightness position 1-10). Signals are
    // not blocked: a change writes, unless SensorPageLoading is set.
    void SetSpeed(int speed);
    void SetBrightness(int position);
    void SetSlidersEnabled(bool enabled);
    void SetTitleText(const QString& text);
    void SetSpeedText(const QString& text);
    void SetBrightnessText(const QString& text);

protected:
    struct Rows {
        QLabel* title;
        QLabel* speedCaption;
        QLabel* brightnessCaption;
        QSlider* speed;
        QSlider* brightness;
        QFrame* speedLine;
        QFrame* brightnessLine;
        QSpinBox* speedValue;
        QSpinBox* brightnessValue;
    };

    explicit DpiLightFrame(QWidget* parent);
    // After the form is set up: the picture folder and the style sheets.
    void Attach(const Rows& rows);
    // Shows the rows of mode 0 (off), 1 (steady) or 2 (breathing); another
    // value changes nothing.
    void ShowRowsOfMode(int mode);
    // The mode chosen: its rows, then the write (0 switches the light off
    // and keeps the mode byte).
    void ModeChosen(int mode);
    // A change of a list or slider writes only while the interface is ready
    // and the page is not filling its widgets.
    static bool ChangeMayWrite();

    // While a handle is dragged only its value is shown; the value is written
    // once, when it is let go (tracking is off).
    void SpeedMoved(int position);
    void SpeedChanged(int speed);
    void BrightnessMoved(int position);
    void BrightnessChanged(int position);

    QString PictureFolder;

private:
    Rows rows_ = {};
};
