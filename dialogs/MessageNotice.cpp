#include "dialogs/MessageNotice.h"

MessageNotice::MessageNotice(QWidget* parent)
    : MessageDialog(parent)
{
}

MessageNotice::~MessageNotice() = default;

void MessageNotice::on_NewHong_clicked()
{
    close();
}
