#pragma once

#include "dialogs/MessageDialog.h"

namespace Ui {
class Progress;
}

// Follows a firmware update: a percentage line and a bar while it runs, then
// the success or failure text with a confirm button. Closing after a failure
// sends the program back to the device chooser (SigChangeMainDialog(0));
// otherwise the dialog resets itself and lets the update flow go on
// (SigContinue(0)).
class Progress : public MessageDialog {
    Q_OBJECT
public:
    explicit Progress(QWidget* parent = nullptr);
    ~Progress() override;

    // The outcome on show: none while the update runs.
    enum class Outcome { None, Failure, Success };
    Outcome ShownOutcome() const { return outcome_; }

public slots:
    // kind 0: progress; 1: failure; 2: success; 3: hide the button;
    // 4: back to 0 %. The bar takes the value first, whatever the kind.
    void SlotProgress(int value, int kind);
    void SlotCloseProgress();
    void on_NewHong_clicked();

protected:
    void Dismiss() override;

private:
    QString ProgressLine(int value) const;
    void Reset();
    void Finish();

    Ui::Progress* ui;
    QString progressText_;
    QString failText_;
    QString successText_;
    Outcome outcome_ = Outcome::None;
};
