#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

// Records the program's calls of the device library functions that open,
// close and watch the device link (UsbServer_Exit, UsbServer_SetPCDriverStatus,
// StartUsbChanged, StopUsbChanged) and that send a whole image
// (ProtocolDataUpdate), in order, then passes each call on to the library. A
// test executable that links this file takes these calls itself.
namespace LibraryProbe {
struct Call {
    QByteArray name;
    int argument = 0;      // the status of SetPCDriverStatus
    void* callback = nullptr;   // the callback of StartUsbChanged
    qint64 ms = 0;         // since the probe was cleared
};

void Clear();
QList<Call> Calls();
// The calls of one name.
QList<Call> CallsOf(const QByteArray& name);
// Index of the first call of that name in Calls(), -1 when none.
int IndexOf(const QByteArray& name);
// Runs at every recorded call, before the library gets it.
void OnCall(std::function<void(const Call&)> action);
} // namespace LibraryProbe
