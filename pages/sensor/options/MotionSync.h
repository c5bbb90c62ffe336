#pragma once

#include "pages/sensor/options/SwitchOptionFrame.h"

namespace Ui {
class MotionSync;
}

// Motion sync (image byte 0x07); no page shows it.
class MotionSync : public SwitchOptionFrame {
    Q_OBJECT
public:
    explicit MotionSync(QWidget* parent = nullptr);
    ~MotionSync() override;

private slots:
    void on_MotionSync_2_clicked(bool on);

private:
    Ui::MotionSync* ui;
};
