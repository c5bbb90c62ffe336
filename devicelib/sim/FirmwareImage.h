#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A firmware image file: a 728-byte header, then the body this library writes
// to the device. Header (little-endian): 16-byte mark, version u32 at 0x10,
// device type at 0x14 (210 mouse, 211 receiver), customer id at 0x15, model id
// at 0x16, model name (64 bytes, NUL-padded) at 0x57. Body: "TVFW", payload
// length u32, CRC-32 of the payload u32, payload.
class FirmwareImage {
public:
    static constexpr int HeaderSize = 728;
    static constexpr int MouseType = 210;
    static constexpr int ReceiverType = 211;

    struct Header {
        uint32_t version = 0;
        int type = 0;
        int cid = 0;
        int mid = 0;
        std::string name;
    };

    // Reads the header; false when the data are shorter than the header.
    static bool ReadHeader(const uint8_t* data, int length, Header* header);
    // Whether the data are a whole image: the header with its mark and a device
    // type, then the body with its mark, the payload length it names and its
    // checksum. Fills the header when they are; otherwise `problem` says why.
    static bool Check(const uint8_t* data, int length, Header* header, std::string* problem);
    // A whole image with a payload of the given size, made from the header
    // fields; with `damageBody` the checksum does not match.
    static std::vector<uint8_t> Build(const Header& header, int payloadSize, bool damageBody);

private:
    static uint32_t Crc32(const uint8_t* data, size_t length);
};
