#pragma once

#include "core/DeviceAllInfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

class ProductDescription;

// The rules of the device list the chooser shows, apart from its widgets:
// which product ids are searched, how the listed devices are counted by link
// and model, when identical devices leave nothing to list, and which receiver
// records a mouse on the cable hides. The chooser fills ShownDevices and
// IdentifiedDevices (SharedState.h) by these rules and draws what they leave;
// the selection, pairing, the top window's keys and the firmware repair read
// the lists. GUI thread, except where a function says otherwise.
class DeviceListRules {
public:
    // The product ids as the last device-change handling read them: the
    // cable's ("USB_PID") and the receiver kinds' in the order of
    // ProductDescription::ReceiverKinds() ("Wireless_PID", "Wireless2_PID",
    // "Wireless4_PID", "Wireless8_PID").
    static QStringList UsbPidList;
    static QVector<QStringList> ReceiverPidLists;

    // Reads the five lists into UsbPidList and ReceiverPidLists and returns
    // the ids to search.
    static QVector<QString> ReadProductIds(const ProductDescription& description);
    // The ids to search, on any thread: the non-empty ids of the cable, then
    // of each receiver kind, each in its stored order; an id listed twice is
    // searched twice.
    static QVector<QString> SearchList(const QStringList& cable, const QVector<QStringList>& receivers);

    // The order in which the receiver lists are asked for a product id: in
    // list order when counting; for the badge, one order on full pages of
    // three and another on a last page of one or two devices. An id that
    // stands in one list only gets that list either way.
    enum class ListOrder { Counting, FullPageBadge, LastPageBadge };
    // The receiver list (its index in receivers) that holds pid, exactly;
    // -1 when none does.
    static int ReceiverList(const QVector<QStringList>& receivers, const QString& pid, ListOrder order);

    enum class Outcome { Listed, IdenticalDevices };
    // Applies the rules to the shown list. The devices are counted per link
    // (the cable, or the receiver list of their product id; a receiver record
    // whose id is in no list is not counted) and per model index (0 to
    // modelCount, the last for devices of no model; others are not counted).
    // Two of one link and model are identical devices: the list stays as it
    // is and nothing is to be shown. Otherwise each model below deviceTotal
    // that is on the cable exactly once loses its receiver records, so a mouse
    // on its cable and on its receiver is listed once, as the cabled device.
    static Outcome Apply(QList<DeviceAllInfo>& shown, const QVector<QStringList>& receivers, int modelCount,
                         int deviceTotal);

    // An identified device goes to the end of both lists.
    static void AppendIdentified(const DeviceAllInfo& info);
    // Stores a refreshed record at its position in ShownDevices and over the
    // records of the same device (same path) in IdentifiedDevices, whose
    // positions differ once receiver records were left out of the shown list.
    // An index outside the shown list changes nothing.
    static void StoreRefreshed(int index, const DeviceAllInfo& info);
};
