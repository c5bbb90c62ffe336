#include "core/Worker.h"

#include "core/DebugLog.h"
#include "core/DeviceCacheFile.h"
#include "core/DeviceListRules.h"
#include "core/FirmwareImages.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "core/Timing.h"
#include "devicelib/DIVAza.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <utility>

namespace {
constexpr int OnlineCheckMs = 1300;
constexpr int StatusReReadGuardMs = 3000;
constexpr char PlaceholderPath[] = "a";

// The report header: the report type, the part of the device's data (0 its
// configuration block) and the address within it.
constexpr int HeaderTypeByte = 1;
constexpr int HeaderPartByte = 3;
constexpr int HeaderAddressByte = 4;
// The battery answer: level, then charging.
constexpr int BatteryLevelByte = 0;
constexpr int BatteryChargingByte = 1;
// The status-change answer: what changed on the device.
constexpr int StatusDpiStage = 0;
constexpr int StatusReportRate = 1;
constexpr int StatusConfiguration = 2;
constexpr int StatusDpiLight = 3;
constexpr int StatusLightBar = 5;
constexpr int StatusBattery = 6;
constexpr int StatusBytes = 7;

// Report rate codes above this are the rates above 1000 Hz, which a device on
// the cable cannot run.
constexpr int HighestWiredRateCode = 15;
constexpr quint8 LongRangeNoAnswer = 0x73;

// The online state at the last open of a pass; a difference forces a new open.
std::atomic<bool> LastOnline{false};
// "Option"/"ShowBatteryValue": 1 asks the frame to show the battery level.
std::atomic<int> ShowBatteryValue{0};
// When a configuration change reported by the device last led to a re-read
// (milliseconds on the monotonic clock).
std::atomic<qint64> StatusReReadTime{0};
// Set by a model-defaults report for the whole configuration it asks for: clear
// the key records and macro blocks, skip the receiver queries.
std::atomic<bool> ClearRecordsPending{false};
std::atomic<bool> SkipReceiverQuery{false};

QTimer* onlineCheckTimer = nullptr;   // GUI thread

// WorkerInstance is used from the library's threads (a device change requests a
// pass) while the GUI thread may be destroying the worker: both hold this lock.
std::mutex instanceMutex;

qint64 MonotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool Online(const QByteArray& path)
{
    return DeviceAllInfo::Answers(path);
}

const ProductDescription& Description()
{
    return ProductDescription::Instance();
}

// Texts shared between threads are replaced by moving a copy in (x =
// QString(y)), not by copy assignment: the old text is then released in this
// code, where ThreadSanitizer sees the ordering, not inside Qt.

// The record's path as the library takes it.
QByteArray PathOf(const DeviceAllInfo& device)
{
    return device.path.toLocal8Bit();
}

void PostImage(void (PostMsg::*post)(const FlashDataMap&))
{
    (PostMsg::Instance()->*post)(LiveFlashData.get());
}

// The three copies of a whole image the pages take, then the settings page's
// rows.
void PostWholeImage(const FlashDataMap& image)
{
    PostMsg* const bus = PostMsg::Instance();
    bus->PostUpDataLightUIButton(image);
    bus->PostUpDataLightLight(image);
    bus->PostUpDataLightSensor(image);
    bus->PostForm();
}

// A setting the device reported changes in the live image; the image then goes
// back to the device, but only when it holds this device's configuration.
void SendLiveImageToDevice()
{
    if (!LiveFlashDataIsCurrent())
        return;
    FlashDataMap image = LiveFlashData.get();
    if (ProtocolDataUpdate(&image) == 0)
        qWarning() << "worker: the device library could not write the image";
}

bool HasReceiverLight(const DeviceAllInfo& device)
{
    return !device.wired && device.linkType == 1;
}

// Buttons whose key record is the model's default ("KeyParam" + n starts with
// "0x05"): their records survive the clearing after a model-defaults report.
QList<int> KeyRecordButtons(int modelIndex)
{
    QList<int> buttons;
    for (int n = 1; n <= 6; ++n) {
        const QStringList values = Description().KeyParam(modelIndex, n);
        if (!values.isEmpty() && values.first() == QLatin1String("0x05"))
            buttons.append(n - 1);
    }
    return buttons;
}

void ClearRecords(FlashDataMap& image, const QList<int>& keep)
{
    for (int button = 0; button < FlashDataMap::ButtonCount; ++button) {
        if (keep.contains(button))
            continue;
        image.keys[button] = KeyRecord();
        image.macros[button] = MacroBlock();
    }
}

// Report 8 at address 0 with the whole 6912-byte block.
void WholeConfiguration(const unsigned char* data)
{
    DeviceAllInfo device;
    {
        std::lock_guard<std::recursive_mutex> lock(CurrentDeviceMutex);
        device = CurrentDevice.get();
        LiveFlashData.update([data](FlashDataMap& live) { ProtocolDataParser(data, &live); });
        LiveFlashDataSource.set(CurrentDevicePath.get());
        CacheWriteName.set(DeviceCacheFile::FileName(device));
    }

    UsbServer_ReadDPILed();
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadVersion();
    UsbServer_ReadConfig();

    PostMsg* const bus = PostMsg::Instance();
    const QByteArray path = PathOf(device);
    if (!SkipReceiverQuery) {
        if (HasReceiverLight(device)) {
            bool lightSet = false;
            {
                std::lock_guard<std::mutex> lock(DongleRGBMutex);
                UsbFinderC_Get4KDongleRGBValue(path.constData(), DongleRGBRecord);
                lightSet = DongleRGBRecord->option != 0;
            }
            if (lightSet)
                bus->PostRGBValue(DongleRGBRecord);
        }
        quint8 longRange = LongRangeNoAnswer;
        UsbFinderC_GetLongRangeMode(path.constData(), &longRange);
        // Off is shown as well, so a previous device's "on" does not stay.
        if (longRange != LongRangeNoAnswer)
            bus->PostLongRangeMode(longRange != 0);
    }
    SkipReceiverQuery = false;

    if (ClearRecordsPending.exchange(false)) {
        const QList<int> keep = KeyRecordButtons(device.modelIndex);
        LiveFlashData.update([&keep](FlashDataMap& live) { ClearRecords(live, keep); });
    }
    FlashDataMap image = LiveFlashData.get();
    if (ProtocolDataUpdate(&image) == 0)
        qWarning() << "worker: the device library could not write the image back";

    SensorPageFilled = false;
    ButtonPageFilled = false;
    PostWholeImage(LiveFlashData.get());
    DeviceDataReady = true;
    RunRequested = false;
}

// Report 9: the model's defaults, then a whole read that clears the records.
void ModelDefaults()
{
    const DeviceAllInfo device = CurrentDevice.get();
    const QByteArray path = PathOf(device);
    PostMsg* const bus = PostMsg::Instance();
    UsbServer_SetBatteryOptimizeEnable(1);

    const int longRange = Description().Advanced(device.modelIndex, ProductDescription::LongRangeItem);
    const int light = Description().Advanced(device.modelIndex, ProductDescription::ReceiverLightItem);
    if (light > 0 && HasReceiverLight(device)) {
        bool lightSet = false;
        {
            std::lock_guard<std::mutex> lock(DongleRGBMutex);
            DongleRGBRecord->option = quint8(light);
            UsbFinderC_Set4KDongleRGB(path.constData(), DongleRGBRecord);
            lightSet = DongleRGBRecord->option != 0;
        }
        if (lightSet)
            bus->PostRGBValue(DongleRGBRecord);
    }
    if (longRange == 0 || longRange == 1) {
        UsbFinderC_SetLongRangeMode(path.constData(), longRange);
        bus->PostLongRangeMode(longRange == 1);
    }
    // Armed before the read, whose answer comes on this thread after this report.
    ClearRecordsPending = true;
    SkipReceiverQuery = true;
    UsbServer_ReadAllFlashData();
}

// Report 18: the mouse's firmware version, also kept in the registry.
void MouseVersion()
{
    const DeviceAllInfo device = CurrentDevice.get();
    const QString version = DeviceAllInfo::VersionText(quint32(UsbFinderC_GetVersion(PathOf(device).constData())));
    CurrentDevice.update([&](DeviceAllInfo& current) {
        if (current.path == device.path)
            current.mouseVersion = QString(version);
    });
    PostMsg::Instance()->PostSetver(PostMsg::SetverVersionRead);
    const QString cid = Description().Option().Text(QStringLiteral("CID"));
    const QString mid = Description().Model(device.modelIndex).Text(QStringLiteral("MID"));
    // The registry keeps a text of its own, made inside Qt and shared with no
    // record of this program.
    Registry::Instance()->SetValue(Registry::MouseVerKey(cid, mid), QVariant(QLatin1String(version.toLatin1())));
}

// Report 8: the whole configuration or one part of it.
void ConfigurationReport(int address, const unsigned char* data, int length)
{
    PostMsg* const bus = PostMsg::Instance();
    static_assert(FlashDataMap::BlockSize == DIVAZA_DEVICE_BLOCK_SIZE, "the library's configuration block");
    if (address == 0 && length == FlashDataMap::BlockSize) {
        WholeConfiguration(data);
    } else if (address == FlashDataMap::BlockReportRateAddress && length == FlashDataMap::BlockReportRateLength) {
        const int code = data[0];
        if (CurrentDevice.get().wired && code > HighestWiredRateCode)
            return;
        LiveFlashData.update([code](FlashDataMap& live) { live.reportRate = quint8(code); });
        bus->PostUpDataReportRate(code);
        SendLiveImageToDevice();
    } else if (address == FlashDataMap::BlockDpiStageAddress && length == FlashDataMap::BlockDpiStageLength) {
        const int stage = data[0];
        LiveFlashData.update([stage](FlashDataMap& live) { live.currentDpiStage = quint8(stage); });
        bus->PostUpDataDPI(stage);
        SendLiveImageToDevice();
    } else if (address == FlashDataMap::BlockDpiLightAddress && length == FlashDataMap::BlockDpiLightLength) {
        LiveFlashData.update([data](FlashDataMap& live) { BufferToDPILed(data, &live.dpiLightMode); });
        PostImage(&PostMsg::PostUpDataDPILed);
    } else if (address == FlashDataMap::BlockLightBarAddress && length == FlashDataMap::BlockLightBarLength) {
        LiveFlashData.update([data](FlashDataMap& live) { BufferToLedBar(data, &live.lightMode); });
        PostImage(&PostMsg::PostUpDataLightLight);
    }
}

QVector<QString> SearchProductIds()
{
    return DeviceListRules::SearchList(Description().CablePids(), Description().ReceiverPidLists());
}

// The chosen wireless mouse now also hangs on the cable: the same model, the
// same address, online there.
bool MovedToCable(const DeviceAllInfo& found, const DeviceAllInfo& current)
{
    return found.modelIndex == current.modelIndex && found.wired && found.online && !current.wired
        && found.SameAddress(current);
}

// The firmware hints of the settings page for a mouse on the cable: the
// receiver found beside it (when exactly one other device is listed) and
// whether images of other versions exist.
void FirmwareHints(const QList<DeviceAllInfo>& devices)
{
    QString receiverVersion;
    int receiverKind = 0;
    if (devices.size() == 2) {
        for (const DeviceAllInfo& device : devices) {
            if (device.address.size() >= 3 && !device.wired) {
                receiverVersion = device.receiverVersion;
                receiverKind = DeviceAllInfo::ReceiverKind(device.linkType);
                break;
            }
        }
    }
    QString flag;
    if (FirmwareImages::FolderExists()) {
        const bool receiver = FirmwareImages::CheckFirmwareUpdate(FirmwareImages::ReceiverType, receiverVersion,
                                                                  receiverKind);
        const bool mouse = FirmwareImages::CheckFirmwareUpdate(FirmwareImages::MouseType,
                                                               CurrentDevice.get().mouseVersion, receiverKind);
        ReceiverUpdateAvailable = receiver;
        MouseUpdateAvailable = mouse;
        if (receiver || mouse)
            flag = QStringLiteral("true");
    }
    PostMsg::Instance()->PostLabelTextB(receiverVersion, flag);
}
} // namespace

