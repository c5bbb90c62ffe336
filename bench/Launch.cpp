// Starts a program on the X display and watches its top-level windows:
//
//   talvire-bench-launch [--painted] [--settle MS] [--memory] [--click X,Y] [--idle S] -- program [arguments]
//
//   map_ms       from the start (just before fork) to the first map of a
//                top-level window of the program (_NET_WM_PID)
//   map_cpu_ms   the CPU time the program's threads had used by then, in
//                10 ms steps (less disturbed than map_ms by other work on
//                the machine)
//   --painted    painted_ms, painted_cpu_ms, painted_rss_kb: from the start
//                until the X server reported the drawing that made the window
//                show what it shows once it has settled (nothing drawn into
//                it for QuietMs), and the resident memory then; see
//                WaitUntilPainted
//   --settle MS  then waits MS milliseconds
//   --memory     rss_kb, pss_kb: resident and proportional set size then
//   --click X,Y  clicks at X,Y in that window (xdotool), then waits until
//                another window of the program has been mapped and unmapped
//                again (a dialog that covers the window while it loads);
//                open_ms: from the click to that unmap; then settles again
//   --idle S     cpu_percent: CPU time of the program's threads over S
//                seconds (in 10 ms steps), in percent of one core;
//                gui_cpu_percent and gui_wakes_per_s: its GUI thread's, to
//                the nanosecond, and how often it woke in that time
//
// Prints one key=value line per figure, then ends the program (SIGTERM, after
// 5 s SIGKILL). Exits non-zero when a step does not happen within its time.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xdamage.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>


#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
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
// The window counts as settled when nothing has been drawn into it for this
// long.
constexpr int QuietMs = 800;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Options {
    bool painted = false;
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
        if (arg == "--painted") {
            options->painted = true;
        } else if (arg == "--settle" && i + 1 < argc) {
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

// How often the program's main (GUI) thread has given up the CPU to wait:
// each wake from a wait ends one.
long MainThreadWaits(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        long count = 0;
        if (std::sscanf(line.c_str(), "voluntary_ctxt_switches: %ld", &count) == 1)
            return count;
    }
    return -1;
}

// The time on the CPU of all the process's threads, those that have ended
// too, in milliseconds (counted in clock ticks: 10 ms steps).
double ProcessCpuMs(pid_t pid)
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
    double ticks = 0;
    // state is field 3; utime and stime are fields 14 and 15.
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14 || number == 15)
            ticks += std::atof(field.c_str());
    }
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// The time on the CPU of the process's main (GUI) thread, in milliseconds,
// to the nanosecond.
double MainThreadCpuMs(pid_t pid)
{
    std::ifstream schedstat("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/schedstat");
    double ns = -1e6;
    schedstat >> ns;
    return ns / 1e6;
}

// An X error (a window gone while it was read) fails that request, not the
// measurement program.
bool XFailed = false;
int NoteXError(Display*, XErrorEvent*)
{
    XFailed = true;
    return 0;
}

