/*
 * DIVAza: the device library through which the program reaches every mouse and
 * receiver. C API; callbacks run on the library's own threads.
 *
 * Conventions
 * - Paths are NUL-terminated 8-bit texts as returned by the finder functions;
 *   they stay valid for the life of the process.
 * - Functions returning int return non-zero on success unless said otherwise.
 *   Null pointers, unknown paths and short buffers give 0 (or an empty result),
 *   never a crash.
 * - Requests (UsbServer_Read...) return at once; the answer arrives later as a
 *   report on the report callback registered with UsbServerC_Start.
 * - Callbacks never run on the caller's thread and never inside the call that
 *   caused them. No library lock is held while a callback runs, so every
 *   function may be called from inside a callback.
 */
#ifndef DIVAZA_H
#define DIVAZA_H

#ifdef __cplusplus
extern "C" {
#endif

/* The program's 10,428-byte configuration image; the library knows its layout. */
struct FlashDataMap;
/* The 10-byte receiver-light record: byte 0 the option, bytes 1-9 the library's. */
struct DongleRGB;

#define DIVAZA_FLASH_DATA_SIZE 10428
#define DIVAZA_DEVICE_BLOCK_SIZE 6912
#define DIVAZA_ATTRIBUTE_SIZE 12
#define DIVAZA_ADDRESS_BUFFER_SIZE 10
#define DIVAZA_FIRMWARE_HEADER_SIZE 728
#define DIVAZA_UPGRADE_LOG_LINES 8

/* Report types (header byte 1). */
#define DIVAZA_REPORT_BATTERY 4
#define DIVAZA_REPORT_PAIRING 6
#define DIVAZA_REPORT_FLASH_DATA 8
#define DIVAZA_REPORT_MODEL_DEFAULTS 9
#define DIVAZA_REPORT_STATUS_CHANGED 10
#define DIVAZA_REPORT_CONFIG 14
#define DIVAZA_REPORT_VERSION 18
#define DIVAZA_REPORT_DONGLE_RGB 21
#define DIVAZA_REPORT_LONG_RANGE_OFF 23

/* Report callback: header byte 1 is the type; for type 8 header byte 3 is 0 and
 * header byte 4 the device address of the data. */
typedef void (*UsbDataCallback)(const unsigned char* header, int headerLength,
                                const unsigned char* data, int dataLength);

/* Device-change callback: called soon after registration, then after every plug
 * or unplug. */
typedef void (*UsbChangedCallback)(void);

/* One upgrade status report: type 7; kind 1 progress (value = percent) or
 * 2 result (value 1 = success, anything else = failure). */
typedef struct UpgradeStatusPacket {
    unsigned char type;
    unsigned char kind;
    unsigned char value;
    unsigned char reserved[5];
} UpgradeStatusPacket;

typedef void (*UpgradeStatusCallback)(UpgradeStatusPacket* packet);

/* A firmware image kept by the caller: the whole file content. It stays valid
 * and unchanged until the upgrade's result has been reported. */
typedef struct UpgradeImage {
    const unsigned char* data;
    int length;
} UpgradeImage;

/* The three identity bytes of a device; both ids are 0 until the device has
 * reported them. */
typedef struct UsbDeviceInfo {
    unsigned char cid;
    unsigned char mid;
    unsigned char linkType;
} UsbDeviceInfo;

/* ---- Finding devices ---------------------------------------------------- */

/* The paths of the attached devices with vendor and product id (4 hexadecimal
 * digits each). *count holds the capacity on entry and the number found on
 * return; null when none is found. */
const char* const* UsbFinderC_FindHidDevicesByDefaultDeviceId(const char* vid, const char* pid,
                                                               int* count);
/* The same search, with the library's interface selector and report count. */
const char* const* UsbFinderC_FindHidDevicesByDeviceId(const char* vid, const char* pid,
                                                        int interfaceNumber, int reportCount,
                                                        int* count);

/* Fills a 12-byte attribute record; bytes 8-9 (little-endian) are the version. */
int UsbFinderC_GetUsbDeviceAttribute(const char* path, unsigned char* attribute);

/* CID, MID and link type; all 0 for an unknown path. */
UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char* path);

/* Non-zero in the low byte when the device answers. */
int UsbFinderC_GetDeviceOnLine(const char* path);

/* buffer (at least 10 bytes): byte 6 is 1 when online, bytes 7-9 the address. */
int UsbFinderC_GetDeviceOnLineWithUsbAddress(const char* path, unsigned char* buffer);

/* The mouse firmware version: high byte major, low byte minor; 0 when unknown. */
int UsbFinderC_GetVersion(const char* path);

/* The receiver firmware version read from the device into *version. */
int UsbFinderC_GetSlaveVersion(const char* path, int* version);

/* Receiver light: the whole record is filled; on set, byte 0 is taken and
 * bytes 1-9 are expected as the library filled them. */
