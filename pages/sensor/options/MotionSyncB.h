#pragma once

#include "pages/sensor/options/SwitchOptionFrame.h"

namespace Ui {
class MotionSyncB;
}

// Motion sync with the label left of the toggle; no page shows it.
class MotionSyncB : public SwitchOptionFrame {
    Q_OBJECT
public:
    explicit MotionSyncB(QWidget* parent = nullptr);
    ~MotionSyncB() override;

private slots:
    void on_MotionSync_2_clicked(bool on);

private:
    Ui::MotionSyncB* ui;
};
