#include "FireKey.h"

#include "StyleSheet.h"
#include "ui_FireKey.h"

FireKey::FireKey(QWidget* parent)
    : MessageQuestion(parent)
    , ui(new Ui::FireKey)
{
    ui->setupUi(this);
    for (QLabel* label : {ui->label_2, ui->label_3})
        label->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
    for (QSpinBox* box : {ui->Count, ui->Time})
        box->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QSpinBox"), QStringLiteral("LinEditColor")));
    // The background picture is stretched over this larger dialog.
    ui->FireKeyA->setStyleSheet(QStringLiteral("#FireKeyA{border:0px;background-position:center;"
                                               "background-repeat:no-repeat;border-image: url(")
                                + PictureFolder() + QStringLiteral("BackGround.png);}"));

    Frame frame = LabelFrame(ui, nullptr, QStringLiteral("FireKey"));
    frame.buttons = {ui->NewHong, ui->NewHong_2};
    frame.texts.append({QStringLiteral("label_2"), LanguageTexts::TextOf(ui->label_2)});
    frame.texts.append({QStringLiteral("label_3"), LanguageTexts::TextOf(ui->label_3)});
    frame.texts.append({QStringLiteral("NewHong"), LanguageTexts::TextOf(ui->NewHong)});
    frame.texts.append({QStringLiteral("NewHong_2"), LanguageTexts::TextOf(ui->NewHong_2)});
    SetUpFrame(frame);
}

FireKey::~FireKey()
{
    delete ui;
}

void FireKey::SetCount(int count)
{
    ui->Count->setValue(count);
}

void FireKey::SetInterval(int interval)
{
    ui->Time->setValue(interval);
}

void FireKey::on_NewHong_clicked()
{
    Interval = ui->Time->value();
    Count = ui->Count->value();
    Confirm();
}

void FireKey::on_NewHong_2_clicked()
{
    Dismiss();
}
