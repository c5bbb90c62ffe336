#include "core/DeviceCacheFile.h"

#include "core/DeviceAllInfo.h"
#include "platform/ReplaceFile.h"
#include "platform/UserDataFolder.h"

#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>

#include <cstring>

QString DeviceCacheFile::Folder()
{
    return UserDataFolder() + QStringLiteral("/Device_Info/");
}

QString DeviceCacheFile::FileName(quint8 cid, quint8 mid)
{
    auto hex = [](quint8 value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); };
    return QStringLiteral("Device_CID") + hex(cid) + QStringLiteral("_MID") + hex(mid) + QStringLiteral(".bin");
}

QString DeviceCacheFile::FileName(const DeviceAllInfo& device)
{
    return FileName(device.cid, device.mid);
}

bool DeviceCacheFile::Write(const QString& fileName, const FlashDataMap& image)
{
    if (fileName.isEmpty())
        return false;
    QDir().mkpath(Folder());
    QByteArray content;
    QDataStream stream(&content, QIODevice::WriteOnly);
    stream.writeBytes(reinterpret_cast<const char*>(image.bytes()), FlashDataMap::Size);
    return ReplaceFile(Folder() + fileName, content);
}

bool DeviceCacheFile::Read(const QString& fileName, FlashDataMap* image)
{
    if (fileName.isEmpty() || !image)
        return false;
    QFile file(Folder() + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // One block and nothing else: a cut, longer or doubled file is not an image.
    if (file.size() != FileSize) {
        qWarning() << "device cache:" << file.fileName() << "has" << file.size() << "bytes, not" << FileSize;
        return false;
    }
    const QByteArray content = file.readAll();
    if (content.size() != FileSize)
        return false;
    QDataStream stream(content);
    quint32 length = 0;
    stream >> length;
    if (length != quint32(FlashDataMap::Size)) {
        qWarning() << "device cache:" << file.fileName() << "holds a block of" << length << "bytes";
        return false;
    }
    std::memcpy(image->bytes(), content.constData() + 4, FlashDataMap::Size);
    return true;
}
