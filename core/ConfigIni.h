#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <QStringList>

// The product description "Config.ini" beside the program (UTF-8), safe to
// read from any thread. Identity keys (ids and model names) are stored Base64
// encoded, each list item separately, and come back decoded. Reads never fail:
// a missing file, group or key reads as "" or an empty list; callers convert
// numbers themselves.
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
    // Present for completeness; the program only reads the product description.
    void SetValue(const QString& group, const QString& key, const QString& value);
    void RemoveKey(const QString& group, const QString& key);

    // Base64 in the local 8-bit encoding back to text.
    static QString DecodeBase64(const QString& text);
    // Whether values of this key (in any group) are stored Base64 encoded.
    static bool IsIdentityKey(const QString& key);

    QString path() const { return file_.path(); }

private:
    IniFile file_;
    const bool decodeIdentity_ = true;
};
