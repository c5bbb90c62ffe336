#pragma once

#include "core/ButtonFunction.h"
#include "core/DpiStage.h"
#include "core/KeyRecord.h"
#include "core/MacroBlock.h"

#include <QMetaType>
#include <cstddef>

// The mouse's whole configuration as the device library reads and writes it:
// 10,428 bytes without header or checksum. Copies travel by value; the cache
// and export files store it byte for byte.
struct FlashDataMap {
    static constexpr int Size = 10428;
    static constexpr int ButtonCount = 16;
    static constexpr int StageCount = 8;

    // The device's own configuration block, as the device library reports
    // it: read whole (BlockSize bytes from address 0), or one part at its
    // address in the block (not an offset in this image), with its length.
    static constexpr int BlockSize = 6912;
    static constexpr int BlockReportRateAddress = 0x00;  // the report-rate code
    static constexpr int BlockReportRateLength = 1;
    static constexpr int BlockDpiStageAddress = 0x04;    // the current DPI stage
    static constexpr int BlockDpiStageLength = 1;
    static constexpr int BlockDpiLightAddress = 0x4C;    // the DPI light, for BufferToDPILed
    static constexpr int BlockDpiLightLength = 8;
    static constexpr int BlockLightBarAddress = 0xA0;    // the light bar, for BufferToLedBar
    static constexpr int BlockLightBarLength = 9;

    quint8 reportRate = 0;          // 0x00: 8, 4, 2, 1, 16, 32, 64 = 125 ... 8000 Hz
    quint8 dpiStageCount = 0;       // 0x01: 1 to 8
    quint8 currentDpiStage = 0;     // 0x02: 0 to 7
    quint8 param03 = 0;             // 0x03: kept as the device delivered it
    quint8 param04 = 0;             // 0x04: kept as the device delivered it
    quint8 liftOffDistance = 0;     // 0x05: 1 = 1 mm, 2 = 2 mm, 3 = 0.7 mm
    quint8 debounceTime = 0;        // 0x06: index of the debounce list
    quint8 motionSync = 0;          // 0x07
    quint8 lightOffTime = 0;        // 0x08: tens of seconds
    quint8 angleSnapping = 0;       // 0x09
    quint8 rippleControl = 0;       // 0x0A
    quint8 moveLightOff = 0;        // 0x0B
    quint8 performanceMode = 0;     // 0x0C
    quint8 sleepTime = 0;           // 0x0D: tens of seconds
    quint8 sensorMode = 0;          // 0x0E
    DpiStage dpiStages[StageCount] = {};   // 0x0F
    quint8 dpiLightMode = 0;        // 0x3F: 1 steady, 2 breathing
    quint8 dpiLightBrightness = 0;  // 0x40
    quint8 dpiLightSpeed = 0;       // 0x41
    quint8 dpiLightOn = 0;          // 0x42
    quint8 lightMode = 0;           // 0x43
    quint8 lightColor[3] = {};      // 0x44: red, green, blue
    quint8 lightSpeed = 0;          // 0x47
    quint8 lightBrightness = 0;     // 0x48
    quint8 lightOn = 0;             // 0x49
    ButtonFunction buttons[ButtonCount] = {};   // 0x4A
    quint8 reserved7A[2] = {};      // 0x7A: kept as the device delivered it
    KeyRecord keys[ButtonCount] = {};           // 0x7C
    MacroBlock macros[ButtonCount] = {};        // 0x3BC

    quint8* bytes() { return reinterpret_cast<quint8*>(this); }
    const quint8* bytes() const { return reinterpret_cast<const quint8*>(this); }
};

#define TALVIRE_CHECK_OFFSET(field, offset) \
    static_assert(offsetof(FlashDataMap, field) == (offset), #field " lies at " #offset)
TALVIRE_CHECK_OFFSET(reportRate, 0x00);
TALVIRE_CHECK_OFFSET(dpiStageCount, 0x01);
TALVIRE_CHECK_OFFSET(currentDpiStage, 0x02);
TALVIRE_CHECK_OFFSET(param03, 0x03);
TALVIRE_CHECK_OFFSET(param04, 0x04);
TALVIRE_CHECK_OFFSET(liftOffDistance, 0x05);
TALVIRE_CHECK_OFFSET(debounceTime, 0x06);
TALVIRE_CHECK_OFFSET(motionSync, 0x07);
TALVIRE_CHECK_OFFSET(lightOffTime, 0x08);
TALVIRE_CHECK_OFFSET(angleSnapping, 0x09);
TALVIRE_CHECK_OFFSET(rippleControl, 0x0A);
TALVIRE_CHECK_OFFSET(moveLightOff, 0x0B);
TALVIRE_CHECK_OFFSET(performanceMode, 0x0C);
TALVIRE_CHECK_OFFSET(sleepTime, 0x0D);
TALVIRE_CHECK_OFFSET(sensorMode, 0x0E);
TALVIRE_CHECK_OFFSET(dpiStages, 0x0F);
TALVIRE_CHECK_OFFSET(dpiLightMode, 0x3F);
TALVIRE_CHECK_OFFSET(dpiLightBrightness, 0x40);
TALVIRE_CHECK_OFFSET(dpiLightSpeed, 0x41);
TALVIRE_CHECK_OFFSET(dpiLightOn, 0x42);
TALVIRE_CHECK_OFFSET(lightMode, 0x43);
TALVIRE_CHECK_OFFSET(lightColor, 0x44);
TALVIRE_CHECK_OFFSET(lightSpeed, 0x47);
TALVIRE_CHECK_OFFSET(lightBrightness, 0x48);
TALVIRE_CHECK_OFFSET(lightOn, 0x49);
TALVIRE_CHECK_OFFSET(buttons, 0x4A);
TALVIRE_CHECK_OFFSET(reserved7A, 0x7A);
TALVIRE_CHECK_OFFSET(keys, 0x7C);
TALVIRE_CHECK_OFFSET(macros, 0x3BC);
#undef TALVIRE_CHECK_OFFSET
static_assert(sizeof(FlashDataMap) == FlashDataMap::Size, "FlashDataMap is 10,428 bytes");
static_assert(0x4A + 16 * sizeof(ButtonFunction) == 0x7A, "button functions fill 0x4A-0x79");
static_assert(0x7C + 16 * sizeof(KeyRecord) == 0x3BC, "key records fill 0x7C-0x3BB");
static_assert(0x3BC + 16 * sizeof(MacroBlock) == 0x28BC, "macro blocks fill 0x3BC-0x28BB");
static_assert(std::is_trivially_copyable<FlashDataMap>::value, "FlashDataMap is copied as bytes");
static_assert(std::is_standard_layout<FlashDataMap>::value, "FlashDataMap has a fixed layout");

Q_DECLARE_METATYPE(FlashDataMap)
