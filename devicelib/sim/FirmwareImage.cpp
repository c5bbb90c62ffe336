#include "FirmwareImage.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int VersionOffset = 0x10;
constexpr int TypeOffset = 0x14;
constexpr int CidOffset = 0x15;
constexpr int MidOffset = 0x16;
constexpr int NameOffset = 0x57;
constexpr int NameSize = 64;
constexpr int BodyHeaderSize = 12;
const char Mark[] = "TALVIRE FIRMWARE";
const char BodyMark[] = "TVFW";

uint32_t ReadU32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

void WriteU32(uint8_t* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(value >> (8 * i));
}
} // namespace

bool FirmwareImage::ReadHeader(const uint8_t* data, int length, Header* header)
{
    if (!data || length < HeaderSize || !header)
        return false;
    header->version = ReadU32(data + VersionOffset);
    header->type = data[TypeOffset];
    header->cid = data[CidOffset];
    header->mid = data[MidOffset];
    const char* name = reinterpret_cast<const char*>(data + NameOffset);
    header->name.assign(name, strnlen(name, NameSize));
    return true;
}

bool FirmwareImage::BodyIsSound(const uint8_t* data, int length)
{
    if (!data || length < HeaderSize + BodyHeaderSize)
        return false;
    const uint8_t* body = data + HeaderSize;
    if (std::memcmp(body, BodyMark, 4) != 0)
        return false;
    const uint32_t payloadSize = ReadU32(body + 4);
    if (payloadSize != uint32_t(length - HeaderSize - BodyHeaderSize))
        return false;
    return Crc32(body + BodyHeaderSize, payloadSize) == ReadU32(body + 8);
}

std::vector<uint8_t> FirmwareImage::Build(const Header& header, int payloadSize, bool damageBody)
{
    if (payloadSize < 0)
        payloadSize = 0;
    std::vector<uint8_t> image(size_t(HeaderSize + BodyHeaderSize + payloadSize), 0);
    uint8_t* data = image.data();
    std::memcpy(data, Mark, 16);
    WriteU32(data + VersionOffset, header.version);
    data[TypeOffset] = uint8_t(header.type);
    data[CidOffset] = uint8_t(header.cid);
    data[MidOffset] = uint8_t(header.mid);
    std::memcpy(data + NameOffset, header.name.data(), std::min<size_t>(header.name.size(), NameSize));

    uint8_t* body = data + HeaderSize;
    std::memcpy(body, BodyMark, 4);
    WriteU32(body + 4, uint32_t(payloadSize));
    uint32_t seed = header.version * 2654435761u ^ uint32_t(header.type << 16 | header.cid << 8 | header.mid);
    for (int i = 0; i < payloadSize; ++i) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        body[BodyHeaderSize + i] = uint8_t(seed);
    }
    uint32_t crc = Crc32(body + BodyHeaderSize, size_t(payloadSize));
    if (damageBody)
        crc = ~crc;
    WriteU32(body + 8, crc);
    return image;
}

uint32_t FirmwareImage::Crc32(const uint8_t* data, size_t length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
