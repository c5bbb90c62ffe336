#pragma once

#include "core/DeviceEvent.h"

#include <cstddef>

// The macro of one mouse button: a name of up to 30 local 8-bit bytes and up to
// 70 events.
struct MacroBlock {
    static constexpr int MaxNameLength = 30;
    static constexpr int MaxEvents = 70;
    // The longest delay after one event of a macro, in milliseconds.
    static constexpr int MaxDelay = 1048575;

    quint8 nameLength = 0;
    char name[MaxNameLength] = {};
    quint8 count = 0;
    DeviceEvent events[MaxEvents] = {};
};

static_assert(sizeof(MacroBlock) == 592, "MacroBlock is 592 bytes");
static_assert(offsetof(MacroBlock, name) == 1, "MacroBlock name at 1");
static_assert(offsetof(MacroBlock, count) == 31, "MacroBlock count at 31");
static_assert(offsetof(MacroBlock, events) == 32, "MacroBlock events at 32");
static_assert(std::is_trivially_copyable<MacroBlock>::value, "MacroBlock is copied as bytes");
