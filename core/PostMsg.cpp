#include "core/PostMsg.h"

#include <QCoreApplication>
#include <QDebug>
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
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);

namespace {
char sendBegun;
char slotsDone;
} // namespace
#endif

// Marks for ThreadSanitizer, on the GUI thread, the two ends of a blocking
// send: before it, the GUI thread takes over what the sender wrote; after it,
// the sender takes over what the slots did. It is invoked by name: a functor
// or member-function slot would still read the sender's stack after its body,
// past the mark.
class BlockingSendMark : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void Begin()
    {
#ifdef TALVIRE_THREAD_SANITIZER
        __tsan_acquire(&sendBegun);
#endif
    }

    Q_INVOKABLE void End()
    {
#ifdef TALVIRE_THREAD_SANITIZER
        __tsan_release(&slotsDone);
#endif
    }
};

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
}

#ifdef TALVIRE_THREAD_SANITIZER
namespace {
// The mark object, made on the GUI thread (its first use there reads what its
// construction wrote) and published through an atomic, which
// ThreadSanitizer sees.
std::atomic<BlockingSendMark*> mark{nullptr};

// The mark object on the GUI thread, when a blocking send leaves another
// thread for connected slots; null otherwise.
BlockingSendMark* MarkFor(bool connected)
{
    QCoreApplication* const app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread() || !connected)
        return nullptr;
    if (!mark.load(std::memory_order_acquire)) {
        QMetaObject::invokeMethod(app, [] {
            if (!mark.load(std::memory_order_relaxed))
                mark.store(new BlockingSendMark, std::memory_order_release);
        }, Qt::BlockingQueuedConnection);
    }
    return mark.load(std::memory_order_acquire);
}
} // namespace
#endif

// A blocking emission hands the arguments over and waits on a semaphore inside
// Qt, which ThreadSanitizer does not see; it would take the slot's reads of
// what the sender wrote, and the sender's next writes, for races. A blocking
// round trip through the GUI thread before the send and one after it, after the
// slots have run there, make the order visible.
template <typename Signal>
void PostMsg::BeforeBlockingSend(Signal signal)
{
#ifdef TALVIRE_THREAD_SANITIZER
    if (BlockingSendMark* const mark = MarkFor(isSignalConnected(QMetaMethod::fromSignal(signal)))) {
        __tsan_release(&sendBegun);
        QMetaObject::invokeMethod(mark, "Begin", Qt::BlockingQueuedConnection);
    }
#else
    Q_UNUSED(signal)
#endif
}

template <typename Signal>
void PostMsg::AfterBlockingSend(Signal signal)
{
#ifdef TALVIRE_THREAD_SANITIZER
    if (BlockingSendMark* const mark = MarkFor(isSignalConnected(QMetaMethod::fromSignal(signal)))) {
        QMetaObject::invokeMethod(mark, "End", Qt::BlockingQueuedConnection);
        __tsan_acquire(&slotsDone);
    }
#else
    Q_UNUSED(signal)
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
