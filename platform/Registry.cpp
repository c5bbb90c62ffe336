#include "platform/Registry.h"

#include "platform/ProductName.h"

#include <QSettings>
#include <QStringList>

namespace {
const char* const MouseDriveTest = "Mouse Drive Test/";

// Where the settings of organisation and application "TALVIRE" live for this
// user (the user's configuration folder).
QString RegistryFileName()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, ProductName, ProductName).fileName();
}
} // namespace

Registry* Registry::Instance()
{
    static Registry instance;
    return &instance;
}

Registry::Registry()
    : file_(RegistryFileName())
{
}

QString Registry::LanguageIndexKey()
{
    return ProductName + QLatin1Char('/') + ProductName + QLatin1Char('/') + ProductName
        + QStringLiteral("/LanguageIndex");
}

QString Registry::UpdateFailInfoKey()
{
    return QLatin1String(MouseDriveTest) + QStringLiteral("UpdateFailInfo");
}

QString Registry::MouseVerKey(const QString& cid, const QString& mid)
{
    return QLatin1String(MouseDriveTest) + QStringLiteral("MouseVer") + cid + mid;
}

QString Registry::LastFolderKey(const QString& use)
{
    return QStringLiteral("LastFolder/") + use;
}

QString Registry::GetValue(const QString& key)
{
    const QVariant value = file_.Value(key);
    // A text with commas edited by hand without quotes reads as a list; it is
    // still the one text that was meant.
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

int Registry::GetInt(const QString& key)
{
    return GetValue(key).trimmed().toInt();
}

bool Registry::Contains(const QString& key)
{
    return file_.Contains(key);
}

bool Registry::SetValue(const QString& key, const QVariant& value)
{
    return file_.SetValue(key, value);
}

bool Registry::RemoveKey(const QString& key)
{
    return file_.Remove(key);
}

bool Registry::SetValueFlushed(const QString& key, const QVariant& value)
{
    return file_.SetValueFlushed(key, value);
}

bool Registry::RemoveKeyFlushed(const QString& key)
{
    return file_.RemoveFlushed(key);
}
