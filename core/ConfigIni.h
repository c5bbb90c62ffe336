#pragma once

#include <QMutex>
#include <QSettings>
#include <QString>
#include <QStringList>

// The product description "Config.ini" beside the program: read-only, safe to
// read from any thread. Identity keys (ids and model names) are stored Base64
// encoded, each list item separately, and come back decoded.
class ConfigIni {
public:
    static ConfigIni* Instance();

    explicit ConfigIni(const QString& path);
    ConfigIni(const ConfigIni&) = delete;
    ConfigIni& operator=(const ConfigIni&) = delete;

    // The value as text; "" when missing (and for a key holding a list).
    QString GetValue(const QString& group, const QString& key);
    // The value split at commas; empty when missing.
    QStringList GetValueList(const QString& group, const QString& key);
    void SetValue(const QString& group, const QString& key, const QString& value);
    void RemoveKey(const QString& group, const QString& key);

    static QString DecodeBase64(const QString& text);
    static bool IsIdentityKey(const QString& key);

    QString path() const { return path_; }

private:
    QString path_;
    QMutex mutex_;
    QSettings settings_;
    bool decodeIdentity_ = true;
};
