#include "dialogs/ContainReset.h"

#include "ui_ContainReset.h"

ContainReset::ContainReset(QWidget* parent)
    : MessageQuestion(parent)
    , ui(new Ui::ContainReset)
{
    ui->setupUi(this);
    Frame frame = OkCancelFrame(ui, ui->ContainResetA, QStringLiteral("ContainReset"));
    frame.returnButton = ui->OK;
    SetUpFrame(frame);
}

ContainReset::~ContainReset()
{
    delete ui;
}

void ContainReset::on_OK_clicked()
{
    Confirm();
}

void ContainReset::on_Cancel_clicked()
{
    Dismiss();
}

void ContainReset::SetText(const QString& text)
{
    ui->label->setText(text);
}
