#include "dialogs/InportFail.h"

#include "core/SharedState.h"
#include "ui_InportFail.h"

InportFail::InportFail(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::InportFail)
{
    ui->setupUi(this);
    Frame frame = NewHongFrame(ui, ui->InportFailA, QStringLiteral("InportFail"));
    QLabel* label = ui->label;
    frame.texts = {
        {QStringLiteral("label"),
         LanguageTexts::WhenValue(ImportFileResult, 1, LanguageTexts::TextOf(label))},
        {QStringLiteral("label_1"),
         LanguageTexts::WhenValue(ImportFileResult, 2, LanguageTexts::TextOf(label))},
        {QStringLiteral("NewHong"), LanguageTexts::TextOf(ui->NewHong)},
        {QStringLiteral("ExportFail"), LanguageTexts::Keep(&exportFailText_)},
    };
    SetUpFrame(frame);
}

InportFail::~InportFail()
{
    delete ui;
}

void InportFail::ShowExportFailText()
{
    ui->label->setText(exportFailText_);
}
