#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class MakeMacro;
}

// Notice: a macro has to be made before one can be assigned.
class MakeMacro : public MessageNotice {
    Q_OBJECT
public:
    explicit MakeMacro(QWidget* parent = nullptr);
    ~MakeMacro() override;

private:
    Ui::MakeMacro* ui;
};
