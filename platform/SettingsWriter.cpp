#include "platform/SettingsWriter.h"

#include <chrono>

SettingsWriter* SettingsWriter::Instance()
{
    static SettingsWriter instance;
    return &instance;
}

// The thread ends with the process: it has run every job by then.
SettingsWriter::~SettingsWriter()
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!thread_.joinable())
        return;
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    stop_ = true;
    lock.unlock();
    wake_.notify_one();
    thread_.join();
}

void SettingsWriter::Post(std::function<void()> job)
{
    std::unique_lock<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
    if (!thread_.joinable())
        thread_ = std::thread([this] { Run(); });
    lock.unlock();
    wake_.notify_one();
}

void SettingsWriter::Drain()
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (std::this_thread::get_id() == thread_.get_id())
        return;
    ++drainers_;
    draining_.notify_all();
    idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    --drainers_;
}

void SettingsWriter::HoldUntilDrained(int ceilingMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    draining_.wait_for(lock, std::chrono::milliseconds(ceilingMs), [this] { return drainers_ > 0; });
}

void SettingsWriter::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
        if (jobs_.empty())
            return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        job();
        lock.lock();
        busy_ = false;
        if (jobs_.empty())
            idle_.notify_all();
    }
}
