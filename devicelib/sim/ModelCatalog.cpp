#include "ModelCatalog.h"

#include "DeviceBlock.h"
#include "ImageLayout.h"

#include <cstdio>
#include <cstring>

namespace {
namespace I = ImageLayout;
namespace B = BlockLayout;

const ModelCatalog::Model Models[] = {
    {1, 10, 1, "TVM1-Mouse", {"TVR1-1K", "TVR1-2K", "TVR1-4K", "TVR1-8K"}, 0x0105, 0x0102, "5201", 4},
    {2, 10, 2, "TVM2-Mouse", {"TVR2-1K", "TVR2-2K", "TVR2-4K", "TVR2-8K"}, 0x0205, 0x0202, "5202", 1},
};

struct Rgb {
    uint8_t red, green, blue;
};
const Rgb StageColors[I::Stages] = {
    {255, 72, 77}, {255, 170, 0}, {255, 230, 0}, {25, 195, 162},
    {0, 150, 255}, {120, 90, 255}, {255, 90, 200}, {230, 232, 235},
};

// The sensor's register code of a DPI value with its bank flags and step
// multiplier: bits 8-9 of the register go to bits 2-3 and 6-7 of the flags byte.
void WriteStage(uint8_t* stage, int dpi, uint8_t flags, int multiplier, Rgb color)
{
    const int reg = dpi / (50 * multiplier) - 1;
    const int high = reg >> 8;
    stage[0] = uint8_t(reg);
    stage[1] = uint8_t(reg);
    stage[2] = uint8_t(flags | ((high | (high << 4)) << 2));
    stage[3] = color.red;
    stage[4] = color.green;
    stage[5] = color.blue;
}

// Model 1's sensor: steps of 50 up to 10000 DPI, then steps of 100 (flags 0x22).
void WriteStageModel1(uint8_t* stage, int dpi, Rgb color)
{
    if (dpi > 10000)
        WriteStage(stage, dpi, 0x22, 2, color);
    else
        WriteStage(stage, dpi, 0, 1, color);
}

// Model 2's sensor: four banks from 50, 5100, 10100 and 20200 DPI.
void WriteStageModel2(uint8_t* stage, int dpi, Rgb color)
{
    if (dpi >= 20200)
        WriteStage(stage, dpi, 0x33, 4, color);
    else if (dpi >= 10100)
        WriteStage(stage, dpi, 0x11, 2, color);
    else if (dpi >= 5100)
        WriteStage(stage, dpi, 0x22, 2, color);
    else
        WriteStage(stage, dpi, 0, 1, color);
}

void WriteEvent(uint8_t* event, int release, int kind, int code, int delay)
{
    event[0] = uint8_t(release);
    event[1] = uint8_t(kind);
    event[2] = uint8_t(code);
    event[3] = uint8_t(code >> 8);
    for (int i = 0; i < 4; ++i)
        event[4 + i] = uint8_t(delay >> (8 * i));
}
} // namespace

const ModelCatalog::Model* ModelCatalog::Find(int number)
{
    for (const Model& model : Models) {
        if (model.number == number)
            return &model;
    }
    return nullptr;
}

int ModelCatalog::KindIndex(int kind)
{
    switch (kind) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    default: return -1;
    }
}

