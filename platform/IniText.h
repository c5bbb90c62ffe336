#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

// The settings files in the INI form that QSettings reads (IniFormat, values
// in UTF-8). A key is "group/name"; a key without a group belongs to the
// [General] group. The text is made here, so that it can be written whole
// through ReplaceFile; reading is left to QSettings.
class IniText {
public:
    // The file's text: the groups in the order of their names, each with its
    // keys in the order of their names; values as QSettings writes them
    // (text, lists, "@ByteArray(...)", "@Variant(...)" ...).
    static QByteArray Format(const QVariantMap& values);

    // Every key and value of the file at path. A missing file is empty; a
    // damaged file gives what can be read of it. False, with the reason in
    // *error, when an existing file cannot be read.
    static bool Read(const QString& path, QVariantMap* values, QString* error = nullptr);

    // The key as QSettings keeps it: no slash at either end, none doubled.
    static QString NormalisedKey(const QString& key);

    // The values that can be written and read back: those whose key is a
    // normalised key with a name. A damaged file ("=" alone, a section
    // without a name) also reads as keys of other forms, which hold no value
    // and could not be written back as they were read.
    static QVariantMap Writable(const QVariantMap& values);
};
