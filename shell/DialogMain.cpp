#include "shell/DialogMain.h"

#include "core/DebugLog.h"
#include "core/FirmwareImages.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "dialogs/ContainReset.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/Match.h"
#include "dialogs/MouseOffLine.h"
#include "dialogs/StandardDialogTexts.h"
#include "dialogs/UpDateRepair.h"
#include "dialogs/UpDateWarning.h"
#include "platform/CrashHandler.h"
#include "platform/ProductName.h"
#include "platform/Registry.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "ui_DialogMain.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QToolTip>

namespace {
// The stack's pages, in the order of the bus's page codes.
constexpr int ChooserPage = PostMsg::ChooserPage;
constexpr int FramePage = PostMsg::FramePage;
constexpr int ChangePeriod = 600;
constexpr int ExitSleepMs = 100;
constexpr int CloseWaitMs = 200;
// After the device list's first paint: a pick at once still builds the frame
// itself; a hand needs longer to get to the list than the frame to build.
constexpr int FramePreparationDelayMs = 100;
bool PrepareFrameWhenIdle = true;
const QLatin1String LogoPicture("Logo.png");
// Frameless window with the system menu and minimise hints.
constexpr Qt::WindowFlags MainFlags = Qt::FramelessWindowHint | Qt::WindowSystemMenuHint
    | Qt::WindowMinimizeButtonHint;

std::function<bool()>& TrayTest()
{
    static std::function<bool()> test;
    return test;
}
} // namespace

DialogMain::DialogMain(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogMain)
{
    ui->setupUi(this);
    setFixedSize(1020, 700);
    setMouseTracking(false);
    setWindowTitle(ProductName);

    language_ = std::make_unique<LanguageTexts>(QStringLiteral("DialogMain"), QVector<LanguageTexts::Child>{
        {QStringLiteral("MainForm"), LanguageTexts::Keep(&mainText_)},
        {QStringLiteral("Exit"), LanguageTexts::Keep(&exitText_)},
    });
    LanguageTexts::Follow(this);

    // A language index left in the registry by an installer moves to
    // Macro.ini once, before any page reads it.
    Registry* const registry = Registry::Instance();
    const int movedLanguage = registry->GetInt(Registry::LanguageIndexKey());
    if (movedLanguage != 0)
        MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"),
                                       QString::number(movedLanguage));
    registry->RemoveKey(Registry::LanguageIndexKey());

    pictureFolder_ = StyleSheet::PictureFolder(QStringLiteral("Dialog"));
    // Crash reports from the start on; the frame installs the handler again
    // when it is built.
    CrashHandler::Install();
    chooser_ = new DialogChange(this);
    connect(chooser_, &DialogChange::FrameNeeded, this, &DialogMain::Frame);
    ui->stackedWidgetMain->addWidget(chooser_);
    ui->stackedWidgetMain->setCurrentWidget(chooser_);

    setWindowFlags(MainFlags);
    setFixedSize(width(), height());
    DialogPlacement::CentreOnScreen(this);

    PostMsg::Connect(SIGNAL(SigChangeMainDialog(int)), this, SLOT(SlotChangeMainDialog(int)));
    PostMsg::Connect(SIGNAL(SigChangeSize(int)), this, SLOT(SlotChangeSize(int)));
    PostMsg::Connect(SIGNAL(SigMouseOffLineo(int)), this, SLOT(SlotMouseOffLine(int)));
    PostMsg::Connect(SIGNAL(SigUpPageLight()), this, SLOT(SlotUpPageLight()));

    // Tool tips (the tray icon's among them) in the windows' dark theme.
    QToolTip::setPalette(StyleSheet::DarkPalette());

    // Through the pixmap cache, where the picture may wait decoded.
    const QIcon logo(QPixmap(pictureFolder_ + LogoPicture));
    trayIcon_ = new QSystemTrayIcon(logo);
    trayIcon_->setToolTip(ProductName);
    setWindowIcon(logo);

    SlotChangeLanguage(LanguageTexts::StoredIndex());
    // The key reaches the control with the focus first; the frame's pairing
    // key is taken before it.
    qApp->installEventFilter(this);
}

