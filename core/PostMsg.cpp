#include "core/PostMsg.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QMetaMethod>
#include <QMetaType>
#include <QThread>

#include <atomic>

#if defined(__SANITIZE_THREAD__)
#define TALVIRE_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TALVIRE_THREAD_SANITIZER 1
#endif
#endif

#ifdef TALVIRE_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>

namespace {
// Released by the sender of a blocking signal once the signal function has
// laid out its arguments, acquired by the GUI thread before it delivers a
// queued call.
char argumentsLaid;

// The blocking sends under way from other threads. A sender takes a place
// before it emits and gives it back once the send has returned; the GUI
// thread, right after each queued call it delivers, releases the place of
// every send under way, which the sender acquires when its send returns: the
// sender then sees what the slots did, and not what the GUI thread does
// later (such as work the slots queued). Only another queued call delivered
// before the sender has woken (Qt gives no way to tell whose call is whose)
// still reaches it. Only relaxed atomics here, which order nothing for
// ThreadSanitizer themselves.
struct SendPlace {
    std::atomic<bool> taken{false};
    char sync = 0;   // the address released and acquired
};
SendPlace sendPlaces[32];
thread_local SendPlace* sendPlace = nullptr;

void SlotsDelivered()
{
    for (SendPlace& place : sendPlaces) {
        if (place.taken.load(std::memory_order_relaxed))
            __tsan_release(&place.sync);
    }
}
} // namespace
#endif

// Marks for ThreadSanitizer, on the GUI thread, the two ends of a blocking
// send, which Qt hands over through a semaphore ThreadSanitizer does not see.
// As an event filter of the application it takes over, before a queued call is
// delivered, what the sender wrote up to the signal's arguments; it then
// delivers the call itself, so that right after the slot has run (before Qt
// wakes the sender) it can hand the senders under way what the slots did.
class BlockingSendMark : public QObject {
    Q_OBJECT
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
#ifdef TALVIRE_THREAD_SANITIZER
        if (event->type() == QEvent::MetaCall && event != delivering_) {
            __tsan_acquire(&argumentsLaid);
            QEvent* const outer = delivering_;
            delivering_ = event;
            QCoreApplication::sendEvent(watched, event);
            delivering_ = outer;
            SlotsDelivered();
            return true;
        }
#endif
        return QObject::eventFilter(watched, event);
    }

#ifdef TALVIRE_THREAD_SANITIZER
private:
    // The queued call this filter is delivering (it passes through then).
    QEvent* delivering_ = nullptr;
#endif
};

#ifdef TALVIRE_THREAD_SANITIZER
namespace {
// The mark object, made on the GUI thread together with its place among the
// application's event filters (its uses there read what its construction
// wrote) and published through an atomic, which ThreadSanitizer sees.
std::atomic<BlockingSendMark*> mark{nullptr};

// Makes the mark when called on the GUI thread and there is none yet.
void MakeMark()
{
    QCoreApplication* const app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread() || mark.load(std::memory_order_relaxed))
        return;
    auto* const made = new BlockingSendMark;
    app->installEventFilter(made);
    mark.store(made, std::memory_order_release);
}

// The mark object on the GUI thread, when a blocking send leaves another
// thread for connected slots; null otherwise. The bus is first used on the GUI
// thread, which makes the mark; without one the sends are not marked and
// ThreadSanitizer reports them.
BlockingSendMark* MarkFor(bool connected)
{
    QCoreApplication* const app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread() || !connected)
        return nullptr;
    return mark.load(std::memory_order_acquire);
}
} // namespace
#endif

PostMsg* PostMsg::Instance()
{
    static PostMsg* const instance = new PostMsg(nullptr);
    return instance;
}

bool PostMsg::Connect(const char* signal, const QObject* receiver, const char* slot, Qt::ConnectionType type)
{
    if (connect(Instance(), signal, receiver, slot, type))
        return true;
    qWarning() << "bus: cannot connect" << signal << "to" << receiver << slot;
    return false;
}

PostMsg::PostMsg(QObject* parent)
    : QObject(parent)
{
    qRegisterMetaType<FlashDataMap>("FlashDataMap");
    qRegisterMetaType<DeviceAllInfo>("DeviceAllInfo");
    qRegisterMetaType<DongleRGB*>("DongleRGB*");

    // Before any receiver connects (only does something in ThreadSanitizer builds).
    MarkBlockingSignal(&PostMsg::SigUpDataConfigUI);
    MarkBlockingSignal(&PostMsg::SigUpDataLightUIButton);
    MarkBlockingSignal(&PostMsg::SigUpDataLightSensor);
    MarkBlockingSignal(&PostMsg::SigUpDataReportRate);
    MarkBlockingSignal(&PostMsg::SigUpDataDPI);
    MarkBlockingSignal(&PostMsg::SigUpDataDPILed);
    MarkBlockingSignal(&PostMsg::SigBattery);
    MarkBlockingSignal(&PostMsg::SigRGBValue);
    MarkBlockingSignal(&PostMsg::SigLongRangeMode);
    MarkBlockingSignal(&PostMsg::SigForm);
    MarkBlockingSignal(&PostMsg::SigFormReset);
#ifdef TALVIRE_THREAD_SANITIZER
    MakeMark();
#endif
}

