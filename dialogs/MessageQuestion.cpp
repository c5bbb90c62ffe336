#include "dialogs/MessageQuestion.h"

MessageQuestion::MessageQuestion(QWidget* parent)
    : MessageDialog(parent)
{
}

MessageQuestion::~MessageQuestion() = default;

void MessageQuestion::Confirm()
{
    Confirmed = true;
    close();
}

void MessageQuestion::Dismiss()
{
    Confirmed = false;
    close();
}
