#include "dialogs/AddKeyHook.h"

AddKeyHook::AddKeyHook()
    : KeyboardHook(InstanceState(), false)
{
}

KeyboardHook::State& AddKeyHook::InstanceState()
{
    static State state;
    return state;
}
