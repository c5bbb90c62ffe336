#include "core/ParameterSetters.h"

#include "core/FlashDataMap.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "devicelib/DIVAza.h"

#include <QDebug>

#include <functional>

namespace {
using ImagePatch = std::function<void(FlashDataMap&)>;

bool ValidButton(int button)
{
    return button >= 0 && button < FlashDataMap::ButtonCount;
}

bool ValidStage(int stage)
{
    return stage >= 0 && stage < FlashDataMap::StageCount;
}

// Whether a setter may write now: the current device answers and its own
// whole configuration is in the live image (the image goes to the device as a
// whole, so an image read from another device, or none, must never reach it).
// When the device does not answer, the top window is asked for the offline
// notice, unless a page is only filling its widgets from an image.
bool DeviceAnswers(const QByteArray& path)
{
    if (DeviceAllInfo::Answers(path))
        return true;
    if (!SensorPageLoading && !ButtonPageLoading)
        PostMsg::Instance()->PostMouseOffLineo(PostMsg::MouseOffLine);
    return false;
}

bool DeviceAcceptsWrites()
{
    const QByteArray path = CurrentDevicePath.get();
    if (!DeviceAnswers(path))
        return false;
    if (LiveFlashDataIsCurrent())
        return true;
    qWarning() << "device image: the configuration of" << path << "has not been read yet; nothing is written";
    return false;
}

// Sends a copy of the whole image; the live image is not locked meanwhile.
bool SendImage(FlashDataMap image)
{
    if (ProtocolDataUpdate(&image) != 0)
        return true;
    qWarning() << "device image: the device library could not write the image";
    return false;
}

// The one way from a setter to the device: check, patch the live image under
// its lock, send the image as it is after the patch. When the device refuses
// the image, the bytes the patch changed get their old values back (unless a
// report changed them meanwhile), so a refused value neither rides along with
// the next write nor reaches the cache file.
bool WriteToDevice(const ImagePatch& patch)
{
    if (!DeviceAcceptsWrites())
        return false;
    FlashDataMap before;
    const FlashDataMap image = LiveFlashData.update([&](FlashDataMap& live) {
        before = live;
        patch(live);
        return live;
    });
    if (SendImage(image))
        return true;
    LiveFlashData.update([&](FlashDataMap& live) {
        for (int i = 0; i < FlashDataMap::Size; ++i) {
            if (image.bytes()[i] != before.bytes()[i] && live.bytes()[i] == image.bytes()[i])
                live.bytes()[i] = before.bytes()[i];
        }
    });
    return false;
}

bool WriteByte(quint8 FlashDataMap::*field, int value)
{
    return WriteToDevice([&](FlashDataMap& image) { image.*field = quint8(value); });
}

// A mode of 0 switches the light off and keeps the mode that was set.
bool WriteLightMode(quint8 FlashDataMap::*mode, quint8 FlashDataMap::*on, int value)
{
    return WriteToDevice([&](FlashDataMap& image) {
        if (value != 0)
            image.*mode = quint8(value);
        image.*on = value != 0 ? 1 : 0;
    });
}

bool WriteButtonFunction(int button, const ButtonFunction& function, const ImagePatch& record)
{
    if (!ValidButton(button))
        return false;
    return WriteToDevice([&](FlashDataMap& image) {
        image.buttons[button] = function;
        record(image);
    });
}
} // namespace

bool CheckDeviceOnline()
{
    return DeviceAcceptsWrites();
}

bool SetReportRate(int code) { return WriteByte(&FlashDataMap::reportRate, code); }
bool SetDpiStageCount(int count) { return WriteByte(&FlashDataMap::dpiStageCount, count); }
bool SetParamByte03(int value) { return WriteByte(&FlashDataMap::param03, value); }
bool SetParamByte04(int value) { return WriteByte(&FlashDataMap::param04, value); }
bool SetLiftOffDistance(int code) { return WriteByte(&FlashDataMap::liftOffDistance, code); }
bool SetDebounceTime(int index) { return WriteByte(&FlashDataMap::debounceTime, index); }
bool SetMotionSync(int on) { return WriteByte(&FlashDataMap::motionSync, on); }
bool SetLightOffTime(int tensOfSeconds) { return WriteByte(&FlashDataMap::lightOffTime, tensOfSeconds); }
bool SetAngleSnapping(int on) { return WriteByte(&FlashDataMap::angleSnapping, on); }
bool SetRippleControl(int on) { return WriteByte(&FlashDataMap::rippleControl, on); }
bool SetMoveLightOff(int on) { return WriteByte(&FlashDataMap::moveLightOff, on); }
bool SetPerformanceMode(int on) { return WriteByte(&FlashDataMap::performanceMode, on); }
bool SetSleepTime(int tensOfSeconds) { return WriteByte(&FlashDataMap::sleepTime, tensOfSeconds); }
bool SetSensorMode(int index) { return WriteByte(&FlashDataMap::sensorMode, index); }
bool SetDpiLightBrightness(int value) { return WriteByte(&FlashDataMap::dpiLightBrightness, value); }
bool SetDpiLightSpeed(int value) { return WriteByte(&FlashDataMap::dpiLightSpeed, value); }
bool SetLightSpeed(int value) { return WriteByte(&FlashDataMap::lightSpeed, value); }
bool SetLightBrightness(int value) { return WriteByte(&FlashDataMap::lightBrightness, value); }

