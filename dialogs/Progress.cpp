#include "dialogs/Progress.h"

#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "ui_Progress.h"

Progress::Progress(QWidget* parent)
    : MessageDialog(parent)
    , ui(new Ui::Progress)
{
    ui->setupUi(this);
    connect(PostMsg::Instance(), SIGNAL(SigCloseProgress()), this, SLOT(SlotCloseProgress()));
    ui->progressBar_2->setStyleSheet(QStringLiteral(
        "QProgressBar{border: 2px solid grey;border-radius: 5px;background-color: TRANSPARENT;"
        "color: rgb(255, 255, 255);}"
        "QProgressBar::chunk{background-color: rgb(80, 240, 0);width: 20px;}"
        "QProgressBar{border: 2px solid grey;border-radius: 5px;text-align: center;}"));

    Frame frame;
    frame.frame = ui->AddDelayTimeA;
    frame.label = ui->label;
    frame.buttons = {ui->NewHong};
    frame.closeButton = ui->CloseButton;
    frame.element = QStringLiteral("Progress");
    frame.texts = {
        {QStringLiteral("Confirm"), LanguageTexts::TextOf(ui->NewHong)},
        {QStringLiteral("UpdateNotMove"), LanguageTexts::Keep(&progressText_)},
        {QStringLiteral("UpDateFail"), LanguageTexts::Keep(&failText_)},
        {QStringLiteral("UpDateSuccess"), LanguageTexts::Keep(&successText_)},
    };
    SetUpFrame(frame);

    ui->NewHong->hide();
    ui->label->setText(ProgressLine(1));
}

Progress::~Progress()
{
    delete ui;
}

QString Progress::ProgressLine(int value) const
{
    return progressText_ + QStringLiteral(": ") + QString::number(value) + QLatin1Char('%');
}

void Progress::SlotProgress(int value, int kind)
{
    ui->progressBar_2->setValue(value);
    switch (kind) {
    case 0:
        ui->label->setText(ProgressLine(value));
        break;
    case 1:
    case 2:
        SetReturnButton(ui->NewHong);
        outcome_ = kind == 1 ? Outcome::Failure : Outcome::Success;
        ui->label->setText(kind == 1 ? failText_ : successText_);
        if (kind == 2)
            ui->progressBar_2->setValue(100);
        ui->NewHong->show();
        break;
    case 3:
        ui->NewHong->hide();
        outcome_ = Outcome::None;
        break;
    case 4:
        ui->NewHong->hide();
        outcome_ = Outcome::None;
        ui->label->setText(ProgressLine(0));
        ui->progressBar_2->setValue(0);
        break;
    default:
        break;
    }
}

void Progress::Reset()
{
    outcome_ = Outcome::None;
    ui->label->setText(ProgressLine(0));
    ui->progressBar_2->setValue(0);
}

void Progress::SlotCloseProgress()
{
    if (FirmwareUpdateRunning)
        return;
    close();
    Reset();
}

void Progress::Finish()
{
    if (outcome_ == Outcome::Failure) {
        PostMsg::Instance()->PostChangeMainDialog(PostMsg::ChooserPage);
        close();
        return;
    }
    close();
    Reset();
    PostMsg::Instance()->PostContinue(0);
}

void Progress::Dismiss()
{
    if (FirmwareUpdateRunning)
        return;
    Finish();
}

void Progress::on_NewHong_clicked()
{
    Finish();
}
