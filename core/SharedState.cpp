#include "core/SharedState.h"

Guarded<FlashDataMap> LiveFlashData;

std::recursive_mutex CurrentDeviceMutex;
Guarded<DeviceAllInfo> CurrentDevice(CurrentDeviceMutex);
Guarded<QByteArray> CurrentDevicePath(CurrentDeviceMutex);
Guarded<QList<DeviceAllInfo>> WorkerDeviceList(CurrentDeviceMutex);
Guarded<QString> CacheReadName(CurrentDeviceMutex);
Guarded<QString> CacheWriteName(CurrentDeviceMutex);
Guarded<QByteArray> LiveFlashDataSource(CurrentDeviceMutex);

bool LiveFlashDataIsCurrent()
{
    std::lock_guard<std::recursive_mutex> lock(CurrentDeviceMutex);
    const QByteArray source = LiveFlashDataSource.get();
    return !source.isEmpty() && source == CurrentDevicePath.get();
}

DeviceAllInfo PairingTarget;
QList<DeviceAllInfo> ShownDevices;
QList<DeviceAllInfo> IdentifiedDevices;
QString MouseIsNewTipsText;
QString WiredModeText;
QString MouseButtonNames[MouseButtonCount];
std::atomic<void (*)()> ChooserDeviceChangeCallback{nullptr};

namespace {
DongleRGB dongleRGB;
}
DongleRGB* const DongleRGBRecord = &dongleRGB;
std::mutex DongleRGBMutex;

std::atomic<Worker*> WorkerInstance{nullptr};

std::atomic<bool> RunRequested{false};
std::atomic<bool> DeviceOnline{false};
std::atomic<bool> DeviceDataReady{false};
std::atomic<bool> OfflinePending{false};
std::atomic<bool> ReReadRequested{false};
std::atomic<bool> ForceReRead{false};
std::atomic<bool> ApplyInProgress{false};
std::atomic<bool> DeviceWatchEnabled{true};
std::atomic<int> DeviceChosen{0};
std::atomic<bool> SensorPageLoading{false};
std::atomic<bool> ButtonPageLoading{false};
std::atomic<bool> LightPageLoading{false};
std::atomic<bool> SensorPageFilled{false};
std::atomic<bool> ButtonPageFilled{false};
std::atomic<bool> UiReady{false};
std::atomic<bool> MacroRecording{false};
std::atomic<bool> UsePairingTarget{false};
std::atomic<int> OfflineReason{0};
std::atomic<int> ImportActive{0};
std::atomic<int> ImportFileResult{0};
std::atomic<bool> MouseUpdateAvailable{false};
std::atomic<bool> ReceiverUpdateAvailable{false};
std::atomic<bool> FirmwareUpdateRunning{false};
std::atomic<bool> RepairUpgradeRunning{false};
std::atomic<bool> RepairDialogShown{false};
