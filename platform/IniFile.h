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
//
// What a caller can rely on:
// - SetValue and Remove returning true: the change is taken. Every reader in
//   this process sees it, and it is queued for the disk; it is not on the
//   disk yet. A crash or a power loss before the writer's turn loses it, and
//   a write that then fails (a full disk, a folder that cannot be written)
//   loses it at the end of the program, with a log line only.
// - Flush returning true: every change taken before the call is on the disk
//   (written whole, synced, read back as meant). Only this form is durable:
//   a record that something depends on is flushed, and checked, before that
//   something goes on.
//
// A file that cannot be written back as it was read (damaged: a key without
// a name, a section without one) is healed at its next write: it is kept beside as DamagedFileName(), or
// "<that>.2", "<that>.3", ... when copies of earlier damage are there
// (logged), and a fresh file takes its place with the values that could be
// read and the changes. When no copy can be made, the file stays as it is
// and the write fails.
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
    // change and return at once (see above: taken, not on the disk); false
    // while the file cannot be written (its last write failed): the change is
    // kept and goes with the next write. A key without a name is refused
    // (false, nothing changes).
    bool SetValue(const QString& key, const QVariant& value);
    bool Remove(const QString& key);
    // The flushed forms: the change, then Flush(). True only when the change
    // and every change before it are on the disk; false for a key without a
    // name (nothing changes) or when the write failed (the change stays
    // taken, as with SetValue).
    bool SetValueFlushed(const QString& key, const QVariant& value);
    bool RemoveFlushed(const QString& key);
    // Waits until the changes made so far are written: true when they are on
    // the disk; false when the last write of this file failed (logged with
    // the reason).
    bool Flush();
    // Writes out the changes of every file, trying once more where a write
    // failed, and waits for it: the program's orderly end.
    static void WriteOutAll();

    QString path() const { return path_; }

    // Where a damaged file at path is kept: "<path>.damaged" (the first copy).
    static QString DamagedFileName(const QString& path);

    // The key of name in group: "group/name".
    static QString Key(const QString& group, const QString& name);

    struct State;

private:
    bool Take(const QString& key, const QVariant& value, bool remove);

    const QString path_;
    const std::shared_ptr<State> state_;
};
