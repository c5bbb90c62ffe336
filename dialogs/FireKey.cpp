#include "dialogs/FireKey.h"

#include "core/StyleSheet.h"
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

    Frame frame = NewHongCancelFrame(ui, nullptr, QStringLiteral("FireKey"));
    frame.texts.append({QStringLiteral("label_2"), LanguageTexts::TextOf(ui->label_2)});
    frame.texts.append({QStringLiteral("label_3"), LanguageTexts::TextOf(ui->label_3)});
    SetUpFrame(frame);

    // The background picture is stretched over this larger dialog. Set after
    // the frame, which gives the spin boxes their palette first.
    ui->FireKeyA->setStyleSheet(
        StyleSheet::StretchedPictureRule(QStringLiteral("#FireKeyA"), PictureFolder(),
                                         QStringLiteral("BackGround.png")));
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