int UsbFinderC_Get4KDongleRGBValue(const char* path, struct DongleRGB* record);
int UsbFinderC_Set4KDongleRGB(const char* path, const struct DongleRGB* record);

/* Long range: *mode is 0 when off and non-zero when on; left untouched when the
 * receiver does not answer. */
int UsbFinderC_GetLongRangeMode(const char* path, unsigned char* mode);
int UsbFinderC_SetLongRangeMode(const char* path, int on);

/* Writes a 5-byte receiver id into a mouse on the cable. */
int UsbFinderC_SetDongleIDToMouse(const char* path, const unsigned char* id);

/* ---- The device connection ------------------------------------------------ */

/* Opens the device; from now on its reports go to callback (replacing any
 * earlier one). The second path names the interface for writes; callers pass
 * the same path twice. */
int UsbServerC_Start(const char* path, const char* writePath, UsbDataCallback callback);
/* 1: the configuration program is present; 0: absent. */
int UsbServer_SetPCDriverStatus(int present);
/* Closes the device. Never waits for a callback that is still running. */
int UsbServer_Exit(void);

int UsbServer_ReadAllFlashData(void);   /* type 8, address 0, 6912 bytes */
int UsbServer_ReadConfig(void);         /* type 14 */
int UsbServer_ReadVersion(void);        /* type 18 */
int UsbServer_ReadBatteryLevel(void);   /* type 4 */
int UsbServer_ReadCurrentDPI(void);     /* type 8, address 4, 1 byte */
int UsbServer_ReadReportRate(void);     /* type 8, address 0, 1 byte */
int UsbServer_ReadDPILed(void);         /* type 8, address 0x4C, 8 bytes */
int UsbServer_ReadLedBar(void);         /* type 8, address 0xA0, 9 bytes */
int UsbServer_ReadDonglePairStatus(void); /* type 6 */

/* Pairing for mice of this customer id; the outcome arrives as type 6 with
 * data byte 0 = 1 in progress, 2 failure, 3 success. */
int UsbServer_EnterDonglePairOnlyCid(unsigned char cid);
int UsbServer_SetBatteryOptimizeEnable(int enable);
/* Switches the mouse to one of its onboard configurations. */
int UsbServer_SetCurrentConfig(unsigned char index);
/* Restores the factory configuration; a model-defaults report (type 9) follows. */
int UsbServer_SetClearSetting(void);

/* ---- The configuration image ---------------------------------------------- */

/* Decodes a whole device block (6912 bytes) into the image. */
int ProtocolDataParser(const unsigned char* data, struct FlashDataMap* image);
/* Writes the whole image to the device; 0 when the write failed. */
int ProtocolDataUpdate(struct FlashDataMap* image);
/* Decodes the 8-byte DPI light record into image bytes 0x3F-0x42 (dpiLight
 * points at image byte 0x3F). */
int BufferToDPILed(const unsigned char* data, unsigned char* dpiLight);
/* Decodes the 9-byte light bar record into image bytes 0x43-0x49 (ledBar
 * points at image byte 0x43). */
int BufferToLedBar(const unsigned char* data, unsigned char* ledBar);

/* Battery report: out[0] level in percent, out[1] non-zero while charging
 * (out holds 4 bytes). */
int GetDeviceBatteryStatus(const unsigned char* data, unsigned char* out);
/* Status-change report: 7 flags: DPI, report rate, configuration, DPI light,
 * unused, light bar, battery. */
int GetDeviceStatusChanged(const unsigned char* data, unsigned char* out);

/* ---- Change notification ---------------------------------------------------- */

/* Registers the device-change callback (replacing an earlier one); period in ms. */
int StartUsbChanged(UsbChangedCallback callback, int periodMs);
/* Stops notifications. Never waits for a callback that is still running. */
int StopUsbChanged(void);

/* ---- Firmware upgrade ------------------------------------------------------- */

/* The number of devices in boot mode that the image fits (0 for a null or short
 * image); written into *count in every case. */
int UsbUpgradeC_FindBootDevices(const UpgradeImage* image, int* count);
/* Starts the upgrade and returns at once (1); progress reports and then one
 * result report follow on the upgrade thread. A callback may start the next
 * upgrade. A refused start (a damaged image, no single device it fits, an
 * upgrade still running) returns 0, leaves every device as it was and reports
 * one failure result on the upgrade thread; without a callback nothing is
 * reported. */
int UsbUpgrade_Start(const UpgradeImage* image, UpgradeStatusCallback callback, int timeoutMs);
/* Exactly 8 text lines about the last upgrade, valid until the next start. */
const char* const* UsbUpgradeC_GetLogs(void);

/* ---- Shutdown ----------------------------------------------------------------- */

/* Stops every library thread and waits for them; call once the program no
 * longer serves callbacks that wait for its GUI thread. */
void UsbLibrary_Shutdown(void);

#ifdef __cplusplus
}
#endif

#endif
