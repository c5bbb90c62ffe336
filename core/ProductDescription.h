#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class ConfigIni;

// Typed reads of the product description, Config.ini beside the program, over
// its store (ConfigIni). The group "Option" describes the product; each model
// has a group "Drive" + n, n from 1 to "DeviceTotal", which the program calls
// model index n - 1. Nothing here fails: a missing group or key reads as "",
// 0, an empty list or the default colour. Holds no state of its own; safe on
// any thread, like the store.
class ProductDescription {
public:
    // One group of the description.
    class Group {
    public:
        Group(ConfigIni* store, const QString& name);

        const QString& Name() const { return name_; }
        // The value as text; "" when missing (and for a key that holds a list).
        QString Text(const QString& key) const;
        // The value as a decimal number; 0 when missing or malformed.
        int Int(const QString& key) const;
        // The items of a comma-separated value, each trimmed; empty when
        // missing or empty.
        QStringList List(const QString& key) const;
        // A colour as "r,g,b" (ColourText): the first three items, each a
        // number from 0 to 255; anything else gives the default colour.
        QString Colour(const QString& key) const;

    private:
        ConfigIni* store_;
        QString name_;
    };

    // The description beside the program.
    static const ProductDescription& Instance();
    // The description of another store (a test's file, a build tool's).
    explicit ProductDescription(ConfigIni* store);

    Group Option() const;
    // The group of a model: "Drive" + (modelIndex + 1).
    Group Model(int modelIndex) const;
    static QString ModelGroupName(int modelIndex);

    // The items of a colour value as "r,g,b": the first three, each a number
    // from 0 to 255; fewer or anything else gives DefaultColour().
    static QString ColourText(const QStringList& items);
    // The program's text colour, "230,232,235".
    static QString DefaultColour();

    // "Option"/"DeviceTotal": the number of models. A device record whose
    // model index equals it is of no known model.
    int DeviceTotal() const;
    // "Option"/"CID": the customer id every supported device reports.
    int Cid() const;
    // "Option"/"VID": the vendor id text handed to the device search.
    QString Vid() const;
    // "MID" of a model.
    int Mid(int modelIndex) const;
    // The model of a device that reports these customer and model ids: the
    // first model whose "MID" is mid, when cid is the product's "CID"; -1
    // when no model matches.
    int ModelIndexOf(int cid, int mid) const;

    // The product ids of a mouse on the cable ("USB_PID").
    QStringList CablePids() const;
    // The receiver kinds (1, 2, 4, 8) in the order of their product-id lists.
    static const QVector<int>& ReceiverKinds();
    // The key of a receiver kind's product-id list: "Wireless_PID",
    // "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"; "" for another kind.
    static QString ReceiverPidKey(int receiverKind);
    // The key of a receiver kind's model name in a model's group: "DM",
    // "D2M", "D4M", "D8M"; "" for another kind.
    static QString ReceiverModelKey(int receiverKind);
    // The product ids of a receiver kind; empty for another kind.
    QStringList ReceiverPids(int receiverKind) const;
    // The four lists, in the order of ReceiverKinds().
    QVector<QStringList> ReceiverPidLists() const;

    // A model's DPI ranges: groups of (lowest, highest, step), then the range
    // mode ("0x11", "0x22" or "0x33").
    QStringList DpiRange(int modelIndex) const;
    // A model's default function of mouse button n (from 1): "KeyParam" + n.
    QStringList KeyParam(int modelIndex, int button) const;
    // Item 0 (long-range mode) or 1 (receiver light option) of a model's
    // "Adveanced" list as a number; -1, the model has no such feature, when
    // the item is "-1", missing or not a number.
    enum AdvancedItem { LongRangeItem = 0, ReceiverLightItem = 1 };
    int Advanced(int modelIndex, AdvancedItem item) const;

private:
    ConfigIni* store_;
};