std::vector<uint8_t> ModelCatalog::FactoryImage(int model, int configuration)
{
    std::vector<uint8_t> image(I::Size, 0);
    uint8_t* d = image.data();
    // Each onboard configuration starts a little differently, so switching shows.
    static const int StageCounts[4] = {5, 3, 8, 4};
    static const int CurrentStages[4] = {1, 0, 3, 2};
    static const uint8_t Rates[4] = {1, 2, 1, 4};
    const int c = configuration & 3;

    d[I::ReportRate] = Rates[c];
    d[I::StageCount] = uint8_t(model == 2 ? (StageCounts[c] > 5 ? 5 : StageCounts[c]) : StageCounts[c]);
    d[I::CurrentStage] = uint8_t(CurrentStages[c] < d[I::StageCount] ? CurrentStages[c] : 0);
    d[I::Param03] = 0x05;
    d[I::Param04] = 0x01;
    const uint8_t options[I::OptionCount] = {
        1,      // lift-off 1 mm
        8,      // debounce 8 ms
        0,      // motion sync
        6,      // light off after 60 s
        0,      // angle snapping
        0,      // ripple control
        1,      // lighting switch
        0,      // performance mode
        12,     // sleep after 2 minutes
        1,      // sensor mode HP
    };
    std::memcpy(d + I::Options, options, sizeof options);

    static const int Model1Dpi[I::Stages] = {400, 800, 1600, 3200, 6400, 12800, 16000, 26000};
    static const int Model2Dpi[I::Stages] = {400, 800, 1600, 3200, 6400, 12800, 20000, 30000};
    for (int s = 0; s < I::Stages; ++s) {
        uint8_t* stage = d + I::DpiStages + s * I::StageSize;
        if (model == 2)
            WriteStageModel2(stage, Model2Dpi[s], StageColors[s]);
        else
            WriteStageModel1(stage, Model1Dpi[s], StageColors[s]);
    }

    const uint8_t dpiLight[I::DpiLightSize] = {1, 128, 3, 1};          // steady, brightness, speed, on
    std::memcpy(d + I::DpiLight, dpiLight, sizeof dpiLight);
    const uint8_t lightBar[I::LightBarSize] = {1, 25, 195, 162, 3, 9, 1};
    std::memcpy(d + I::LightBar, lightBar, sizeof lightBar);

    // Left, right, middle, back, forward, DPI cycle; model 2's middle button
    // plays and pauses (a consumer key record).
    const uint8_t buttons[6][3] = {{1, 1, 0}, {1, 2, 0}, {1, 4, 0}, {1, 8, 0}, {1, 16, 0}, {2, 1, 0}};
    std::memcpy(d + I::Buttons, buttons, sizeof buttons);
    if (model == 2) {
        uint8_t* button = d + I::Buttons + 2 * I::ButtonSize;
        button[0] = 5;
        button[1] = 0;
        uint8_t* key = d + I::KeyRecords + 2 * I::KeyRecordSize;
        key[0] = 2;
        WriteEvent(key + 4, 0, 2, 0xCD, 10);
        WriteEvent(key + 4 + I::EventSize, 1, 2, 0xCD, 10);
    }
    d[I::Reserved7A] = 0x10;
    d[I::Reserved7A + 1] = 0x01;
    return image;
}

std::vector<uint8_t> ModelCatalog::ToBlock(const std::vector<uint8_t>& image, int model, int configuration)
{
    std::vector<uint8_t> block(B::Size, 0);
    // The device's own bytes: a maker mark with the configuration number and
    // the bytes of the light records that the image does not carry.
    char mark[17];
    std::snprintf(mark, sizeof mark, "TALVIRE M%d C%d", model, configuration);
    std::memcpy(block.data() + B::Signature, mark, std::strlen(mark));
    const uint8_t dpiLightTail[4] = {0x0A, 0x00, 0x64, 0x00};
    std::memcpy(block.data() + B::DpiLight + 4, dpiLightTail, sizeof dpiLightTail);
    block[B::LightBar + 7] = 0x02;
    DeviceBlock::Encode(image.data(), block.data());
    return block;
}

std::vector<uint8_t> ModelCatalog::FactoryBlock(int model, int configuration)
{
    return ToBlock(FactoryImage(model, configuration), model, configuration);
}

std::vector<uint8_t> ModelCatalog::DemoBlock(int model, int configuration)
{
    std::vector<uint8_t> image = FactoryImage(model, configuration);
    if (configuration == 0) {
        // Forward button: macro "CopyPaste" (Ctrl+C, a pause, Ctrl+V), played once.
        const int button = 4;
        uint8_t* function = image.data() + I::Buttons + button * I::ButtonSize;
        function[0] = 6;
        function[1] = uint8_t(button);
        function[2] = 1;
        uint8_t* macro = image.data() + I::Macros + button * I::MacroSize;
        const char name[] = "CopyPaste";
        macro[0] = uint8_t(std::strlen(name));
        std::memcpy(macro + 1, name, std::strlen(name));
        const int events[8][4] = {
            {0, 0, 0x01, 30}, {0, 1, 0x06, 50}, {1, 1, 0x06, 30}, {1, 0, 0x01, 200},
            {0, 0, 0x01, 30}, {0, 1, 0x19, 50}, {1, 1, 0x19, 30}, {1, 0, 0x01, 0},
        };
        macro[1 + I::MacroNameSize] = 8;
        for (int e = 0; e < 8; ++e)
            WriteEvent(macro + 32 + e * I::EventSize, events[e][0], events[e][1], events[e][2], events[e][3]);
    }
    return ToBlock(image, model, configuration);
}
