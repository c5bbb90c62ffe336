#include "dialogs/LeftButtonOnly.h"

#include "ui_LeftButtonOnly.h"

LeftButtonOnly::LeftButtonOnly(QWidget* parent)
    : MessageDialog(parent)
    , ui(new Ui::LeftButtonOnly)
{
    ui->setupUi(this);
    SetUpFrame(LabelFrame(ui, ui->ButtonOnly, QStringLiteral("ButtonOnly")));
}

LeftButtonOnly::~LeftButtonOnly()
{
    delete ui;
}
