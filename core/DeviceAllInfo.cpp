#include "core/DeviceAllInfo.h"

#include "devicelib/DIVAza.h"

DeviceAllInfo::DeviceAllInfo()
    : vid(QStringLiteral("0"))
    , pid(QStringLiteral("0"))
{
}

bool DeviceAllInfo::IsWiredLink(quint8 linkType)
{
    return (linkType & 0xFA) != 0;
}

int DeviceAllInfo::ReceiverKind(quint8 linkType)
{
    switch (linkType) {
    case 0: return 1;
    case 4: return 2;
    case 1: return 4;
    case 5: return 8;
    default: return 0;
    }
}

QString DeviceAllInfo::VersionText(quint32 version)
{
    return QStringLiteral("v") + QString::number(version >> 8) + QLatin1Char('.')
        + QString::number(version & 0xFF, 16);
}

QString DeviceAllInfo::ReceiverVersionOf(const char* path)
{
    unsigned char attribute[DIVAZA_ATTRIBUTE_SIZE] = {};
    UsbFinderC_GetUsbDeviceAttribute(path, attribute);
    return VersionText(quint32(attribute[AttributeVersionByte]) | quint32(attribute[AttributeVersionByte + 1]) << 8);
}

bool DeviceAllInfo::SameAddress(const DeviceAllInfo& other) const
{
    return address.size() >= 3 && other.address.size() >= 3 && address.mid(0, 3) == other.address.mid(0, 3);
}

bool DeviceAllInfo::Answers(const QByteArray& path)
{
    return (UsbFinderC_GetDeviceOnLine(path.constData()) & 0xFF) != 0;
}

bool DeviceAllInfo::ReadOnlineAndAddress(const QByteArray& path)
{
    static_assert(AddressByte + 3 <= DIVAZA_ADDRESS_BUFFER_SIZE, "the address lies in the answer");
    unsigned char answer[DIVAZA_ADDRESS_BUFFER_SIZE] = {};
    UsbFinderC_GetDeviceOnLineWithUsbAddress(path.constData(), answer);
    online = answer[OnlineByte] == 1;
    address = {answer[AddressByte], answer[AddressByte + 1], answer[AddressByte + 2]};
    return address.at(0) != 0 || address.at(1) != 0 || address.at(2) != 0;
}

DeviceAllInfo::Ids DeviceAllInfo::ReadIds(const QByteArray& path)
{
    UsbDeviceInfo answer = {};
    int queries = 0;
    do {
        answer = UsbFinderC_GetDeviceInfo(path.constData());
        ++queries;
    } while (answer.cid == 0 && answer.mid == 0 && queries < IdQueries);
    Ids ids;
    ids.cid = answer.cid;
    ids.mid = answer.mid;
    ids.linkType = answer.linkType;
    ids.counted = (answer.cid != 0 || answer.mid != 0) && queries <= CountedIdQueries;
    return ids;
}

void DeviceAllInfo::SetModel(const Ids& ids, int index)
{
    cid = ids.cid;
    mid = ids.mid;
    linkType = ids.linkType;
    wired = IsWiredLink(ids.linkType);
    modelIndex = index;
}

void DeviceAllInfo::SetNoModel(quint8 reportedLinkType, int deviceTotal)
{
    linkType = reportedLinkType;
    wired = IsWiredLink(reportedLinkType);
    modelIndex = deviceTotal;
}
