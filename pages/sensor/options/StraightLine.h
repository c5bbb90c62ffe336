#pragma once

#include "pages/sensor/options/SwitchOptionFrame.h"

namespace Ui {
class StraightLine;
}

// Angle snapping (image byte 0x09); the sensor page shows it as "frame_4".
class StraightLine : public SwitchOptionFrame {
    Q_OBJECT
public:
    explicit StraightLine(QWidget* parent = nullptr);
    ~StraightLine() override;

private slots:
    void on_StraightLine_2_clicked(bool on);

private:
    Ui::StraightLine* ui;
};
