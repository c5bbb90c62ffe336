#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <QVariant>

// The program's few lasting per-user values, in place of a system registry:
// $XDG_CONFIG_HOME/TALVIRE/TALVIRE.ini. A key is "group/name", for example
// "Mouse Drive Test/UpdateFailInfo". Safe to use from any thread (the device
// library's threads write the mouse version); a change is read back at once
// and written whole by the settings writer thread, so no caller waits for the
// disk unless it asks for the flushed form (see IniFile for what each form
// promises); a read sees what other processes wrote.
class Registry {
public:
    static Registry* Instance();

    Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // The value as text; "" when missing.
    QString GetValue(const QString& key);
    // The value as a decimal number; 0 when missing or not a number.
    int GetInt(const QString& key);
    bool Contains(const QString& key);
    // Both return at once. True: the change is taken, read back at once in
    // this process and queued for the disk, but not on it: a crash can lose
    // it, and so can a write that fails later. False while the file cannot be
    // written (the change is kept and goes with the next write).
    bool SetValue(const QString& key, const QVariant& value);
    bool RemoveKey(const QString& key);
    // The flushed forms, for a record that something depends on: they wait
    // until the change and every change before it are on the disk (true), or
    // the write failed (false, logged; the change stays taken as above).
    bool SetValueFlushed(const QString& key, const QVariant& value);
    bool RemoveKeyFlushed(const QString& key);
    // Waits until the changes are on disk; false when a write failed.
    bool Flush() { return file_.Flush(); }

    QString FileName() const { return file_.path(); }

    // The keys the program uses.
    static QString LanguageIndexKey();                                  // moved into Macro.ini at start
    static QString UpdateFailInfoKey();                                 // record of a failed firmware update
    static QString MouseVerKey(const QString& cid, const QString& mid); // recorded mouse firmware version
    static QString LastFolderKey(const QString& use);                   // the file chooser's last folder of a use

private:
    IniFile file_;
};
