#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <QStringList>

// The per-user settings file "Macro.ini" (UTF-8): language, notices,
// autostart. Safe to use from any thread. Every change is on disk when the call
// returns, written atomically (the old file or the new one, never a cut file);
// a change that cannot be written is logged with the reason, changes nothing
// and returns false. Reads never fail: a missing key reads as "" or an empty
// list.
class MacroIni {
public:
    static MacroIni* Instance();

    explicit MacroIni(const QString& path);
    MacroIni(const MacroIni&) = delete;
    MacroIni& operator=(const MacroIni&) = delete;

    QString GetValue(const QString& group, const QString& key);
    QStringList GetValueList(const QString& group, const QString& key);
    bool SetValue(const QString& group, const QString& key, const QString& value);
    bool RemoveKey(const QString& group, const QString& key);

    QString path() const { return file_.path(); }

private:
    IniFile file_;
};
