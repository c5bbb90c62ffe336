#pragma once

#include "devicelib/DIVAza.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Records what the device library delivers to its three callbacks, with the
// thread each call came on, and lets a test wait for it. The callbacks are
// plain C functions, so one process-wide log serves them.
class ReportLog {
public:
    struct Report {
        std::vector<unsigned char> header;
        std::vector<unsigned char> data;
        std::thread::id thread;
        std::chrono::steady_clock::time_point time;
        int type() const { return header.size() > 1 ? header[1] : 0; }
        int address() const { return header.size() > 4 ? header[4] : 0; }
    };
    struct Packet {
        int type, kind, value;
        std::thread::id thread;
    };

    static ReportLog& Instance();

    static void OnReport(const unsigned char* header, int headerLength, const unsigned char* data, int dataLength);
    static void OnChange();
    static void OnUpgrade(UpgradeStatusPacket* packet);

    // Forgets everything recorded and every hook.
    void Clear();

    // Runs inside the callback, after the call was recorded and without the
    // log's lock, so it may block or call the library.
    void SetReportHook(std::function<void(const Report&)> hook);
    void SetChangeHook(std::function<void()> hook);
    void SetUpgradeHook(std::function<void(const Packet&)> hook);

    // The first recorded report (from index `from` on) that matches; false when
    // none came within the time.
    bool WaitReport(const std::function<bool(const Report&)>& match, int timeoutMs, Report* found = nullptr,
                    size_t from = 0);
    bool WaitReportType(int type, int timeoutMs, Report* found = nullptr, size_t from = 0);
    // Waits until at least `count` change notices (or upgrade packets) were recorded.
    bool WaitChanges(int count, int timeoutMs);
    bool WaitPackets(const std::function<bool(const std::vector<Packet>&)> done, int timeoutMs);

    std::vector<Report> Reports();
    size_t ReportCount();
    std::vector<std::chrono::steady_clock::time_point> Changes();
    std::vector<std::thread::id> ChangeThreads();
    std::vector<Packet> Packets();

private:
    template <typename Predicate>
    bool Wait(int timeoutMs, Predicate predicate);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Report> reports_;
    std::vector<std::chrono::steady_clock::time_point> changes_;
    std::vector<std::thread::id> changeThreads_;
    std::vector<Packet> packets_;
    std::function<void(const Report&)> reportHook_;
    std::function<void()> changeHook_;
    std::function<void(const Packet&)> upgradeHook_;
};

// A gate a callback can wait at until the test opens it.
class Gate {
public:
    void Open();
    // Waits until the gate opens; false after the time-out (a test ceiling).
    bool Pass(int timeoutMs = 10000);
    // Waits until a thread waits at the gate (a test ceiling).
    bool WaitForVisitor(int timeoutMs = 5000);
    // A thread waits at the gate now: it came and has not left.
    bool Holding();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    bool visited_ = false;
    int waiting_ = 0;
};
