#pragma once

// The process-wide state that several parts of the program share. Flags are
// atomic; the live image and the current-device values are only reached through
// locked accessors that return copies. Values marked "GUI thread" are touched
// by the GUI thread alone.

#include "core/DeviceAllInfo.h"
#include "core/DongleRGB.h"
#include "core/FlashDataMap.h"
#include "core/Guarded.h"
#include "platform/ProductName.h"

#include <QByteArray>
#include <QList>
#include <mutex>
#include <QString>

#include <atomic>

class Worker;

// The one live configuration image.
extern Guarded<FlashDataMap> LiveFlashData;

// The device being configured. CurrentDevice, CurrentDevicePath,
// WorkerDeviceList, CacheReadName and CacheWriteName share one lock
// (CurrentDeviceMutex), so a group of them can be changed together.
extern std::recursive_mutex CurrentDeviceMutex;
extern Guarded<DeviceAllInfo> CurrentDevice;
extern Guarded<QByteArray> CurrentDevicePath;     // 8-bit path handed to the library
extern Guarded<QList<DeviceAllInfo>> WorkerDeviceList;
extern Guarded<QString> CacheReadName;
extern Guarded<QString> CacheWriteName;
// The path of the device whose whole configuration LiveFlashData holds, empty
// until one has been read (and again after a new device was chosen). Nothing is
// written to a device before its own configuration has been read.
extern Guarded<QByteArray> LiveFlashDataSource;
// True when LiveFlashData holds the whole configuration of CurrentDevicePath.
bool LiveFlashDataIsCurrent();

// GUI thread.
extern DeviceAllInfo PairingTarget;
extern QList<DeviceAllInfo> ShownDevices;
extern QList<DeviceAllInfo> IdentifiedDevices;
extern QString MouseIsNewTipsText;
extern QString WiredModeText;
// The current language's names of the five mouse clicks as the macro editor
// shows them in its rows ("ChooseEvent4" to "ChooseEvent8" of the language
// element "Macro"); empty until the macro page has loaded a language.
enum MouseButtonIndex { MouseLeft, MouseRight, MouseMiddle, MouseForward, MouseBack, MouseButtonCount };
extern QString MouseButtonNames[MouseButtonCount];
// The device-change callback of the device chooser, registered when the
// chooser is built: a dialog that took the device-change notices over gives
// them back to it.
extern std::atomic<void (*)()> ChooserDeviceChangeCallback;

// The one receiver-light record; its bytes are changed under DongleRGBMutex.
extern DongleRGB* const DongleRGBRecord;
extern std::mutex DongleRGBMutex;

extern std::atomic<Worker*> WorkerInstance;

extern std::atomic<bool> RunRequested;
extern std::atomic<bool> DeviceOnline;
extern std::atomic<bool> DeviceDataReady;
extern std::atomic<bool> OfflinePending;
extern std::atomic<bool> ReReadRequested;
extern std::atomic<bool> ForceReRead;
extern std::atomic<bool> ApplyInProgress;
extern std::atomic<bool> DeviceWatchEnabled;      // starts true
extern std::atomic<int> DeviceChosen;
extern std::atomic<bool> SensorPageLoading;
extern std::atomic<bool> ButtonPageLoading;
// The lighting page fills its widgets from an image or applies its defaults.
extern std::atomic<bool> LightPageLoading;
extern std::atomic<bool> SensorPageFilled;
extern std::atomic<bool> ButtonPageFilled;
extern std::atomic<bool> UiReady;
extern std::atomic<bool> MacroRecording;
extern std::atomic<bool> UsePairingTarget;
extern std::atomic<int> OfflineReason;
extern std::atomic<int> ImportActive;
extern std::atomic<int> ImportFileResult;
extern std::atomic<bool> MouseUpdateAvailable;
extern std::atomic<bool> ReceiverUpdateAvailable;
extern std::atomic<bool> FirmwareUpdateRunning;
// The update and repair dialog runs a repair.
extern std::atomic<bool> RepairUpgradeRunning;
// The update and repair dialog is shown (kept by the dialog's tracker).
extern std::atomic<bool> RepairDialogShown;
