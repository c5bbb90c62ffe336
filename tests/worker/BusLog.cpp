#include "tests/worker/BusLog.h"

namespace {
template <typename T>
QVariant Recorded(const T& value)
{
    return QVariant::fromValue(value);
}

// The receiver-light record travels as a pointer: what counts is its option
// byte at the time the slot runs.
QVariant Recorded(DongleRGB* record)
{
    return record ? int(record->option) : -1;
}
} // namespace

BusLog::BusLog()
{
    const Qt::ConnectionType blocking = Qt::BlockingQueuedConnection;
    const Qt::ConnectionType queued = Qt::AutoConnection;
    Record(&PostMsg::SigUpDataLightUIButton, "SigUpDataLightUIButton", blocking);
    Record(&PostMsg::SigUpDataLightSensor, "SigUpDataLightSensor", blocking);
    Record(&PostMsg::SigUpDataConfigUI, "SigUpDataConfigUI", blocking);
    Record(&PostMsg::SigFormReset, "SigFormReset", blocking);
    Record(&PostMsg::SigUpDataReportRate, "SigUpDataReportRate", blocking);
    Record(&PostMsg::SigUpDataDPI, "SigUpDataDPI", blocking);
    Record(&PostMsg::SigUpDataDPILed, "SigUpDataDPILed", blocking);
    Record(&PostMsg::SigBattery, "SigBattery", blocking);
    Record(&PostMsg::SigRGBValue, "SigRGBValue", blocking);
    Record(&PostMsg::SigLongRangeMode, "SigLongRangeMode", blocking);
    Record(&PostMsg::SigForm, "SigForm", blocking);
    Record(&PostMsg::SigUpDataLightLight, "SigUpDataLightLight", queued);
    Record(&PostMsg::SigUpDataParam, "SigUpDataParam", queued);
    Record(&PostMsg::SigSetver, "SigSetver", queued);
    Record(&PostMsg::SigChangeMainDialog, "SigChangeMainDialog", queued);
    Record(&PostMsg::SigLabelTextB, "SigLabelTextB", queued);
    Record(&PostMsg::SigCloseOffOnline, "SigCloseOffOnline", queued);
    Record(&PostMsg::SigCheckUpdate, "SigCheckUpdate", queued);
    Record(&PostMsg::SigMouseOffLineo, "SigMouseOffLineo", queued);
    Record(&PostMsg::SigUpDataLightUIA, "SigUpDataLightUIA", queued);
    Record(&PostMsg::SigUpDataSensorUIB, "SigUpDataSensorUIB", queued);
    Record(&PostMsg::SigUpDataButtonUIC, "SigUpDataButtonUIC", queued);
    Record(&PostMsg::SigFormB, "SigFormB", queued);
}

template <typename... Args>
void BusLog::Record(void (PostMsg::*signal)(Args...), const char* name, Qt::ConnectionType type)
{
    connect(
        PostMsg::Instance(), signal, this,
        [this, name](Args... arguments) {
            entries.append({QByteArray(name), QVariantList{Recorded(arguments)...}});
            if (qstrcmp(name, "SigFormReset") == 0 && onFormReset)
                onFormReset();
        },
        type);
}

int BusLog::Count(const char* name) const
{
    return Arguments(name).size();
}

QList<QVariantList> BusLog::Arguments(const char* name) const
{
    QList<QVariantList> result;
    for (const Entry& entry : entries) {
        if (entry.name == name)
            result.append(entry.arguments);
    }
    return result;
}

QVariantList BusLog::Last(const char* name) const
{
    const QList<QVariantList> all = Arguments(name);
    return all.isEmpty() ? QVariantList() : all.last();
}

QByteArrayList BusLog::Names() const
{
    QByteArrayList names;
    for (const Entry& entry : entries)
        names.append(entry.name);
    return names;
}
