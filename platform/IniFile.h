#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// An INI file (UTF-8, in the form QSettings reads). Safe to use from any
// thread; every IniFile of one path in the process shares one view of the
// file, which is read again when another process has replaced the file.
//
// No caller waits for the disk: a change is in the view at once (a read sees
// it), and the one settings writer thread (SettingsWriter) takes the changes
// of each file to the disk in the order they were made, written whole through
// ReplaceFile (the old file or the new one, never a cut file), under the
// file's lock ("<file>.lock") against writers in other processes. A write
// that fails is logged; its changes stay in the view and go with the next
// write. A crash loses only the changes not yet written; the end of the
// application object, and WriteOutAll, write out every change.
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
    // Remove also removes the keys below key ("key/..."). Both take the
    // change and return at once; false while the file cannot be written (its
    // last write failed): the change is kept and goes with the next write.
    bool SetValue(const QString& key, const QVariant& value);
    bool Remove(const QString& key);
    // Waits until the changes made so far are written; false when the last
    // write of this file failed (logged with the reason).
    bool Flush();
    // Writes out the changes of every file, trying once more where a write
    // failed, and waits for it: the program's orderly end.
    static void WriteOutAll();

    QString path() const { return path_; }

    // The key of name in group: "group/name".
    static QString Key(const QString& group, const QString& name);

    struct State;

private:
    bool Take(const QString& key, const QVariant& value, bool remove);

    const QString path_;
    const std::shared_ptr<State> state_;
};