// The content of a window, grabbed through shared memory where the server
// offers it (one copy on the server's side, little time taken from the
// program it serves).
class WindowGrabber {
public:
    WindowGrabber(Display* display, Window window)
        : display_(display)
        , window_(window)
    {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes))
            return;
        width_ = attributes.width;
        height_ = attributes.height;
        if (!XShmQueryExtension(display))
            return;
        image_ = XShmCreateImage(display, attributes.visual, unsigned(attributes.depth), ZPixmap, nullptr, &segment_,
                                 unsigned(width_), unsigned(height_));
        if (!image_)
            return;
        segment_.shmid = shmget(IPC_PRIVATE, size_t(image_->bytes_per_line) * size_t(height_), IPC_CREAT | 0600);
        if (segment_.shmid < 0) {
            XDestroyImage(image_);
            image_ = nullptr;
            return;
        }
        segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
        segment_.readOnly = False;
        XShmAttach(display, &segment_);
        XSync(display, False);
        // Removed now, gone once both sides have detached.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
    }
    ~WindowGrabber()
    {
        if (!image_)
            return;
        XShmDetach(display_, &segment_);
        XSync(display_, False);
        shmdt(segment_.shmaddr);
        image_->data = nullptr;
        XDestroyImage(image_);
    }
    WindowGrabber(const WindowGrabber&) = delete;
    WindowGrabber& operator=(const WindowGrabber&) = delete;

    // A hash of the window's pixels now (0 when they cannot be read).
    unsigned long long Grab()
    {
        XImage* image = image_;
        XFailed = false;
        if (image_) {
            if (!XShmGetImage(display_, window_, image_, 0, 0, AllPlanes) || XFailed)
                return 0;
        } else {
            image = XGetImage(display_, window_, 0, 0, unsigned(width_), unsigned(height_), AllPlanes, ZPixmap);
            if (!image)
                return 0;
        }
        // FNV-1a over the rows' pixels, eight bytes at a time.
        unsigned long long hash = 14695981039346656037ull;
        const size_t rowBytes = size_t(width_) * size_t(image->bits_per_pixel) / 8;
        for (int y = 0; y < height_; ++y) {
            const char* row = image->data + size_t(y) * size_t(image->bytes_per_line);
            size_t x = 0;
            for (; x + 8 <= rowBytes; x += 8) {
                unsigned long long word;
                std::memcpy(&word, row + x, 8);
                hash = (hash ^ word) * 1099511628211ull;
            }
            for (; x < rowBytes; ++x)
                hash = (hash ^ static_cast<unsigned char>(row[x])) * 1099511628211ull;
        }
        if (image != image_)
            XDestroyImage(image);
        return hash;
    }

private:
    Display* display_;
    Window window_;
    int width_ = 0;
    int height_ = 0;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_ = {};
};

// Follows what is drawn into the window (X Damage) and grabs its content at
// each change, until nothing has been drawn for QuietMs. Returns the time
// (since `start`) when the server reported the last drawing that the first
// grab showing the settled content shows, with the CPU time and memory of
// the program at that grab; a negative time
// when the window could not be followed. A window that draws its first
// content early and the rest later is painted only with the rest.
struct Painted {
    double ms = -1;
    double cpuMs = -1;
    long rssKb = -1;
};

// The resident set of the process in kB (cheap to read: no walk of its
// mappings).
long ResidentKb(pid_t pid)
{
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    long size = 0;
    long resident = -1;
    statm >> size >> resident;
    return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}
// When the X server reported the damage, in milliseconds since `start`. The
// report carries the server's time (of the monotonic clock, in milliseconds,
// 32 bits): that is when the server took in what was drawn, even when the
// report is read late (this program was busy with a grab). A time that does
// not fit the clock's (another clock, a server on another machine) gives way
// to the report's arrival.
double DamageMs(const XDamageNotifyEvent& report, Clock::time_point start)
{
    const double arrivedMs = MsSince(start);
    const auto startMs = std::chrono::duration_cast<std::chrono::milliseconds>(start.time_since_epoch()).count();
    const auto sinceStart = static_cast<std::uint32_t>(report.timestamp - static_cast<unsigned long>(startMs));
    const double reportedMs = double(sinceStart);
    if (reportedMs > arrivedMs + 1)
        return arrivedMs;
    return reportedMs;
}

