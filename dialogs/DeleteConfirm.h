#pragma once

#include "dialogs/MessageQuestion.h"

namespace Ui {
class DeleteConfirm;
}

// Question whether to delete the selected macro.
class DeleteConfirm : public MessageQuestion {
    Q_OBJECT
public:
    explicit DeleteConfirm(QWidget* parent = nullptr);
    ~DeleteConfirm() override;

public slots:
    void on_NewHong_clicked();

private:
    Ui::DeleteConfirm* ui;
};
