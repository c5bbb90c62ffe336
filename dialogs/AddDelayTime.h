#pragma once

#include "dialogs/MessageQuestion.h"

namespace Ui {
class AddDelayTime;
}

// Asks for one delay of a macro, 10 to 65535 ms. When Confirmed is set after
// exec(), Delay holds the value; Close, Cancel and Escape leave Confirmed false
// and Delay 0.
class AddDelayTime : public MessageQuestion {
    Q_OBJECT
public:
    explicit AddDelayTime(QWidget* parent = nullptr);
    ~AddDelayTime() override;

    int Delay = 0;

public slots:
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();

private:
    Ui::AddDelayTime* ui;
};
