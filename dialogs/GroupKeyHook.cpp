#include "dialogs/GroupKeyHook.h"

GroupKeyHook::GroupKeyHook()
    : KeyboardHook(InstanceState(), false)
{
}

KeyboardHook::State& GroupKeyHook::InstanceState()
{
    static State state;
    return state;
}