// A blocking emission hands the arguments over and waits on a semaphore inside
// Qt, which ThreadSanitizer does not see; it would take the slot's reads of
// what the sender wrote (the signal function lays the argument pointers out on
// the sender's stack), and the sender's next writes, for races. The first slot
// of each blocking signal runs directly on the sender's thread, after the
// arguments are laid out and before Qt hands them over, and marks that point;
// the mark's event filter takes it over on the GUI thread before the call is
// delivered, and marks the way back right after the slot has run.
template <typename Signal>
void PostMsg::MarkBlockingSignal(Signal signal)
{
#ifdef TALVIRE_THREAD_SANITIZER
    connect(this, signal, this, [] { __tsan_release(&argumentsLaid); }, Qt::DirectConnection);
#else
    Q_UNUSED(signal)
#endif
}

template <typename Signal>
bool PostMsg::HasReceivers(Signal signal) const
{
#ifdef TALVIRE_THREAD_SANITIZER
    // Beside the marking slot.
    const QByteArray name = QByteArray::number(QSIGNAL_CODE) + QMetaMethod::fromSignal(signal).methodSignature();
    return receivers(name.constData()) > 1;
#else
    return isSignalConnected(QMetaMethod::fromSignal(signal));
#endif
}

template <typename Signal>
void PostMsg::BeforeBlockingSend(Signal signal)
{
#ifdef TALVIRE_THREAD_SANITIZER
    MakeMark();
    sendPlace = nullptr;
    // A receiver that leaves during the send (a window closing) has still
    // read the sender's stack: the place is taken when the send has
    // receivers as it begins.
    if (!MarkFor(HasReceivers(signal)))
        return;
    for (SendPlace& place : sendPlaces) {
        bool free = false;
        if (place.taken.compare_exchange_strong(free, true, std::memory_order_relaxed)) {
            sendPlace = &place;
            return;
        }
    }
    qWarning("bus: more blocking sends at once than ThreadSanitizer's marks can follow");
#else
    Q_UNUSED(signal)
#endif
}

template <typename Signal>
void PostMsg::AfterBlockingSend(Signal signal)
{
    Q_UNUSED(signal)
#ifdef TALVIRE_THREAD_SANITIZER
    if (SendPlace* const place = sendPlace) {
        sendPlace = nullptr;
        place->taken.store(false, std::memory_order_relaxed);
        __tsan_acquire(&place->sync);
    }
#endif
}

void PostMsg::PostChangeMainDialog(int page)
{
    emit SigChangeMainDialog(page);
}

void PostMsg::PostChangeSize(int mode)
{
    emit SigChangeSize(mode);
}

void PostMsg::PostUpDataConfigUI(int count, int current, bool enabled)
{
    BeforeBlockingSend(&PostMsg::SigUpDataConfigUI);
    emit SigUpDataConfigUI(count, current, enabled);
    AfterBlockingSend(&PostMsg::SigUpDataConfigUI);
}

void PostMsg::PostUpDataLightUIButton(const FlashDataMap& image)
{
    BeforeBlockingSend(&PostMsg::SigUpDataLightUIButton);
    emit SigUpDataLightUIButton(image);
    AfterBlockingSend(&PostMsg::SigUpDataLightUIButton);
}

void PostMsg::PostUpDataLightLight(const FlashDataMap& image)
{
    emit SigUpDataLightLight(image);
}

void PostMsg::PostUpDataLightSensor(const FlashDataMap& image)
{
    BeforeBlockingSend(&PostMsg::SigUpDataLightSensor);
    emit SigUpDataLightSensor(image);
    AfterBlockingSend(&PostMsg::SigUpDataLightSensor);
}

void PostMsg::PostUpDataLightUIA(const FlashDataMap& image)
{
    emit SigUpDataLightUIA(image);
}

void PostMsg::PostUpDataSensorUIB(const FlashDataMap& image)
{
    emit SigUpDataSensorUIB(image);
}

void PostMsg::PostUpDataButtonUIC(const FlashDataMap& image)
{
    emit SigUpDataButtonUIC(image);
}

void PostMsg::PostButtonToMacro(const FlashDataMap& image, int button)
{
    emit SigButtonToMacro(image, button);
}

void PostMsg::PostSelectMouseInfo(const DeviceAllInfo& info)
{
    emit SigSelectMouseInfo(info);
}

void PostMsg::PostMouseOffLineo(int reason)
{
    emit SigMouseOffLineo(reason);
}

void PostMsg::PostMainPageChange()
{
    emit SigMainPageChange();
}

void PostMsg::PostSecondPageChange()
{
    emit SigSecondPageChange();
}

void PostMsg::PostUpPageLight()
{
    emit SigUpPageLight();
}

void PostMsg::PostAddMacroButton()
{
    emit SigAddMacroButton();
}

void PostMsg::PostDeleteMacroButton(const QString& name)
{
    emit SigDeleteMacroButton(name);
}

