#pragma once

#include "pages/sensor/options/SwitchOptionFrame.h"

namespace Ui {
class RippeControl;
}

// Ripple control (image byte 0x0A); the sensor page shows it as "frame".
class RippeControl : public SwitchOptionFrame {
    Q_OBJECT
public:
    explicit RippeControl(QWidget* parent = nullptr);
    ~RippeControl() override;

private slots:
    void on_RippeControl_2_clicked(bool on);

private:
    Ui::RippeControl* ui;
};
