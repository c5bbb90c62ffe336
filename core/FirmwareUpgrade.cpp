#include "core/FirmwareUpgrade.h"

#include "core/DeviceAllInfo.h"
#include "core/FirmwareImages.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/SharedState.h"
#include "platform/Registry.h"
#include "platform/UserDataFolder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <list>
#include <mutex>

std::atomic<int> ReceiverUpgradeState{0};
std::atomic<int> MouseUpgradeState{0};
std::atomic<int> ReceiverKind{0};
std::atomic<int> SettingCid{0};
std::atomic<int> SettingMid{0};
std::atomic<int> UpgradeTarget{0};
std::atomic<int> SettingStageCount{1};

namespace {
std::mutex heldMutex;
// Images handed to the library, oldest first. An accepted start ends every
// earlier upgrade (the library runs one at a time), so only the images from
// the last accepted one on are still needed.
struct HeldImage {
    quint64 id;
    QByteArray image;
};
std::list<HeldImage> heldImages;
quint64 heldId = 0;
QString startedVersion;
std::atomic<int> reportCount{0};
std::mutex logMutex;

bool Exchange(std::atomic<int>& state, int from, int to)
{
    return state.compare_exchange_strong(from, to);
}
} // namespace

bool FirmwareUpgrade::Start(const QByteArray& image, UpgradeStatusCallback callback)
{
    FirmwareImages::Header header;
    if (!FirmwareImages::ReadHeader(image, &header))
        return false;
    // The held copy shares this buffer, which no one changes: it stays valid
    // while either is held.
    const QByteArray kept = image;
    quint64 id = 0;
    {
        std::lock_guard<std::mutex> lock(heldMutex);
        id = ++heldId;
        heldImages.push_back({id, kept});
        startedVersion = DeviceAllInfo::VersionText(header.version);
    }
    const UpgradeImage buffer{reinterpret_cast<const unsigned char*>(kept.constData()), int(kept.size())};
    const bool started = UsbUpgrade_Start(&buffer, callback, StartTimeoutMs) != 0;
    std::lock_guard<std::mutex> lock(heldMutex);
    auto held = std::find_if(heldImages.begin(), heldImages.end(),
                             [id](const HeldImage& entry) { return entry.id == id; });
    // A later start taken meanwhile (from a status callback) has already
    // released this one and the older ones.
    if (held == heldImages.end())
        return started;
    if (started)
        heldImages.erase(heldImages.begin(), held);
    else
        heldImages.erase(held);
    return started;
}

QString FirmwareUpgrade::StartedVersionText()
{
    std::lock_guard<std::mutex> lock(heldMutex);
    return startedVersion;
}

int FirmwareUpgrade::ReportCount()
{
    return reportCount.load();
}

int FirmwareUpgrade::BootCount(const QByteArray& image)
{
    if (image.isEmpty())
        return 0;
    const UpgradeImage buffer{reinterpret_cast<const unsigned char*>(image.constData()), int(image.size())};
    int count = 0;
    UsbUpgradeC_FindBootDevices(&buffer, &count);
    return count;
}

QString FirmwareUpgrade::SlaveVersion(const QString& path)
{
    int version = 0;
    const QByteArray path8 = path.toUtf8();
    if (!UsbFinderC_GetSlaveVersion(path8.constData(), &version))
        return QString();
    return DeviceAllInfo::VersionText(quint32(version));
}

QString FirmwareUpgrade::FailRecordText()
{
    return Registry::Instance()->GetValue(Registry::UpdateFailInfoKey());
}

QStringList FirmwareUpgrade::FailRecordParts()
{
    const QString text = FailRecordText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char(','));
}

void FirmwareUpgrade::WriteFailRecord(int target, int kind, int cid, int mid)
{
    Registry::Instance()->SetValue(Registry::UpdateFailInfoKey(),
                                   QStringLiteral("%1,%2,%3,%4").arg(target).arg(kind).arg(cid).arg(mid));
}

void FirmwareUpgrade::RemoveFailRecord()
{
    Registry::Instance()->RemoveKey(Registry::UpdateFailInfoKey());
}

QString FirmwareUpgrade::LogFileName()
{
    return UserDataFolder() + QStringLiteral("/Exception/UpDateLog.txt");
}

bool FirmwareUpgrade::AppendLog()
{
    const char* const* lines = UsbUpgradeC_GetLogs();
    std::lock_guard<std::mutex> lock(logMutex);
    QFile file(LogFileName());
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        qWarning() << "upgrade log: cannot open" << file.fileName() << file.errorString();
        return false;
    }
    QTextStream out(&file);
    for (int i = 0; i < LogLines; ++i)
        out << QString::fromLocal8Bit(lines && lines[i] ? lines[i] : "") << '\n';
    out.flush();
    return file.error() == QFileDevice::NoError;
}

bool FirmwareUpgrade::Fail()
{
    const bool receiver = Exchange(ReceiverUpgradeState, Upgrading, Failed);
    const bool mouse = Exchange(MouseUpgradeState, Upgrading, Failed);
    if (!receiver && !mouse)
        return false;
    AppendLog();
    MouseUpdateAvailable = false;
    ReceiverUpdateAvailable = false;
    PostMsg::Instance()->PostProgress(0, 1);
    WriteFailRecord(UpgradeTarget, ReceiverKind, SettingCid, SettingMid);
    return true;
}

void FirmwareUpgrade::Status(const UpgradeStatusPacket* packet)
{
    if (!packet || packet->type != 7)
        return;
    PostMsg* bus = PostMsg::Instance();
    const bool twoStages = SettingStageCount == 2;
    if (packet->kind == 1) {
        ++reportCount;
        const int percent = packet->value;
        if (ReceiverUpgradeState == Upgrading)
            bus->PostProgress(twoStages ? percent / 2 : percent, 0);
        if (MouseUpgradeState == Upgrading)
            bus->PostProgress(twoStages ? percent / 2 + 50 : percent, 0);
        return;
    }
    if (packet->kind != 2)
        return;
    ++reportCount;
    if (packet->value != 1) {
        Fail();
        return;
    }
    const QString version = StartedVersionText();
    const bool receiver = Exchange(ReceiverUpgradeState, Upgrading, Succeeded);
    if (receiver) {
        if (!twoStages)
            bus->PostProgress(0, 2);
        bus->PostLabelText(0, version);
    }
    const bool mouse = Exchange(MouseUpgradeState, Upgrading, Succeeded);
    if (mouse) {
        const ProductDescription& description = ProductDescription::Instance();
        const QString cid = description.Option().Text(QStringLiteral("CID"));
        const QString mid = description.Model(CurrentDevice.get().modelIndex).Text(QStringLiteral("MID"));
        Registry::Instance()->SetValue(Registry::MouseVerKey(cid, mid), version);
        bus->PostProgress(0, 2);
        bus->PostLabelText(1, version);
    }
    if (receiver || mouse)
        RemoveFailRecord();
}

void UpgradeStatusCallbackA(UpgradeStatusPacket* packet)
{
    FirmwareUpgrade::Status(packet);
}

void UpgradeStatusCallbackB(UpgradeStatusPacket* packet)
{
    FirmwareUpgrade::Status(packet);
}
