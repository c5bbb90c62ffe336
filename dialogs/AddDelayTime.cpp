#include "dialogs/AddDelayTime.h"

#include "core/StyleSheet.h"
#include "ui_AddDelayTime.h"

AddDelayTime::AddDelayTime(QWidget* parent)
    : MessageQuestion(parent)
    , ui(new Ui::AddDelayTime)
{
    ui->setupUi(this);
    ui->spinBox->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QSpinBox"), QStringLiteral("LinEditColor")));

    SetUpFrame(NewHongCancelFrame(ui, ui->AddDelayTimeA, QStringLiteral("AddDelayTime")));
    // After the window flags: setting them drops the focus.
    ui->spinBox->setFocus(Qt::ActiveWindowFocusReason);
}

AddDelayTime::~AddDelayTime()
{
    delete ui;
}

void AddDelayTime::on_NewHong_clicked()
{
    Delay = ui->spinBox->value();
    Confirm();
}

void AddDelayTime::on_NewHong_2_clicked()
{
    Dismiss();
}
