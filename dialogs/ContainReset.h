#pragma once

#include "dialogs/MessageQuestion.h"

namespace Ui {
class ContainReset;
}

// Question whether to restore the default configuration (also asked, with
// another text, before a receiver firmware update). Return confirms.
class ContainReset : public MessageQuestion {
    Q_OBJECT
public:
    explicit ContainReset(QWidget* parent = nullptr);
    ~ContainReset() override;

    void SetText(const QString& text);
public slots:
    void on_OK_clicked();
    void on_Cancel_clicked();

private:
    Ui::ContainReset* ui;
};
