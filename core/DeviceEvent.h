#pragma once

#include <QtEndian>
#include <type_traits>

// One key or mouse event inside a key record or a macro block, as the device
// stores it (8 bytes, multi-byte fields little-endian).
struct DeviceEvent {
    enum Kind : quint8 { Modifier = 0, Key = 1, Consumer = 2, Mouse = 4 };

    quint8 release = 0;     // 0 press, 1 release
    quint8 kind = 0;        // Kind
    quint16_le code{0};     // modifier mask, HID key usage, consumer usage or mouse button bit
    quint32_le delay{0};    // milliseconds after this event
};

static_assert(sizeof(DeviceEvent) == 8, "DeviceEvent is 8 bytes");
static_assert(std::is_trivially_copyable<DeviceEvent>::value, "DeviceEvent is copied as bytes");
