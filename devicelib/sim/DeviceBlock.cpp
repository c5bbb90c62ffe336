#include "DeviceBlock.h"

#include "ImageLayout.h"

#include <algorithm>
#include <cstring>

namespace {
namespace I = ImageLayout;
namespace B = BlockLayout;

uint32_t ReadLe(const uint8_t* bytes, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

void WriteLe(uint8_t* bytes, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) {
        bytes[i] = uint8_t(value & 0xFF);
        value >>= 8;
    }
}
} // namespace

void DeviceBlock::EncodeEvent(const uint8_t* event, uint8_t* stored)
{
    const uint32_t delay = std::min<uint32_t>(ReadLe(event + 4, 4), B::MaxDelay);
    stored[0] = uint8_t((event[0] ? 0x80 : 0) | ((delay >> 16) << 3) | (event[1] & 0x07));
    stored[1] = event[2];
    stored[2] = event[3];
    WriteLe(stored + 3, delay & 0xFFFF, 2);
}

void DeviceBlock::DecodeEvent(const uint8_t* stored, uint8_t* event)
{
    event[0] = (stored[0] & 0x80) ? 1 : 0;
    event[1] = stored[0] & 0x07;
    event[2] = stored[1];
    event[3] = stored[2];
    WriteLe(event + 4, ReadLe(stored + 3, 2) | (uint32_t((stored[0] >> 3) & 0x0F) << 16), 4);
}

void DeviceBlock::Encode(const uint8_t* image, uint8_t* block)
{
    block[B::ReportRate] = image[I::ReportRate];
    block[B::StageCount] = image[I::StageCount];
    block[B::Param03] = image[I::Param03];
    block[B::Param04] = image[I::Param04];
    block[B::CurrentStage] = image[I::CurrentStage];
    std::memcpy(block + B::Options, image + I::Options, I::OptionCount);
    std::memcpy(block + B::DpiStages, image + I::DpiStages, I::Stages * I::StageSize);

    const uint8_t* dpiLight = image + I::DpiLight;
    uint8_t* dpiRecord = block + B::DpiLight;
    dpiRecord[0] = dpiLight[3];
    dpiRecord[1] = dpiLight[0];
    dpiRecord[2] = dpiLight[1];
    dpiRecord[3] = dpiLight[2];

    const uint8_t* light = image + I::LightBar;
    uint8_t* lightRecord = block + B::LightBar;
    lightRecord[0] = light[6];
    std::memcpy(lightRecord + 1, light, 6);

    std::memcpy(block + B::Buttons, image + I::Buttons, I::ButtonCount * I::ButtonSize);
    std::memcpy(block + B::Reserved7A, image + I::Reserved7A, 2);

    for (int b = 0; b < I::ButtonCount; ++b) {
        const uint8_t* key = image + I::KeyRecords + b * I::KeyRecordSize;
        uint8_t* storedKey = block + B::KeyRecords + b * B::KeyRecordSize;
        storedKey[0] = uint8_t(std::min<int>(key[0], I::KeyEvents));
        for (int e = 0; e < I::KeyEvents; ++e)
            EncodeEvent(key + 4 + e * I::EventSize, storedKey + 1 + e * B::EventSize);

        const uint8_t* macro = image + I::Macros + b * I::MacroSize;
        uint8_t* storedMacro = block + B::Macros + b * B::MacroSize;
        storedMacro[0] = uint8_t(std::min<int>(macro[0], I::MacroNameSize));
        std::memcpy(storedMacro + 1, macro + 1, I::MacroNameSize);
        storedMacro[1 + I::MacroNameSize] = uint8_t(std::min<int>(macro[1 + I::MacroNameSize], I::MacroEvents));
        for (int e = 0; e < I::MacroEvents; ++e)
            EncodeEvent(macro + 32 + e * I::EventSize, storedMacro + 32 + e * B::EventSize);
    }
}

void DeviceBlock::Decode(const uint8_t* block, uint8_t* image)
{
    std::memset(image, 0, I::Size);
    image[I::ReportRate] = block[B::ReportRate];
    image[I::StageCount] = block[B::StageCount];
    image[I::CurrentStage] = block[B::CurrentStage];
    image[I::Param03] = block[B::Param03];
    image[I::Param04] = block[B::Param04];
    std::memcpy(image + I::Options, block + B::Options, I::OptionCount);
    std::memcpy(image + I::DpiStages, block + B::DpiStages, I::Stages * I::StageSize);
    DecodeDpiLight(block + B::DpiLight, image + I::DpiLight);
    DecodeLightBar(block + B::LightBar, image + I::LightBar);
    std::memcpy(image + I::Buttons, block + B::Buttons, I::ButtonCount * I::ButtonSize);
    std::memcpy(image + I::Reserved7A, block + B::Reserved7A, 2);

    for (int b = 0; b < I::ButtonCount; ++b) {
        uint8_t* key = image + I::KeyRecords + b * I::KeyRecordSize;
        const uint8_t* storedKey = block + B::KeyRecords + b * B::KeyRecordSize;
        key[0] = uint8_t(std::min<int>(storedKey[0], I::KeyEvents));
        for (int e = 0; e < I::KeyEvents; ++e)
            DecodeEvent(storedKey + 1 + e * B::EventSize, key + 4 + e * I::EventSize);

        uint8_t* macro = image + I::Macros + b * I::MacroSize;
        const uint8_t* storedMacro = block + B::Macros + b * B::MacroSize;
        macro[0] = uint8_t(std::min<int>(storedMacro[0], I::MacroNameSize));
        std::memcpy(macro + 1, storedMacro + 1, I::MacroNameSize);
        macro[1 + I::MacroNameSize] = uint8_t(std::min<int>(storedMacro[1 + I::MacroNameSize], I::MacroEvents));
        for (int e = 0; e < I::MacroEvents; ++e)
            DecodeEvent(storedMacro + 32 + e * B::EventSize, macro + 32 + e * I::EventSize);
    }
}

void DeviceBlock::DecodeDpiLight(const uint8_t* record, uint8_t* fields)
{
    fields[0] = record[1];
    fields[1] = record[2];
    fields[2] = record[3];
    fields[3] = record[0];
}

void DeviceBlock::DecodeLightBar(const uint8_t* record, uint8_t* fields)
{
    std::memcpy(fields, record + 1, 6);
    fields[6] = record[0];
}