DialogMain::~DialogMain()
{
    qApp->removeEventFilter(this);
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    delete trayIcon_;
    delete chooser_;
    delete frame_;
    delete ui;
}

QStringList DialogMain::PicturesAtStart()
{
    return DialogChange::PicturesAtStart() << StyleSheet::PictureFolder(QStringLiteral("Dialog")) + LogoPicture;
}

Dialog* DialogMain::Frame()
{
    if (!frame_) {
        // Page 1 of the stack, behind the device list.
        frame_ = new Dialog(this);
        ui->stackedWidgetMain->insertWidget(FramePage, frame_);
    }
    return frame_;
}

void DialogMain::SetPrepareFrameWhenIdle(bool prepare)
{
    PrepareFrameWhenIdle = prepare;
}

void DialogMain::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The first paint that shows the device list arms the preparation.
    if (framePreparationArmed_ || !PrepareFrameWhenIdle || !chooser_->DevicesListed())
        return;
    framePreparationArmed_ = true;
    QTimer::singleShot(FramePreparationDelayMs, this, &DialogMain::PrepareFrame);
}

void DialogMain::PrepareFrame()
{
    if (!PrepareFrameWhenIdle || closing_)
        return;
    // Not while a dialog runs (a notice over the device list).
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(FramePreparationDelayMs, this, &DialogMain::PrepareFrame);
        return;
    }
    Frame()->PreparePages();
}

void DialogMain::SetTrayTest(std::function<bool()> test)
{
    TrayTest() = std::move(test);
}

