#pragma once

#include "pages/sensor/ReportRateFrame.h"

namespace Ui {
class SensorRateB;
}

// The report-rate frame as one row of check boxes with the "LOD.png" and
// "LODCheck.png" indicators. A layout variant that the program does not
// show; it is driven like SensorRate.
class SensorRateB : public ReportRateFrame {
    Q_OBJECT
public:
    explicit SensorRateB(QWidget* parent = nullptr);
    ~SensorRateB() override;

private:
    Ui::SensorRateB* ui;
};
