#include "dialogs/DeleteConfirm.h"

#include "ui_DeleteConfirm.h"

DeleteConfirm::DeleteConfirm(QWidget* parent)
    : MessageQuestion(parent)
    , ui(new Ui::DeleteConfirm)
{
    ui->setupUi(this);
    SetUpFrame(NewHongFrame(ui, ui->DeleteConfirmA, QStringLiteral("DeleteConfirm")));
}

DeleteConfirm::~DeleteConfirm()
{
    delete ui;
}

void DeleteConfirm::on_NewHong_clicked()
{
    Confirm();
}
