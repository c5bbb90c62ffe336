#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class DeviceAllInfo;

// The firmware images for the mouse and the receiver: files "*.bin" in the
// folder "bin" beside the program, each a 728-byte header followed by the body
// that the device library writes to the device. The program never writes them.
//
// Header (little-endian): version u32 at 0x10, device type at 0x14 (210 mouse,
// 211 receiver), customer id at 0x15, model id at 0x16, model name at 0x57 (64
// bytes of local 8-bit text, NUL-padded).
//
// Three lookups share one scan of the folder (files in name order, letter case
// ignored). An image fits when its type, customer id, model id (low bytes) and
// model name (exactly) equal the arguments; the version then decides:
// - FindRepairFirmwareImage accepts a version text that differs from the given
//   one, or any version when none is given, and keeps the last image accepted;
// - FindSettingFirmwareImage accepts a different version (higher or lower, as
//   numbers: "v1.05" is "v1.5"), or any version when none is given, and keeps
//   the last image accepted;
// - HasNewerFirmwareImage answers the same question as FindSettingFirmwareImage
//   without keeping anything, and is false when no version is given.
// A file shorter than the header or one that cannot be read is passed over.
// The lookups may run on any thread.
class FirmwareImages {
public:
    static constexpr int HeaderSize = 728;
    static constexpr int MouseType = 210;
    static constexpr int ReceiverType = 211;

    struct Header {
        quint32 version = 0;
        quint8 type = 0;
        quint8 cid = 0;
        quint8 mid = 0;
        QByteArray modelName;     // up to the first NUL, at most 64 bytes
    };

    // The header at the start of data; false when data is shorter than it.
    static bool ReadHeader(const QByteArray& data, Header* header);

    // Application folder + "/bin", unless another folder was set.
    static QString Folder();
    // Makes the lookups use another folder; an empty text restores the default.
    static void SetFolder(const QString& folder);
    static bool FolderExists();

    // Arguments: device type (210, 211), the device's version text ("" for
    // any), the model name of the product description, customer id, model id.
    static bool FindSettingFirmwareImage(int type, const QString& version, const QString& modelName, int cid,
                                         int mid);
    static bool FindRepairFirmwareImage(int type, const QString& version, const QString& modelName, int cid,
                                        int mid);
    static bool HasNewerFirmwareImage(int type, const QString& version, const QString& modelName, int cid,
                                      int mid);

    // Whether an image of another version exists for the current device's
    // model: target 210 looks for the mouse ("MM"), any other target for the
    // receiver of the given kind (1 "DM", 2 "D2M", 4 "D4M", 8 "D8M"; any other
    // kind: false).
    static bool CheckFirmwareUpdate(int target, const QString& version, int receiverKind);

    // What the re-pair check of a listed device and the top window's Space key
    // decide on: the mouse firmware version the registry layer recorded for
    // the record's model ("" when none), and only when one is recorded,
    // whether the folder holds a mouse image (kept as FindSettingFirmwareImage
    // keeps it) and an image of the receiver that the record's link type
    // names (kept for a repair) of other versions. A record on the cable names
    // no receiver: no receiver image.
    struct RePairAnswers {
        QString recordedVersion;
        bool mouseNew = false;
        bool receiverNew = false;
    };
    static RePairAnswers AnswersFor(const DeviceAllInfo& record);

    // The whole file of the image that the last lookup of that kind kept
    // (empty when it kept none); at most one entry. The data stay valid as long
    // as the caller holds the copy, also after a later lookup.
    static QList<QByteArray> SettingImageList();
    static QList<QByteArray> RepairImageList();
};
