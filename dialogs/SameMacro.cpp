#include "dialogs/SameMacro.h"

#include "ui_SameMacro.h"

SameMacro::SameMacro(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::SameMacro)
{
    ui->setupUi(this);
    Frame frame = NewHongFrame(ui, ui->SameMacroA, QStringLiteral("SameMacro"));
    frame.texts.append({QStringLiteral("Debunce"), LanguageTexts::Keep(&debounceText_)});
    SetUpFrame(frame);
}

SameMacro::~SameMacro()
{
    delete ui;
}

void SameMacro::SetText(const QString&)
{
    ui->label->setText(debounceText_);
}
