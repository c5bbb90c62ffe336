#include "ConfigIni.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QTextCodec>

namespace {
const char* const IdentityKeys[] = {
    "MM", "DM", "D2M", "D4M", "D8M", "Sensor", "CID", "VID",
    "USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID",
};

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
    : path_(path)
    , settings_(path, QSettings::IniFormat)
{
    settings_.setIniCodec(QTextCodec::codecForName("UTF-8"));
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
    QMutexLocker lock(&mutex_);
    const QVariant value = settings_.value(group + QLatin1Char('/') + key);
    if (value.type() != QVariant::String)
        return QString();
    const QString text = value.toString();
    return decodeIdentity_ && IsIdentityKey(key) ? Decoded(text) : text;
}

QStringList ConfigIni::GetValueList(const QString& group, const QString& key)
{
    QMutexLocker lock(&mutex_);
    const QVariant value = settings_.value(group + QLatin1Char('/') + key);
    if (!value.isValid())
        return QStringList();
    QStringList items = value.toStringList();
    if (decodeIdentity_ && IsIdentityKey(key)) {
        for (QString& item : items)
            item = Decoded(item);
    }
    return items;
}

void ConfigIni::SetValue(const QString& group, const QString& key, const QString& value)
{
    QMutexLocker lock(&mutex_);
    settings_.setValue(group + QLatin1Char('/') + key, value);
}

void ConfigIni::RemoveKey(const QString& group, const QString& key)
{
    QMutexLocker lock(&mutex_);
    settings_.remove(group + QLatin1Char('/') + key);
}