void PostMsg::PostMacroDownLoadData(const QString& name, int button)
{
    emit SigMacroDownLoadData(name, button);
}

void PostMsg::PostUpDataMacro(const QString& name, int button)
{
    emit SigUpDataMacro(name, button);
}

void PostMsg::PostUpDataParam(int mode)
{
    emit SigUpDataParam(mode);
}

void PostMsg::PostUpDataReportRate(int code)
{
    BeforeBlockingSend(&PostMsg::SigUpDataReportRate);
    emit SigUpDataReportRate(code);
    AfterBlockingSend(&PostMsg::SigUpDataReportRate);
}

void PostMsg::PostUpDataDPI(int stage)
{
    BeforeBlockingSend(&PostMsg::SigUpDataDPI);
    emit SigUpDataDPI(stage);
    AfterBlockingSend(&PostMsg::SigUpDataDPI);
}

void PostMsg::PostUpDataDPILed(const FlashDataMap& image)
{
    BeforeBlockingSend(&PostMsg::SigUpDataDPILed);
    emit SigUpDataDPILed(image);
    AfterBlockingSend(&PostMsg::SigUpDataDPILed);
}

void PostMsg::PostTimerStop()
{
    emit SigTimerStop();
}

void PostMsg::PostButtonEnable(int state)
{
    emit SigButtonEnable(state);
}

void PostMsg::PostLabelText(int index, const QString& text)
{
    emit SigLabelText(index, text);
}

void PostMsg::PostLabelTextB(const QString& text, const QString& flag)
{
    emit SigLabelTextB(text, flag);
}

void PostMsg::PostCloseUpdate()
{
    emit SigCloseUpdate();
}

void PostMsg::PostProgress(int value, int kind)
{
    emit SigProgress(value, kind);
}

void PostMsg::PostBattery(bool charging, int level, bool showValue)
{
    BeforeBlockingSend(&PostMsg::SigBattery);
    emit SigBattery(charging, level, showValue);
    AfterBlockingSend(&PostMsg::SigBattery);
}

void PostMsg::PostAutoRepair(int state)
{
    emit SigAutoRepair(state);
}

void PostMsg::PostAutoRepairProgress(int value)
{
    emit SigAutoRepairProgress(value);
}

void PostMsg::PostChangeLanguage(int index)
{
    emit SigChangeLanguage(index);
}

void PostMsg::PostLanguageSameA(int index)
{
    emit SigLanguageSameA(index);
}

void PostMsg::PostLanguageSameB(int index)
{
    emit SigLanguageSameB(index);
}

void PostMsg::PostCloseOffOnline()
{
    emit SigCloseOffOnline();
}

void PostMsg::PostSetMacroPage()
{
    emit SigSetMacroPage();
}

void PostMsg::PostStartRecord(int state)
{
    emit SigStartRecord(state);
}

void PostMsg::PostUpDateButton(bool hide)
{
    emit SigUpDateButton(hide);
}

void PostMsg::PostMacroRename(const QString& oldName, const QString& newName)
{
    emit SigMacroRename(oldName, newName);
}

void PostMsg::PostSetver(int state)
{
    emit SigSetver(state);
}

void PostMsg::PostCloseProgress()
{
    emit SigCloseProgress();
}

void PostMsg::PostRGBValue(DongleRGB* record)
{
    BeforeBlockingSend(&PostMsg::SigRGBValue);
    emit SigRGBValue(record);
    AfterBlockingSend(&PostMsg::SigRGBValue);
}

void PostMsg::PostLongRangeMode(bool on)
{
    BeforeBlockingSend(&PostMsg::SigLongRangeMode);
    emit SigLongRangeMode(on);
    AfterBlockingSend(&PostMsg::SigLongRangeMode);
}

void PostMsg::PostForm()
{
    BeforeBlockingSend(&PostMsg::SigForm);
    emit SigForm();
    AfterBlockingSend(&PostMsg::SigForm);
}

void PostMsg::PostFormB()
{
    emit SigFormB();
}

void PostMsg::PostEnterKey()
{
    emit SigEnterKey();
}

void PostMsg::PostFormReset()
{
    BeforeBlockingSend(&PostMsg::SigFormReset);
    emit SigFormReset();
    AfterBlockingSend(&PostMsg::SigFormReset);
}

void PostMsg::PostHideModel(int hide)
{
    emit SigHideModel(hide);
}

void PostMsg::PostContinue(int state)
{
    emit SigContinue(state);
}

void PostMsg::PostMouseIndex(int index)
{
    emit SigMouseIndex(index);
}

void PostMsg::PostUpdateStart()
{
    emit SigUpdateStart();
}

void PostMsg::PostCheckUpdate()
{
    emit SigCheckUpdate();
}

void PostMsg::PostRepairCheckUpdate()
{
    emit SigRepairCheckUpdate();
}

void PostMsg::PostSetNewVer()
{
    emit SigSetNewVer();
}

void PostMsg::PostLightToFrom(int seconds)
{
    emit SigLightToFrom(seconds);
}

#include "PostMsg.moc"
