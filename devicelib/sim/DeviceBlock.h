#pragma once

#include <cstdint>

// Converts between the program's configuration image and the device's compact
// 6912-byte block (layouts in ImageLayout.h). Key and macro events take 5 bytes
// on the device: release flag, kind 0-7, 16-bit code and a delay of up to
// 0xFFFFF ms; counts beyond the records' capacity are stored as the capacity.
class DeviceBlock {
public:
    // Writes every field of the image into the block. Bytes of the block that
    // hold no image field are the device's own and stay as they are.
    static void Encode(const uint8_t* image, uint8_t* block);
    // Fills every byte of the image from the block.
    static void Decode(const uint8_t* block, uint8_t* image);
    // The 8-byte DPI-light record into the 4 image bytes from 0x3F.
    static void DecodeDpiLight(const uint8_t* record, uint8_t* fields);
    // The 9-byte light-bar record into the 7 image bytes from 0x43.
    static void DecodeLightBar(const uint8_t* record, uint8_t* fields);

private:
    static void EncodeEvent(const uint8_t* event, uint8_t* stored);
    static void DecodeEvent(const uint8_t* stored, uint8_t* event);
};
