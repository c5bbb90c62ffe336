#pragma once

#include "dialogs/MessageDialog.h"

namespace Ui {
class QuestiondialogB;
}

// Notice that several identical devices are plugged in.
class QuestiondialogB : public MessageDialog {
    Q_OBJECT
public:
    explicit QuestiondialogB(QWidget* parent = nullptr);
    ~QuestiondialogB() override;

private:
    Ui::QuestiondialogB* ui;
};
