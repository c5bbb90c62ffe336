#pragma once

#include "pages/sensor/ReportRateFrame.h"

namespace Ui {
class SensorRate;
}

// The report-rate frame of the sensor page ("frameRate"): seven picture
// buttons, "ReportRate.png" and "ReportRateClick.png" for the checked rate,
// the rate in the button colour.
class SensorRate : public ReportRateFrame {
    Q_OBJECT
public:
    explicit SensorRate(QWidget* parent = nullptr);
    ~SensorRate() override;

private:
    Ui::SensorRate* ui;
};
