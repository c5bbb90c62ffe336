#pragma once

#include "dialogs/MessageQuestion.h"

namespace Ui {
class RePair;
}

// Question whether to pair the mouse with its receiver again.
class RePair : public MessageQuestion {
    Q_OBJECT
public:
    explicit RePair(QWidget* parent = nullptr);
    ~RePair() override;

public slots:
    void on_OK_clicked();
    void on_Cancel_clicked();

private:
    Ui::RePair* ui;
};
