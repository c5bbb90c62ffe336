#include "TimedExecutor.h"

#include <algorithm>

void TimedExecutor::Post(int delayMs, bool ordered, Action action)
{
    std::shared_ptr<State> state;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!state_) {
            state_ = std::make_shared<State>();
            state_->lastOrdered = Clock::now();
            state_->turn = turn_;
            std::shared_ptr<State> running = state_;
            std::lock_guard<std::mutex> stateLock(state_->mutex);
            state_->thread = std::thread([running] { Run(running); });
            threadId_ = state_->thread.get_id();
        }
        state = state_;
    }
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        Clock::time_point due = Clock::now() + std::chrono::milliseconds(delayMs < 0 ? 0 : delayMs);
        if (ordered) {
            if (due < state->lastOrdered)
                due = state->lastOrdered;
            state->lastOrdered = due;
        }
        state->queue.emplace(std::make_pair(due, state->sequence++), Entry{std::move(action), ordered});
    }
    state->wake.notify_all();
}

void TimedExecutor::Stop(int boundMs, const Action& whileWaiting)
{
    std::shared_ptr<State> state;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        state.swap(state_);
        threadId_ = std::thread::id();
    }
    if (!state)
        return;
    std::unique_lock<std::mutex> lock(state->mutex);
    state->stop = true;
    state->queue.clear();
    state->wake.notify_all();
    state->progressed.notify_all();
    {
        // A thread waiting for its turn gives up.
        std::lock_guard<std::mutex> turnLock(state->turn->mutex);
    }
    state->turn->free.notify_all();
    const bool self = state->thread.get_id() == std::this_thread::get_id();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(boundMs);
    bool ended = false;
    while (!self) {
        const Clock::time_point until = whileWaiting ? std::min(deadline, Clock::now() + std::chrono::milliseconds(5))
                                                     : deadline;
        ended = state->exited.wait_until(lock, until, [&] { return state->ended; });
        if (ended || Clock::now() >= deadline)
            break;
        lock.unlock();
        whileWaiting();
        lock.lock();
    }
    std::thread thread = std::move(state->thread);
    lock.unlock();
    if (ended)
        thread.join();
    else
        thread.detach();
}

bool TimedExecutor::WaitForDue(int boundMs, const Action& whileWaiting)
{
    std::shared_ptr<State> state;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ && threadId_ == std::this_thread::get_id())
            return false;
        state = state_;
    }
    if (!state)
        return true;
    std::unique_lock<std::mutex> lock(state->mutex);
    const uint64_t mark = state->sequence;
    const Clock::time_point now = Clock::now();
    const Clock::time_point deadline = now + std::chrono::milliseconds(boundMs);
    const auto pending = [&] {
        if (state->stop)
            return false;
        if (state->running < mark)
            return true;
        for (const auto& item : state->queue) {
            if (item.first.second < mark && (item.second.ordered || item.first.first <= now))
                return true;
        }
        return false;
    };
    while (pending()) {
        if (Clock::now() >= deadline)
            return false;
        const Clock::time_point until = whileWaiting ? std::min(deadline, Clock::now() + std::chrono::milliseconds(5))
                                                     : deadline;
        state->progressed.wait_until(lock, until);
        if (whileWaiting) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
    return true;
}

bool TimedExecutor::OnThisThread() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_ && threadId_ == std::this_thread::get_id();
}

void TimedExecutor::Run(const std::shared_ptr<State>& state)
{
    std::unique_lock<std::mutex> lock(state->mutex);
    while (!state->stop) {
        if (state->queue.empty()) {
            state->wake.wait(lock);
            continue;
        }
        const auto first = state->queue.begin();
        const Clock::time_point due = first->first.first;
        if (due > Clock::now()) {
            state->wake.wait_until(lock, due);
            continue;
        }
        Action action = std::move(first->second.action);
        state->running = first->first.second;
        state->queue.erase(first);
        lock.unlock();
        Turn& turn = *state->turn;
        bool run = false;
        {
            std::unique_lock<std::mutex> turnLock(turn.mutex);
            turn.free.wait(turnLock, [&] { return !turn.taken || state->stop; });
            run = !state->stop;
            turn.taken = run;
        }
        if (run)
            action();
        action = nullptr;
        if (run) {
            {
                std::lock_guard<std::mutex> turnLock(turn.mutex);
                turn.taken = false;
            }
            turn.free.notify_all();
        }
        lock.lock();
        state->running = NoneRunning;
        state->progressed.notify_all();
    }
    state->ended = true;
    state->exited.notify_all();
    state->progressed.notify_all();
}
