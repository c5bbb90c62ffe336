#include "core/ProductDescription.h"

#include "core/ConfigIni.h"

namespace {
// The keys of each receiver kind: its product-id list in "Option" and its
// receiver model name in a model's group.
struct ReceiverKeys {
    int kind;
    const char* pids;
    const char* modelName;
};
const ReceiverKeys ReceiverKeyTable[] = {
    {1, "Wireless_PID", "DM"},
    {2, "Wireless2_PID", "D2M"},
    {4, "Wireless4_PID", "D4M"},
    {8, "Wireless8_PID", "D8M"},
};

const ReceiverKeys* KeysOf(int receiverKind)
{
    for (const ReceiverKeys& keys : ReceiverKeyTable) {
        if (keys.kind == receiverKind)
            return &keys;
    }
    return nullptr;
}
} // namespace

ProductDescription::Group::Group(ConfigIni* store, const QString& name)
    : store_(store)
    , name_(name)
{
}

QString ProductDescription::Group::Text(const QString& key) const
{
    return store_->GetValue(name_, key);
}

int ProductDescription::Group::Int(const QString& key) const
{
    return Text(key).trimmed().toInt();
}

QStringList ProductDescription::Group::List(const QString& key) const
{
    QStringList items = store_->GetValueList(name_, key);
    for (QString& item : items)
        item = item.trimmed();
    // An empty value has no items.
    if (items.size() == 1 && items.first().isEmpty())
        items.clear();
    return items;
}

QString ProductDescription::Group::Colour(const QString& key) const
{
    return ColourText(List(key));
}

QString ProductDescription::ColourText(const QStringList& items)
{
    if (items.size() < 3)
        return DefaultColour();
    QStringList parts;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = items.at(i).trimmed().toInt(&ok);
        if (!ok || value < 0 || value > 255)
            return DefaultColour();
        parts << QString::number(value);
    }
    return parts.join(QLatin1Char(','));
}

QString ProductDescription::DefaultColour()
{
    return QStringLiteral("230,232,235");
}

const ProductDescription& ProductDescription::Instance()
{
    static const ProductDescription description(ConfigIni::Instance());
    return description;
}

ProductDescription::ProductDescription(ConfigIni* store)
    : store_(store)
{
}

ProductDescription::Group ProductDescription::Option() const
{
    return Group(store_, QStringLiteral("Option"));
}

ProductDescription::Group ProductDescription::Model(int modelIndex) const
{
    return Group(store_, ModelGroupName(modelIndex));
}

QString ProductDescription::ModelGroupName(int modelIndex)
{
    return QStringLiteral("Drive") + QString::number(modelIndex + 1);
}

int ProductDescription::DeviceTotal() const
{
    return Option().Int(QStringLiteral("DeviceTotal"));
}

int ProductDescription::Cid() const
{
    return Option().Int(QStringLiteral("CID"));
}

QString ProductDescription::Vid() const
{
    return Option().Text(QStringLiteral("VID"));
}

int ProductDescription::Mid(int modelIndex) const
{
    return Model(modelIndex).Int(QStringLiteral("MID"));
}

int ProductDescription::ModelIndexOf(int cid, int mid) const
{
    if (cid != Cid())
        return -1;
    const int total = DeviceTotal();
    for (int model = 0; model < total; ++model) {
        if (Mid(model) == mid)
            return model;
    }
    return -1;
}

QStringList ProductDescription::CablePids() const
{
    return Option().List(QStringLiteral("USB_PID"));
}

const QVector<int>& ProductDescription::ReceiverKinds()
{
    static const QVector<int> kinds = [] {
        QVector<int> list;
        for (const ReceiverKeys& keys : ReceiverKeyTable)
            list.append(keys.kind);
        return list;
    }();
    return kinds;
}

QString ProductDescription::ReceiverPidKey(int receiverKind)
{
    const ReceiverKeys* keys = KeysOf(receiverKind);
    return keys ? QLatin1String(keys->pids) : QString();
}

QString ProductDescription::ReceiverModelKey(int receiverKind)
{
    const ReceiverKeys* keys = KeysOf(receiverKind);
    return keys ? QLatin1String(keys->modelName) : QString();
}

QStringList ProductDescription::ReceiverPids(int receiverKind) const
{
    const QString key = ReceiverPidKey(receiverKind);
    return key.isEmpty() ? QStringList() : Option().List(key);
}

QVector<QStringList> ProductDescription::ReceiverPidLists() const
{
    QVector<QStringList> lists;
    for (int kind : ReceiverKinds())
        lists.append(ReceiverPids(kind));
    return lists;
}

QStringList ProductDescription::DpiRange(int modelIndex) const
{
    return Model(modelIndex).List(QStringLiteral("DPIRange"));
}

QStringList ProductDescription::KeyParam(int modelIndex, int button) const
{
    return Model(modelIndex).List(QStringLiteral("KeyParam") + QString::number(button));
}

int ProductDescription::Advanced(int modelIndex, AdvancedItem item) const
{
    const QStringList values = Model(modelIndex).List(QStringLiteral("Adveanced"));
    if (int(item) >= values.size())
        return -1;
    bool ok = false;
    const int value = values.at(int(item)).toInt(&ok);
    return ok ? value : -1;
}
