#include "platform/IniFile.h"

#include <QLockFile>
#include <QSettings>
#include <QTextCodec>

IniFile::IniFile(const QString& path)
    : path_(path)
{
}

QString IniFile::Key(const QString& group, const QString& name)
{
    return group + QLatin1Char('/') + name;
}

std::unique_ptr<QSettings> IniFile::Open() const
{
    auto settings = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    settings->setIniCodec(QTextCodec::codecForName("UTF-8"));
    return settings;
}

QVariant IniFile::Value(const QString& key)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return Open()->value(key);
}

// Writes are guarded by "<file>.lock". A writer that died right after making
// that file leaves it empty, and the settings object would wait half a minute
// before it takes such a lock as abandoned; an empty lock older than two
// seconds is released here first.
void IniFile::ReleaseAbandonedLock() const
{
    QLockFile lock(path_ + QStringLiteral(".lock"));
    lock.setStaleLockTime(2000);
    if (lock.tryLock(3000))
        lock.unlock();
}

QString IniFile::Text(const QString& key)
{
    return Value(key).toString();
}

QStringList IniFile::List(const QString& key)
{
    const QVariant value = Value(key);
    return value.isValid() ? value.toStringList() : QStringList();
}

bool IniFile::Contains(const QString& key)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return Open()->contains(key);
}

bool IniFile::SetValue(const QString& key, const QVariant& value)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    ReleaseAbandonedLock();
    const auto settings = Open();
    settings->setValue(key, value);
    settings->sync();
    // A damaged file reads with a format error and is written all the same.
    return settings->status() != QSettings::AccessError;
}

bool IniFile::Remove(const QString& key)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    ReleaseAbandonedLock();
    const auto settings = Open();
    settings->remove(key);
    settings->sync();
    return settings->status() != QSettings::AccessError;
}
