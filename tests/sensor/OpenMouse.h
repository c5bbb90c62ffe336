#pragma once

#include "core/SharedState.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "tests/common/SimImages.h"

// Opens the scenario's mouse (the default scenario's when none is given) as
// the current device, behind its receiver or on its cable, with the live
// image as the mouse holds it.
inline bool OpenMouse(const char* scenario = nullptr)
{
    if (!(scenario ? SimDevice_LoadScenario(scenario) : SimDevice_Reset()))
        return false;
    const char* path = SimDevice_PathOf("receiver");
    if (!path)
        path = SimDevice_PathOf("mouse");
    auto ignoreReports = [](const unsigned char*, int, const unsigned char*, int) {};
    if (!path || !UsbServerC_Start(path, path, ignoreReports))
        return false;
    CurrentDevicePath.set(QByteArray(path));
    LiveFlashDataSource.set(QByteArray(path));
    LiveFlashData.set(StoredImage());
    return true;
}
