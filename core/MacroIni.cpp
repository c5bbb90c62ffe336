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

bool MacroIni::SetValue(const QString& group, const QString& key, const QString& value)
{
    return file_.SetValue(IniFile::Key(group, key), value);
}

bool MacroIni::RemoveKey(const QString& group, const QString& key)
{
    return file_.Remove(IniFile::Key(group, key));
}
