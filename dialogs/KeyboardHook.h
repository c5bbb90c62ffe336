#pragma once

#include "platform/KeySource.h"

#include <functional>

// A keyboard hook of the program: while installed it reports every key message
// of the key source (KeySource) to its callback as (virtual-key code, down,
// repeat), before the key reaches any widget. It only observes keys.
//
// Each hook class (MacroKeyHook, AddKeyHook, GroupKeyHook) is one hook instance
// with its own process-wide state: whether it is installed, its callback, and the
// last key, down and repeat values. Objects of a class hold no data of their own;
// they act on the state of their class, and two classes may be installed at the
// same time without affecting each other. The state lives as long as the process;
// installing does not reset it.
//
// Destroying a hook object removes the hook and empties the callback, so a
// callback never reaches an owner that is gone.
class KeyboardHook {
public:
    using Callback = std::function<void(int vk, bool down, bool repeat)>;

    virtual ~KeyboardHook();
    KeyboardHook(const KeyboardHook&) = delete;
    KeyboardHook& operator=(const KeyboardHook&) = delete;

    // Installs the instance; callers install it only while it is not installed.
    // Without a key source (no application object) it stays uninstalled.
    void SetHook();
    // Removes the instance when installed; the callback and the key state stay.
    void UnHook();
    bool IsHooked() const;

    void SetCallback(Callback callback);
    void ClearCallback();

    // The hook procedure: examines one key message, unless another program's
    // window is in front, and reports it to the callback.
    void HookProc(int vk, KeySource::Message message);

    // Whether a window of this program is the one in front (the one receiving
    // keys). Tests replace the test; an empty function restores the default.
    static void SetForegroundTest(std::function<bool()> test);
    static bool ForegroundIsOurs();

protected:
    struct State {
        int handle = 0;
        Callback callback;
        int lastKey = 0;
        bool down = false;
        bool repeat = false;
    };

    // systemKeysAsOrdinary: system-key messages set the down state like ordinary
    // ones (the recorder); otherwise they leave it as it was (the dialogs).
    KeyboardHook(State& state, bool systemKeysAsOrdinary);

private:
    static void Process(State& state, bool systemKeysAsOrdinary, int vk, KeySource::Message message);

    State& state_;
    const bool systemKeysAsOrdinary_;
};
