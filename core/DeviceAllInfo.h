#pragma once

#include <QByteArray>
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

    // What the device library answers about the device of a path (its 8-bit
    // text, as the library takes it). Callers say which encoding they use.

    // Whether the device answers now (the plain online query).
    static bool Answers(const QByteArray& path);
    // The online query with the address: online is set when the answer's
    // online byte is 1 and cleared otherwise, address takes its three address
    // bytes. True when one of them is not zero.
    bool ReadOnlineAndAddress(const QByteArray& path);

    // The ids a device reports: customer, model and link type, and whether
    // they came within the queries that count.
    struct Ids {
        quint8 cid = 0;
        quint8 mid = 0;
        quint8 linkType = 0;
        bool counted = false;
    };
    // Asks for the ids until customer or model id is not zero, at most ten
    // times without pause: devices report zeros for a while after they
    // appear. Only the first nine answers count; the tenth gives the link
    // type alone.
    static Ids ReadIds(const QByteArray& path);
    // A device of a known model takes its ids, link type and model index.
    void SetModel(const Ids& ids, int modelIndex);
    // A device of no known model keeps only the link type it reported; its
    // model index is the model count ("DeviceTotal").
    void SetNoModel(quint8 reportedLinkType, int deviceTotal);

    // Where the library's answers hold what is read from them.
    static constexpr int AttributeVersionByte = 8;  // 16-bit version, little-endian, in the USB attributes
    static constexpr int OnlineByte = 6;            // of the address answer: 1 while online
    static constexpr int AddressByte = 7;           // of the address answer: the first of three
    static constexpr int IdQueries = 10;
    static constexpr int CountedIdQueries = 9;
};

Q_DECLARE_METATYPE(DeviceAllInfo)
