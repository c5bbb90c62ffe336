#include "MacroIni.h"

#include "UserDataFolder.h"

#include <QMutexLocker>
#include <QTextCodec>

MacroIni* MacroIni::Instance()
{
    static MacroIni instance(UserDataFolder() + QStringLiteral("/Macro.ini"));
    return &instance;
}

MacroIni::MacroIni(const QString& path)
    : path_(path)
    , settings_(path, QSettings::IniFormat)
{
    settings_.setIniCodec(QTextCodec::codecForName("UTF-8"));
}

QString MacroIni::GetValue(const QString& group, const QString& key)
{
    QMutexLocker lock(&mutex_);
    const QVariant value = settings_.value(group + QLatin1Char('/') + key);
    return value.type() == QVariant::String ? value.toString() : QString();
}

QStringList MacroIni::GetValueList(const QString& group, const QString& key)
{
    QMutexLocker lock(&mutex_);
    const QVariant value = settings_.value(group + QLatin1Char('/') + key);
    return value.isValid() ? value.toStringList() : QStringList();
}

void MacroIni::SetValue(const QString& group, const QString& key, const QString& value)
{
    QMutexLocker lock(&mutex_);
    settings_.setValue(group + QLatin1Char('/') + key, value);
    settings_.sync();
}

void MacroIni::RemoveKey(const QString& group, const QString& key)
{
    QMutexLocker lock(&mutex_);
    settings_.remove(group + QLatin1Char('/') + key);
    settings_.sync();
}
