#include "tests/devicelib/ReportLog.h"

#include "tests/common/TestEnvironment.h"

ReportLog& ReportLog::Instance()
{
    static ReportLog log;
    return log;
}

void ReportLog::OnReport(const unsigned char* header, int headerLength, const unsigned char* data, int dataLength)
{
    ReportLog& log = Instance();
    Report report;
    report.header.assign(header, header + headerLength);
    report.data.assign(data, data + dataLength);
    report.thread = std::this_thread::get_id();
    report.time = std::chrono::steady_clock::now();
    std::function<void(const Report&)> hook;
    {
        std::lock_guard<std::mutex> lock(log.mutex_);
        log.reports_.push_back(report);
        hook = log.reportHook_;
    }
    log.changed_.notify_all();
    if (hook)
        hook(report);
}

void ReportLog::OnChange()
{
    ReportLog& log = Instance();
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(log.mutex_);
        log.changes_.push_back(std::chrono::steady_clock::now());
        log.changeThreads_.push_back(std::this_thread::get_id());
        hook = log.changeHook_;
    }
    log.changed_.notify_all();
    if (hook)
        hook();
}

void ReportLog::OnUpgrade(UpgradeStatusPacket* packet)
{
    ReportLog& log = Instance();
    const Packet recorded{packet->type, packet->kind, packet->value, std::this_thread::get_id()};
    std::function<void(const Packet&)> hook;
    {
        std::lock_guard<std::mutex> lock(log.mutex_);
        log.packets_.push_back(recorded);
        hook = log.upgradeHook_;
    }
    log.changed_.notify_all();
    if (hook)
        hook(recorded);
}

void ReportLog::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.clear();
    changes_.clear();
    changeThreads_.clear();
    packets_.clear();
    reportHook_ = nullptr;
    changeHook_ = nullptr;
    upgradeHook_ = nullptr;
}

void ReportLog::SetReportHook(std::function<void(const Report&)> hook)
{
    std::lock_guard<std::mutex> lock(mutex_);
    reportHook_ = std::move(hook);
}

void ReportLog::SetChangeHook(std::function<void()> hook)
{
    std::lock_guard<std::mutex> lock(mutex_);
    changeHook_ = std::move(hook);
}

void ReportLog::SetUpgradeHook(std::function<void(const Packet&)> hook)
{
    std::lock_guard<std::mutex> lock(mutex_);
    upgradeHook_ = std::move(hook);
}

template <typename Predicate>
bool ReportLog::Wait(int timeoutMs, Predicate predicate)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), predicate);
}

bool ReportLog::WaitReport(const std::function<bool(const Report&)>& match, int timeoutMs, Report* found, size_t from)
{
    return Wait(timeoutMs, [&] {
        for (size_t i = from; i < reports_.size(); ++i) {
            if (match(reports_[i])) {
                if (found)
                    *found = reports_[i];
                return true;
            }
        }
        return false;
    });
}

bool ReportLog::WaitReportType(int type, int timeoutMs, Report* found, size_t from)
{
    return WaitReport([type](const Report& report) { return report.type() == type; }, timeoutMs, found, from);
}

bool ReportLog::WaitChanges(int count, int timeoutMs)
{
    return Wait(timeoutMs, [&] { return int(changes_.size()) >= count; });
}

bool ReportLog::WaitPackets(const std::function<bool(const std::vector<Packet>&)> done, int timeoutMs)
{
    return Wait(timeoutMs, [&] { return done(packets_); });
}

std::vector<ReportLog::Report> ReportLog::Reports()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
}

size_t ReportLog::ReportCount()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_.size();
}

std::vector<std::chrono::steady_clock::time_point> ReportLog::Changes()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return changes_;
}

std::vector<std::thread::id> ReportLog::ChangeThreads()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return changeThreads_;
}

std::vector<ReportLog::Packet> ReportLog::Packets()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return packets_;
}

void Gate::Open()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
    }
    changed_.notify_all();
}

bool Gate::Pass(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    visited_ = true;
    ++waiting_;
    changed_.notify_all();
    const bool opened = changed_.wait_for(lock, std::chrono::milliseconds(TestLimit(timeoutMs)),
                                          [this] { return open_; });
    --waiting_;
    return opened;
}

bool Gate::WaitForVisitor(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(TestLimit(timeoutMs)), [this] { return visited_; });
}

bool Gate::Holding()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_ > 0;
}
