#include "dialogs/ExeIsRun.h"

#include "ui_ExeIsRun.h"

ExeIsRun::ExeIsRun(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::ExeIsRun)
{
    ui->setupUi(this);
    Frame frame = NewHongFrame(ui, ui->DeleteConfirmA, QStringLiteral("EXEIsRun"));
    frame.texts.append({QStringLiteral("label_2"), LanguageTexts::Keep(&secondText_)});
    frame.texts.append({QStringLiteral("PleaseStop"), LanguageTexts::Keep(&pleaseStopText_)});
    const char* const failures[FailureCount] = {"SaveFail",   "RenameFail", "DeleteFail", "ExportFail",
                                                "ImportFail", "NameFail",   "NewFail",    "ImportSaveFail"};
    for (int failure = 0; failure < FailureCount; ++failure)
        frame.texts.append({QLatin1String(failures[failure]), LanguageTexts::Keep(&failureTexts_[failure])});
    frame.returnButton = ui->NewHong;
    SetUpFrame(frame);
}

ExeIsRun::~ExeIsRun()
{
    delete ui;
}

void ExeIsRun::ShowSecondText()
{
    ui->label->setText(secondText_);
}

void ExeIsRun::ShowPleaseStopText()
{
    ui->label->setText(pleaseStopText_);
}

void ExeIsRun::ShowFailure(Failure failure)
{
    ui->label->setText(failureTexts_[int(failure)]);
}