bool DialogMain::TrayAvailable()
{
    if (TrayTest())
        return TrayTest()();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void DialogMain::SlotChangeLanguage(int index)
{
    language_->Load(index);
    // Qt's own dialogs follow the program's language.
    StandardDialogTexts::Load(index);
}

void DialogMain::SlotUpPageLight()
{
}

void DialogMain::SlotChangeMainDialog(int page)
{
    UiReady = true;
    if (page == ChooserPage) {
        PostMsg* const bus = PostMsg::Instance();
        bus->PostSecondPageChange();
        DeviceChosen = 0;
        bus->PostMainPageChange();
        UsbServer_Exit();
        Timing::WaitMs(ExitSleepMs);
        ui->stackedWidgetMain->setCurrentWidget(chooser_);
        StartUsbChanged(&DialogChange::UsbChangedCallback, ChangePeriod);
    } else if (page == FramePage) {
        ui->stackedWidgetMain->setCurrentWidget(Frame());
        StartUsbChanged(&Worker::OnUsbChanged, ChangePeriod);
    }
}

void DialogMain::SlotChangeSize(int mode)
{
    switch (mode) {
    case PostMsg::FrameToTray:
        UsbServer_SetPCDriverStatus(0);
        HideToTray(true);
        break;
    case PostMsg::FrameClose:
        UsbServer_SetPCDriverStatus(0);
        CloseProgram();
        break;
    case PostMsg::ChooserToTray:
        HideToTray(false);
        break;
    case PostMsg::ChooserClose:
        CloseProgram();
        break;
    default:
        break;
    }
}

void DialogMain::HideToTray(bool declaredAbsent)
{
    if (!TrayAvailable()) {
        minimisedAbsent_ = declaredAbsent;
        showMinimized();
        return;
    }
    hide();
    // The menu is made with the texts of the current language.
    delete trayMenu_;
    delete actionMain_;
    delete actionExit_;
    actionMain_ = new QAction(mainText_, this);
    connect(actionMain_, &QAction::triggered, this, &DialogMain::slotActionMain);
    actionExit_ = new QAction(exitText_, this);
    connect(actionExit_, &QAction::triggered, this, &DialogMain::slotActionExitApp);
    trayMenu_ = new QMenu(this);
    trayMenu_->setStyleSheet(StyleSheet::MenuRule());
    trayMenu_->addAction(actionMain_);
    trayMenu_->addSeparator();
    trayMenu_->addAction(actionExit_);
    trayIcon_->setContextMenu(trayMenu_);
    if (!trayConnected_) {
        connect(trayIcon_, &QSystemTrayIcon::activated, this, &DialogMain::on_activatedSysTrayIcon);
        trayConnected_ = true;
    }
    trayIcon_->setVisible(true);
}

void DialogMain::on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason)
{
    // The activation arrives from inside the tray icon's own mouse handling,
    // and hiding the icon destroys the window that handles it. So nothing
    // here waits in a nested event loop, and the window comes back (and the
    // icon goes) once that handling has returned.
    switch (reason) {
    case QSystemTrayIcon::Context:
        // The tray usually opens the context menu itself before it tells of
        // the request; it opens once.
        if (trayMenu_ && !trayMenu_->isVisible())
            trayMenu_->popup(QCursor::pos());
        break;
    case QSystemTrayIcon::Trigger:
        QMetaObject::invokeMethod(this, [this] { ShowAgain(true); }, Qt::QueuedConnection);
        break;
    case QSystemTrayIcon::DoubleClick:
        QMetaObject::invokeMethod(this, [this] { ShowAgain(false); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
}

void DialogMain::slotActionMain()
{
    ShowAgain(true);
}

void DialogMain::ShowAgain(bool declarePresent)
{
    if (!trayIcon_->isVisible())
        return;   // already back (a click and the menu item, or a double click)
    show();
    raise();
    activateWindow();
    if (declarePresent && ui->stackedWidgetMain->currentIndex() == FramePage)
        UsbServer_SetPCDriverStatus(1);
    trayIcon_->hide();
}

void DialogMain::slotActionExitApp()
{
    // Ends the program without telling the device that it is gone; the
    // device library's threads stop once the event loop has ended. A saved
    // macro still waiting for its pause goes to the mouse first.
    if (frame_)
        frame_->SendPendingWrites();
    StopUsbChanged();
    trayIcon_->hide();
    QCoreApplication::exit(0);
}

void DialogMain::CloseProgram()
{
    if (closing_)
        return;
    closing_ = true;
    qCDebug(DebugLog) << "close";
    StopUsbChanged();
    Timing::WaitMs(CloseWaitMs);
    UsbServer_Exit();
    trayIcon_->hide();
    close();
    emit Closed();
}

void DialogMain::RequestClose()
{
    if (closing_) {
        emit Closed();
        return;
    }
    if (ui->stackedWidgetMain->currentIndex() == FramePage)
        frame_->WindowClosed();
    else
        SlotChangeSize(PostMsg::ChooserClose);
}

void DialogMain::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        QDialog::closeEvent(event);
        return;
    }
    // Closed by the window system: leave in order, from the event loop.
    event->ignore();
    QMetaObject::invokeMethod(this, [this] { RequestClose(); }, Qt::QueuedConnection);
}

void DialogMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && minimisedAbsent_ && !isMinimized()) {
        minimisedAbsent_ = false;
        if (ui->stackedWidgetMain->currentIndex() == FramePage)
            UsbServer_SetPCDriverStatus(1);
    }
    QDialog::changeEvent(event);
}

void DialogMain::SlotMouseOffLine(int reason)
{
    OfflineReason = reason;
    // An offline device is read again once the online check finds it back,
    // which also closes the notice. A device that did not answer in time is
    // online: its notice stays until the user closes it (or a whole
    // configuration arrives), and only then is the device read again.
    const bool timeOut = reason == 1;
    if (!timeOut) {
        OfflinePending = true;
        ReReadRequested = true;
    }
    // One notice at a time.
    if (offlineNoticeOpen_)
        return;
    MouseOffLine notice;
    DialogPlacement::CentreOver(&notice, this, 0, -20);
    offlineNoticeOpen_ = true;
    notice.exec();
    offlineNoticeOpen_ = false;
    if (timeOut && !notice.ClosedByConfiguration())
        ReReadRequested = true;
}

