#pragma once

#include <mutex>
#include <utility>

// A value shared between threads: every read returns a copy and every change
// happens under one lock. Several values may share one recursive lock, so a
// caller can hold it across a group of reads and writes (Lock()).
// The lock is a standard mutex rather than a Qt one so that ThreadSanitizer,
// which cannot see inside the uninstrumented Qt libraries, sees the ordering.
template <typename T>
class Guarded {
public:
    Guarded() : mutex_(&ownMutex_) {}
    explicit Guarded(std::recursive_mutex& shared, T value = T())
        : mutex_(&shared), value_(std::move(value)) {}
    Guarded(const Guarded&) = delete;
    Guarded& operator=(const Guarded&) = delete;

    T get() const
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex_);
        return value_;
    }

    void set(T value)
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex_);
        value_ = std::move(value);
    }

    // Runs f on the value under the lock and returns what f returns. f must not
    // emit signals with blocking connections or wait for other threads.
    template <typename F>
    auto update(F&& f) -> decltype(f(std::declval<T&>()))
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex_);
        return f(value_);
    }

    template <typename F>
    auto read(F&& f) const -> decltype(f(std::declval<const T&>()))
    {
        std::lock_guard<std::recursive_mutex> lock(*mutex_);
        return f(value_);
    }

    std::recursive_mutex& Lock() const { return *mutex_; }

private:
    std::recursive_mutex ownMutex_;
    std::recursive_mutex* mutex_;
    T value_{};
};
