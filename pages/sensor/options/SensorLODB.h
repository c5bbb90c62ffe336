#pragma once

#include "pages/sensor/options/LiftOffFrame.h"

class QButtonGroup;

namespace Ui {
class SensorLODB;
}

// The lift-off distance as three exclusive check boxes ("MM0" 0.7 mm, shown
// only for the sensors that offer it, "MM1" 1 mm, "MM2" 2 mm). No page shows it.
class SensorLODB : public LiftOffFrame {
    Q_OBJECT
public:
    explicit SensorLODB(QWidget* parent = nullptr);
    ~SensorLODB() override;

    // Shows "MM0" in front of the other two.
    void AddLowLodItem();
    // Hides "MM0"; the other two move to the front.
    void RemoveLowLodItem();
    // Enables or disables "MM1" and "MM2".
    void SetLodEnabled(bool enabled);
    // Checks a distance by its code minus 1 (2 only while "MM0" is shown);
    // a programmatic check writes nothing.
    void SetLod(int value);

private slots:
    void on_MM0_clicked(bool checked);
    void on_MM1_clicked(bool checked);
    void on_MM2_clicked(bool checked);

private:
    Ui::SensorLODB* ui;
    QButtonGroup* Group;
};
