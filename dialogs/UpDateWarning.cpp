#include "dialogs/UpDateWarning.h"

#include "ui_UpDateWarning.h"

UpDateWarning::UpDateWarning(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::UpDateWarning)
{
    ui->setupUi(this);
    Frame frame = NewHongFrame(ui, ui->WarningFrame, QStringLiteral("NewVer"));
    frame.texts = {{QStringLiteral("NewHong"), LanguageTexts::TextOf(ui->NewHong)}};
    frame.returnButton = ui->NewHong;
    SetUpFrame(frame);
}

UpDateWarning::~UpDateWarning()
{
    delete ui;
}

void UpDateWarning::SetText(const QString& text)
{
    ui->label->setText(text);
}
