#include "core/DeviceListRules.h"

#include "core/ProductDescription.h"
#include "core/SharedState.h"

#include <algorithm>

QStringList DeviceListRules::UsbPidList;
QVector<QStringList> DeviceListRules::ReceiverPidLists(ProductDescription::ReceiverKinds().size());

namespace {
// The lists in the order they are asked, by their index in the list order
// "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID".
const int CountingOrder[] = {0, 1, 2, 3};
const int FullPageBadgeOrder[] = {1, 2, 0, 3};
const int LastPageBadgeOrder[] = {1, 2, 3, 0};
} // namespace

QVector<QString> DeviceListRules::ReadProductIds(const ProductDescription& description)
{
    UsbPidList = description.CablePids();
    ReceiverPidLists = description.ReceiverPidLists();
    return SearchList(UsbPidList, ReceiverPidLists);
}

QVector<QString> DeviceListRules::SearchList(const QStringList& cable, const QVector<QStringList>& receivers)
{
    QVector<QString> search;
    const auto add = [&search](const QStringList& pids) {
        for (const QString& pid : pids) {
            if (!pid.isEmpty())
                search.append(pid);
        }
    };
    add(cable);
    for (const QStringList& pids : receivers)
        add(pids);
    return search;
}

int DeviceListRules::ReceiverList(const QVector<QStringList>& receivers, const QString& pid, ListOrder order)
{
    const int* lists = order == ListOrder::FullPageBadge   ? FullPageBadgeOrder
                       : order == ListOrder::LastPageBadge ? LastPageBadgeOrder
                                                           : CountingOrder;
    for (int i = 0; i < 4; ++i) {
        if (receivers.value(lists[i]).contains(pid))
            return lists[i];
    }
    return -1;
}

DeviceListRules::Outcome DeviceListRules::Apply(QList<DeviceAllInfo>& shown, const QVector<QStringList>& receivers,
                                                int modelCount, int deviceTotal)
{
    // Row 0 the cable, then one row per receiver list; one column per model
    // index up to the model count, which marks a device of no model.
    const int models = qMax(modelCount, 0) + 1;
    QVector<QVector<int>> counts(1 + receivers.size(), QVector<int>(models, 0));
    for (const DeviceAllInfo& info : qAsConst(shown)) {
        int row = 0;
        if (!info.wired) {
            const int list = ReceiverList(receivers, info.pid, ListOrder::Counting);
            if (list < 0)
                continue;
            row = 1 + list;
        }
        if (info.modelIndex >= 0 && info.modelIndex < models)
            ++counts[row][info.modelIndex];
    }
    for (const QVector<int>& row : qAsConst(counts)) {
        if (std::any_of(row.begin(), row.end(), [](int count) { return count >= 2; }))
            return Outcome::IdenticalDevices;
    }

    for (int model = 0; model < deviceTotal && model < models; ++model) {
        if (counts[0][model] != 1)
            continue;
        for (int i = shown.size() - 1; i >= 0; --i) {
            if (shown.at(i).modelIndex == model && !shown.at(i).wired)
                shown.removeAt(i);
        }
    }
    return Outcome::Listed;
}

void DeviceListRules::AppendIdentified(const DeviceAllInfo& info)
{
    ShownDevices.append(info);
    IdentifiedDevices.append(info);
}

void DeviceListRules::StoreRefreshed(int index, const DeviceAllInfo& info)
{
    if (index < 0 || index >= ShownDevices.size())
        return;
    ShownDevices[index] = info;
    for (DeviceAllInfo& identified : IdentifiedDevices) {
        if (identified.path == info.path)
            identified = info;
    }
}
