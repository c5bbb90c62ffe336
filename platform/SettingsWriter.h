#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The one thread that writes the settings files, so that no caller waits for
// the disk. Jobs run one after the other in the order they were posted. The
// thread starts with the first job and ends with the process, after the last
// job.
class SettingsWriter {
public:
    static SettingsWriter* Instance();

    SettingsWriter(const SettingsWriter&) = delete;
    SettingsWriter& operator=(const SettingsWriter&) = delete;
    ~SettingsWriter();

    void Post(std::function<void()> job);
    // Waits until every job posted before the call has run. Returns at once
    // on the writer thread itself.
    void Drain();
    // For tests, called from a job: holds the writer until a caller waits in
    // Drain (at most ceilingMs), so that what that caller waits for reaches
    // the disk only after it began to wait.
    void HoldUntilDrained(int ceilingMs);

private:
    SettingsWriter() = default;
    void Run();

    std::mutex mutex_; // a pthread lock: visible to the thread sanitizer
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::condition_variable draining_;
    int drainers_ = 0;
    std::deque<std::function<void()>> jobs_;
    bool busy_ = false;
    bool stop_ = false;
    std::thread thread_;
};