Worker::Worker(QObject* page)
    : QThread(nullptr)
{
    Q_UNUSED(page)
    RunRequested = true;
    StatusReReadTime = MonotonicMs();
    CurrentDevicePath.set(QByteArray(PlaceholderPath));
    DeviceOnline = false;

    onlineCheck = new QTimer(this);
    onlineCheck->setInterval(Timing::Ms(OnlineCheckMs));
    connect(onlineCheck, &QTimer::timeout, this, &Worker::SlotCheckOnline);
    onlineCheck->start();
    onlineCheckTimer = onlineCheck;

    connect(PostMsg::Instance(), &PostMsg::SigSelectMouseInfo, this, &Worker::SlotSelectMouseInfo);
    connect(PostMsg::Instance(), &PostMsg::SigMainPageChange, this, &Worker::SlotMainPageChange);
    ShowBatteryValue = Description().Option().Int(QStringLiteral("ShowBatteryValue"));

    std::lock_guard<std::mutex> lock(instanceMutex);
    WorkerInstance = this;
}

Worker::~Worker()
{
    {
        std::lock_guard<std::mutex> lock(instanceMutex);
        if (WorkerInstance == this)
            WorkerInstance = nullptr;
    }
    // A pass only ever waits for the GUI thread, which keeps serving it here.
    while (!StopAndWait(5000))
        qWarning() << "worker: a pass is still running; waiting for it to end";
    if (onlineCheckTimer == onlineCheck)
        onlineCheckTimer = nullptr;
}

