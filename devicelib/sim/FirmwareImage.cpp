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

bool FirmwareImage::Check(const uint8_t* data, int length, Header* header, std::string* problem)
{
    const auto refuse = [problem](std::string text) {
        if (problem)
            *problem = std::move(text);
        return false;
    };
    if (!data || length < HeaderSize)
        return refuse("the image is shorter than its header (" + std::to_string(length < 0 ? 0 : length)
                      + " of " + std::to_string(HeaderSize) + " bytes)");
    if (std::memcmp(data, Mark, 16) != 0)
        return refuse("the image does not start with a firmware header");
    const int type = data[TypeOffset];
    if (type != MouseType && type != ReceiverType)
        return refuse("the header names no device type (" + std::to_string(type) + ")");
    if (length == HeaderSize)
        return refuse("the image has no body");
    const uint8_t* body = data + HeaderSize;
    const int bodyLength = length - HeaderSize;
    if (bodyLength < BodyHeaderSize || std::memcmp(body, BodyMark, 4) != 0)
        return refuse("the body does not start with its mark");
    const uint32_t payloadSize = ReadU32(body + 4);
    const uint32_t present = uint32_t(bodyLength - BodyHeaderSize);
    if (payloadSize > present)
        return refuse("the body is cut (" + std::to_string(present) + " of " + std::to_string(payloadSize)
                      + " payload bytes)");
    if (payloadSize < present)
        return refuse("the body is longer than its payload length says");
    if (Crc32(body + BodyHeaderSize, payloadSize) != ReadU32(body + 8))
        return refuse("the body is damaged (checksum)");
    if (header)
        ReadHeader(data, length, header);
    return true;
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
