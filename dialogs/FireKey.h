#pragma once

#include "dialogs/MessageQuestion.h"

namespace Ui {
class FireKey;
}

// Asks for the two values of a rapid-fire assignment: the interval (10 to 255)
// and the count (0 to 3; 0 fires for as long as the button is held). The
// caller presets both, runs exec(), and when Confirmed is set takes Interval
// and Count. Close, Cancel and Escape leave Confirmed false and the values as
// they were.
class FireKey : public MessageQuestion {
    Q_OBJECT
public:
    explicit FireKey(QWidget* parent = nullptr);
    ~FireKey() override;

    int Interval = 10;
    int Count = 3;

    // Preset the spin boxes; a value out of range is brought into it.
    void SetCount(int count);
    void SetInterval(int interval);

public slots:
    void on_NewHong_2_clicked();
    void on_NewHong_clicked();

private:
    Ui::FireKey* ui;
};
