#include "BlockMemory.h"

#include <algorithm>
#include <cstring>

BlockMemory::Copy* BlockMemory::Find(const std::string& mouse, int configuration)
{
    const auto found = copies_.find({mouse, configuration});
    return found == copies_.end() ? nullptr : &found->second;
}

const BlockMemory::Copy* BlockMemory::Find(const std::string& mouse, int configuration) const
{
    const auto found = copies_.find({mouse, configuration});
    return found == copies_.end() ? nullptr : &found->second;
}

BlockMemory::Copy& BlockMemory::Make(const std::string& mouse, int configuration)
{
    return copies_[{mouse, configuration}];
}

std::vector<int> BlockMemory::Differing(const std::string& mouse, int configuration,
                                        const std::vector<uint8_t>& target) const
{
    std::vector<int> reports;
    const Copy* copy = Find(mouse, configuration);
    for (int report = 0; report < Reports; ++report) {
        const size_t offset = size_t(report * ReportSize);
        if (!copy || !copy->known[size_t(report)]
            || std::memcmp(copy->block.data() + offset, target.data() + offset, ReportSize) != 0)
            reports.push_back(report);
    }
    return reports;
}

void BlockMemory::Remember(const std::string& mouse, int configuration, int report, const uint8_t* bytes)
{
    if (report < 0 || report >= Reports)
        return;
    Copy& copy = Make(mouse, configuration);
    std::memcpy(copy.block.data() + report * ReportSize, bytes, ReportSize);
    copy.known[size_t(report)] = true;
}

void BlockMemory::Learn(const std::string& mouse, int configuration, int address, const std::vector<uint8_t>& bytes)
{
    const int end = std::min<int>(address + int(bytes.size()), Reports * ReportSize);
    if (address < 0 || address >= end)
        return;
    Copy& copy = Make(mouse, configuration);
    if (address <= BlockLayout::CurrentStage && BlockLayout::CurrentStage < end)
        copy.hostStage = bytes[size_t(BlockLayout::CurrentStage - address)];
    for (int report = address / ReportSize; report * ReportSize < end; ++report) {
        const int first = report * ReportSize;
        const bool whole = address <= first && end >= first + ReportSize;
        if (!whole && !copy.known[size_t(report)])
            continue;
        const int from = std::max(first, address);
        const int to = std::min(first + ReportSize, end);
        std::memcpy(copy.block.data() + from, bytes.data() + (from - address), size_t(to - from));
        copy.known[size_t(report)] = true;
    }
}

void BlockMemory::ForgetRange(const std::string& mouse, int configuration, int address, int length)
{
    Copy* copy = Find(mouse, configuration);
    if (!copy || length <= 0 || address < 0)
        return;
    const int last = std::min(address + length - 1, Reports * ReportSize - 1);
    for (int report = address / ReportSize; report <= last / ReportSize; ++report)
        copy->known[size_t(report)] = false;
}

int BlockMemory::HostStage(const std::string& mouse, int configuration) const
{
    const Copy* copy = Find(mouse, configuration);
    return copy ? copy->hostStage : -1;
}

void BlockMemory::SetHostStage(const std::string& mouse, int configuration, int stage)
{
    Make(mouse, configuration).hostStage = stage;
}

void BlockMemory::Forget(const std::string& mouse, int configuration)
{
    for (auto it = copies_.begin(); it != copies_.end();) {
        if (it->first.first == mouse && (configuration < 0 || it->first.second == configuration))
            it = copies_.erase(it);
        else
            ++it;
    }
}

void BlockMemory::Clear()
{
    copies_.clear();
}
