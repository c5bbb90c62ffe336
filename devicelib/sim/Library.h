#pragma once

#include "BlockMemory.h"
#include "DIVAza.h"
#include "SimWorld.h"
#include "TimedExecutor.h"
#include "UpgradeService.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// The simulated devices behind the C API, with the library's three threads:
// reports, device-change notices and upgrades. One lock guards all state; it
// is never held while a callback runs.
class Library {
public:
    enum class Request { WholeRead, Config, Version, Battery, CurrentDpi, ReportRate, DpiLight, LightBar, PairStatus };

    struct Report {
        uint8_t header[8] = {};
        std::vector<uint8_t> data;
        bool answersStage = false;   // tells the host the mouse's current stage
    };
    // Runs on the report thread under the lock; fills the report or returns
    // false to send nothing.
    using Producer = std::function<bool(Report&)>;

    static Library& Instance();
    // How long a shutdown waits for callbacks still running.
    static constexpr int ShutdownBoundMs = 2000;

    // Finding devices.
    const char* const* FindDevices(const char* vid, const char* pid, int* count);
    int Attribute(const char* path, uint8_t* attribute);
    UsbDeviceInfo DeviceInfo(const char* path);
    int Online(const char* path);
    int OnlineWithAddress(const char* path, uint8_t* buffer);
    int MouseVersion(const char* path);
    int ReceiverVersion(const char* path, int* version);
    int ReceiverLight(const char* path, uint8_t* record);
    int SetReceiverLight(const char* path, const uint8_t* record);
    int LongRange(const char* path, uint8_t* mode);
    int SetLongRange(const char* path, int on);
    int SetDongleId(const char* path, const uint8_t* id);

    // The opened device.
    int Open(const char* path, const char* writePath, UsbDataCallback callback);
    int SetPCDriverStatus(int present);
    int Close();
    int Read(Request request);
    int EnterPairing(uint8_t cid);
    int SetBatteryOptimize(int enable);
    int SetCurrentConfig(int index);
    int ClearSetting();
    int WriteImage(const uint8_t* image);

    // Device-change notices.
    int StartChanged(UsbChangedCallback callback, int periodMs);
    int StopChanged();

    UpgradeService& Upgrades() { return upgrades_; }

    // Stops the three threads; waits at most boundMs for each callback still
    // running, running whileWaiting meanwhile (TimedExecutor::Stop).
    void Shutdown(int boundMs, const std::function<void()>& whileWaiting = nullptr);
    // Shutdown, then the given devices. False (nothing done) on a library thread.
    bool Reset(SimWorld world);
    // A barrier: waits until the three threads have run every action due
    // (TimedExecutor::WaitForDue), at most boundMs in all, serving the
    // application's events meanwhile when called on its thread. Nothing is
    // dropped and the threads keep running. False after the bound, and at
    // once on a library thread.
    bool WaitForDue(int boundMs);
    bool OnLibraryThread() const;

    // For the control functions and the upgrades: run f under the lock.
    template <typename F>
    auto WithWorld(F f)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(world_);
    }

    // The rest requires the lock to be held (inside WithWorld).
    // The mouse changed bytes of its current block on its own: the library no
    // longer knows the reports that hold them.
    void MouseChangedBlockLocked(const SimMouse& mouse, int address, int length);
    // A device appeared or vanished: drops the answers due from the opened
    // device when it is gone, and notifies the change callback.
    void DevicesChangedLocked();
    // A report from the mouse or the receiver; it reaches the callback when the
    // opened device leads to that mouse, or is that receiver.
    void MouseReportLocked(const SimMouse& mouse, int type, std::vector<uint8_t> data);
    void ReceiverReportLocked(const SimReceiver& receiver, int type, std::vector<uint8_t> data);
    // Status-change flags: DPI, report rate, configuration, DPI light, unused, light bar, battery.
    void StatusChangeLocked(const SimMouse& mouse, int flag);
    // With TALVIRE_SIM_STAGE_LOG set, one line on the standard error for each
    // current stage the mouse stores or answers, and why.
    void LogStageLocked(const SimMouse& mouse, int stored, const char* why) const;
    TimedExecutor& UpgradeThread() { return upgrade_; }

private:
    Library();

    struct Session {
        bool open = false;
        const char* path = nullptr;
        UsbDataCallback callback = nullptr;
        uint64_t generation = 0;
    };

    // A report from the device after `delayMs`, then `reports` 64-byte
    // reports on the link, which carries one report at a time.
    void QueueReport(int delayMs, int reports, Producer produce);
    // An answer to a request on the opened device; lost when the device is
    // closed or changed before it is due. What it carries of the device block
    // is remembered.
    void AnswerLocked(int delayMs, int reports, std::function<bool(SimWorld::Node&, Report&)> fill);
    SimMouse* SessionMouseLocked();
    SimReceiver* SessionReceiverLocked();
    void PairingStep(const std::string& receiverId, uint64_t attempt);
    void FinishPairingLocked(SimReceiver& receiver, int status);
    void NotifyChange();
    void CloseLocked();

    // Answers that tell the host the current stage, from when they are made
    // until their callback has returned (the host has taken the stage in), and
    // the stages the host knew before them: meanwhile an image copied earlier
    // may still carry one of those.
    void StageAnswerMadeLocked(int stageBefore);
    int stageAnswersOnTheWay_ = 0;
    uint8_t stagesBefore_ = 0;

    mutable std::mutex mutex_;
    // One write on the link at a time; taken before mutex_, never held while
    // a callback runs.
    std::mutex writeMutex_;
    SimWorld world_;
    BlockMemory memory_;
    // When the link towards the host is free again.
    std::chrono::steady_clock::time_point inputFreeAt_;
    Session session_;
    UsbChangedCallback changeCallback_ = nullptr;
    uint64_t registrations_ = 0;
    uint64_t changes_ = 0;
    uint64_t notifiedRegistration_ = 0;
    uint64_t notifiedChanges_ = 0;
    TimedExecutor report_;
    TimedExecutor change_;
    TimedExecutor upgrade_;
    UpgradeService upgrades_;
};
