#pragma once

#include "core/DongleRGB.h"
#include "core/FlashDataMap.h"
#include "core/PostMsg.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QVariant>

#include <functional>

// Stands in for the windows the worker and the apply dialog talk to: records,
// in order, every bus signal they would receive. Signals that carry an image or device state from
// the device library's threads arrive through blocking queued connections, as
// they do at the pages, so the sender waits until they are recorded. GUI thread.
class BusLog : public QObject {
public:
    struct Entry {
        QByteArray name;
        QVariantList arguments;
    };

    BusLog();

    void Clear() { entries.clear(); }
    int Count(const char* name) const;
    // The arguments of every recorded emission of name, in order.
    QList<QVariantList> Arguments(const char* name) const;
    QVariantList Last(const char* name) const;
    QByteArrayList Names() const;

    QList<Entry> entries;
    // Runs inside the slot that takes SigFormReset, while the sender waits.
    std::function<void()> onFormReset;

private:
    template <typename... Args>
    void Record(void (PostMsg::*signal)(Args...), const char* name, Qt::ConnectionType type);
};

// The image a recorded emission carried as its first argument.
inline FlashDataMap ImageOf(const QVariantList& arguments)
{
    return arguments.value(0).value<FlashDataMap>();
}
