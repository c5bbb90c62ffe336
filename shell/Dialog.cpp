#include "shell/Dialog.h"

#include "core/DebugLog.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/UpDataParam.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/macro/Macro.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "platform/CrashHandler.h"
#include "ui_Dialog.h"
#include "widgets/ReadyToShow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QTimer>

namespace {
constexpr int LowBatteryLevel = 15;
constexpr int BackToListWaitMs = 100;
// How soon the preparation of the pages looks again when a dialog runs.
constexpr int PrepareRetryMs = 100;
// Frameless window with the system menu and minimise hints.
constexpr Qt::WindowFlags FrameFlags = Qt::FramelessWindowHint | Qt::WindowSystemMenuHint
    | Qt::WindowMinimizeButtonHint;
} // namespace

Dialog::Dialog(QWidget* parent, Pages pages)
    : QWidget(parent)
    , ui(new Ui::Dialog)
{
    ui->setupUi(this);
    // Each page's outer panel gets the theme's hair-line edge: drawn under the
    // page's style sheet, its frame would otherwise be white.
    ui->stackedWidgetDialog->setStyleSheet(
        QStringLiteral("#MainWindow, #SenSorPage, #MacroPage, #FrameSetting {border: 1px solid rgb(51, 55, 63);}"));
    ui->LightsButton->hide();
    ui->line_6->hide();
    pictureFolder_ = StyleSheet::PictureFolder(QStringLiteral("Dialog"));

    // The frame's style sheets before the pages: set on an ancestor of the
    // pages afterwards, each would restyle every widget of every page.
    const QString& f = pictureFolder_;
    ui->label_2->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("#label_2"), QStringLiteral("LabelColor")));
    ui->frame_2->setStyleSheet(
        StyleSheet::StretchedPictureRule(QStringLiteral("#frame_2"), f, QStringLiteral("BackGround.png")));
    ui->BatteryButtonC->setStyleSheet(
        StyleSheet::BackgroundRule(QStringLiteral("BatteryButtonC"), f, QStringLiteral("Battery.png")));
    ui->label->setStyleSheet(
        StyleSheet::StretchedPictureRule(QStringLiteral("#label"), f, QStringLiteral("Charg.png")));
    auto toggle = [&f](QWidget* button, const QString& name, const QString& hover, const QString& checked) {
        button->setStyleSheet(StyleSheet::ToggleButtonRule(f, name + QStringLiteral(".png"),
                                                           name + hover + QStringLiteral(".png"),
                                                           name + checked + QStringLiteral(".png")));
    };
    toggle(ui->ButtonMain, QStringLiteral("Home"), QStringLiteral("Hover"), QStringLiteral("Checked"));
    toggle(ui->LightsButton, QStringLiteral("Light"), QStringLiteral("Hover"), QStringLiteral("Checked"));
    toggle(ui->FormSetting, QStringLiteral("Setting"), QStringLiteral("Hover"), QStringLiteral("Click"));
    toggle(ui->MacroButton, QStringLiteral("Macro"), QStringLiteral("Hover"), QStringLiteral("Checked"));
    toggle(ui->SensorButton, QStringLiteral("Sensor"), QStringLiteral("Hover"), QStringLiteral("Checked"));
    auto pressed = [&f](QWidget* button, const QString& name, const QString& pressedSuffix) {
        button->setStyleSheet(StyleSheet::IconButtonRule(f, name + QStringLiteral(".png"),
                                                         name + QStringLiteral("Hover.png"),
                                                         name + pressedSuffix + QStringLiteral(".png")));
    };
    pressed(ui->CloseButton, QStringLiteral("Close"), QStringLiteral("Click"));
    pressed(ui->MinButton, QStringLiteral("Min"), QStringLiteral("Click"));
    pressed(ui->SetButton, QStringLiteral("Setting"), QStringLiteral("Click"));
    pressed(ui->UpArrow, QStringLiteral("PageChange"), QStringLiteral("Click"));
    // Until the device reports, the bar shows the form's level in the
    // battery's colours rather than the style's own.
    ui->progressBar->setStyleSheet(BatteryRule(ui->progressBar->value()));

    apply_ = new UpDataParam;
    // The next preparation step once the window's events are handled (a
    // posted call would run before them).
    prepareStep_ = new QTimer(this);
    prepareStep_->setSingleShot(true);
    connect(prepareStep_, &QTimer::timeout, this, &Dialog::PrepareNext);
    qCDebug(DebugLog) << "Start";

    ui->label->hide();
    ui->SetButton->hide();

    pageButtons_ = new QButtonGroup(this);
    pageButtons_->setExclusive(true);
    pageButtons_->addButton(ui->ButtonMain);
    pageButtons_->addButton(ui->MacroButton);
    pageButtons_->addButton(ui->LightsButton);
    pageButtons_->addButton(ui->SensorButton);
    pageButtons_->addButton(ui->FormSetting);
    connect(ui->MinButton, SIGNAL(clicked()), this, SLOT(WindowMin()));
    ui->ButtonMain->setChecked(true);

    setWindowFlags(FrameFlags);
    setFixedSize(size());

    crashHandler_ = new CrashHandler;
    CrashHandler::Install();

    PostMsg::Connect(SIGNAL(SigSecondPageChange()), this, SLOT(SlotSecondDialog()));
    PostMsg::Connect(SIGNAL(SigUpDataParam(int)), this, SLOT(SlotUpDataParam(int)));
    PostMsg::Connect(SIGNAL(SigStartRecord(int)), this, SLOT(SlotStartRecord(int)));
    PostMsg::Connect(SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
    PostMsg::Connect(SIGNAL(SigBattery(bool, int, bool)), this, SLOT(SlotBattery(bool, int, bool)),
                     Qt::BlockingQueuedConnection);
    ui->label_3->hide();
    ui->label_2->hide();
    if (pages == PagesNow)
        BuildPages();
}