void DialogMain::mousePressEvent(QMouseEvent* event)
{
    pressPosition_ = event->globalPos();
    windowPosition_ = pos();
    dragOffset_ = pressPosition_ - windowPosition_;
}

void DialogMain::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::LeftButton && !isMaximized() && !dragOffset_.isNull())
        move(event->globalPos() - dragOffset_);
}

void DialogMain::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event)
    dragOffset_ = QPoint();
}

void DialogMain::keyPressEvent(QKeyEvent* event)
{
    if (MacroRecording)
        return;
    switch (event->key()) {
    case Qt::Key_Space:
        SpaceKey();
        return;
    case Qt::Key_Escape:
    case Qt::Key_F12:
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        PostMsg::Instance()->PostEnterKey();
        return;
    default:
        // The generic handling, not the dialog's own Return and Escape.
        QWidget::keyPressEvent(event);
        return;
    }
}

bool DialogMain::eventFilter(QObject* watched, QEvent* event)
{
    if (FrameSpace(watched, event)) {
        SpaceKey();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool DialogMain::FrameSpace(QObject* receiver, QEvent* event) const
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Space)
        return false;
    auto* widget = qobject_cast<QWidget*>(receiver);
    // The window's own handler has Space already; a dialog over it keeps it.
    if (!widget || widget == this || widget->window() != this || MacroRecording
        || ui->stackedWidgetMain->currentIndex() != FramePage)
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->isReadOnly();
    if (qobject_cast<QAbstractSpinBox*>(widget))
        return false;
    if (auto* text = qobject_cast<QTextEdit*>(widget))
        return text->isReadOnly();
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
        return text->isReadOnly();
    return true;
}

void DialogMain::SpaceKey()
{
    if (ui->stackedWidgetMain->currentIndex() != ChooserPage) {
        // Match pairs the current device while one is chosen.
        PairAndHandBack(true);
        return;
    }
    if (ShownDevices.size() != 1)
        return;
    const DeviceAllInfo record = ShownDevices.first();
    if (record.wired)
        return;
    const FirmwareImages::RePairAnswers answers = FirmwareImages::AnswersFor(record);
    if (answers.recordedVersion.isEmpty() || answers.mouseNew == answers.receiverNew) {
        // The first listed device is the one paired.
        PairAndHandBack(false);
        return;
    }
    if (answers.mouseNew) {
        // The notice's text comes with the settings page's language texts.
        Frame();
        UpDateWarning notice;
        notice.SetText(WiredModeText);
        DialogPlacement::CentreOver(&notice, this, -20);
        notice.exec();
        return;
    }
    // Only the receiver's firmware differs: the receiver is offered its
    // update, which an update dialog of this key press runs.
    UpDateRepair repair;
    DialogPlacement::CentreOver(&repair, this);
    ContainReset question;
    question.SetText(MouseIsNewTipsText);
    DialogPlacement::CentreOver(&question, this, -20);
    question.exec();
    if (!question.Confirmed)
        return;
    repair.StartAutoUpgrade(0);
    repair.exec();
}

void DialogMain::PairAndHandBack(bool usePairingTarget)
{
    {
        Match match;
        UsePairingTarget = usePairingTarget;
        match.InitPairing();
        DialogPlacement::CentreOver(&match, this);
        match.exec();
    }
    if (ui->stackedWidgetMain->currentIndex() == FramePage) {
        // The pairing dialog's close button gave the device changes to the
        // device list: the frame's worker follows them again.
        Match::HandBackToWorker();
    } else {
        const QByteArray path = CurrentDevicePath.get();
        UsbServerC_Start(path.constData(), path.constData(), &Worker::OnUsbData);
    }
}
