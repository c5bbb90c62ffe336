#include "core/RepairUpgrade.h"

#include "core/FirmwareImages.h"
#include "core/FirmwareUpgrade.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"

#include <QList>

std::atomic<bool> RepairUpgrading{false};
std::atomic<int> RepairStage{0};
std::atomic<int> RepairStageCount{1};
std::atomic<int> RepairFailedStage{0};
std::atomic<int> RepairReceiverKind{0};
std::atomic<int> RepairCid{0};
std::atomic<int> RepairMid{0};
Guarded<QString> RepairMouseModel;
Guarded<QStringList> RepairFailParts;
std::atomic<bool> RepairMouseListed{false};
std::atomic<bool> RepairReceiverOnly{false};
Guarded<QString> RepairRecordBefore;

namespace {
// The receiver id transfer's last read (GUI thread).
bool receiverIdRead = false;
QList<quint8> receiverIdBytes;

// Byte 4 of a receiver id: how the mouse reaches the receiver of a kind.
quint8 KindByte(int kind)
{
    switch (kind) {
    case 2:
    case 4:
        return 1;
    case 8:
        return 4;
    default:
        return 0;
    }
}

void Progress(int percent)
{
    RepairUpgrading = true;
    int value = percent;
    if (RepairStageCount == 2)
        value = percent / 2 + (RepairStage != 0 ? 50 : 0);
    PostMsg::Instance()->PostAutoRepairProgress(value);
}

void Success()
{
    const int stage = RepairStage;
    // On the disk before the success is shown or the next stage starts.
    // The failed device is repaired: its record goes, also from what a
    // later stage puts back.
    if (stage == RepairFailedStage)
        RepairRecordBefore.set(QString());
    const bool recorded = FirmwareUpgrade::RestoreFailRecord(RepairRecordBefore.get());
    if (!recorded)
        qWarning("firmware repair: the record after the stage is not on the disk");
    if (stage == 1 || RepairReceiverOnly)
        RepairUpgrade::Succeed();
    if (stage != 0 || RepairReceiverOnly)
        return;
    RepairStage = 1;
    const bool found = FirmwareImages::FindRepairFirmwareImage(FirmwareImages::MouseType, QString(),
                                                               RepairMouseModel.get(), RepairCid, RepairMid);
    const bool allowed = RepairFailedStage == 1 || RepairMouseListed;
    const QList<QByteArray> images = FirmwareImages::RepairImageList();
    if (found && allowed && !images.isEmpty()) {
        RepairUpgrade::StartOrFail(images.first(), true);
        return;
    }
    // The receiver is repaired, the mouse stage cannot follow.
    if (RepairUpgradeRunning.exchange(false)) {
        PostMsg* bus = PostMsg::Instance();
        bus->PostAutoRepair(PostMsg::AutoRepairFailed);
        bus->PostUpDateButton(true);
        bus->PostProgress(0, 5);
    }
}
} // namespace

FirmwareUpgrade::StartResult RepairUpgrade::Start(const QByteArray& image)
{
    const int target = RepairStage == 0 ? FirmwareImages::ReceiverType : FirmwareImages::MouseType;
    return FirmwareUpgrade::Start(image, &RepairUpgradeStatusCallback,
                                  FirmwareUpgrade::FailRecordOf(target, RepairReceiverKind, RepairCid, RepairMid));
}

bool RepairUpgrade::StartOrFail(const QByteArray& image, bool writeRecord)
{
    switch (Start(image)) {
    case FirmwareUpgrade::Started:
        return true;
    case FirmwareUpgrade::NotRecorded:
        FailUnrecorded();
        return false;
    case FirmwareUpgrade::Refused:
        break;
    }
    // The device was not touched.
    if (!writeRecord)
        FirmwareUpgrade::RestoreFailRecord(RepairRecordBefore.get());
    Fail(writeRecord);
    return false;
}

bool RepairUpgrade::FailUnrecorded()
{
    if (!Fail(false))
        return false;
    PostMsg* bus = PostMsg::Instance();
    bus->PostAutoRepair(PostMsg::AutoRepairNotRecorded);
    // Nothing was started: Repair shows as the record says.
    bus->PostUpDateButton(FirmwareUpgrade::FailRecordText().isEmpty());
    return true;
}

bool RepairUpgrade::Fail(bool writeRecord)
{
    if (!RepairUpgradeRunning.exchange(false))
        return false;
    PostMsg* bus = PostMsg::Instance();
    bus->PostAutoRepair(PostMsg::AutoRepairFailed);
    bus->PostUpDateButton(false);
    bus->PostProgress(0, 6);
    if (writeRecord)
        FirmwareUpgrade::WriteFailRecord(RepairStage == 0 ? FirmwareImages::ReceiverType : FirmwareImages::MouseType,
                                         RepairReceiverKind, RepairCid, RepairMid);
    DeviceWatchEnabled = true;
    RepairUpgrading = false;
    return true;
}

bool RepairUpgrade::Succeed()
{
    if (!RepairUpgradeRunning.exchange(false))
        return false;
    PostMsg* bus = PostMsg::Instance();
    bus->PostAutoRepair(PostMsg::AutoRepairSucceeded);
    bus->PostUpDateButton(true);
    bus->PostProgress(0, 2);
    return true;
}

void RepairUpgradeStatusCallback(UpgradeStatusPacket* packet)
{
    if (!packet || packet->type != 7 || (packet->kind != 1 && packet->kind != 2))
        return;
    // Reports of a run that has ended (a refused start's result after its
    // failure was shown) change nothing.
    if (!RepairUpgradeRunning)
        return;
    if (packet->kind == 1) {
        Progress(packet->value);
        return;
    }
    if (packet->value == 1)
        Success();
    else
        RepairUpgrade::Fail(true);
    DeviceWatchEnabled = true;
    RepairUpgrading = false;
}

bool RepairUpgrade::TransferReceiverId(const QList<DeviceAllInfo>& devices, int kind, bool* read,
                                       QList<quint8>* bytes)
{
    for (const DeviceAllInfo& device : devices) {
        if (device.wired)
            continue;
        unsigned char status[DIVAZA_ADDRESS_BUFFER_SIZE] = {};
        const QByteArray path = device.path.toUtf8();
        *read = UsbFinderC_GetDeviceOnLineWithUsbAddress(path.constData(), status) != 0;
        if (!*read)
            continue;
        *bytes = {status[9], status[8], status[7]};
        WriteReceiverId(devices, kind, *bytes);
        bytes->clear();
    }
    return *read;
}

void RepairUpgrade::WriteReceiverId(const QList<DeviceAllInfo>& devices, int kind, const QList<quint8>& bytes)
{
    if (bytes.size() < 3)
        return;
    const unsigned char id[5] = {bytes[0], bytes[1], bytes[2], 0, KindByte(kind)};
    for (const DeviceAllInfo& device : devices) {
        if (!device.wired)
            continue;
        const QByteArray path = device.path.toUtf8();
        UsbFinderC_SetDongleIDToMouse(path.constData(), id);
    }
}

bool RepairUpgrade::SetReceiverIdToMice()
{
    return TransferReceiverId(IdentifiedDevices, RepairReceiverKind, &receiverIdRead, &receiverIdBytes);
}

void RepairUpgrade::WriteReceiverIdToMice()
{
    // The bytes of the last read are gone once they were sent: then nothing
    // is written.
    if (receiverIdRead)
        WriteReceiverId(IdentifiedDevices, RepairReceiverKind, receiverIdBytes);
    receiverIdBytes.clear();
}
