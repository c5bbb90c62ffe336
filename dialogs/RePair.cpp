#include "dialogs/RePair.h"

#include "ui_RePair.h"

RePair::RePair(QWidget* parent)
    : MessageQuestion(parent)
    , ui(new Ui::RePair)
{
    ui->setupUi(this);
    SetUpFrame(OkCancelFrame(ui, ui->RePairA, QStringLiteral("RePair")));
}

RePair::~RePair()
{
    delete ui;
}

void RePair::on_OK_clicked()
{
    Confirm();
}

void RePair::on_Cancel_clicked()
{
    Dismiss();
}
