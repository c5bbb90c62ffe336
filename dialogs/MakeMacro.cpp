#include "dialogs/MakeMacro.h"

#include "ui_MakeMacro.h"

MakeMacro::MakeMacro(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::MakeMacro)
{
    ui->setupUi(this);
    SetUpFrame(NewHongFrame(ui, ui->MakeMacroA, QStringLiteral("MakeMacro")));
}

MakeMacro::~MakeMacro()
{
    delete ui;
}
