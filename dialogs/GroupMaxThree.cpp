#include "dialogs/GroupMaxThree.h"

#include "ui_GroupMaxThree.h"

GroupMaxThree::GroupMaxThree(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::GroupMaxThree)
{
    ui->setupUi(this);
    SetUpFrame(NewHongFrame(ui, ui->MaxThree, QStringLiteral("MaxThree")));
}

GroupMaxThree::~GroupMaxThree()
{
    delete ui;
}
