#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <QStringList>

// The per-user settings file "Macro.ini" (UTF-8): language, notices,
// autostart. Safe to use from any thread. A change is read back at once and
// written by the settings writer thread, whole (the old file or the new one,
// never a cut file); no caller waits for the disk (see IniFile). Reads never
// fail: a missing key reads as "" or an empty list.
class MacroIni {
public:
    static MacroIni* Instance();

    explicit MacroIni(const QString& path);
    MacroIni(const MacroIni&) = delete;
    MacroIni& operator=(const MacroIni&) = delete;

    QString GetValue(const QString& group, const QString& key);
    QStringList GetValueList(const QString& group, const QString& key);
    // Both return at once. True: the change is taken (read back at once,
    // queued for the disk, not on it); false while the file cannot be written
    // (the change is kept and goes with the next write). See IniFile.
    bool SetValue(const QString& group, const QString& key, const QString& value);
    bool RemoveKey(const QString& group, const QString& key);
    // Waits until the changes are on disk; false when a write failed.
    bool Flush() { return file_.Flush(); }

    QString path() const { return file_.path(); }

private:
    IniFile file_;
};
