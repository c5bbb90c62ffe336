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

    // Processes events until ms (scaled) have passed.
    static void WaitMs(int ms);
};
