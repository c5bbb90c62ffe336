#pragma once

#include "dialogs/KeyboardHook.h"

// The hook of the macro key entry dialog (addKey), installed for the dialog's
// life. System-key messages leave the down state as it was.
class AddKeyHook : public KeyboardHook {
public:
    AddKeyHook();

private:
    static State& InstanceState();
};
