#pragma once

#include "pages/sensor/options/DpiLightFrame.h"

namespace Ui {
class SensorEffect;
}

// The DPI indicator light with its mode in a drop-down list "Model" (entry
// index = mode). The sensor page shows it as "frameEffect".
class SensorEffect : public DpiLightFrame {
    Q_OBJECT
public:
    explicit SensorEffect(QWidget* parent = nullptr);
    ~SensorEffect() override;

    // Chooses mode 0-2 (the list's signals are not blocked, so a change
    // writes unless SensorPageLoading is set) and shows its rows, also when
    // the mode was chosen already. Other values change nothing.
    void SetMode(int mode);
    void SetModeEnabled(bool enabled);
    void SetModeItemText(int index, const QString& text);

private slots:
    void on_Model_currentIndexChanged(int index);
    void on_SpeedH_valueChanged(int value);
    void on_SpeedH_sliderMoved(int position);
    void on_LightH_valueChanged(int value);
    void on_LightH_sliderMoved(int position);

private:
    Ui::SensorEffect* ui;
};
