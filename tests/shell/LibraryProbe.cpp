#include "tests/shell/LibraryProbe.h"

#include "devicelib/DIVAza.h"

#include <QElapsedTimer>

#include <dlfcn.h>
#include <mutex>

namespace {
std::mutex mutex;
QList<LibraryProbe::Call> calls;
std::function<void(const LibraryProbe::Call&)> onCall;
QElapsedTimer probeClock;

void Record(LibraryProbe::Call call)
{
    std::function<void(const LibraryProbe::Call&)> action;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!probeClock.isValid())
            probeClock.start();
        call.ms = probeClock.elapsed();
        calls.append(call);
        action = onCall;
    }
    if (action)
        action(call);
}

template <typename Function>
Function Next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
} // namespace

namespace LibraryProbe {
void Clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    calls.clear();
    probeClock.start();
}

QList<Call> Calls()
{
    std::lock_guard<std::mutex> lock(mutex);
    return calls;
}

QList<Call> CallsOf(const QByteArray& name)
{
    QList<Call> found;
    for (const Call& call : Calls()) {
        if (call.name == name)
            found.append(call);
    }
    return found;
}

int IndexOf(const QByteArray& name)
{
    const QList<Call> all = Calls();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i).name == name)
            return i;
    }
    return -1;
}

void OnCall(std::function<void(const Call&)> action)
{
    std::lock_guard<std::mutex> lock(mutex);
    onCall = std::move(action);
}
} // namespace LibraryProbe

extern "C" {
int UsbServer_Exit(void)
{
    Record({"UsbServer_Exit", 0, nullptr, 0});
    static const auto next = Next<int (*)(void)>("UsbServer_Exit");
    return next();
}

int UsbServer_SetPCDriverStatus(int present)
{
    Record({"UsbServer_SetPCDriverStatus", present, nullptr, 0});
    static const auto next = Next<int (*)(int)>("UsbServer_SetPCDriverStatus");
    return next(present);
}

int StartUsbChanged(UsbChangedCallback callback, int periodMs)
{
    Record({"StartUsbChanged", periodMs, reinterpret_cast<void*>(callback), 0});
    static const auto next = Next<int (*)(UsbChangedCallback, int)>("StartUsbChanged");
    return next(callback, periodMs);
}

int StopUsbChanged(void)
{
    Record({"StopUsbChanged", 0, nullptr, 0});
    static const auto next = Next<int (*)(void)>("StopUsbChanged");
    return next();
}

int ProtocolDataUpdate(struct FlashDataMap* image)
{
    Record({"ProtocolDataUpdate", 0, nullptr, 0});
    static const auto next = Next<int (*)(struct FlashDataMap*)>("ProtocolDataUpdate");
    return next(image);
}
}
