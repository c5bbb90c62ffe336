#pragma once

#include "dialogs/MessageNotice.h"

namespace Ui {
class ExeIsRun;
}

// Notice that the program runs already (at start-up), or, in the macro
// editor, that a macro has to be chosen or the recording stopped first.
// Return closes it.
class ExeIsRun : public MessageNotice {
    Q_OBJECT
public:
    explicit ExeIsRun(QWidget* parent = nullptr);
    ~ExeIsRun() override;

    // Put the kept "label_2" / "PleaseStop" texts on the label.
    void ShowSecondText();
    void ShowPleaseStopText();

private:
    Ui::ExeIsRun* ui;
    QString secondText_;
    QString pleaseStopText_;
};
