#pragma once

#include "DIVAza.h"
#include "FirmwareImage.h"
#include "SimWorld.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <string>
#include <vector>

class Library;

// Firmware upgrades of the simulated devices. An upgrade runs on the library's
// upgrade thread: the device enters boot mode, progress is reported in steps of
// 10 %, and one result follows; on success the device comes back with the
// image's version, on failure it stays in boot mode. A start that is refused
// (a damaged image, no single device it fits, an upgrade still running) leaves
// the devices alone and reports one failure result.
class UpgradeService {
public:
    explicit UpgradeService(Library& library);

    int FindBootDevices(const UpgradeImage* image, int* count);
    int Start(const UpgradeImage* image, UpgradeStatusCallback callback, int timeoutMs);
    const char* const* Logs();
    // Forgets a running upgrade (the library's threads were stopped). Lock held.
    void ResetLocked();

private:
    struct Job {
        uint64_t id = 0;
        std::vector<uint8_t> image;
        FirmwareImage::Header header;
        std::string device;             // scenario id
        std::string path;
        UpgradeStatusCallback callback = nullptr;
        int timeoutMs = 10000;
        int fault = 0;
        int faultPercent = 0;
        int percent = -1;
        uint16_t oldVersion = 0;
        std::chrono::steady_clock::time_point started;
        // IN_CALL: set once the result's callback has returned.
        std::promise<void> delivered;
    };

    // Whether the node is the device the header describes.
    static bool Fits(const FirmwareImage::Header& header, const SimWorld::Node& node);
    void Step(const std::shared_ptr<Job>& job);
    // Ends the job; returns the result packet's value. Lock held.
    void FinishLocked(Job& job, bool success, const std::string& reason);
    void PublishLocked(std::vector<std::string> lines);
    // A start refused: the log lines, then one failure result for the callback.
    void RefuseLocked(UpgradeStatusCallback callback, std::vector<std::string> lines);
    static std::string VersionText(uint32_t version);
    static void Send(UpgradeStatusCallback callback, int kind, int value);

    Library& library_;
    bool busy_ = false;
    uint64_t jobId_ = 0;
    // Every published set of 8 log lines stays valid for the life of the process.
    std::deque<std::vector<std::string>> logTexts_;
    std::deque<std::vector<const char*>> logLines_;
};
