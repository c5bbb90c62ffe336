#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class KeyNumberLimit;
}

// Notice: a recording has reached the most key rows a macro holds.
class KeyNumberLimit : public MessageNotice {
    Q_OBJECT
public:
    explicit KeyNumberLimit(QWidget* parent = nullptr);
    ~KeyNumberLimit() override;

private:
    Ui::KeyNumberLimit* ui;
};
