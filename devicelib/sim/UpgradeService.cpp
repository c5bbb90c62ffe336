#include "UpgradeService.h"

#include "Library.h"
#include "SimDevice.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr int ProgressStep = 10;
constexpr int UpgradeReport = 7;
constexpr int ProgressKind = 1;
constexpr int ResultKind = 2;
} // namespace

UpgradeService::UpgradeService(Library& library)
    : library_(library)
{
    PublishLocked({"No firmware upgrade has run yet.", "-", "-", "-", "-", "-", "-", "-"});
}

std::string UpgradeService::VersionText(uint32_t version)
{
    char text[32];
    std::snprintf(text, sizeof text, "v%u.%x", unsigned((version >> 8) & 0xFFFFFF), unsigned(version & 0xFF));
    return text;
}

bool UpgradeService::Fits(const FirmwareImage::Header& header, const SimWorld::Node& node)
{
    if (node.receiver) {
        const SimReceiver& r = *node.receiver;
        return header.type == FirmwareImage::ReceiverType && header.cid == r.cid && header.mid == r.mid
            && header.name == r.name;
    }
    if (node.mouse) {
        const SimMouse& m = *node.mouse;
        return header.type == FirmwareImage::MouseType && header.cid == m.cid && header.mid == m.mid
            && header.name == m.name;
    }
    return false;
}

int UpgradeService::FindBootDevices(const UpgradeImage* image, int* count)
{
    FirmwareImage::Header header;
    int found = 0;
    if (image && FirmwareImage::ReadHeader(image->data, image->length, &header)) {
        found = library_.WithWorld([&](SimWorld& world) {
            int n = 0;
            for (SimReceiver& receiver : world.receivers) {
                SimWorld::Node node;
                node.receiver = &receiver;
                n += Fits(header, node) && world.InBootList(node);
            }
            for (SimMouse& mouse : world.mice) {
                SimWorld::Node node;
                node.mouse = &mouse;
                n += Fits(header, node) && world.InBootList(node);
            }
            return n;
        });
    }
    if (count)
        *count = found;
    return found;
}

int UpgradeService::Start(const UpgradeImage* image, UpgradeStatusCallback callback, int timeoutMs)
{
    // Without a callback nothing could be reported: the call is refused alone.
    if (!callback)
        return 0;
    FirmwareImage::Header header;
    std::string problem;
    const bool sound = image && FirmwareImage::Check(image->data, image->length, &header, &problem);
    const int length = image && image->length > 0 ? image->length : 0;
    auto job = std::make_shared<Job>();
    if (sound) {
        job->image.assign(image->data, image->data + image->length);
        job->header = header;
    }
    job->callback = callback;
    job->timeoutMs = timeoutMs > 0 ? timeoutMs : 10000;
    job->started = std::chrono::steady_clock::now();

    const bool started = library_.WithWorld([&](SimWorld& world) {
        const std::string what = !sound ? std::string("device")
            : std::string(header.type == FirmwareImage::ReceiverType ? "receiver" : "mouse") + " " + header.name
                + " (CID " + std::to_string(header.cid) + ", MID " + std::to_string(header.mid) + ")";
        const std::string imageLine = !sound ? "Image: " + std::to_string(length) + " bytes"
            : "Image: " + VersionText(header.version) + ", " + std::to_string(length) + " bytes";
        const auto refuse = [&](const std::string& reason) {
            RefuseLocked(callback, {"Firmware upgrade of the " + what + " not started.", "-", imageLine, "-", "-",
                                    "-", "Result: not started", "Reason: " + reason});
            return false;
        };
        // A damaged image is refused before the device is touched.
        if (!sound)
            return refuse(image ? problem : "no image");
        if (busy_)
            return refuse("another upgrade is running");
        job->fault = world.upgradeFault;
        job->faultPercent = world.upgradeFaultPercent;
        world.upgradeFault = SIM_UPGRADE_NONE;
        if (job->fault == SIM_UPGRADE_REFUSE)
            return refuse("the device refused the upgrade");
        // The one device, in boot mode or in normal mode, that the image is made for.
        std::vector<SimWorld::Node> targets;
        for (SimReceiver& receiver : world.receivers) {
            SimWorld::Node node;
            node.receiver = &receiver;
            if (Fits(header, node) && (world.Visible(node) || world.InBootList(node)))
                targets.push_back(node);
        }
        for (SimMouse& mouse : world.mice) {
            SimWorld::Node node;
            node.mouse = &mouse;
            if (Fits(header, node) && (world.InBootList(node) || (!mouse.boot && mouse.cable)))
                targets.push_back(node);
            else if (Fits(header, node) && !mouse.boot) {
                for (SimReceiver& receiver : world.receivers) {
                    SimWorld::Node link;
                    link.receiver = &receiver;
                    if (world.ReachableMouse(link) == &mouse) {
                        targets.push_back(node);
                        break;
                    }
                }
            }
        }
        if (targets.size() != 1)
            return refuse(targets.empty() ? "no device fits the image"
                                          : std::to_string(targets.size()) + " devices fit the image");
        const SimWorld::Node target = targets.front();
        job->device = target.receiver ? target.receiver->id : target.mouse->id;
        job->path = target.receiver ? target.receiver->path : target.mouse->cablePath;
        job->oldVersion = target.receiver ? target.receiver->version : target.mouse->version;
        job->id = ++jobId_;
        busy_ = true;
        PublishLocked({"Firmware upgrade of the " + what + " running.", "Device: " + job->path, imageLine,
                       "Version before: " + VersionText(job->oldVersion),
                       "Time limit: " + std::to_string(job->timeoutMs) + " ms", "Progress: 0%", "Result: -", "Reason: -"});
        library_.UpgradeThread().Post(0, true, [this, job] { Step(job); });
        return true;
    });
    // Outside the lock: the callback may call the library.
    if (started && job->fault == SIM_UPGRADE_IN_CALL)
        job->delivered.get_future().wait();
    return started ? 1 : 0;
}

