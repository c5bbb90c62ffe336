#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <mutex>

class QSettings;

// An INI file (UTF-8) reached through a fresh settings object per operation,
// under one lock: safe to use from any thread; a read sees the file as it is
// on disk now; a change is on disk when the call returns, written atomically
// (the old file or the new one, never a cut file). Nothing is left for an event
// loop to write later.
class IniFile {
public:
    explicit IniFile(const QString& path);
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // An invalid value when the key is missing.
    QVariant Value(const QString& key);
    // The value as text ("" when missing; a list of several items also reads
    // as ""); the value as a list (values with commas are lists; empty when
    // missing).
    QString Text(const QString& key);
    QStringList List(const QString& key);
    bool Contains(const QString& key);
    // Both return false when the file could not be written.
    bool SetValue(const QString& key, const QVariant& value);
    bool Remove(const QString& key);

    QString path() const { return path_; }

    // The key of name in group: "group/name".
    static QString Key(const QString& group, const QString& name);

private:
    std::unique_ptr<QSettings> Open() const;
    void ReleaseAbandonedLock() const;

    const QString path_;
    std::mutex mutex_; // a pthread lock: visible to the thread sanitizer
};