bool SetCurrentDpiStage(int stage)
{
    if (!ValidStage(stage))
        return false;
    return WriteByte(&FlashDataMap::currentDpiStage, stage);
}

bool SetDpiStageValue(int stage, int x, int y, int bits)
{
    if (!ValidStage(stage))
        return false;
    return WriteToDevice([&](FlashDataMap& image) {
        DpiStage& record = image.dpiStages[stage];
        record.x = quint8(x);
        record.y = quint8(y);
        record.bits = quint8(bits);
    });
}

bool SetDpiStageColor(int stage, int red, int green, int blue)
{
    if (!ValidStage(stage))
        return false;
    return WriteToDevice([&](FlashDataMap& image) {
        DpiStage& record = image.dpiStages[stage];
        record.red = quint8(red);
        record.green = quint8(green);
        record.blue = quint8(blue);
    });
}

bool SetDpiStages(const DpiStage& a, const DpiStage& b, int indexB, int indexA, int current)
{
    if (!ValidStage(indexA) || !ValidStage(indexB) || !ValidStage(current))
        return false;
    return WriteToDevice([&](FlashDataMap& image) {
        image.dpiStages[indexA] = a;
        image.dpiStages[indexB] = b;
        image.currentDpiStage = quint8(current);
        image.dpiStageCount = quint8(current + 1);
    });
}

bool SetDpiLightMode(int mode)
{
    return WriteLightMode(&FlashDataMap::dpiLightMode, &FlashDataMap::dpiLightOn, mode);
}

bool SetLightMode(int mode)
{
    return WriteLightMode(&FlashDataMap::lightMode, &FlashDataMap::lightOn, mode);
}

bool SetLightColor(int red, int green, int blue)
{
    return WriteToDevice([&](FlashDataMap& image) {
        image.lightColor[0] = quint8(red);
        image.lightColor[1] = quint8(green);
        image.lightColor[2] = quint8(blue);
    });
}

bool SetButtonKey(int button, int type, int value1, int value2)
{
    const ButtonFunction function{quint8(type), quint8(value1), quint8(value2)};
    return WriteButtonFunction(button, function, [](FlashDataMap&) {});
}

bool SetButtonKeyData(int button, const ButtonFunction& function, const KeyRecord& keys)
{
    return WriteButtonFunction(button, function, [&](FlashDataMap& image) { image.keys[button] = keys; });
}

bool SetButtonMacro(int button, const ButtonFunction& function, const MacroBlock& macro)
{
    return WriteButtonFunction(button, function, [&](FlashDataMap& image) { image.macros[button] = macro; });
}

bool SetWholeImage(const FlashDataMap& image)
{
    const QByteArray path = CurrentDevicePath.get();
    if (!DeviceAnswers(path))
        return false;
    if (!SendImage(image)) {
        PostMsg::Instance()->PostMouseOffLineo(PostMsg::MouseOffLine);
        return false;
    }
    // The device holds this configuration now: it is the device's own.
    std::lock_guard<std::recursive_mutex> lock(CurrentDeviceMutex);
    LiveFlashData.set(image);
    LiveFlashDataSource.set(path);
    return true;
}

bool SendFlashData()
{
    // The live image goes out as a whole: only when it is this device's own.
    if (!LiveFlashDataIsCurrent()) {
        qWarning() << "device image: the configuration of" << CurrentDevicePath.get()
                   << "has not been read yet; nothing is written";
        return false;
    }
    return SendImage(LiveFlashData.get());
}
