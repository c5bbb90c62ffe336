#pragma once

#include "core/FlashDataMap.h"

#include <QList>

#include <cstring>

// Device images for tests: every byte set from a seed, so that a byte written
// at the wrong place or left out shows.
inline FlashDataMap PatternImage(int seed)
{
    FlashDataMap image;
    for (int i = 0; i < FlashDataMap::Size; ++i)
        image.bytes()[i] = quint8(i * 31 + seed);
    return image;
}

inline bool SameImage(const FlashDataMap& a, const FlashDataMap& b)
{
    return std::memcmp(a.bytes(), b.bytes(), FlashDataMap::Size) == 0;
}

// Offsets at which two images differ.
inline QList<int> ChangedBytes(const FlashDataMap& a, const FlashDataMap& b)
{
    QList<int> changed;
    for (int i = 0; i < FlashDataMap::Size; ++i) {
        if (a.bytes()[i] != b.bytes()[i])
            changed.append(i);
    }
    return changed;
}
