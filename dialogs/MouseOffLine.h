#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class MouseOffLine;
}

// Notice that the mouse is offline (OfflineReason 0) or did not answer in
// time (OfflineReason 1). The offline notice closes by itself when the bus
// reports the device online again (SigCloseOffOnline); the time-out notice,
// whose device is online, when a whole configuration reaches the pages after
// all (SigForm).
class MouseOffLine : public MessageNotice {
    Q_OBJECT
public:
    explicit MouseOffLine(QWidget* parent = nullptr);
    ~MouseOffLine() override;

    // Whether a whole configuration closed the notice.
    bool ClosedByConfiguration() const { return closedByConfiguration_; }

private slots:
    void SlotCloseOffOnline();
    void SlotForm();

private:
    Ui::MouseOffLine* ui;
    bool closedByConfiguration_ = false;
};
