#include "dialogs/KeyNumberLimit.h"

#include "ui_KeyNumberLimit.h"

KeyNumberLimit::KeyNumberLimit(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::KeyNumberLimit)
{
    ui->setupUi(this);
    SetUpFrame(NewHongFrame(ui, ui->LimitA, QStringLiteral("Limit")));
}

KeyNumberLimit::~KeyNumberLimit()
{
    delete ui;
}
