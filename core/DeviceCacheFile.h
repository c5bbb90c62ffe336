#pragma once

#include "core/FlashDataMap.h"

#include <QString>

class DeviceAllInfo;

// The last configuration image of each device model, one file per customer id
// and model id in the per-user folder "Device_Info". A file holds one block as
// QDataStream::writeBytes writes it: the length 10428 as a big-endian 32-bit
// number, then the image byte for byte (10432 bytes in all).
class DeviceCacheFile {
public:
    static constexpr int FileSize = 4 + FlashDataMap::Size;

    // UserDataFolder() + "/Device_Info/".
    static QString Folder();

    // "Device_CID" + CID + "_MID" + MID + ".bin", both as two upper-case hex digits.
    static QString FileName(quint8 cid, quint8 mid);
    static QString FileName(const DeviceAllInfo& device);

    // Replaces the file fileName in the folder with image; the old file stays
    // whole until the new one is complete. False when fileName is empty or the
    // file cannot be written.
    static bool Write(const QString& fileName, const FlashDataMap& image);

    // Reads the file fileName of the folder into *image. False, with *image as
    // it was, unless the file holds exactly one block of exactly 10428 bytes.
    static bool Read(const QString& fileName, FlashDataMap* image);
};
