#pragma once

#include "core/DeviceAllInfo.h"
#include "core/FlashDataMap.h"

#include <QString>
#include <QThread>
#include <QVector>

#include <mutex>

class QTimer;

// The device link of the configuration frame: one thread object whose every
// pass opens the current device, declares the program present and asks for the
// device's whole configuration (the answers come later to OnUsbData). When the
// device does not answer, the pass shows the configuration last stored for its
// model instead, and a 1300 ms online check watches the device until it
// answers, then reads it again. The device library's two callbacks, OnUsbData
// (every report of the opened device) and OnUsbChanged (devices plugged or
// unplugged), run on the library's threads and reach the windows only through
// the bus; signals that carry an image carry a copy of the live image.
//
// One worker exists at a time: the constructor makes it WorkerInstance and
// the destructor clears that again. It lives on the GUI thread, where its
// slots and the online check run. Passes are asked for with RequestPass; the
// worker is stopped with StopAndWait (or by deleting it), never with an
// unbounded QThread::wait, since a pass may wait for the GUI thread.
class Worker : public QThread {
    Q_OBJECT
public:
    // page: the button page that makes the worker; it does not become the parent.
    explicit Worker(QObject* page = nullptr);
    // Stops the worker as StopAndWait does, however long a running pass takes.
    ~Worker() override;

    // Asks for a pass: sets RunRequested and starts the thread. A request made
    // while a pass runs gets a pass of its own once that pass has ended. Any
    // thread.
    void RequestPass();
    // Clears RunRequested and drops the passes asked for so far that have not
    // begun; a running pass ends as it would. A later RequestPass runs a pass.
    void StopRun();
    // The final stop, before the worker goes: StopRun, and from then on every
    // RequestPass is ignored. On the GUI thread it also stops the online check
    // and leaves the bus, then waits for a running pass to end while still
    // processing events (a pass may be waiting for a slot on the GUI thread).
    // False when a pass still runs after timeoutMs.
    bool StopAndWait(int timeoutMs);

    // The 1300 ms online check of the worker that exists (null without one); the
    // button page stops it around a configuration reset. GUI thread.
    static QTimer* OnlineCheckTimer();

    // Makes a found device current when it answers, and requests a pass.
    static void ConnectDevice(DeviceAllInfo device);
    // Lists the devices with the vendor id and each product id in turn in
    // WorkerDeviceList (identified devices of another model than the current
    // one are left out).
    static void EnumerateDevices(const QString& vid, const QVector<QString>& pids);
    // Fills the identity of a found device from its answers: 1 a model of the
    // product description, 2 the product's customer id but no known model, 3 a
    // foreign device, 0 no ids within the first nine answers (or no models).
    static int IdentifyDevice(DeviceAllInfo& device, const char* path);

    // The report callback (library report thread).
    static void OnUsbData(const unsigned char* header, int headerLength, const unsigned char* data,
                          int dataLength);
    // The device-change callback (library change thread).
    static void OnUsbChanged();
    // Asks the device for what its status-change report (7 flags) names.
    static void PollDeviceStatus(const unsigned char* flags);

    // The device cache file of a model (DeviceCacheFile).
    static void WriteDeviceInfoFile(const QString& fileName, FlashDataMap image);
    static bool ReadDeviceInfoFile(const QString& fileName, FlashDataMap* image);

public slots:
    // The chooser's pick: the current device, its path and cache name.
    void SlotSelectMouseInfo(DeviceAllInfo info);
    // Back to the chooser: the next pass opens the device again.
    void SlotMainPageChange();
    // Every 1300 ms: follows a device found offline; starts a requested re-read.
    void SlotCheckOnline();

protected:
    void run() override;

private:
    void RunPass();
    // Waits until the thread has ended, at most timeoutMs; false when it still runs.
    bool WaitForEnd(int timeoutMs);

    int lastLinkType = 0;     // CurrentDevice.linkType at the last open of a pass
    QString lastPath;         // CurrentDevice.path at the last open of a pass
    QTimer* onlineCheck = nullptr;

    // Pass requests: the thread's loop runs one more pass for requests made
    // while a pass ran.
    std::mutex passMutex;
    quint64 passRequests = 0;
    quint64 droppedRequests = 0;   // passRequests at the last StopRun
    bool passLoopActive = false;
    bool ending = false;           // StopAndWait: no pass ever again
};
