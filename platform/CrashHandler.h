#pragma once

#include <QString>

#include <csignal>
#include <ctime>

// Leaves a crash report when the program dies of a fatal signal (SIGSEGV,
// SIGABRT, SIGBUS, SIGFPE, SIGILL; an uncaught exception ends in SIGABRT): the
// file "yyyy_MM_dd_hh_mm_ss.dmp", named by the local time of the crash, in the
// per-user "/Exception" folder (made again when it is missing), with the
// signal, the faulting address and a backtrace. Then the process ends by that
// signal. The handler uses only async-signal-safe calls: everything else (the
// folder, the time-zone offsets) is prepared by Install.
class CrashHandler {
public:
    CrashHandler() = default;
    ~CrashHandler() = default;

    // Puts the handlers in place; the folder is taken as it is now. The local
    // time offsets are known for the next few years from now.
    static void Install();

    // The report's file name for a crash at utc seconds since 1970, as the
    // handler makes it (valid after Install).
    static QString DumpFileName(std::time_t utc);

private:
    static void TopLevelFilter(int signal, siginfo_t* info, void* context);
};
