#pragma once

#include <QtGlobal>
#include <type_traits>

// The function of one mouse button inside the device image: type 0-11 and two values.
struct ButtonFunction {
    quint8 type = 0;
    quint8 value1 = 0;
    quint8 value2 = 0;
};

static_assert(sizeof(ButtonFunction) == 3, "ButtonFunction is 3 bytes");
static_assert(std::is_trivially_copyable<ButtonFunction>::value, "ButtonFunction is copied as bytes");
