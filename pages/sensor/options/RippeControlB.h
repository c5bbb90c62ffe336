#pragma once

#include "pages/sensor/options/SwitchOptionFrame.h"

namespace Ui {
class RippeControlB;
}

// Ripple control with the label left of the toggle; no page shows it.
class RippeControlB : public SwitchOptionFrame {
    Q_OBJECT
public:
    explicit RippeControlB(QWidget* parent = nullptr);
    ~RippeControlB() override;

private slots:
    void on_RippeControl_2_clicked(bool on);

private:
    Ui::RippeControlB* ui;
};
