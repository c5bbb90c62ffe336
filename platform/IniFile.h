#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// An INI file (UTF-8, in the form QSettings reads). Safe to use from any
// thread; every IniFile of one path in the process shares one view of the
// file, which is read again when another process has replaced the file.
// A change is on disk when the call returns, written whole through
// ReplaceFile (the old file or the new one, never a cut file), under the
// file's lock ("<file>.lock") against writers in other processes. A change
// that cannot be written is logged and changes nothing.
class IniFile {
public:
    explicit IniFile(const QString& path);
    ~IniFile();
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
    // Both return false when the file could not be written. Remove also
    // removes the keys below key ("key/...").
    bool SetValue(const QString& key, const QVariant& value);
    bool Remove(const QString& key);

    QString path() const { return path_; }

    // The key of name in group: "group/name".
    static QString Key(const QString& group, const QString& name);

    struct State;

private:
    bool Change(const QString& key, const QVariant* value);

    const QString path_;
    const std::shared_ptr<State> state_;
};
