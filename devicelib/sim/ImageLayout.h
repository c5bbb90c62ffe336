#pragma once

// Offsets of the program's 10,428-byte configuration image (the FlashDataMap the
// C API hands us) and of the device's own 6912-byte block. The image layout is
// fixed by the program; the block layout is this library's.
namespace ImageLayout {
constexpr int Size = 10428;
constexpr int ReportRate = 0x00;
constexpr int StageCount = 0x01;
constexpr int CurrentStage = 0x02;
constexpr int Param03 = 0x03;
constexpr int Param04 = 0x04;
constexpr int Options = 0x05;          // 0x05-0x0E: lift-off ... sensor mode
constexpr int OptionCount = 10;
constexpr int DpiStages = 0x0F;
constexpr int StageSize = 6;
constexpr int Stages = 8;
constexpr int DpiLight = 0x3F;         // mode, brightness, speed, on
constexpr int DpiLightSize = 4;
constexpr int LightBar = 0x43;         // mode, red, green, blue, speed, brightness, on
constexpr int LightBarSize = 7;
constexpr int Buttons = 0x4A;
constexpr int ButtonSize = 3;
constexpr int ButtonCount = 16;
constexpr int Reserved7A = 0x7A;
constexpr int KeyRecords = 0x7C;
constexpr int KeyRecordSize = 52;
constexpr int KeyEvents = 6;
constexpr int Macros = 0x3BC;
constexpr int MacroSize = 592;
constexpr int MacroNameSize = 30;
constexpr int MacroEvents = 70;
constexpr int EventSize = 8;           // release, kind, code u16 LE, delay u32 LE
} // namespace ImageLayout

namespace BlockLayout {
constexpr int Size = 6912;
constexpr int ReportRate = 0x000;      // the one-byte report-rate answer
constexpr int StageCount = 0x001;
constexpr int Param03 = 0x002;
constexpr int Param04 = 0x003;
constexpr int CurrentStage = 0x004;    // the one-byte current-stage answer
constexpr int Options = 0x005;
constexpr int DpiStages = 0x010;
constexpr int DpiLight = 0x04C;        // 8-byte record: on, mode, brightness, speed, 4 device bytes
constexpr int DpiLightSize = 8;
constexpr int Buttons = 0x054;
constexpr int Reserved7A = 0x084;
constexpr int LightBar = 0x0A0;        // 9-byte record: on, mode, r, g, b, speed, brightness, 2 device bytes
constexpr int LightBarSize = 9;
constexpr int Signature = 0x0F0;       // 16 device bytes: maker mark and configuration number
constexpr int KeyRecords = 0x100;
constexpr int KeyRecordSize = 1 + ImageLayout::KeyEvents * 5;
constexpr int Macros = 0x2F0;
constexpr int MacroSize = 1 + ImageLayout::MacroNameSize + 1 + ImageLayout::MacroEvents * 5;
constexpr int Used = Macros + ImageLayout::ButtonCount * MacroSize;
constexpr int EventSize = 5;           // flags (bit 7 release, bits 3-6 delay bits 16-19, bits 0-2 kind), code, delay
constexpr unsigned MaxDelay = 0xFFFFF;

static_assert(KeyRecords + ImageLayout::ButtonCount * KeyRecordSize == Macros, "key records end where macros start");
static_assert(Used <= Size, "the block holds every record");
} // namespace BlockLayout
