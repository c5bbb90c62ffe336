#include "core/ConfigurationFile.h"

#include "core/DebugLog.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "platform/ReplaceFile.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>

#include <cstring>

const char ConfigurationFile::Magic[] = "Zelvo";

namespace {
// Blocks 1 and 2 hold short texts; a longer block is not one of ours, and
// reading it whole is not worth the memory.
constexpr int LongestTextBlock = 1024;

QByteArray Padded(QByteArray text)
{
    if (text.size() < ConfigurationFile::TextBlockSize)
        text.append(QByteArray(ConfigurationFile::TextBlockSize - text.size(), '\0'));
    return text;
}

// The text of a block: its bytes up to the first zero byte or its end.
QByteArray TextOf(const QByteArray& block)
{
    const int end = block.indexOf('\0');
    return end < 0 ? block : block.left(end);
}

// One block: the length, then that many bytes. False when the file ends first
// or the block is longer than maxLength.
bool ReadBlock(QDataStream& stream, int maxLength, QByteArray* block)
{
    quint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok || length > quint32(maxLength)
        || qint64(length) > stream.device()->bytesAvailable())
        return false;
    block->resize(int(length));
    return stream.readRawData(block->data(), int(length)) == int(length);
}
} // namespace

bool ConfigurationFile::Write(const QString& path, const QString& sensor, const FlashDataMap& image)
{
    const QByteArray magic = Padded(QByteArray(Magic));
    const QByteArray name = Padded(sensor.toUtf8());
    QByteArray content;
    QDataStream stream(&content, QIODevice::WriteOnly);
    stream.writeBytes(magic.constData(), uint(magic.size()));
    stream.writeBytes(name.constData(), uint(name.size()));
    stream.writeBytes(reinterpret_cast<const char*>(image.bytes()), FlashDataMap::Size);
    return ReplaceFile(path, content);
}

ConfigurationFile::Result ConfigurationFile::Read(const QString& path, const QString& sensor, int maxDpiStages,
                                                  FlashDataMap* image)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(DebugLog) << "failed";
        return NotAConfiguration;
    }
    QDataStream stream(&file);
    QByteArray block;
    if (!ReadBlock(stream, LongestTextBlock, &block) || TextOf(block) != Magic)
        return NotAConfiguration;
    if (!ReadBlock(stream, LongestTextBlock, &block))
        return NotAConfiguration;
    if (TextOf(block) != sensor.toUtf8())
        return OtherDevice;
    // The image whole and nothing after it: a cut or padded file is damaged.
    if (!ReadBlock(stream, FlashDataMap::Size, &block) || block.size() != FlashDataMap::Size || !file.atEnd())
        return NotAConfiguration;
    FlashDataMap read;
    std::memcpy(read.bytes(), block.constData(), FlashDataMap::Size);
    if (read.dpiStageCount < 1 || read.dpiStageCount > maxDpiStages)
        return OtherDevice;
    *image = read;
    return Accepted;
}

QString ConfigurationFile::SensorName(int modelIndex)
{
    return ProductDescription::Instance().Model(modelIndex).Text(QStringLiteral("Sensor"));
}

int ConfigurationFile::MaxDpiStages(int modelIndex)
{
    return ProductDescription::Instance().Model(modelIndex).Int(QStringLiteral("DPIMaxGrade"));
}

bool ConfigurationFile::Export(const QString& path, const FlashDataMap& image)
{
    return Write(path, SensorName(CurrentDevice.get().modelIndex), image);
}

ConfigurationFile::Result ConfigurationFile::Import(const QString& path, FlashDataMap* image)
{
    const int model = CurrentDevice.get().modelIndex;
    return Read(path, SensorName(model), MaxDpiStages(model), image);
}
