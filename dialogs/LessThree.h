#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class LessThree;
}

// Notice shown when a short debounce time is chosen.
class LessThree : public MessageNotice {
    Q_OBJECT
public:
    explicit LessThree(QWidget* parent = nullptr);
    ~LessThree() override;

private:
    Ui::LessThree* ui;
};
