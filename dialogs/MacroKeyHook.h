#pragma once

#include "dialogs/KeyboardHook.h"

// The macro editor's recorder: installed while a macro is recorded from the
// keyboard. System keys (Alt, F10, keys pressed with Alt) count as ordinary
// presses and releases.
class MacroKeyHook : public KeyboardHook {
public:
    MacroKeyHook();

private:
    static State& InstanceState();
};