void UpgradeService::RefuseLocked(UpgradeStatusCallback callback, std::vector<std::string> lines)
{
    PublishLocked(std::move(lines));
    // The caller learns of the refusal as of any failure: one result on the
    // upgrade thread, after the call has returned.
    library_.UpgradeThread().Post(0, true, [callback] { Send(callback, ResultKind, 2); });
}

void UpgradeService::Step(const std::shared_ptr<Job>& job)
{
    int progress = -1;
    bool ended = false;
    bool success = false;
    library_.WithWorld([&](SimWorld& world) {
        if (!busy_ || jobId_ != job->id)
            return;
        SimWorld::Node node = world.FindDevice(job->device.c_str());
        if (!node) {
            FinishLocked(*job, false, "the device is gone");
            ended = true;
            return;
        }
        bool& boot = node.receiver ? node.receiver->boot : node.mouse->boot;
        uint16_t& version = node.receiver ? node.receiver->version : node.mouse->version;
        const int stepMs = world.timing[SIM_TIMING_UPGRADE_STEP];

        if (job->fault == SIM_UPGRADE_IMMEDIATE || job->fault == SIM_UPGRADE_IN_CALL) {
            version = uint16_t(job->header.version);
            FinishLocked(*job, true, "-");
            ended = success = true;
            return;
        }
        if (job->percent < 0) {
            boot = true;
            library_.DevicesChangedLocked();
            // A library gone silent: nothing more is reported or done.
            if (job->fault == SIM_UPGRADE_SILENT)
                return;
        }
        if (!world.InBootList(node)) {
            FinishLocked(*job, false, "the device was lost at " + std::to_string(std::max(0, job->percent)) + "%");
            ended = true;
            return;
        }
        if (job->percent >= 100) {
            version = uint16_t(job->header.version);
            boot = false;
            library_.DevicesChangedLocked();
            FinishLocked(*job, true, "-");
            ended = success = true;
            return;
        }
        const int next = job->percent < 0 ? 0 : job->percent + ProgressStep;
        if (job->fault == SIM_UPGRADE_FAIL_AT && next >= job->faultPercent) {
            job->percent = next;
            FinishLocked(*job, false, "the device reported an error at " + std::to_string(next) + "%");
            ended = true;
            return;
        }
        job->percent = next;
        if (job->fault == SIM_UPGRADE_STALL_AT && next >= job->faultPercent) {
            // The device stops answering; the time limit ends the upgrade.
            library_.UpgradeThread().Post(job->timeoutMs, false, [this, job] {
                UpgradeStatusCallback callback = nullptr;
                library_.WithWorld([&](SimWorld&) {
                    if (!busy_ || jobId_ != job->id)
                        return;
                    FinishLocked(*job, false, "the device stopped answering at " + std::to_string(job->percent)
                                                  + "% (time limit " + std::to_string(job->timeoutMs) + " ms)");
                    callback = job->callback;
                });
                if (callback)
                    Send(callback, ResultKind, 2);
            });
            return;
        }
        progress = next;
        library_.UpgradeThread().Post(stepMs, true, [this, job] { Step(job); });
    });
    if (ended)
        Send(job->callback, ResultKind, success ? 1 : 2);
    else if (progress >= 0)
        Send(job->callback, ProgressKind, progress);
    // Such a job has one step: the start call may return now.
    if (job->fault == SIM_UPGRADE_IN_CALL)
        job->delivered.set_value();
}

void UpgradeService::FinishLocked(Job& job, bool success, const std::string& reason)
{
    busy_ = false;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - job.started);
    const std::string what = job.header.type == FirmwareImage::ReceiverType ? "receiver" : "mouse";
    PublishLocked({"Firmware upgrade of the " + what + " " + job.header.name + " (CID " + std::to_string(job.header.cid)
                       + ", MID " + std::to_string(job.header.mid) + ")",
                   "Device: " + job.path,
                   "Image: " + VersionText(job.header.version) + ", " + std::to_string(job.image.size()) + " bytes",
                   "Version before: " + VersionText(job.oldVersion),
                   "Time: " + std::to_string(elapsed.count()) + " ms of " + std::to_string(job.timeoutMs) + " ms allowed",
                   "Progress: " + std::to_string(std::max(0, job.percent)) + "%",
                   success ? "Result: success, version now " + VersionText(job.header.version)
                           : "Result: failed, the device stays in boot mode",
                   "Reason: " + reason});
}

void UpgradeService::PublishLocked(std::vector<std::string> lines)
{
    logTexts_.push_back(std::move(lines));
    std::vector<const char*> pointers;
    for (const std::string& line : logTexts_.back())
        pointers.push_back(line.c_str());
    logLines_.push_back(std::move(pointers));
}

const char* const* UpgradeService::Logs()
{
    return library_.WithWorld([this](SimWorld&) { return logLines_.back().data(); });
}

void UpgradeService::ResetLocked()
{
    busy_ = false;
    ++jobId_;
}

void UpgradeService::Send(UpgradeStatusCallback callback, int kind, int value)
{
    UpgradeStatusPacket packet = {};
    packet.type = UpgradeReport;
    packet.kind = uint8_t(kind);
    packet.value = uint8_t(value);
    callback(&packet);
}
