#pragma once

#include "pages/sensor/options/SwitchOptionFrame.h"

namespace Ui {
class StraightLineB;
}

// Angle snapping with the label left of the toggle; no page shows it.
class StraightLineB : public SwitchOptionFrame {
    Q_OBJECT
public:
    explicit StraightLineB(QWidget* parent = nullptr);
    ~StraightLineB() override;

private slots:
    void on_StraightLine_2_clicked(bool on);

private:
    Ui::StraightLineB* ui;
};
