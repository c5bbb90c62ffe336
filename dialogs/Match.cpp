#include "dialogs/Match.h"

#include "core/DebugLog.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "dialogs/MessageDialog.h"
#include "ui_Match.h"

#include <QTimer>

std::atomic<int> Match::PairState{Match::Idle};
std::atomic<bool> Match::PairStarted{false};
std::atomic<bool> Match::RestoreDeviceChosen{false};
int Match::CaptionStep = 0;

namespace {
constexpr int UsbCheckMs = 100;
constexpr int PairCheckMs = 1000;
constexpr int CaptionMs = 500;
// Pairing reports: data byte 0.
constexpr int StatusFailure = 2;
constexpr int StatusSuccess = 3;
} // namespace

Match::Match(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::Match)
{
    ui->setupUi(this);
    LanguageTexts::Follow(this);
    setPalette(StyleSheet::DarkPalette());

    pictureFolder_ = StyleSheet::PictureFolder(QStringLiteral("Setting"));
    setWindowFlags(MessageDialog::FamilyFlags());
    setFixedSize(size());
    setAttribute(Qt::WA_TranslucentBackground);

    const QString labelColour = StyleSheet::ColourText(QStringLiteral("LabelColor"));
    ui->textEdit->setStyleSheet(QStringLiteral("QTextEdit{background: transparent;border:0px;color: rgb(")
                                + labelColour + QStringLiteral(");}"));
    ui->textEdit->viewport()->setAutoFillBackground(false);
    ui->label->setStyleSheet(QStringLiteral("QLabel{color: rgb(") + labelColour + QStringLiteral(");}"));
    ui->label->hide();
    buttonColour_ = StyleSheet::ColourText(QStringLiteral("ButtonColor"));
    StyleButton(QStringLiteral("Pair.png"));
    ui->toolButton_2->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("QToolButton"), pictureFolder_,
                                                            QStringLiteral("Picture.png"),
                                                            QStringLiteral("255, 255, 255")));
    ui->CloseButton->setStyleSheet(StyleSheet::IconButtonRule(pictureFolder_, QStringLiteral("CloseSecondPage.png"),
                                                              QStringLiteral("CloseSecondPageHover.png"),
                                                              QStringLiteral("CloseSecondPageClick.png")));
    ui->MatchA->setStyleSheet(
        StyleSheet::BackgroundRule(QStringLiteral("MatchA"), pictureFolder_, QStringLiteral("BackSecondPage.png")));
    ui->toolButton_3->setStyleSheet(QStringLiteral("QToolButton{border:0px;background: transparent;}"));

    devicePath_ = CurrentDevice.get().path;

    pairTimer_ = new QTimer(this);
    usbTimer_ = new QTimer(this);
    captionTimer_ = new QTimer(this);
    connect(pairTimer_, &QTimer::timeout, this, &Match::onPairTimeupDestroy);
    connect(usbTimer_, &QTimer::timeout, this, &Match::onUSBTimeupDestroy);
    connect(captionTimer_, &QTimer::timeout, this, &Match::onTextTimeupDestroy);
    pairTimer_->setInterval(Timing::Ms(PairCheckMs));
    usbTimer_->setInterval(Timing::Ms(UsbCheckMs));
    captionTimer_->setInterval(Timing::Ms(CaptionMs));

    // The report callback runs on the library's thread: its signals arrive
    // queued, the timers stopped before the result is shown.
    PostMsg* bus = PostMsg::Instance();
    connect(bus, SIGNAL(SigTimerStop()), this, SLOT(SlotStopTimer()));
    connect(bus, SIGNAL(SigButtonEnable(int)), this, SLOT(SlotButtonenable(int)));
    connect(ui->CloseButton, SIGNAL(clicked()), this, SLOT(WindowClosedSet()));

    language_ = std::make_unique<LanguageTexts>(QStringLiteral("Match"), QVector<LanguageTexts::Child>{
        {QStringLiteral("label"), LanguageTexts::TextOf(ui->label)},
        {QStringLiteral("textEdit"), [this](const QString& text) { ui->textEdit->setPlainText(text); }},
        {QStringLiteral("MatchButton"), LanguageTexts::Keep(&buttonText_)},
        {QStringLiteral("Matching"), LanguageTexts::Keep(&matchingText_)},
        {QStringLiteral("MatchFail"), LanguageTexts::Keep(&failText_)},
        {QStringLiteral("MatchSuccess"), LanguageTexts::Keep(&successText_)},
    });
    // The button keeps showing what it showed, in the new language.
    language_->SetFinished([this] { ShowCaption(caption_); });
    SlotChangeLanguage(LanguageTexts::StoredIndex());
}

