#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class GroupMaxThree;
}

// Notice: a key combination holds at most three keys.
class GroupMaxThree : public MessageNotice {
    Q_OBJECT
public:
    explicit GroupMaxThree(QWidget* parent = nullptr);
    ~GroupMaxThree() override;

private:
    Ui::GroupMaxThree* ui;
};
