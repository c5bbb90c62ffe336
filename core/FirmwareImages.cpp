#include "core/FirmwareImages.h"

#include "core/DeviceAllInfo.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <mutex>

namespace {
constexpr int VersionOffset = 0x10;
constexpr int TypeOffset = 0x14;
constexpr int CidOffset = 0x15;
constexpr int MidOffset = 0x16;
constexpr int NameOffset = 0x57;
constexpr int NameSize = 64;

std::mutex listMutex;
QList<QByteArray> settingImages;
QList<QByteArray> repairImages;

std::recursive_mutex folderMutex;
Guarded<QString> folderOverride(folderMutex);

// How a lookup judges the version of an image that fits.
enum class VersionRule { Repair, Setting };

QString WithoutV(QString text)
{
    return text.remove(QLatin1Char('v'));
}

// "<major decimal>.<minor hexadecimal>" as the device reports it; false when
// the text is not of that form.
bool ParseVersion(const QString& text, quint32* version)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 2)
        return false;
    bool majorOk = false;
    bool minorOk = false;
    const uint major = parts[0].toUInt(&majorOk, 10);
    const uint minor = parts[1].toUInt(&minorOk, 16);
    if (!majorOk || !minorOk || minor > 0xFF || major > 0xFFFFFF)
        return false;
    *version = (major << 8) | minor;
    return true;
}

bool Accepts(VersionRule rule, const QString& given, quint32 imageVersion)
{
    if (given.isEmpty())
        return true;
    const QString current = WithoutV(given);
    const QString image = WithoutV(DeviceAllInfo::VersionText(imageVersion));
    if (image == current)
        return false;
    if (rule == VersionRule::Repair)
        return true;
    // The same version written another way ("1.05" for "1.5") is no other version.
    quint32 currentVersion = 0;
    return !(ParseVersion(current, &currentVersion) && currentVersion == imageVersion);
}

// The scan shared by the lookups. The last accepted image's whole file goes
// into *kept when kept is given.
bool Scan(VersionRule rule, int type, const QString& version, const QString& modelName, int cid, int mid,
          QByteArray* kept)
{
    const QDir folder(FirmwareImages::Folder());
    if (!folder.exists())
        return false;
    const QStringList names = folder.entryList({QStringLiteral("*.bin")}, QDir::Files,
                                               QDir::Name | QDir::IgnoreCase);
    const QByteArray wantedName = modelName.toLocal8Bit();
    bool found = false;
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            qWarning() << "firmware images: cannot open" << file.fileName() << file.errorString();
            continue;
        }
        const QByteArray head = file.read(FirmwareImages::HeaderSize);
        if (file.error() != QFileDevice::NoError) {
            qWarning() << "firmware images: cannot read" << file.fileName() << file.errorString();
            continue;
        }
        FirmwareImages::Header header;
        if (!FirmwareImages::ReadHeader(head, &header)) {
            qWarning() << "firmware images:" << file.fileName() << "is not a whole image header";
            continue;
        }
        if (header.type != quint8(type) || header.cid != quint8(cid) || header.mid != quint8(mid)
            || header.modelName != wantedName)
            continue;
        if (!Accepts(rule, version, header.version))
            continue;
        if (kept) {
            const QByteArray body = file.readAll();
            if (file.error() != QFileDevice::NoError) {
                qWarning() << "firmware images: cannot read" << file.fileName() << file.errorString();
                continue;
            }
            *kept = head + body;
        }
        found = true;
    }
    return found;
}

bool KeepingLookup(QList<QByteArray>& list, VersionRule rule, int type, const QString& version,
                   const QString& modelName, int cid, int mid)
{
    {
        std::lock_guard<std::mutex> lock(listMutex);
        list.clear();
    }
    QByteArray image;
    if (!Scan(rule, type, version, modelName, cid, mid, &image))
        return false;
    std::lock_guard<std::mutex> lock(listMutex);
    list = {image};
    return true;
}
} // namespace

bool FirmwareImages::ReadHeader(const QByteArray& data, Header* header)
{
    if (data.size() < HeaderSize || !header)
        return false;
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    header->version = qFromLittleEndian<quint32>(bytes + VersionOffset);
    header->type = bytes[TypeOffset];
    header->cid = bytes[CidOffset];
    header->mid = bytes[MidOffset];
    const QByteArray name = data.mid(NameOffset, NameSize);
    const int end = name.indexOf('\0');
    header->modelName = end < 0 ? name : name.left(end);
    return true;
}

QString FirmwareImages::Folder()
{
    const QString folder = folderOverride.get();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/bin") : folder;
}

void FirmwareImages::SetFolder(const QString& folder)
{
    folderOverride.set(folder);
}

bool FirmwareImages::FolderExists()
{
    return QFileInfo::exists(Folder());
}

bool FirmwareImages::FindSettingFirmwareImage(int type, const QString& version, const QString& modelName, int cid,
                                              int mid)
{
    return KeepingLookup(settingImages, VersionRule::Setting, type, version, modelName, cid, mid);
}

bool FirmwareImages::FindRepairFirmwareImage(int type, const QString& version, const QString& modelName, int cid,
                                             int mid)
{
    return KeepingLookup(repairImages, VersionRule::Repair, type, version, modelName, cid, mid);
}

bool FirmwareImages::HasNewerFirmwareImage(int type, const QString& version, const QString& modelName, int cid,
                                           int mid)
{
    if (version.isEmpty())
        return false;
    return Scan(VersionRule::Setting, type, version, modelName, cid, mid, nullptr);
}

bool FirmwareImages::CheckFirmwareUpdate(int target, const QString& version, int receiverKind)
{
    const ProductDescription& description = ProductDescription::Instance();
    const int modelIndex = CurrentDevice.get().modelIndex;
    const QString key
        = target == MouseType ? QStringLiteral("MM") : ProductDescription::ReceiverModelKey(receiverKind);
    if (key.isEmpty())
        return false;
    return HasNewerFirmwareImage(target, version, description.Model(modelIndex).Text(key), description.Cid(),
                                 description.Mid(modelIndex));
}

FirmwareImages::RePairAnswers FirmwareImages::AnswersFor(const DeviceAllInfo& record)
{
    const ProductDescription& description = ProductDescription::Instance();
    const ProductDescription::Group model = description.Model(record.modelIndex);
    const QString cidText = description.Option().Text(QStringLiteral("CID"));
    const QString midText = model.Text(QStringLiteral("MID"));
    RePairAnswers answers;
    answers.recordedVersion = Registry::Instance()->GetValue(Registry::MouseVerKey(cidText, midText));
    if (answers.recordedVersion.isEmpty())
        return answers;

    const int cid = cidText.toInt();
    const int mid = midText.toInt();
    answers.mouseNew = FindSettingFirmwareImage(MouseType, answers.recordedVersion,
                                                model.Text(QStringLiteral("MM")), cid, mid);
    const QString key = ProductDescription::ReceiverModelKey(DeviceAllInfo::ReceiverKind(record.linkType));
    if (!key.isEmpty()) {
        const QString name = model.Text(key);
        // For the kind-1 receiver the lookup runs even without a model name.
        if (key == QLatin1String("DM") || !name.isEmpty())
            answers.receiverNew = FindRepairFirmwareImage(ReceiverType, record.receiverVersion, name, cid, mid);
    }
    return answers;
}

QList<QByteArray> FirmwareImages::SettingImageList()
{
    std::lock_guard<std::mutex> lock(listMutex);
    return settingImages;
}

QList<QByteArray> FirmwareImages::RepairImageList()
{
    std::lock_guard<std::mutex> lock(listMutex);
    return repairImages;
}
