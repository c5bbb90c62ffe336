#include "dialogs/MouseOffLine.h"

#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "ui_MouseOffLine.h"

MouseOffLine::MouseOffLine(QWidget* parent)
    : MessageNotice(parent)
    , ui(new Ui::MouseOffLine)
{
    ui->setupUi(this);
    connect(PostMsg::Instance(), SIGNAL(SigCloseOffOnline()), this, SLOT(SlotCloseOffOnline()));
    connect(PostMsg::Instance(), SIGNAL(SigForm()), this, SLOT(SlotForm()));
    Frame frame = NewHongFrame(ui, ui->MouseOffLineA, QStringLiteral("MouseOffLine"));
    frame.confirmPicture = QStringLiteral("ConFirm.png");
    frame.confirmPressedPicture = QStringLiteral("ConFirmClick.png");
    QLabel* label = ui->label;
    frame.texts = {
        {QStringLiteral("label"),
         LanguageTexts::WhenValue(OfflineReason, PostMsg::MouseOffLine, LanguageTexts::TextOf(label))},
        {QStringLiteral("Timeout"),
         LanguageTexts::WhenValue(OfflineReason, PostMsg::MouseTimedOut, LanguageTexts::TextOf(label))},
        {QStringLiteral("NewHong"), LanguageTexts::TextOf(ui->NewHong)},
    };
    SetUpFrame(frame);
}

MouseOffLine::~MouseOffLine()
{
    delete ui;
}

void MouseOffLine::SlotForm()
{
    if (OfflineReason != 1 || !isVisible())
        return;
    closedByConfiguration_ = true;
    on_CloseButton_clicked();
}

void MouseOffLine::SlotCloseOffOnline()
{
    // A device that did not answer in time was online all along.
    if (OfflineReason != 1)
        on_CloseButton_clicked();
}
