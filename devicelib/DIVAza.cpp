// The exported C functions of libDIVAza.so; each hands over to the library.
#pragma GCC visibility push(default)
#include "DIVAza.h"
#pragma GCC visibility pop

#include "DeviceBlock.h"
#include "Library.h"

namespace {
Library& Lib()
{
    return Library::Instance();
}

int Read(Library::Request request)
{
    return Lib().Read(request);
}

const uint8_t* Bytes(const void* data)
{
    return static_cast<const uint8_t*>(data);
}

uint8_t* Bytes(void* data)
{
    return static_cast<uint8_t*>(data);
}
} // namespace

extern "C" {

const char* const* UsbFinderC_FindHidDevicesByDefaultDeviceId(const char* vid, const char* pid, int* count)
{
    return Lib().FindDevices(vid, pid, count);
}

const char* const* UsbFinderC_FindHidDevicesByDeviceId(const char* vid, const char* pid, int interfaceNumber,
                                                        int reportCount, int* count)
{
    if (interfaceNumber < 0 || reportCount < 0) {
        if (count)
            *count = 0;
        return nullptr;
    }
    return Lib().FindDevices(vid, pid, count);
}

int UsbFinderC_GetUsbDeviceAttribute(const char* path, unsigned char* attribute)
{
    return Lib().Attribute(path, attribute);
}

UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char* path)
{
    return Lib().DeviceInfo(path);
}

int UsbFinderC_GetDeviceOnLine(const char* path)
{
    return Lib().Online(path);
}

int UsbFinderC_GetDeviceOnLineWithUsbAddress(const char* path, unsigned char* buffer)
{
    return Lib().OnlineWithAddress(path, buffer);
}

int UsbFinderC_GetVersion(const char* path)
{
    return Lib().MouseVersion(path);
}

int UsbFinderC_GetSlaveVersion(const char* path, int* version)
{
    return Lib().ReceiverVersion(path, version);
}

int UsbFinderC_Get4KDongleRGBValue(const char* path, struct DongleRGB* record)
{
    return Lib().ReceiverLight(path, Bytes(record));
}

int UsbFinderC_Set4KDongleRGB(const char* path, const struct DongleRGB* record)
{
    return Lib().SetReceiverLight(path, Bytes(record));
}

int UsbFinderC_GetLongRangeMode(const char* path, unsigned char* mode)
{
    return Lib().LongRange(path, mode);
}

int UsbFinderC_SetLongRangeMode(const char* path, int on)
{
    return Lib().SetLongRange(path, on);
}

int UsbFinderC_SetDongleIDToMouse(const char* path, const unsigned char* id)
{
    return Lib().SetDongleId(path, id);
}

int UsbServerC_Start(const char* path, const char* writePath, UsbDataCallback callback)
{
    return Lib().Open(path, writePath, callback);
}

int UsbServer_SetPCDriverStatus(int present)
{
    return Lib().SetPCDriverStatus(present);
}

int UsbServer_Exit(void)
{
    return Lib().Close();
}

int UsbServer_ReadAllFlashData(void)
{
    return Read(Library::Request::WholeRead);
}

int UsbServer_ReadConfig(void)
{
    return Read(Library::Request::Config);
}

int UsbServer_ReadVersion(void)
{
    return Read(Library::Request::Version);
}

int UsbServer_ReadBatteryLevel(void)
{
    return Read(Library::Request::Battery);
}

int UsbServer_ReadCurrentDPI(void)
{
    return Read(Library::Request::CurrentDpi);
}

int UsbServer_ReadReportRate(void)
{
    return Read(Library::Request::ReportRate);
}

int UsbServer_ReadDPILed(void)
{
    return Read(Library::Request::DpiLight);
}

int UsbServer_ReadLedBar(void)
{
    return Read(Library::Request::LightBar);
}

int UsbServer_ReadDonglePairStatus(void)
{
    return Read(Library::Request::PairStatus);
}

int UsbServer_EnterDonglePairOnlyCid(unsigned char cid)
{
    return Lib().EnterPairing(cid);
}

int UsbServer_SetBatteryOptimizeEnable(int enable)
{
    return Lib().SetBatteryOptimize(enable);
}

int UsbServer_SetCurrentConfig(unsigned char index)
{
    return Lib().SetCurrentConfig(index);
}

int UsbServer_SetClearSetting(void)
{
    return Lib().ClearSetting();
}

int ProtocolDataParser(const unsigned char* data, struct FlashDataMap* image)
{
    if (!data || !image)
        return 0;
    DeviceBlock::Decode(data, Bytes(image));
    return 1;
}

int ProtocolDataUpdate(struct FlashDataMap* image)
{
    return Lib().WriteImage(Bytes(image));
}

int BufferToDPILed(const unsigned char* data, unsigned char* dpiLight)
{
    if (!data || !dpiLight)
        return 0;
    DeviceBlock::DecodeDpiLight(data, dpiLight);
    return 1;
}

int BufferToLedBar(const unsigned char* data, unsigned char* ledBar)
{
    if (!data || !ledBar)
        return 0;
    DeviceBlock::DecodeLightBar(data, ledBar);
    return 1;
}

int GetDeviceBatteryStatus(const unsigned char* data, unsigned char* out)
{
    if (!data || !out)
        return 0;
    out[0] = data[0] > 100 ? 100 : data[0];
    out[1] = data[1] ? 1 : 0;
    out[2] = 0;
    out[3] = 0;
    return 1;
}

int GetDeviceStatusChanged(const unsigned char* data, unsigned char* out)
{
    if (!data || !out)
        return 0;
    for (int i = 0; i < 7; ++i)
        out[i] = data[i] ? 1 : 0;
    return 1;
}

int StartUsbChanged(UsbChangedCallback callback, int periodMs)
{
    return Lib().StartChanged(callback, periodMs);
}

int StopUsbChanged(void)
{
    return Lib().StopChanged();
}

int UsbUpgradeC_FindBootDevices(const UpgradeImage* image, int* count)
{
    return Lib().Upgrades().FindBootDevices(image, count);
}

int UsbUpgrade_Start(const UpgradeImage* image, UpgradeStatusCallback callback, int timeoutMs)
{
    return Lib().Upgrades().Start(image, callback, timeoutMs);
}

const char* const* UsbUpgradeC_GetLogs(void)
{
    return Lib().Upgrades().Logs();
}

void UsbLibrary_Shutdown(void)
{
    Lib().Shutdown(Library::ShutdownBoundMs);
}

} // extern "C"
