#pragma once

#include "core/FirmwareImages.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

// A firmware image file as the lookups read it: the header with version, type,
// customer id 10, model id 1 and model name, then a short body.
inline bool WriteFirmwareImage(const QString& folder, const QString& name, int type, const QByteArray& model,
                               quint32 version)
{
    QByteArray data(FirmwareImages::HeaderSize, '\0');
    qToLittleEndian<quint32>(version, data.data() + 0x10);
    data[0x14] = char(type);
    data[0x15] = char(10);
    data[0x16] = char(1);
    data.replace(0x57, model.size(), model);
    data += "body";
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}
