#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

// One library thread that runs actions at their due time. Actions run without
// any lock of the executor held, so they may post further actions. Ordered
// actions keep the order in which they were posted, whatever their delays;
// unordered ones (timers) run at their own time. Actions never run on two
// threads at once: a thread started after a Stop that gave up on a running
// action runs nothing until that action has returned.
class TimedExecutor {
public:
    using Action = std::function<void()>;

    TimedExecutor() = default;
    TimedExecutor(const TimedExecutor&) = delete;
    TimedExecutor& operator=(const TimedExecutor&) = delete;

    // Starts the thread on first use (again after Stop).
    void Post(int delayMs, bool ordered, Action action);
    // Drops pending actions and ends the thread. Waits at most boundMs for an
    // action still running; a thread that does not end in time (or the calling
    // thread itself) is left to end on its own once its action returns.
    // whileWaiting, when given, runs every few milliseconds of that wait
    // (without the executor's locks), so that the caller can serve what the
    // running action waits for.
    void Stop(int boundMs, const Action& whileWaiting = nullptr);
    // A barrier: waits until every action posted before the call has run
    // that is ordered (whatever its delay) or due by the call (timers set
    // later are not waited for), also one running now. False after boundMs,
    // and at once on this executor's thread. whileWaiting as in Stop.
    bool WaitForDue(int boundMs, const Action& whileWaiting = nullptr);
    // True on this executor's thread.
    bool OnThisThread() const;

private:
    using Clock = std::chrono::steady_clock;
    // Taken by the thread whose action runs; shared by the executor's threads.
    struct Turn {
        std::mutex mutex;
        std::condition_variable free;
        bool taken = false;
    };
    struct Entry {
        Action action;
        bool ordered;
    };
    static constexpr uint64_t NoneRunning = UINT64_MAX;
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable exited;
        // Signalled whenever an action has run, and when the thread ends.
        std::condition_variable progressed;
        std::map<std::pair<Clock::time_point, uint64_t>, Entry> queue;
        Clock::time_point lastOrdered;
        uint64_t sequence = 0;
        // The sequence number of the action taken from the queue and not yet run.
        uint64_t running = NoneRunning;
        std::atomic<bool> stop{false};
        bool ended = false;
        std::thread thread;
        std::shared_ptr<Turn> turn;
    };
    static void Run(const std::shared_ptr<State>& state);

    mutable std::mutex mutex_;
    std::shared_ptr<State> state_;
    const std::shared_ptr<Turn> turn_ = std::make_shared<Turn>();
    std::thread::id threadId_;
};
