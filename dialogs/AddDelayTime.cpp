#include "AddDelayTime.h"

#include "StyleSheet.h"
#include "ui_AddDelayTime.h"

AddDelayTime::AddDelayTime(QWidget* parent)
    : MessageQuestion(parent)
    , ui(new Ui::AddDelayTime)
{
    ui->setupUi(this);
    ui->spinBox->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QSpinBox"), QStringLiteral("LinEditColor")));

    Frame frame = LabelFrame(ui, ui->AddDelayTimeA, QStringLiteral("AddDelayTime"));
    frame.buttons = {ui->NewHong, ui->NewHong_2};
    frame.texts.append({QStringLiteral("NewHong"), LanguageTexts::TextOf(ui->NewHong)});
    frame.texts.append({QStringLiteral("NewHong_2"), LanguageTexts::TextOf(ui->NewHong_2)});
    SetUpFrame(frame);
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
