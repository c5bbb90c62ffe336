#include "dialogs/QuestiondialogB.h"

#include "ui_QuestiondialogB.h"

QuestiondialogB::QuestiondialogB(QWidget* parent)
    : MessageDialog(parent)
    , ui(new Ui::QuestiondialogB)
{
    ui->setupUi(this);
    SetUpFrame(LabelFrame(ui, ui->QuestionB, QStringLiteral("QuestionB")));
}

QuestiondialogB::~QuestiondialogB()
{
    delete ui;
}