Dialog::~Dialog()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    // The button page goes first: it stops the worker, which may still send
    // to the other pages while it stops.
    delete buttonPage_;
    delete macroPage_;
    delete sensorPage_;
    delete settingsPage_;
    delete apply_;
    delete crashHandler_;
    delete ui;
}

QString Dialog::BatteryRule(int level)
{
    const QString colour = level > LowBatteryLevel ? QStringLiteral("0, 255, 153") : QStringLiteral("152, 43, 34");
    return QStringLiteral("#progressBar{border: none;background-color: transparent;}#progressBar::chunk "
                          "{background-color: rgb(")
        + colour + QStringLiteral(");}");
}

void Dialog::BuildNextPage()
{
    // Built in this order (the button page makes the device worker); stacked
    // as buttons, sensor, macros, settings. The button page is stacked in a
    // step of its own: as the stack's first page it becomes the current one,
    // which polishes all its widgets.
    QStackedWidget* const stack = ui->stackedWidgetDialog;
    if (!buttonPage_) {
        buttonPage_ = new Buttoninterface(this);
    } else if (stack->indexOf(buttonPage_) < 0) {
        stack->addWidget(buttonPage_);
        stack->setCurrentWidget(buttonPage_);
    } else if (!macroPage_) {
        macroPage_ = new Macro(this);
        stack->addWidget(macroPage_);
    } else if (!sensorPage_) {
        sensorPage_ = new Sensor(this);
        stack->insertWidget(stack->indexOf(macroPage_), sensorPage_);
    } else if (!settingsPage_) {
        settingsPage_ = new FormSetting(this);
        stack->addWidget(settingsPage_);
    }
}

void Dialog::BuildPages()
{
    while (!PagesBuilt())
        BuildNextPage();
}

bool Dialog::PagesBuilt() const
{
    return settingsPage_ != nullptr;
}

void Dialog::PreparePages()
{
    pagesPrepared_ = false;
    if (preparing_) {
        prepareAgain_ = true;
        return;
    }
    preparing_ = true;
    prepareIndex_ = -1;
    PrepareNext();
}

void Dialog::PrepareNext()
{
    const int index = prepareIndex_;
    QStackedWidget* const stack = ui->stackedWidgetDialog;
    if (index >= stack->count()) {
        preparing_ = false;
        if (prepareAgain_) {
            prepareAgain_ = false;
            PreparePages();
        } else {
            pagesPrepared_ = true;
        }
        return;
    }
    // Not while the device is read (its reports wait for the GUI thread) or
    // a dialog runs (the apply dialog, a notice): the window's time is
    // theirs then.
    const Worker* const worker = WorkerInstance.load();
    if (QApplication::activeModalWidget() || (worker && worker->isRunning())) {
        prepareStep_->start(PrepareRetryMs);
        return;
    }
    QWidget* const target = index < 0 ? static_cast<QWidget*>(this) : stack->widget(index);
    // The frame draws its current page with it; what is on show already
    // needs nothing.
    if (!target->isVisible() && (index < 0 || target != stack->currentWidget()))
        MakeReadyToShow(target);
    prepareIndex_ = index + 1;
    prepareStep_->start(0);
}