void Worker::RequestPass()
{
    std::unique_lock<std::mutex> lock(passMutex);
    if (ending)
        return;
    RunRequested = true;
    ++passRequests;
    if (passLoopActive)
        return;     // the running loop sees the new request when its pass ends
    passLoopActive = true;
    lock.unlock();
    // A loop that has just ended may still be leaving run().
    if (QThread::currentThread() != this)
        WaitForEnd(5000);
    start(QThread::InheritPriority);
}

void Worker::StopRun()
{
    std::lock_guard<std::mutex> lock(passMutex);
    droppedRequests = passRequests;
    RunRequested = false;
}

bool Worker::StopAndWait(int timeoutMs)
{
    {
        std::lock_guard<std::mutex> lock(passMutex);
        ending = true;
    }
    StopRun();
    if (QThread::currentThread() == thread()) {
        onlineCheck->stop();
        disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    }
    return WaitForEnd(timeoutMs);
}

bool Worker::WaitForEnd(int timeoutMs)
{
    // On the GUI thread a pass may be waiting for a slot here: keep serving it.
    const bool serveEvents = QThread::currentThread() == thread();
    QDeadlineTimer deadline(timeoutMs);
    while (isRunning()) {
        if (deadline.hasExpired())
            return false;
        if (serveEvents)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        wait(QDeadlineTimer(5));
    }
    // The loop's last writes were made under this lock.
    std::lock_guard<std::mutex> lock(passMutex);
    return true;
}

