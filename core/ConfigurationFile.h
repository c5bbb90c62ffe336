#pragma once

#include "core/FlashDataMap.h"

#include <QString>

// The exported configuration file ("*.bin") that carries a mouse's whole
// configuration from one computer or device to another. It holds three blocks
// as QDataStream::writeBytes writes them, each a big-endian 32-bit length
// followed by that many bytes:
//   1. the magic text "Zelvo", zero-padded to 12 bytes;
//   2. the model's sensor name in UTF-8, zero-padded to 12 bytes (a longer
//      name is written whole, so that it reads back the same);
//   3. the 10428-byte image, byte for byte.
// The texts of blocks 1 and 2 are read up to their first zero byte (or the
// block's end). A file written with a 12-byte sensor block reads back here.
class ConfigurationFile {
public:
    enum Result {
        Accepted = 0,
        NotAConfiguration = 1,  // cannot be opened, another magic, blocks missing, cut or of another size
        OtherDevice = 2,        // another sensor, or a number of DPI stages the model does not have
    };

    static constexpr int TextBlockSize = 12;
    static const char Magic[];

    // Writes the file; an existing file stays whole until the new one is
    // complete. False when it cannot be written.
    static bool Write(const QString& path, const QString& sensor, const FlashDataMap& image);

    // Checks the file against a model with this sensor name and at most
    // maxDpiStages DPI stages. Only an accepted image is copied into *image;
    // any other result leaves *image as it was.
    static Result Read(const QString& path, const QString& sensor, int maxDpiStages, FlashDataMap* image);

    // "Sensor" and "DPIMaxGrade" (decimal, 0 when missing) of the model's group
    // "Drive" + (modelIndex + 1) in the product description.
    static QString SensorName(int modelIndex);
    static int MaxDpiStages(int modelIndex);

    // Write and Read for the model of the current device (CurrentDevice):
    // what the button page's export and import use.
    static bool Export(const QString& path, const FlashDataMap& image);
    static Result Import(const QString& path, FlashDataMap* image);
};
