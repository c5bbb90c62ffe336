#pragma once

#include "dialogs/MessageDialog.h"

// A yes/no question: Confirmed is false from construction; Confirm() sets it,
// Dismiss() (the cancel and close buttons) clears it, and both close the
// dialog. Escape closes it with the answer unchanged. The caller reads
// Confirmed once exec() has returned.
class MessageQuestion : public MessageDialog {
    Q_OBJECT
public:
    ~MessageQuestion() override;

    bool Confirmed = false;

protected:
    explicit MessageQuestion(QWidget* parent);

    void Confirm();
    void Dismiss() override;
};