Match::~Match()
{
    EndAttempt();
    delete ui;
}

// ---- Target ---------------------------------------------------------------------

void Match::InitPairing()
{
    spaceKey_ = true;
    ui->MatchButton->setShortcut(QKeySequence(Qt::Key_Space));

    CaptionStep = 0;
    PairState = Idle;
    ui->MatchButton->setEnabled(true);
    StyleButton(QStringLiteral("Pair.png"));
    ShowCaption(Caption::Start);

    DeviceAllInfo target;
    hasTarget_ = true;
    fromFrame_ = false;
    if (DeviceChosen == 1) {
        target = CurrentDevice.get();
        target.path = devicePath_;
        fromFrame_ = true;
    } else if (UsePairingTarget) {
        target = PairingTarget;
    } else if (!ShownDevices.isEmpty()) {
        target = ShownDevices.first();
    } else {
        // Nothing listed: nothing to pair; the button stays disabled.
        hasTarget_ = false;
    }
    targetPath_ = target.path;
    targetVid_ = target.vid;
    targetPid_ = target.pid;
    targetWired_ = target.wired;
    cid_ = quint8(ProductDescription::Instance().Cid());

    usbTimer_->start();
}

// ---- Timers ------------------------------------------------------------------------

void Match::onUSBTimeupDestroy()
{
    if (!PairStarted) {
        allowed_ = hasTarget_ && !targetWired_;
        ui->label->setVisible(targetWired_);
        ui->textEdit->setVisible(!targetWired_);
    }
    ui->MatchButton->setEnabled(allowed_);
    if (!allowed_)
        StyleButton(QStringLiteral("PairDisabled.png"), true);
}

void Match::onPairTimeupDestroy()
{
    UsbServer_ReadDonglePairStatus();

    int count = 5;
    const char* const* paths = UsbFinderC_FindHidDevicesByDefaultDeviceId(
        targetVid_.toLatin1().constData(), targetPid_.toLatin1().constData(), &count);
    bool present = false;
    if (paths) {
        const QByteArray target = targetPath_.toLatin1();
        for (int i = 0; i < qMin(count, 5) && !present; ++i)
            present = paths[i] && target == paths[i];
    }
    if (count > 0 && present)
        return;

    // The receiver is gone: the attempt has failed, unless a report ended it
    // meanwhile.
    bool running = true;
    if (!PairStarted.compare_exchange_strong(running, false))
        return;
    pairTimer_->stop();
    captionTimer_->stop();
    PairState = Failed;
    StyleButton(QStringLiteral("PairFail.png"));
    ShowCaption(Caption::Failure);
    GiveBackDeviceChosen();
}

void Match::onTextTimeupDestroy()
{
    switch (CaptionStep) {
    case 0:
        SetButtonText(matchingText_);
        CaptionStep = 1;
        break;
    case 1:
    case 2:
    case 3:
        SetButtonText(matchingText_ + QString(CaptionStep, QLatin1Char('.')));
        ++CaptionStep;
        break;
    case 4:
        SetButtonText(matchingText_);
        CaptionStep = 1;
        break;
    default:
        ++CaptionStep;
        break;
    }
}

void Match::SlotStopTimer()
{
    pairTimer_->stop();
    captionTimer_->stop();
}

// ---- Pairing ------------------------------------------------------------------------

void Match::on_MatchButton_clicked()
{
    if (PairState == Paired || !allowed_)
        return;
    PairState = Pairing;
    captionTimer_->start();
    StyleButton(QStringLiteral("Pair.png"));
    ShowCaption(Caption::Matching);
    if (DeviceChosen == 1) {
        DeviceChosen = 0;
        RestoreDeviceChosen = true;
    }
    PairStarted = false;
    StartPairing();
}

