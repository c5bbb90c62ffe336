// Starts a program on the X display and watches its top-level windows:
//
//   talvire-bench-launch [--settle MS] [--memory] [--click X,Y] [--idle S] -- program [arguments]
//
//   map_ms       from the start (just before fork) to the first map of a
//                top-level window of the program (_NET_WM_PID)
//   map_cpu_ms   the CPU time the program's threads had used by then (less
//                disturbed than map_ms by other work on the machine)
//   --settle MS  then waits MS milliseconds
//   --memory     rss_kb, pss_kb: resident and proportional set size then
//   --click X,Y  clicks at X,Y in that window (xdotool), then waits until
//                another window of the program has been mapped and unmapped
//                again (a dialog that covers the window while it loads);
//                open_ms: from the click to that unmap; then settles again
//   --idle S     cpu_percent: CPU time of the program over S seconds, in
//                percent of one core
//
// Prints one key=value line per figure, then ends the program (SIGTERM, after
// 5 s SIGKILL). Exits non-zero when a step does not happen within its time.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

constexpr int WindowPatienceMs = 30000;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Options {
    int settleMs = 0;
    bool memory = false;
    bool click = false;
    int clickX = 0;
    int clickY = 0;
    int idleSeconds = 0;
    std::vector<char*> command;
};

bool Parse(int argc, char* argv[], Options* options)
{
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--settle" && i + 1 < argc) {
            options->settleMs = std::atoi(argv[++i]);
        } else if (arg == "--memory") {
            options->memory = true;
        } else if (arg == "--click" && i + 1 < argc) {
            options->click = std::sscanf(argv[++i], "%d,%d", &options->clickX, &options->clickY) == 2;
            if (!options->click)
                return false;
        } else if (arg == "--idle" && i + 1 < argc) {
            options->idleSeconds = std::atoi(argv[++i]);
        } else {
            return false;
        }
    }
    for (; i < argc; ++i)
        options->command.push_back(argv[i]);
    options->command.push_back(nullptr);
    return options->command.size() > 1;
}

long WindowPid(Display* display, Window window)
{
    static const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data)
            == Success
        && data && format == 32 && items == 1)
        pid = long(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

// Waits for the next map (mapped true) or unmap of a top-level window of the
// process; `except` is skipped. Returns the window, or None after the time.
Window WaitForWindow(Display* display, pid_t pid, bool mapped, Window except, int patienceMs)
{
    const Clock::time_point start = Clock::now();
    pollfd watch = {ConnectionNumber(display), POLLIN, 0};
    while (MsSince(start) < patienceMs) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            Window window = None;
            if (mapped && event.type == MapNotify)
                window = event.xmap.window;
            else if (!mapped && event.type == UnmapNotify)
                window = event.xunmap.window;
            if (window == None || window == except)
                continue;
            // An unmapped window may be gone already: unmaps are matched by
            // the caller's window.
            if (!mapped || WindowPid(display, window) == pid)
                return window;
        }
        poll(&watch, 1, 50);
    }
    return None;
}

Window WaitForUnmap(Display* display, Window window, int patienceMs)
{
    const Clock::time_point start = Clock::now();
    while (MsSince(start) < patienceMs) {
        const Window unmapped = WaitForWindow(display, 0, false, None, int(patienceMs - MsSince(start)));
        if (unmapped == window || unmapped == None)
            return unmapped;
    }
    return None;
}

long CpuTicks(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    // Fields after the command name, which is in parentheses.
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long utime = 0;
    long stime = 0;
    // state is field 3; utime and stime are fields 14 and 15.
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14)
            utime = std::atol(field.c_str());
        else if (number == 15)
            stime = std::atol(field.c_str());
    }
    return utime + stime;
}

// The time on the CPU of the process's live threads, in milliseconds.
double ThreadCpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    double ns = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu)
            ns += onCpu;
    }
    closedir(dir);
    return ns / 1e6;
}

void PrintMemory(pid_t pid)
{
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line)) {
        long kb = 0;
        if (std::sscanf(line.c_str(), "Rss: %ld kB", &kb) == 1)
            std::printf("rss_kb=%ld\n", kb);
        else if (std::sscanf(line.c_str(), "Pss: %ld kB", &kb) == 1)
            std::printf("pss_kb=%ld\n", kb);
    }
}

bool Click(Window window, int x, int y)
{
    const std::string command = "xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x)
        + " " + std::to_string(y) + " click 1";
    return std::system(command.c_str()) == 0;
}

void End(pid_t pid)
{
    kill(pid, SIGTERM);
    const Clock::time_point start = Clock::now();
    while (MsSince(start) < 5000) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int Fail(pid_t pid, const char* what)
{
    std::fprintf(stderr, "talvire-bench-launch: %s\n", what);
    End(pid);
    return 1;
}
} // namespace

int main(int argc, char* argv[])
{
    Options options;
    if (!Parse(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: talvire-bench-launch [--settle MS] [--memory] [--click X,Y] [--idle S] -- program "
                     "[arguments]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "talvire-bench-launch: no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return 2;
    if (pid == 0) {
        execvp(options.command[0], options.command.data());
        std::fprintf(stderr, "talvire-bench-launch: cannot start %s: %s\n", options.command[0], std::strerror(errno));
        _exit(127);
    }

    const Window window = WaitForWindow(display, pid, true, None, WindowPatienceMs);
    if (window == None)
        return Fail(pid, "no window was mapped");
    const double mapMs = MsSince(start);
    std::printf("map_ms=%.2f\nmap_cpu_ms=%.2f\n", mapMs, ThreadCpuMs(pid));
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));

    if (options.memory)
        PrintMemory(pid);

    if (options.click) {
        const Clock::time_point clicked = Clock::now();
        if (!Click(window, options.clickX, options.clickY))
            return Fail(pid, "xdotool could not click");
        const Window cover = WaitForWindow(display, pid, true, window, WindowPatienceMs);
        if (cover == None)
            return Fail(pid, "no window covered the program after the click");
        if (WaitForUnmap(display, cover, WindowPatienceMs) == None)
            return Fail(pid, "the covering window stayed");
        std::printf("open_ms=%.2f\n", MsSince(clicked));
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
    }

    if (options.idleSeconds > 0) {
        const long before = CpuTicks(pid);
        const Clock::time_point from = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(options.idleSeconds));
        const long used = CpuTicks(pid) - before;
        const double seconds = MsSince(from) / 1000.0;
        std::printf("cpu_percent=%.3f\n", 100.0 * double(used) / double(sysconf(_SC_CLK_TCK)) / seconds);
    }

    End(pid);
    XCloseDisplay(display);
    return 0;
}
