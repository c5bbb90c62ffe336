#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class MouseOffLine;
}

// Notice that the mouse is offline (OfflineReason 0) or did not answer in
// time (OfflineReason 1). It closes by itself when the bus reports the device
// online again (SigCloseOffOnline).
class MouseOffLine : public MessageNotice {
    Q_OBJECT
public:
    explicit MouseOffLine(QWidget* parent = nullptr);
    ~MouseOffLine() override;

private:
    Ui::MouseOffLine* ui;
};
