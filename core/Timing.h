#pragma once

// The program's fixed waits and timer periods in one place, so that tests can
// run them faster: every period goes through Timing::Ms. The program keeps the
// scale at 1.
class Timing {
public:
    // ms scaled by the current factor (at least 1 for a positive ms).
    static int Ms(int ms);
    static void SetScale(double scale);
    static double Scale();

    // Waits ms (scaled) in a local event loop that leaves out user input: the
    // windows keep painting and their timers and queued signals go on, while
    // clicks and keys wait until the wait is over. For the fixed waits on the
    // GUI thread, which must not freeze the windows.
    static void WaitMs(int ms);
};
