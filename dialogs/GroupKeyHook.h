#pragma once

#include "dialogs/KeyboardHook.h"

// The hook of the key combination dialog (GroupKey), installed for the dialog's
// life. System-key messages leave the down state as it was.
class GroupKeyHook : public KeyboardHook {
public:
    GroupKeyHook();

private:
    static State& InstanceState();
};
