#pragma once

#include <QMetaType>
#include <type_traits>

// The receiver-light record shared with the device library: byte 0 is the
// light option 0-3, bytes 1-9 belong to the library and are passed back unchanged.
struct DongleRGB {
    quint8 option = 0;
    quint8 library[9] = {};
};

static_assert(sizeof(DongleRGB) == 10, "DongleRGB is 10 bytes");
static_assert(std::is_trivially_copyable<DongleRGB>::value, "DongleRGB is copied as bytes");

Q_DECLARE_METATYPE(DongleRGB*)
