#pragma once

#include "ImageLayout.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What the library knows of the mice's device blocks: per mouse and onboard
// configuration, the 64-byte reports it last wrote or read. A write moves only
// the reports whose content it would change and those it does not know.
class BlockMemory {
public:
    static constexpr int ReportSize = 64;
    static constexpr int Reports = BlockLayout::Size / ReportSize;
    static_assert(BlockLayout::Size % ReportSize == 0, "the block is whole reports");

    // The reports of `target` (a whole block) that differ from what is known,
    // unknown reports included, in ascending order.
    std::vector<int> Differing(const std::string& mouse, int configuration, const std::vector<uint8_t>& target) const;
    // The bytes of one report as the device now holds them.
    void Remember(const std::string& mouse, int configuration, int report, const uint8_t* bytes);
    // Bytes read from the device at `address`: reports they cover whole become
    // known; known reports they cover in part are brought up to date.
    void Learn(const std::string& mouse, int configuration, int address, const std::vector<uint8_t>& bytes);
    // The device changed these bytes on its own: the reports holding them are unknown.
    void ForgetRange(const std::string& mouse, int configuration, int address, int length);
    // Nothing of this configuration (every configuration with -1) is known.
    void Forget(const std::string& mouse, int configuration = -1);
    // The current stage as the host last wrote or read it, -1 when unknown.
    // The mouse moves its stage on its own (the DPI button), so this is what
    // tells a stage the host sets from one its image still carries.
    int HostStage(const std::string& mouse, int configuration) const;
    void SetHostStage(const std::string& mouse, int configuration, int stage);
    void Clear();

private:
    struct Copy {
        std::vector<uint8_t> block = std::vector<uint8_t>(size_t(Reports * ReportSize), 0);
        std::vector<bool> known = std::vector<bool>(size_t(Reports), false);
        int hostStage = -1;
    };
    Copy* Find(const std::string& mouse, int configuration);
    const Copy* Find(const std::string& mouse, int configuration) const;
    Copy& Make(const std::string& mouse, int configuration);

    std::map<std::pair<std::string, int>, Copy> copies_;
};