QTimer* Worker::OnlineCheckTimer()
{
    return onlineCheckTimer;
}

void Worker::run()
{
    std::unique_lock<std::mutex> lock(passMutex);
    passLoopActive = true;
    quint64 handled = passRequests;
    lock.unlock();
    if (RunRequested)
        RunPass();
    for (;;) {
        lock.lock();
        // Requests that StopRun dropped get no pass.
        if (ending || passRequests == std::max(handled, droppedRequests)) {
            passLoopActive = false;
            return;
        }
        // Asked for while the last pass ran, after that pass had begun.
        handled = passRequests;
        RunRequested = true;
        lock.unlock();
        RunPass();
    }
}

void Worker::RunPass()
{
    if (!DeviceOnline)
        DeviceOnline = Online(CurrentDevicePath.get());

    DeviceAllInfo device;
    QByteArray path;
    {
        std::lock_guard<std::recursive_mutex> lock(CurrentDeviceMutex);
        device = CurrentDevice.get();
        path = CurrentDevicePath.get();
    }
    const bool unchanged = device.path == lastPath && device.linkType == lastLinkType
        && LastOnline == DeviceOnline && !ForceReRead;
    if (!unchanged && DeviceChosen == 1) {
        PostMsg* const bus = PostMsg::Instance();
        const bool online = Online(path);
        CurrentDevice.update([&](DeviceAllInfo& current) {
            if (current.path == device.path)
                current.online = online;
        });
        if (online) {
            if (ForceReRead.exchange(false))
                bus->PostUpDataParam(PostMsg::ParamDeviceChanged);
            else if (!ApplyInProgress)
                bus->PostUpDataParam(PostMsg::ParamDeviceOpened);
        } else {
            // Read the device once it answers: until then the pages show the
            // stored configuration and nothing is written to the device.
            OfflinePending = true;
            ReReadRequested = true;
            FlashDataMap cached;
            if (ReadDeviceInfoFile(CacheReadName.get(), &cached))
                PostWholeImage(cached);
            else
                bus->PostFormReset();
        }
        lastPath = QString(device.path);
        lastLinkType = device.linkType;

        UsbServerC_Start(path.constData(), path.constData(), &Worker::OnUsbData);
        qCDebug(DebugLog) << "OnlinA";
        UsbServer_SetPCDriverStatus(1);
        UsbServer_ReadAllFlashData();
        LastOnline = DeviceOnline.load();
        qCDebug(DebugLog) << "OnlinB";
    }
    DeviceDataReady = DeviceOnline.load();
    RunRequested = false;
}

