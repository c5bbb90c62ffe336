#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// What the program knows about one found mouse or receiver, outside its
// configuration image. A plain value type.
class DeviceAllInfo {
public:
    DeviceAllInfo();

    QString path;             // HID path as the library returned it
    QString vid;              // vendor id text
    QString pid;              // the product id text it was found under
    quint8 cid = 0;           // customer id
    quint8 mid = 0;           // model id
    quint8 linkType = 0;      // how it is attached (see IsWiredLink, ReceiverKind)
    int modelIndex = 0;       // group "Drive" + (modelIndex + 1); "DeviceTotal" = unknown model
    bool online = false;
    bool wired = false;
    QString receiverVersion;
    QString mouseVersion;
    QList<quint8> address;    // three bytes once the online-with-address query ran

    // A link type with a bit of 0xFA set is a device on the cable.
    static bool IsWiredLink(quint8 linkType);
    // Link types 0, 4, 1, 5 are the receiver kinds 1, 2, 4, 8; anything else 0.
    static int ReceiverKind(quint8 linkType);
    // "v" + major in decimal + "." + minor in lower-case hexadecimal.
    static QString VersionText(quint32 version);
    // The version text of the 16-bit version in the USB attributes of a path
    // (bytes 8-9, little-endian), as the device library reports it.
    static QString ReceiverVersionOf(const char* path);

    // True when both records carry three address bytes and they are equal.
    bool SameAddress(const DeviceAllInfo& other) const;
};

Q_DECLARE_METATYPE(DeviceAllInfo)
