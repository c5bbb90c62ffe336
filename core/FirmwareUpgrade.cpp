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
// Orders the changes of the record with the state changes they belong to: a
// success's removal is taken before the next start can write its record.
std::mutex recordMutex;

bool Exchange(std::atomic<int>& state, int from, int to)
{
    return state.compare_exchange_strong(from, to);
}
} // namespace

FirmwareUpgrade::StartResult FirmwareUpgrade::Start(const QByteArray& image, UpgradeStatusCallback callback,
                                                    const QString& record)
{
    FirmwareImages::Header header;
    if (!FirmwareImages::ReadHeader(image, &header))
        return Refused;
    // The device leaves its firmware from the start on: the record that
    // offers the repair must be on the disk first.
    Registry* const registry = Registry::Instance();
    QString before;
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        before = FailRecordText();
        registry->SetValue(Registry::UpdateFailInfoKey(), record);
    }
    if (!registry->Flush()) {
        qWarning() << "firmware upgrade not started: the record of the upgrade cannot be written";
        RestoreFailRecord(before);
        return NotRecorded;
    }
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
    if (held != heldImages.end()) {
        if (started)
            heldImages.erase(heldImages.begin(), held);
        else
            heldImages.erase(held);
    }
    return started ? Started : Refused;
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

QString FirmwareUpgrade::FailRecordOf(int target, int kind, int cid, int mid)
{
    return QStringLiteral("%1,%2,%3,%4").arg(target).arg(kind).arg(cid).arg(mid);
}

bool FirmwareUpgrade::WriteFailRecord(int target, int kind, int cid, int mid)
{
    return Registry::Instance()->SetValueFlushed(Registry::UpdateFailInfoKey(),
                                                 FailRecordOf(target, kind, cid, mid));
}

bool FirmwareUpgrade::RemoveFailRecord()
{
    return Registry::Instance()->RemoveKeyFlushed(Registry::UpdateFailInfoKey());
}

bool FirmwareUpgrade::RestoreFailRecord(const QString& text)
{
    if (text.isEmpty())
        return RemoveFailRecord();
    return Registry::Instance()->SetValueFlushed(Registry::UpdateFailInfoKey(), text);
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
    Registry* const registry = Registry::Instance();
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        const bool receiver = Exchange(ReceiverUpgradeState, Upgrading, Failed);
        const bool mouse = Exchange(MouseUpgradeState, Upgrading, Failed);
        if (!receiver && !mouse)
            return false;
        registry->SetValue(Registry::UpdateFailInfoKey(),
                           FailRecordOf(UpgradeTarget, ReceiverKind, SettingCid, SettingMid));
    }
    AppendLog();
    MouseUpdateAvailable = false;
    ReceiverUpdateAvailable = false;
    PostMsg::Instance()->PostProgress(0, 1);
    if (!registry->Flush())
        qWarning() << "firmware upgrade: the record of the failed upgrade is not on the disk";
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
    Registry* const registry = Registry::Instance();
    bool receiver = false;
    bool mouse = false;
    {
        const std::lock_guard<std::mutex> lock(recordMutex);
        receiver = Exchange(ReceiverUpgradeState, Upgrading, Succeeded);
        mouse = Exchange(MouseUpgradeState, Upgrading, Succeeded);
        if (mouse) {
            const ProductDescription& description = ProductDescription::Instance();
            const QString cid = description.Option().Text(QStringLiteral("CID"));
            const QString mid = description.Model(CurrentDevice.get().modelIndex).Text(QStringLiteral("MID"));
            registry->SetValue(Registry::MouseVerKey(cid, mid), version);
        }
        if (receiver || mouse)
            registry->RemoveKey(Registry::UpdateFailInfoKey());
    }
    // The new version and the end of the record are on the disk before the
    // success is shown.
    if ((receiver || mouse) && !registry->Flush())
        qWarning() << "firmware upgrade: its end is not recorded on the disk";
    if (receiver) {
        if (!twoStages)
            bus->PostProgress(0, 2);
        bus->PostLabelText(0, version);
    }
    if (mouse) {
        bus->PostProgress(0, 2);
        bus->PostLabelText(1, version);
    }
}

void UpgradeStatusCallbackA(UpgradeStatusPacket* packet)
{
    FirmwareUpgrade::Status(packet);
}

void UpgradeStatusCallbackB(UpgradeStatusPacket* packet)
{
    FirmwareUpgrade::Status(packet);
}