void Dialog::WindowClosed()
{
    on_CloseButton_clicked();
}

void Dialog::WindowMin()
{
    PostMsg::Instance()->PostChangeSize(PostMsg::FrameToTray);
}

void Dialog::on_ButtonMain_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(buttonPage_);
    PostMsg::Instance()->PostAddMacroButton();
}

void Dialog::on_SensorButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(sensorPage_);
}

void Dialog::on_MacroButton_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(macroPage_);
}

void Dialog::on_FormSetting_clicked()
{
    ui->stackedWidgetDialog->setCurrentWidget(settingsPage_);
}

void Dialog::on_LightsButton_clicked()
{
}

void Dialog::on_SetButton_clicked()
{
}

void Dialog::SendPendingWrites()
{
    if (buttonPage_)
        buttonPage_->SendPendingMacros();
}

void Dialog::on_UpArrow_clicked()
{
    SendPendingWrites();
    UsbServer_SetPCDriverStatus(0);
    WriteCache();
    ui->ButtonMain->setChecked(true);
    Timing::WaitMs(BackToListWaitMs);
    UsbServer_Exit();
    PostMsg::Instance()->PostChangeMainDialog(PostMsg::ChooserPage);
    PostMsg::Instance()->PostSetMacroPage();
}

void Dialog::on_CloseButton_clicked()
{
    SendPendingWrites();
    WriteCache();
    PostMsg::Instance()->PostChangeSize(PostMsg::FrameClose);
}

void Dialog::WriteCache()
{
    Worker::WriteDeviceInfoFile(CacheWriteName.get(), LiveFlashData.get());
}

void Dialog::SlotSecondDialog()
{
    // The device list comes back (the device went, or the frame was left).
    SendPendingWrites();
    ui->ButtonMain->setChecked(true);
    // A button page not stacked yet becomes the current page when it is.
    if (buttonPage_ && ui->stackedWidgetDialog->indexOf(buttonPage_) >= 0)
        ui->stackedWidgetDialog->setCurrentWidget(buttonPage_);
}

void Dialog::SlotUpDataParam(int mode)
{
    apply_->StartTimer();
    qCDebug(DebugLog) << "q";
    if (mode == PostMsg::ParamDeviceChanged)
        apply_->SetWaitOnlyMode(true);
    qCDebug(DebugLog) << "w";
    // Asked again while the dialog shows: its timer has started again for
    // the coming run, which the dialog does itself.
    if (apply_->isVisible())
        return;
    DialogPlacement::CentreOver(apply_, this, 0, -20);
    qCDebug(DebugLog) << "t1";
    apply_->exec();
    // The device's configuration may have shown rows of pages not on show.
    PreparePages();
}

void Dialog::SlotStartRecord(int state)
{
    if (state != 0 && state != 1)
        return;
    const bool enabled = state == 1;
    for (QWidget* button : {static_cast<QWidget*>(ui->ButtonMain), static_cast<QWidget*>(ui->SensorButton),
                            static_cast<QWidget*>(ui->LightsButton), static_cast<QWidget*>(ui->MacroButton),
                            static_cast<QWidget*>(ui->FormSetting)})
        button->setEnabled(enabled);
}

void Dialog::SlotBattery(bool charging, int level, bool showValue)
{
    ui->label->setVisible(charging);
    // The bar keeps its last value for a level outside 0 to 100: show the
    // nearest end instead.
    ui->progressBar->setValue(qBound(ui->progressBar->minimum(), level, ui->progressBar->maximum()));
    ui->label_2->setText(showValue ? QString::number(level) + QLatin1Char('%') : QString::number(level));
    ui->progressBar->setStyleSheet(BatteryRule(level));
}

void Dialog::SlotMouseIndex(int index)
{
    Q_UNUSED(index)
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QWidget::keyPressEvent(event);
}

void Dialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        return;
    }
    QWidget::changeEvent(event);
}
