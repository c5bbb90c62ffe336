#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class FindNewVer;
}

// Notice that new firmware exists, with a "do not show again" check box.
class FindNewVer : public MessageNotice {
    Q_OBJECT
public:
    explicit FindNewVer(QWidget* parent = nullptr);
    ~FindNewVer() override;

private:
    Ui::FindNewVer* ui;
};
