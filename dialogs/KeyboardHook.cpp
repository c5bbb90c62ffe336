#include "dialogs/KeyboardHook.h"

#include <QGuiApplication>

namespace {
std::function<bool()>& ForegroundTest()
{
    static std::function<bool()> test;
    return test;
}
} // namespace

KeyboardHook::KeyboardHook(State& state, bool systemKeysAsOrdinary)
    : state_(state)
    , systemKeysAsOrdinary_(systemKeysAsOrdinary)
{
}

KeyboardHook::~KeyboardHook()
{
    UnHook();
    ClearCallback();
}

void KeyboardHook::SetHook()
{
    KeySource* source = KeySource::Instance();
    if (!source || state_.handle != 0)
        return;
    // The handler holds the class's state, not this object: the state outlives
    // every hook object.
    State* state = &state_;
    const bool ordinary = systemKeysAsOrdinary_;
    state_.handle = source->Install([state, ordinary](int vk, KeySource::Message message) {
        if (ForegroundIsOurs())
            Process(*state, ordinary, vk, message);
    });
}

void KeyboardHook::UnHook()
{
    if (state_.handle == 0)
        return;
    if (KeySource* source = KeySource::Instance())
        source->Remove(state_.handle);
    state_.handle = 0;
}

bool KeyboardHook::IsHooked() const
{
    return state_.handle != 0;
}

void KeyboardHook::SetCallback(Callback callback)
{
    state_.callback = std::move(callback);
}

void KeyboardHook::ClearCallback()
{
    state_.callback = nullptr;
}

void KeyboardHook::HookProc(int vk, KeySource::Message message)
{
    if (ForegroundIsOurs())
        Process(state_, systemKeysAsOrdinary_, vk, message);
}

void KeyboardHook::SetForegroundTest(std::function<bool()> test)
{
    ForegroundTest() = std::move(test);
}

bool KeyboardHook::ForegroundIsOurs()
{
    if (ForegroundTest())
        return ForegroundTest()();
    return QGuiApplication::focusWindow() != nullptr;
}

void KeyboardHook::Process(State& state, bool systemKeysAsOrdinary, int vk, KeySource::Message message)
{
    state.repeat = vk == state.lastKey;
    if (!state.repeat)
        state.lastKey = vk;

    const bool system = message == KeySource::SysKeyDown || message == KeySource::SysKeyUp;
    if (!system || systemKeysAsOrdinary) {
        if (message == KeySource::KeyDown || message == KeySource::SysKeyDown) {
            state.down = true;
        } else {
            state.down = false;
            state.repeat = false;
            state.lastKey = 0;
        }
    }

    if (state.callback) {
        // A copy: the callback may assign another one while it runs.
        const Callback callback = state.callback;
        callback(vk, state.down, state.repeat);
    }
}
