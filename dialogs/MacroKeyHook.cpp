#include "dialogs/MacroKeyHook.h"

MacroKeyHook::MacroKeyHook()
    : KeyboardHook(InstanceState(), true)
{
}

KeyboardHook::State& MacroKeyHook::InstanceState()
{
    static State state;
    return state;
}
