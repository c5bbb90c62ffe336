#pragma once

#include <QtGlobal>
#include <type_traits>

// One DPI stage of the device image: the sensor's register codes and the colour.
struct DpiStage {
    quint8 x = 0;       // X value code
    quint8 y = 0;       // Y value code
    quint8 bits = 0;    // extension bits of the codes
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
};

static_assert(sizeof(DpiStage) == 6, "DpiStage is 6 bytes");
static_assert(std::is_trivially_copyable<DpiStage>::value, "DpiStage is copied as bytes");