void Match::StartPairing()
{
    qCDebug(DebugLog) << "Enter";
    PairStarted = true;
    pairTimer_->start();
    const QByteArray path = targetPath_.toUtf8();
    UsbServerC_Start(path.constData(), path.constData(), &Match::PairCallback);
    UsbServer_EnterDonglePairOnlyCid(cid_);
}

void Match::PairCallback(const unsigned char* header, int headerLength, const unsigned char* data, int dataLength)
{
    qCDebug(DebugLog) << "in2";
    const int kind = header && headerLength >= 2 ? header[1] : 0;
    qCDebug(DebugLog) << kind;
    if (kind != DIVAZA_REPORT_PAIRING || !data || dataLength < 1)
        return;
    PostMsg* bus = PostMsg::Instance();
    switch (data[0]) {
    case StatusFailure:
        bus->PostTimerStop();
        PairStarted = false;
        qCDebug(DebugLog) << "fail";
        PairState = Failed;
        bus->PostButtonEnable(0);
        break;
    case StatusSuccess:
        bus->PostTimerStop();
        PairStarted = false;
        qCDebug(DebugLog) << "success";
        PairState = Paired;
        bus->PostButtonEnable(1);
        break;
    default:
        return;
    }
    GiveBackDeviceChosen();
}

void Match::SlotButtonenable(int ok)
{
    if (ok == 1) {
        ShowCaption(Caption::Success);
        StyleButton(QStringLiteral("PairSuccess.png"));
        ui->MatchButton->setEnabled(false);
    } else if (ok == 0) {
        ShowCaption(Caption::Failure);
        StyleButton(QStringLiteral("PairFail.png"));
    }
}

void Match::GiveBackDeviceChosen()
{
    if (RestoreDeviceChosen.exchange(false))
        DeviceChosen = 1;
}

void Match::EndAttempt()
{
    usbTimer_->stop();
    pairTimer_->stop();
    captionTimer_->stop();
    bool running = true;
    if (PairStarted.compare_exchange_strong(running, false))
        GiveBackDeviceChosen();
}

// ---- Closing -------------------------------------------------------------------------

void Match::WindowClosedSet()
{
    if (PairStarted)
        return;
    // Device changes go back to the window the dialog was opened from.
    if (fromFrame_)
        StartUsbChanged(&Worker::OnUsbChanged, 600);
    else if (auto callback = ChooserDeviceChangeCallback.load())
        StartUsbChanged(callback, 600);
    pairTimer_->stop();
    usbTimer_->stop();
    captionTimer_->stop();
    close();
}

void Match::done(int result)
{
    EndAttempt();
    QDialog::done(result);
}

void Match::HandBackToWorker()
{
    StartUsbChanged(&Worker::OnUsbChanged, 600);
    const QByteArray path = CurrentDevicePath.get();
    UsbServerC_Start(path.constData(), path.constData(), &Worker::OnUsbData);
}

// ---- Texts and looks -------------------------------------------------------------------

void Match::SlotChangeLanguage(int index)
{
    language_->Load(index);
}

void Match::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        if (spaceKey_)
            ui->MatchButton->setShortcut(QKeySequence(Qt::Key_Space));
    }
    QDialog::changeEvent(event);
}

void Match::ShowCaption(Caption caption)
{
    caption_ = caption;
    switch (caption) {
    case Caption::Start: SetButtonText(buttonText_); break;
    case Caption::Matching: SetButtonText(matchingText_); break;
    case Caption::Failure: SetButtonText(failText_); break;
    case Caption::Success: SetButtonText(successText_); break;
    }
}

void Match::SetButtonText(const QString& text)
{
    ui->MatchButton->setText(text);
    // A new text replaces the button's shortcut.
    if (spaceKey_)
        ui->MatchButton->setShortcut(QKeySequence(Qt::Key_Space));
}

void Match::StyleButton(const QString& picture, bool disabled)
{
    // A button that cannot be used is grey: the disabled text colour on the
    // grey picture.
    const QString style = StyleSheet::PictureRule(QStringLiteral("QPushButton"), pictureFolder_, picture,
                                                  disabled ? QStringLiteral("92, 98, 107") : buttonColour_);
    if (style == buttonStyle_)
        return;
    buttonStyle_ = style;
    ui->MatchButton->setStyleSheet(style);
}
