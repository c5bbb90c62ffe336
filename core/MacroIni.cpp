#include "core/MacroIni.h"

#include "platform/UserDataFolder.h"

MacroIni* MacroIni::Instance()
{
    static MacroIni instance(UserDataFolder() + QStringLiteral("/Macro.ini"));
    return &instance;
}

MacroIni::MacroIni(const QString& path)
    : file_(path)
{
}

QString MacroIni::GetValue(const QString& group, const QString& key)
{
    return file_.Text(IniFile::Key(group, key));
}

QStringList MacroIni::GetValueList(const QString& group, const QString& key)
{
    return file_.List(IniFile::Key(group, key));
}

void MacroIni::SetValue(const QString& group, const QString& key, const QString& value)
{
    if (!file_.SetValue(IniFile::Key(group, key), value))
        qWarning("Macro.ini could not be written: %s", qPrintable(file_.path()));
}

void MacroIni::RemoveKey(const QString& group, const QString& key)
{
    if (!file_.Remove(IniFile::Key(group, key)))
        qWarning("Macro.ini could not be written: %s", qPrintable(file_.path()));
}