Painted WaitUntilPainted(Display* display, Window window, pid_t pid, Clock::time_point start)
{
    Painted result;
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError))
        return result;
    const Damage damage = XDamageCreate(display, window, XDamageReportNonEmpty);
    WindowGrabber grabber(display, window);
    struct Sample {
        unsigned long serial;   // of the grab's request
        double ms;              // when the grab was asked for
        double cpuMs;
        long rssKb;
        unsigned long long hash;
    };
    struct Report {
        unsigned long serial;   // of the last request the server had done
        double ms;
    };
    std::vector<Sample> samples;
    std::vector<Report> reports;
    const auto sample = [&] {
        // Whatever was drawn up to now is in the grab; what is drawn later
        // reports again.
        XDamageSubtract(display, damage, None, None);
        const double cpuMs = ProcessCpuMs(pid);
        const long rssKb = ResidentKb(pid);
        const unsigned long serial = NextRequest(display);
        const double ms = MsSince(start);
        samples.push_back({serial, ms, cpuMs, rssKb, grabber.Grab()});
    };
    sample();
    pollfd watch = {ConnectionNumber(display), POLLIN, 0};
    Clock::time_point lastChange = Clock::now();
    const Clock::time_point begin = Clock::now();
    while (MsSince(lastChange) < QuietMs && MsSince(begin) < WindowPatienceMs) {
        bool damaged = false;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvent + XDamageNotify) {
                const auto& report = *reinterpret_cast<XDamageNotifyEvent*>(&event);
                reports.push_back({report.serial, DamageMs(report, start)});
                damaged = true;
            }
        }
        if (damaged) {
            sample();
            lastChange = Clock::now();
        } else {
            poll(&watch, 1, 5);
        }
    }
    XDamageDestroy(display, damage);
    XSync(display, False);
    if (samples.empty() || samples.back().hash == 0)
        return result;
    // The first grab of the last run of grabs that all show the settled content.
    size_t first = samples.size() - 1;
    while (first > 0 && samples[first - 1].hash == samples.back().hash)
        --first;
    // It shows what was drawn before the server did its request: the last
    // report the server sent before that (a report carries the serial of the
    // last request of this connection the server had done), whether it was
    // read before the grab or, sent meanwhile, after it. No report before
    // it: the window showed its content when it was mapped.
    result.ms = samples[first].ms;
    bool reported = false;
    for (const Report& report : reports) {
        if (report.serial < samples[first].serial) {
            result.ms = reported ? std::max(result.ms, report.ms) : report.ms;
            reported = true;
        }
    }
    result.cpuMs = samples[first].cpuMs;
    result.rssKb = samples[first].rssKb;
    return result;
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

// Raises the window first: another program measured at the same time may
// have mapped its window over it.
bool Click(Window window, int x, int y)
{
    const std::string id = std::to_string(window);
    const std::string command = "xdotool windowraise " + id + " mousemove --window " + id + " " + std::to_string(x)
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
                     "usage: talvire-bench-launch [--painted] [--settle MS] [--memory] [--click X,Y] [--idle S] -- "
                     "program [arguments]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "talvire-bench-launch: no X display\n");
        return 2;
    }
    XSetErrorHandler(NoteXError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    // The pointer away from where the window will be: a window under it
    // would take its hover as a reason to draw again.
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, DisplayWidth(display, DefaultScreen(display)) - 1,
                 DisplayHeight(display, DefaultScreen(display)) - 1);
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
    std::printf("map_ms=%.2f\nmap_cpu_ms=%.2f\n", mapMs, ProcessCpuMs(pid));
    std::fflush(stdout);
    if (options.painted) {
        const Painted painted = WaitUntilPainted(display, window, pid, start);
        if (painted.ms < 0)
            return Fail(pid, "the window's content could not be followed");
        std::printf("painted_ms=%.2f\npainted_cpu_ms=%.2f\npainted_rss_kb=%ld\n", painted.ms, painted.cpuMs,
                    painted.rssKb);
        std::fflush(stdout);
    }
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
        // All threads, those that end meanwhile too (in 10 ms steps), and the
        // GUI thread alone to the nanosecond, with its wakes.
        const double before = ProcessCpuMs(pid);
        const double guiBefore = MainThreadCpuMs(pid);
        const long waitsBefore = MainThreadWaits(pid);
        const Clock::time_point from = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(options.idleSeconds));
        const double used = ProcessCpuMs(pid) - before;
        const double guiUsed = MainThreadCpuMs(pid) - guiBefore;
        const long waits = MainThreadWaits(pid) - waitsBefore;
        const double seconds = MsSince(from) / 1000.0;
        std::printf("cpu_percent=%.3f\ngui_cpu_percent=%.3f\ngui_wakes_per_s=%.2f\n", 100.0 * used / 1000.0 / seconds,
                    100.0 * guiUsed / 1000.0 / seconds, double(waits) / seconds);
    }

    End(pid);
    XCloseDisplay(display);
    return 0;
}
