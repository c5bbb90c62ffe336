#pragma once

#include "core/DeviceEvent.h"

// The key events of one mouse button (a key, a key combination or a consumer key).
struct KeyRecord {
    static constexpr int MaxEvents = 6;

    quint8 count = 0;       // readers use byte 0 only
    quint8 countHigh[3] = {};
    DeviceEvent events[MaxEvents] = {};
};

static_assert(sizeof(KeyRecord) == 52, "KeyRecord is 52 bytes");
static_assert(offsetof(KeyRecord, events) == 4, "KeyRecord events start at 4");
static_assert(std::is_trivially_copyable<KeyRecord>::value, "KeyRecord is copied as bytes");