void Worker::SlotSelectMouseInfo(DeviceAllInfo info)
{
    std::lock_guard<std::recursive_mutex> lock(CurrentDeviceMutex);
    CurrentDevice.set(info);
    // The pass opens the chosen device itself, not the one a late device-change
    // notice would name; its image must be read before anything is written.
    CurrentDevicePath.set(PathOf(info));
    CacheReadName.set(DeviceCacheFile::FileName(info));
    LiveFlashDataSource.set(QByteArray());
}

void Worker::SlotMainPageChange()
{
    LastOnline = false;
}

void Worker::SlotCheckOnline()
{
    if (OfflinePending) {
        if (DeviceChosen == 0) {
            if (CurrentDevice.get().linkType != 0)
                OfflinePending = false;
        } else if (DeviceWatchEnabled) {
            DeviceOnline = Online(CurrentDevicePath.get());
            LastOnline = false;
            if (DeviceOnline) {
                PostMsg::Instance()->PostCloseOffOnline();
                OfflinePending = false;
            }
        }
    }
    if (DeviceOnline && ReReadRequested) {
        ReReadRequested = false;
        RequestPass();
    }
}

void Worker::ConnectDevice(DeviceAllInfo device)
{
    const QByteArray path = PathOf(device);
    if (Online(path)) {
        std::lock_guard<std::recursive_mutex> lock(CurrentDeviceMutex);
        CurrentDevice.set(device);
        CurrentDevicePath.set(path);
    }
    RunRequested = true;
    std::lock_guard<std::mutex> lock(instanceMutex);
    if (Worker* const worker = WorkerInstance)
        worker->RequestPass();
}

