#pragma once

#include "dialogs/MessageDialog.h"

namespace Ui {
class LeftButtonOnly;
}

// Notice that the only left-click assignment cannot be changed.
class LeftButtonOnly : public MessageDialog {
    Q_OBJECT
public:
    explicit LeftButtonOnly(QWidget* parent = nullptr);
    ~LeftButtonOnly() override;

private:
    Ui::LeftButtonOnly* ui;
};
