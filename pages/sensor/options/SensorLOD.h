#pragma once

#include "pages/sensor/options/LiftOffFrame.h"

namespace Ui {
class SensorLOD;
}

// The lift-off distance as a drop-down list: "1mm", "2mm", and "0.7mm" in
// front for the sensors that offer it. The list starts disabled; the sensor
// page enables it for a sensor that supports the setting.
class SensorLOD : public LiftOffFrame {
    Q_OBJECT
public:
    explicit SensorLOD(QWidget* parent = nullptr);
    ~SensorLOD() override;

    // "0.7mm" in front of a list of two; nothing for a list of three. The
    // distance chosen stays chosen.
    void AddLowLodItem();
    // Removes "0.7mm" from a list of three; nothing for a list of two.
    void RemoveLowLodItem();
    void SetLodEnabled(bool enabled);
    // Chooses a distance by its code minus 1 (0 = 1 mm, 1 = 2 mm, 2 = 0.7 mm).
    // A choice reaches the write slot: callers that must not write set
    // SensorPageLoading around it.
    void SetLod(int value);

private slots:
    void on_LOD_currentIndexChanged(int index);

private:
    Ui::SensorLOD* ui;
};