void Worker::EnumerateDevices(const QString& vid, const QVector<QString>& pids)
{
    const QByteArray vendor = vid.toLocal8Bit();
    for (const QString& pid : pids) {
        int count = 5;
        const char* const* paths = UsbFinderC_FindHidDevicesByDeviceId(vendor.constData(), pid.toLocal8Bit().constData(),
                                                                       1, 5, &count);
        if (!paths)
            continue;
        for (int i = 0; i < qBound(0, count, 5); ++i) {
            DeviceAllInfo device;
            device.path = QString::fromLocal8Bit(paths[i]);
            device.vid = vid;
            device.pid = pid;
            device.receiverVersion = DeviceAllInfo::ReceiverVersionOf(paths[i]);
            device.online = false;

            if (CurrentDevice.get().path.isEmpty()) {
                WorkerDeviceList.update([&](QList<DeviceAllInfo>& list) { list.append(device); });
                continue;
            }
            if (IdentifyDevice(device, paths[i]) != 1) {
                WorkerDeviceList.update([&](QList<DeviceAllInfo>& list) { list.append(device); });
                continue;
            }
            std::lock_guard<std::recursive_mutex> lock(CurrentDeviceMutex);
            const DeviceAllInfo current = CurrentDevice.get();
            if (device.modelIndex != current.modelIndex)
                continue;
            WorkerDeviceList.update([&](QList<DeviceAllInfo>& list) { list.append(device); });
            if (device.path == current.path)
                CurrentDevicePath.set(QByteArray(paths[i]));
        }
    }
}

int Worker::IdentifyDevice(DeviceAllInfo& device, const char* path)
{
    const QByteArray bytes(path);
    const DeviceAllInfo::Ids ids = DeviceAllInfo::ReadIds(bytes);
    const ProductDescription& description = Description();
    if (!ids.counted) {
        device.SetNoModel(ids.linkType, description.DeviceTotal());
        return 0;
    }

    const int model = description.ModelIndexOf(ids.cid, ids.mid);
    if (model >= 0) {
        device.SetModel(ids, model);
        device.ReadOnlineAndAddress(bytes);
        CurrentDevice.update([&](DeviceAllInfo& current) {
            if (device.path != current.path)
                return;
            DeviceAllInfo refreshed = device;
            if (!current.mouseVersion.isEmpty())
                refreshed.mouseVersion = current.mouseVersion;
            if (!current.receiverVersion.isEmpty())
                refreshed.receiverVersion = current.receiverVersion;
            current = std::move(refreshed);
        });
        return 1;
    }

    const int total = description.DeviceTotal();
    if (total < 1)
        return 0;
    device.SetNoModel(ids.linkType, total);
    return ids.cid == description.Cid() ? 2 : 3;
}

