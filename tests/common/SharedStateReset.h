#pragma once

#include "core/DeviceAllInfo.h"
#include "core/SharedState.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"

// Puts the process-wide state back to the values a fresh program starts with,
// so that each test case begins where the program does.
inline void ResetSharedState()
{
    LiveFlashData.set(FlashDataMap());
    LiveFlashDataSource.set(QByteArray());
    CurrentDevice.set(DeviceAllInfo());
    CurrentDevicePath.set(QByteArray());
    WorkerDeviceList.set({});
    CacheReadName.set(QString());
    CacheWriteName.set(QString());
    *DongleRGBRecord = DongleRGB();
    RunRequested = false;
    DeviceOnline = false;
    DeviceDataReady = false;
    OfflinePending = false;
    ReReadRequested = false;
    ForceReRead = false;
    ApplyInProgress = false;
    DeviceWatchEnabled = true;
    DeviceChosen = 0;
    SensorPageLoading = false;
    ButtonPageLoading = false;
    LightPageLoading = false;
    SensorPageFilled = false;
    ButtonPageFilled = false;
    UiReady = false;
    MacroRecording = false;
    UsePairingTarget = false;
    OfflineReason = 0;
    ImportActive = 0;
    ImportFileResult = 0;
    MouseUpdateAvailable = false;
    ReceiverUpdateAvailable = false;
    FirmwareUpdateRunning = false;
}

// A simulated device as the chooser lists it: path, version of its USB
// attributes and the identity its answers give.
inline DeviceAllInfo Found(const char* id)
{
    const char* path = SimDevice_PathOf(id);
    DeviceAllInfo device;
    device.path = QString::fromLatin1(path);
    device.vid = QStringLiteral("3A17");
    unsigned char attribute[DIVAZA_ATTRIBUTE_SIZE] = {};
    UsbFinderC_GetUsbDeviceAttribute(path, attribute);
    device.receiverVersion = DeviceAllInfo::VersionText(quint32(attribute[8] | attribute[9] << 8));
    Worker::IdentifyDevice(device, path);
    return device;
}
