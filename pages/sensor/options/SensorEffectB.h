#pragma once

#include "pages/sensor/options/DpiLightFrame.h"

class QAbstractButton;
class QButtonGroup;

namespace Ui {
class SensorEffectB;
}

// The DPI indicator light with its mode as three exclusive check boxes
// ("MM3" off, "MM1" steady, "MM2" breathing). No page shows it.
class SensorEffectB : public DpiLightFrame {
    Q_OBJECT
public:
    explicit SensorEffectB(QWidget* parent = nullptr);
    ~SensorEffectB() override;

    // Checks the mode's box (writes nothing) and shows its rows; values
    // other than 0-2 change nothing.
    void SetMode(int mode);
    // The text of mode 0, 1 or 2.
    void SetModeItemText(int index, const QString& text);

private slots:
    void on_MM1_clicked(bool checked);
    void on_MM2_clicked(bool checked);
    void on_MM3_clicked(bool checked);
    void on_SpeedH_valueChanged(int value);
    void on_SpeedH_sliderMoved(int position);
    void on_LightH_valueChanged(int value);
    void on_LightH_sliderMoved(int position);

private:
    QAbstractButton* BoxOfMode(int mode) const;

    Ui::SensorEffectB* ui;
    QButtonGroup* Group;
};