void Worker::OnUsbData(const unsigned char* header, int headerLength, const unsigned char* data, int dataLength)
{
    auto headerByte = [&](int index) { return header && index < headerLength ? int(header[index]) : 0; };
    if (!data)
        dataLength = 0;
    PostMsg* const bus = PostMsg::Instance();
    switch (headerByte(HeaderTypeByte)) {
    case DIVAZA_REPORT_BATTERY: {
        if (dataLength < 2)
            return;
        unsigned char battery[4] = {};
        GetDeviceBatteryStatus(data, battery);
        bus->PostBattery(battery[BatteryChargingByte] != 0, battery[BatteryLevelByte], ShowBatteryValue == 1);
        break;
    }
    case DIVAZA_REPORT_FLASH_DATA:
        if (headerByte(HeaderPartByte) == 0 && dataLength > 0)
            ConfigurationReport(headerByte(HeaderAddressByte), data, dataLength);
        break;
    case DIVAZA_REPORT_MODEL_DEFAULTS:
        ModelDefaults();
        break;
    case DIVAZA_REPORT_STATUS_CHANGED: {
        if (dataLength < StatusBytes)
            return;
        unsigned char flags[StatusBytes] = {};
        GetDeviceStatusChanged(data, flags);
        PollDeviceStatus(flags);
        break;
    }
    case DIVAZA_REPORT_CONFIG:
        if (dataLength == 1)
            bus->PostUpDataConfigUI(4, data[0], true);
        else
            bus->PostUpDataConfigUI(0, 0, false);
        break;
    case DIVAZA_REPORT_VERSION:
        MouseVersion();
        break;
    case DIVAZA_REPORT_DONGLE_RGB:
        bus->PostRGBValue(DongleRGBRecord);
        break;
    case DIVAZA_REPORT_LONG_RANGE_OFF:
        if (dataLength == 10)
            bus->PostLongRangeMode(false);
        break;
    default:
        break;
    }
}

void Worker::PollDeviceStatus(const unsigned char* flags)
{
    if (flags[StatusDpiStage])
        UsbServer_ReadCurrentDPI();
    if (flags[StatusReportRate])
        UsbServer_ReadReportRate();
    if (flags[StatusBattery])
        UsbServer_ReadBatteryLevel();
    if (flags[StatusLightBar])
        UsbServer_ReadLedBar();
    if (flags[StatusDpiLight])
        UsbServer_ReadDPILed();
    if (flags[StatusConfiguration]) {
        const qint64 now = MonotonicMs();
        qint64 last = StatusReReadTime;
        // Another configuration change within the guard time is the same change.
        if (now - last > Timing::Ms(StatusReReadGuardMs) && StatusReReadTime.compare_exchange_strong(last, now)) {
            ReReadRequested = true;
            ForceReRead = true;
        }
    }
}

void Worker::OnUsbChanged()
{
    PostMsg* const bus = PostMsg::Instance();
    bus->PostSetver(PostMsg::SetverDevicesChanged);
    const QString vid = Description().Vid();
    WorkerDeviceList.set({});
    EnumerateDevices(vid, SearchProductIds());

    const QList<DeviceAllInfo> devices = WorkerDeviceList.get();
    if (devices.isEmpty()) {
        if (DeviceWatchEnabled) {
            CurrentDevice.set(DeviceAllInfo());
            bus->PostChangeMainDialog(PostMsg::ChooserPage);
        }
    } else {
        int elsewhere = 0;
        for (const DeviceAllInfo& found : devices) {
            const DeviceAllInfo current = CurrentDevice.get();
            if (!current.path.isEmpty()) {
                if (MovedToCable(found, current))
                    ConnectDevice(found);
            } else if (!current.wired && current.online) {
                if (MovedToCable(found, current))
                    ConnectDevice(found);
            } else if (found.path == current.path && found.online) {
                ConnectDevice(found);
            }
            const DeviceAllInfo now = CurrentDevice.get();
            if (!now.path.isEmpty() && found.path != now.path)
                ++elsewhere;
            if (elsewhere == devices.size() && !now.path.isEmpty() && DeviceWatchEnabled)
                bus->PostChangeMainDialog(PostMsg::ChooserPage);
        }
        if (CurrentDevice.get().wired)
            FirmwareHints(devices);
    }

    // An open update dialog looks at the devices again, unless it updates.
    if (RepairDialogShown && !FirmwareUpdateRunning)
        PostMsg::Instance()->PostCheckUpdate();
}

void Worker::WriteDeviceInfoFile(const QString& fileName, FlashDataMap image)
{
    DeviceCacheFile::Write(fileName, image);
}

bool Worker::ReadDeviceInfoFile(const QString& fileName, FlashDataMap* image)
{
    return DeviceCacheFile::Read(fileName, image);
}
