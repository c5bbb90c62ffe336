#include "pages/buttons/Buttoninterface.h"

#include "core/PostMsg.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "ui_Buttoninterface.h"

#include <QDebug>

namespace {
// How long the page waits for a running pass when it goes. A pass waits only
// for the GUI thread, which the wait keeps serving, so this is ample.
constexpr int WorkerStopMs = 5000;
} // namespace

Buttoninterface::Buttoninterface(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Buttoninterface)
    , pictureDir_(StyleSheet::PictureFolder(QStringLiteral("Buttoninterface")))
{
    ui->setupUi(this);
    // The worker has no parent: the page stops it itself before it goes.
    worker_ = new Worker(this);

    const Qt::ConnectionType blocking = Qt::BlockingQueuedConnection;
    PostMsg::Connect(SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this,
                     SLOT(SlotUpDataButtonUIButton(FlashDataMap)), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataConfigUI(int, int, bool)), this, SLOT(SlotUpDataConfigUI(int, int, bool)),
                     blocking);
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormResetButton()), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataButtonUIC(FlashDataMap)), this, SLOT(SlotUpDataButtonUIB(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigAddMacroButton()), this, SLOT(SlotAddMacroButton()));
    PostMsg::Connect(SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
}

Buttoninterface::~Buttoninterface()
{
    // No bus slot runs on a page that is going.
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    if (worker_->StopAndWait(Timing::Ms(WorkerStopMs))) {
        delete worker_;
    } else {
        // Still in a pass: it ends on its own; the worker goes once it has.
        qWarning() << "button page: the worker is still in a pass; it is deleted when the pass ends";
        connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
    }
    StopUsbChanged();
    delete ui;
}

void Buttoninterface::SlotUpDataButtonUIButton(FlashDataMap image)
{
    ButtonPageFilled = false;
    ShowImage(image);
    ButtonPageFilled = true;
}

void Buttoninterface::SlotUpDataButtonUIB(FlashDataMap image)
{
    ShowImage(image);
}

void Buttoninterface::ShowImage(const FlashDataMap& image)
{
    const ScopedFlag loading(ButtonPageLoading);
    // The button list and its labels are drawn from the image's button
    // functions, key records and macro blocks once the page has them.
    Q_UNUSED(image)
}

void Buttoninterface::SlotUpDataConfigUI(int count, int current, bool enabled)
{
    // The onboard-configuration choice is part of the page's own controls.
    Q_UNUSED(count)
    Q_UNUSED(current)
    Q_UNUSED(enabled)
}

void Buttoninterface::SlotFormResetButton()
{
}

void Buttoninterface::SlotAddMacroButton()
{
}

void Buttoninterface::SlotMouseIndex(int index)
{
    // Every model shows the same mouse picture.
    Q_UNUSED(index)
    ui->widget->setStyleSheet(
        StyleSheet::BackgroundRule(QStringLiteral("widget"), pictureDir_, QStringLiteral("mouse0.png")));
}
