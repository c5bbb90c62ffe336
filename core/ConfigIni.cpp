#include "core/ConfigIni.h"

#include <QCoreApplication>

namespace {
const char* const IdentityKeys[] = {
    "MM", "DM", "D2M", "D4M", "D8M", "Sensor", "CID", "VID",
    "USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID",
};

// Base64 of UTF-8 text; line breaks and spaces of the decoded text are dropped.
QString Decoded(const QString& stored)
{
    QString text = QString::fromUtf8(QByteArray::fromBase64(stored.toUtf8()));
    text.remove(QLatin1Char('\n'));
    text.remove(QLatin1Char(' '));
    return text;
}
} // namespace

ConfigIni* ConfigIni::Instance()
{
    static ConfigIni instance(QCoreApplication::applicationDirPath()
                              + QStringLiteral("/usersetting/Config.ini"));
    return &instance;
}

ConfigIni::ConfigIni(const QString& path)
    : file_(path)
{
}

bool ConfigIni::IsIdentityKey(const QString& key)
{
    for (const char* identity : IdentityKeys) {
        if (key == QLatin1String(identity))
            return true;
    }
    return false;
}

QString ConfigIni::DecodeBase64(const QString& text)
{
    return QString::fromLocal8Bit(QByteArray::fromBase64(text.toLocal8Bit()));
}

QString ConfigIni::GetValue(const QString& group, const QString& key)
{
    const QString text = file_.Text(IniFile::Key(group, key));
    return decodeIdentity_ && IsIdentityKey(key) ? Decoded(text) : text;
}

QStringList ConfigIni::GetValueList(const QString& group, const QString& key)
{
    QStringList items = file_.List(IniFile::Key(group, key));
    if (decodeIdentity_ && IsIdentityKey(key)) {
        for (QString& item : items)
            item = Decoded(item);
    }
    return items;
}

void ConfigIni::SetValue(const QString& group, const QString& key, const QString& value)
{
    file_.SetValue(IniFile::Key(group, key), value);
}

void ConfigIni::RemoveKey(const QString& group, const QString& key)
{
    file_.Remove(IniFile::Key(group, key));
}
