#pragma once

#include "core/FlashDataMap.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"

#include <QByteArray>

// What a simulated mouse holds: its current 6912-byte device block, and that
// block as the program's image.
inline QByteArray StoredBlock(const char* mouse = "mouse")
{
    QByteArray block(DIVAZA_DEVICE_BLOCK_SIZE, '\0');
    const int length = SimDevice_ReadDeviceBlock(mouse, -1, reinterpret_cast<unsigned char*>(block.data()),
                                                 block.size());
    return block.left(length);
}

inline FlashDataMap StoredImage(const char* mouse = "mouse")
{
    FlashDataMap image;
    const QByteArray block = StoredBlock(mouse);
    if (block.size() == DIVAZA_DEVICE_BLOCK_SIZE)
        ProtocolDataParser(reinterpret_cast<const unsigned char*>(block.constData()), &image);
    return image;
}
