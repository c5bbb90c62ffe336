#pragma once

#include <QMutex>
#include <QSettings>
#include <QString>
#include <QStringList>

// The per-user settings file "Macro.ini" (language, notices, autostart).
// Safe to use from any thread; every change is written to disk at once
// (atomically: the old file or the new one, never a cut file).
class MacroIni {
public:
    static MacroIni* Instance();

    explicit MacroIni(const QString& path);
    MacroIni(const MacroIni&) = delete;
    MacroIni& operator=(const MacroIni&) = delete;

    QString GetValue(const QString& group, const QString& key);
    QStringList GetValueList(const QString& group, const QString& key);
    void SetValue(const QString& group, const QString& key, const QString& value);
    void RemoveKey(const QString& group, const QString& key);

    QString path() const { return path_; }

private:
    QString path_;
    QMutex mutex_;
    QSettings settings_;
};
