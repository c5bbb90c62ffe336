#include "dialogs/LessThree.h"

#include "ui_LessThree.h"

LessThree::LessThree(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::LessThree)
{
    ui->setupUi(this);
    SetUpFrame(NewHongFrame(ui, ui->LessThreeframe, QStringLiteral("LessThree")));
}

LessThree::~LessThree()
{
    delete ui;
}
