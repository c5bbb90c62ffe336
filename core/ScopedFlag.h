#pragma once

#include <atomic>

// Sets a shared flag for the length of a scope, the way QSignalBlocker blocks
// signals: set on construction, back to the value it had before when the
// guard goes, however the scope is left (an early return, an exception).
// Used for the page loading flags (ButtonPageLoading, SensorPageLoading,
// ...) while a page fills its widgets from an image:
//     const ScopedFlag loading(ButtonPageLoading);
class ScopedFlag {
public:
    explicit ScopedFlag(std::atomic<bool>& flag, bool value = true)
        : flag_(flag)
        , previous_(flag.exchange(value))
    {
    }
    ~ScopedFlag() { flag_.store(previous_); }

    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    std::atomic<bool>& flag_;
    const bool previous_;
};
