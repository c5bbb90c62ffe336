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
    return VersionText(quint32(attribute[8]) | quint32(attribute[9]) << 8);
}

bool DeviceAllInfo::SameAddress(const DeviceAllInfo& other) const
{
    return address.size() >= 3 && other.address.size() >= 3 && address.mid(0, 3) == other.address.mid(0, 3);
}
