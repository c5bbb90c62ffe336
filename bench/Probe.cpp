// The program's windows in one process, with a stopwatch around what the
// bench cannot see from outside:
//
//   talvire-bench-probe setting [count]
//       opens the simulated mouse as a user does (a click on its picture),
//       then writes one setting (the lift-off distance, 1 and 2 in turn)
//       count times; each figure runs from the setter's call until the
//       simulated mouse's stored block has changed.
//   talvire-bench-probe language [count]
//       changes the language (Simplified Chinese and English in turn) count
//       times on the device list, then count times with the frame open; each
//       figure runs from the choice until every visible window has repainted;
//       with the frame open, also each direction apart.
//   talvire-bench-probe open [count]
//       shows the device list, lets the window prepare the frame while idle,
//       then opens the simulated mouse with a click on its picture, goes back
//       to the list and opens it again, count times in all. Each figure is
//       the click's own work: the CPU time of the GUI thread from the click
//       until the click has been handled (the pick's fixed wait of 150 ms,
//       idle, costs none), and the time from the click until the frame has
//       been painted.
//   talvire-bench-probe macro [count]
//       opens the mouse and the macro page, and saves the mouse's macro with
//       two rows fewer, count times (at most 3); each save's figures are the
//       Save click's own time, the longest the window then went without
//       handling its events (a timer every millisecond), until the mouse's
//       button held the new events, and that time (the pause of 1.5 s
//       before the macro goes to the mouse included).
//   talvire-bench-probe pages [count]
//       opens the mouse, then shows the sensor, macro, settings and button
//       pages in turn, count rounds; each figure runs from the page button's
//       click until the window has repainted: each page's first visit (the
//       button page's was the opening) and the median of its later ones.
//   talvire-bench-probe stall
//       starts as the program does (its start pictures decoded ahead) and
//       shows the device list; from its first paint with the device on it,
//       the longest the window went without handling its events (a timer
//       every millisecond) over two seconds, while the window prepares the
//       frame on its own.
//   talvire-bench-probe early <ms>
//       starts so, and clicks on the mouse's picture <ms> after the device
//       list's first paint, whatever the window has prepared by then; the
//       figure runs from the click until the frame has been painted.
//
// Prints key=value lines in milliseconds (median, min, max). Runs on the X
// display of the bench; the device library's link takes its usual time.
#include "core/FlashDataMap.h"
#include "core/PicturePreload.h"
#include "core/StyleSheet.h"
#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/UpDataParam.h"
#include "pages/macro/Macro.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "shell/mytoolButtonEnter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QListWidget>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <dlfcn.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

constexpr int PatienceMs = 20000;

double Ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The CPU time of the calling thread.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// Records when each window first finished a repaint since the record was
// cleared, and whether the apply dialog has been shown.
class ProbeApplication : public QApplication {
public:
    using QApplication::QApplication;

    QHash<QObject*, Clock::time_point> repainted;
    bool applyShown = false;

    bool notify(QObject* receiver, QEvent* event) override
    {
        // Looked at before the event is handled: its handling may delete
        // the receiver.
        const QEvent::Type type = event->type();
        const bool widget = receiver->isWidgetType();
        const bool windowUpdate
            = widget && type == QEvent::UpdateRequest && static_cast<QWidget*>(receiver)->isWindow();
        const bool applyShow = widget && type == QEvent::Show && qobject_cast<UpDataParam*>(receiver);
        const bool result = QApplication::notify(receiver, event);
        if (windowUpdate && !repainted.contains(receiver))
            repainted.insert(receiver, Clock::now());
        else if (applyShow)
            applyShown = true;
        return result;
    }
};

ProbeApplication* App()
{
    return static_cast<ProbeApplication*>(QCoreApplication::instance());
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = PatienceMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

void Settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void Print(const char* name, std::vector<double> figures)
{
    if (figures.empty())
        return;
    std::sort(figures.begin(), figures.end());
    std::printf("%s_median=%.3f\n%s_min=%.3f\n%s_max=%.3f\n", name, figures[figures.size() / 2], name,
                figures.front(), name, figures.back());
}

bool ShowDeviceList(DialogMain* window)
{
    window->show();
    return WaitFor([] { return DialogChange::DeviceButtons.size() == 1 && ShownDevices.size() == 1; });
}

// A click on the mouse's picture; done when the apply dialog has covered the
// frame and gone again with the configuration read.
bool OpenTheMouse(DialogMain* window)
{
    App()->applyShown = false;
    DialogChange::DeviceButtons.first()->click();
    const bool opened = WaitFor([window] {
        return App()->applyShown && !window->Frame()->ApplyDialog()->isVisible() && LiveFlashDataIsCurrent();
    });
    Settle(500);
    return opened;
}

// The count of reports the device library moved to the mouse, where the
// library keeps one; -1 otherwise.
int ReportsMoved()
{
    using Count = int (*)(const char*);
    static const auto count = reinterpret_cast<Count>(dlsym(RTLD_DEFAULT, "SimDevice_ReportsMoved"));
    return count ? count("mouse") : -1;
}

QByteArray StoredBlock()
{
    QByteArray block(DIVAZA_DEVICE_BLOCK_SIZE, '\0');
    SimDevice_ReadDeviceBlock("mouse", -1, reinterpret_cast<unsigned char*>(block.data()), block.size());
    return block;
}

// Waits until the window has repainted since `start`; returns the time of
// that repaint, or a time point before `start` when it did not.
Clock::time_point Repainted(QWidget* window, Clock::time_point start)
{
    if (!WaitFor([window] { return App()->repainted.contains(window); }, PatienceMs))
        return start - std::chrono::hours(1);
    return App()->repainted.value(window);
}

QToolButton* FrameButton(DialogMain* window, const char* name)
{
    return window->Frame()->findChild<QToolButton*>(QLatin1String(name));
}

int Open(DialogMain* window, int count)
{
    // The frame prepared while idle after the list first showed.
    if (!ShowDeviceList(window) || !WaitFor([window] { return window->FrameBuilt() && window->Frame()->PagesPrepared(); })) {
        std::fprintf(stderr, "talvire-bench-probe: the frame was not prepared\n");
        return 1;
    }
    Settle(300);
    std::vector<double> clickCpu;
    std::vector<double> shown;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            FrameButton(window, "UpArrow")->click();
            if (!ShowDeviceList(window)) {
                std::fprintf(stderr, "talvire-bench-probe: the device list did not come back\n");
                return 1;
            }
            Settle(300);
        }
        App()->applyShown = false;
        App()->repainted.clear();
        const Clock::time_point start = Clock::now();
        const double cpu = ThreadCpuMs();
        DialogChange::DeviceButtons.first()->click();
        clickCpu.push_back(ThreadCpuMs() - cpu);
        const Clock::time_point painted = Repainted(window, start);
        if (painted < start) {
            std::fprintf(stderr, "talvire-bench-probe: the frame was not painted\n");
            return 1;
        }
        shown.push_back(Ms(painted - start));
        if (!WaitFor([window] {
                return App()->applyShown && !window->Frame()->ApplyDialog()->isVisible() && LiveFlashDataIsCurrent();
            })) {
            std::fprintf(stderr, "talvire-bench-probe: the mouse did not open\n");
            return 1;
        }
        Settle(300);
        if (i == 0) {
            std::printf("open_first_cpu_ms=%.3f\nopen_first_shown_ms=%.3f\n", clickCpu.front(), shown.front());
            clickCpu.clear();
            shown.clear();
        }
    }
    Print("open_later_cpu_ms", clickCpu);
    Print("open_later_shown_ms", shown);
    return 0;
}

int Pages(DialogMain* window, int count)
{
    if (!ShowDeviceList(window) || !OpenTheMouse(window)
        || !WaitFor([window] { return window->Frame()->PagesPrepared(); })) {
        std::fprintf(stderr, "talvire-bench-probe: the mouse did not open\n");
        return 1;
    }
    // The button page is on show after the opening: its first visit was then.
    struct Page {
        const char* button;
        const char* name;
        std::vector<double> visits;
    };
    Page pages[] = {{"SensorButton", "sensor", {}},
                    {"MacroButton", "macro", {}},
                    {"FormSetting", "settings", {}},
                    {"ButtonMain", "buttons", {}}};
    for (int round = 0; round < count; ++round) {
        for (Page& page : pages) {
            Settle(100);
            App()->repainted.clear();
            const Clock::time_point start = Clock::now();
            FrameButton(window, page.button)->click();
            const Clock::time_point painted = Repainted(window, start);
            if (painted < start) {
                std::fprintf(stderr, "talvire-bench-probe: the page was not painted\n");
                return 1;
            }
            page.visits.push_back(Ms(painted - start));
        }
    }
    // Each page's first visit, and the median of its later ones.
    for (const Page& page : pages) {
        std::vector<double> later(page.visits.begin() + 1, page.visits.end());
        std::sort(later.begin(), later.end());
        if (page.button != std::string("ButtonMain"))
            std::printf("page_%s_first_ms=%.3f\n", page.name, page.visits.front());
        if (!later.empty())
            std::printf("page_%s_later_ms=%.3f\n", page.name, later[later.size() / 2]);
    }
    return 0;
}

// The longest gap between two turns of the event loop while it runs.
class Heartbeat {
public:
    Heartbeat()
    {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const Clock::time_point now = Clock::now();
            longest_ = std::max(longest_, Ms(now - last_));
            last_ = now;
        });
    }
    void Start()
    {
        longest_ = 0;
        last_ = Clock::now();
        timer_.start();
    }
    double Stop()
    {
        timer_.stop();
        return std::max(longest_, Ms(Clock::now() - last_));
    }

private:
    QTimer timer_;
    Clock::time_point last_;
    double longest_ = 0;
};

int MacroSave(DialogMain* window, int count)
{
    if (!ShowDeviceList(window) || !OpenTheMouse(window)) {
        std::fprintf(stderr, "talvire-bench-probe: the mouse did not open\n");
        return 1;
    }
    FrameButton(window, "MacroButton")->click();
    auto* page = window->Frame()->findChild<Macro*>();
    auto* macros = page->findChild<QListWidget*>(QStringLiteral("listWidgetHong"));
    auto* rows = page->findChild<QListWidget*>(QStringLiteral("listWidgetKey"));
    QListWidgetItem* item = nullptr;
    if (!WaitFor([&] {
            const QList<QListWidgetItem*> found = macros->findItems(QStringLiteral("CopyPaste"), Qt::MatchExactly);
            item = found.isEmpty() ? nullptr : found.first();
            return item != nullptr;
        })) {
        std::fprintf(stderr, "talvire-bench-probe: the mouse's macro is not listed\n");
        return 1;
    }
    macros->setCurrentItem(item);
    page->on_listWidgetHong_clicked(macros->currentIndex());
    std::vector<double> click;
    std::vector<double> block;
    std::vector<double> stored;
    Heartbeat heartbeat;
    for (int i = 0; i < std::min(count, 3); ++i) {
        rows->setCurrentRow(rows->count() - 1);
        page->on_DeleteKey_clicked();
        const QByteArray before = StoredBlock();
        Settle(100);
        heartbeat.Start();
        const Clock::time_point start = Clock::now();
        page->findChild<QToolButton*>(QStringLiteral("Save"))->click();
        click.push_back(Ms(Clock::now() - start));
        if (!WaitFor([&before] { return StoredBlock() != before; })) {
            std::fprintf(stderr, "talvire-bench-probe: the saved macro did not reach the mouse\n");
            return 1;
        }
        stored.push_back(Ms(Clock::now() - start));
        block.push_back(heartbeat.Stop());
    }
    Print("macro_save_click_ms", click);
    Print("macro_save_longest_block_ms", block);
    Print("macro_save_to_mouse_ms", stored);
    return 0;
}

int Setting(DialogMain* window, int count)
{
    if (!ShowDeviceList(window) || !OpenTheMouse(window)) {
        std::fprintf(stderr, "talvire-bench-probe: the mouse did not open\n");
        return 1;
    }
    std::vector<double> figures;
    const int movedBefore = ReportsMoved();
    for (int i = 0; i < count; ++i) {
        const int value = LiveFlashData.get().liftOffDistance == 1 ? 2 : 1;
        const QByteArray before = StoredBlock();
        const Clock::time_point start = Clock::now();
        if (!SetLiftOffDistance(value)) {
            std::fprintf(stderr, "talvire-bench-probe: the setting was not written\n");
            return 1;
        }
        while (StoredBlock() == before) {
            if (Ms(Clock::now() - start) > PatienceMs) {
                std::fprintf(stderr, "talvire-bench-probe: the mouse's block did not change\n");
                return 1;
            }
        }
        figures.push_back(Ms(Clock::now() - start));
        Settle(20);
    }
    Print("setting_ms", figures);
    const int movedAfter = ReportsMoved();
    if (movedBefore >= 0 && movedAfter >= 0)
        std::printf("reports_per_setting=%.2f\n", double(movedAfter - movedBefore) / count);
    return 0;
}

// Changes the language `count` times; each figure ends when every window
// that the change left to repaint has repainted (a window whose texts did not
// change does not repaint: its figure ends with the change's own work).
bool ChangeLanguages(int count, std::vector<double>* figures, int* repaints)
{
    constexpr int RepaintWindowMs = 300;
    *repaints = 0;
    for (int i = 0; i < count; ++i) {
        Settle(50);
        const int index = i % 2 == 0 ? 1 : 0;
        App()->repainted.clear();
        const Clock::time_point start = Clock::now();
        DialogChange::Chooser()->on_comboBox_activated(index);
        Clock::time_point last = Clock::now();
        Settle(RepaintWindowMs);
        bool repainted = false;
        for (auto it = App()->repainted.constBegin(); it != App()->repainted.constEnd(); ++it) {
            auto* window = static_cast<QWidget*>(it.key());
            if (QApplication::topLevelWidgets().contains(window) && window->isVisible()) {
                last = std::max(last, it.value());
                repainted = true;
            }
        }
        *repaints += repainted ? 1 : 0;
        if (Ms(last - start) >= RepaintWindowMs)
            return false;
        figures->push_back(Ms(last - start));
    }
    return true;
}

int Language(DialogMain* window, int count)
{
    std::vector<double> list;
    std::vector<double> frame;
    int listRepaints = 0;
    int frameRepaints = 0;
    if (!ShowDeviceList(window) || !ChangeLanguages(count, &list, &listRepaints)) {
        std::fprintf(stderr, "talvire-bench-probe: a language change on the device list took too long\n");
        return 1;
    }
    if (!OpenTheMouse(window) || !ChangeLanguages(count, &frame, &frameRepaints)) {
        std::fprintf(stderr, "talvire-bench-probe: a language change on the frame took too long\n");
        return 1;
    }
    Print("language_list_ms", list);
    Print("language_frame_ms", frame);
    // Each direction apart: the changes alternate, to Chinese first.
    for (const auto& [name, parity] : {std::pair<const char*, size_t>{"language_frame_to_chinese_ms", 0},
                                       std::pair<const char*, size_t>{"language_frame_to_english_ms", 1}}) {
        std::vector<double> direction;
        for (size_t i = parity; i < frame.size(); i += 2)
            direction.push_back(frame[i]);
        Print(name, direction);
    }
    // How many of the changes made a window repaint.
    std::printf("language_list_repaints=%d/%d\nlanguage_frame_repaints=%d/%d\n", listRepaints, count, frameRepaints,
                count);
    return 0;
}

// Shows the device list as the program's start does; returns the time of the
// window's first repaint with the device on it.
bool ListPainted(DialogMain* window, Clock::time_point* painted)
{
    App()->repainted.clear();
    window->show();
    if (!WaitFor([window] {
            if (DialogChange::DeviceButtons.size() != 1 || ShownDevices.size() != 1)
                return false;
            // A repaint before the device was listed does not count.
            if (App()->repainted.contains(window) && !window->Chooser()->DevicesListed())
                App()->repainted.remove(window);
            return App()->repainted.contains(window) && window->Chooser()->DevicesListed();
        }))
        return false;
    *painted = App()->repainted.value(window);
    return true;
}

int Stall(DialogMain* window, int)
{
    Clock::time_point painted;
    if (!ListPainted(window, &painted)) {
        std::fprintf(stderr, "talvire-bench-probe: the device list was not painted\n");
        return 1;
    }
    Heartbeat heartbeat;
    heartbeat.Start();
    // TALVIRE_PROBE_TRACE: each stall over 20 ms on stderr, with the frame's
    // state before and after it.
    QTimer trace;
    if (qEnvironmentVariableIsSet("TALVIRE_PROBE_TRACE")) {
        auto state = [window] {
            auto* frame = window->findChild<Dialog*>();
            auto* pages = frame ? frame->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog")) : nullptr;
            return QStringLiteral("frame %1 pages %2 prepared %3")
                .arg(frame ? 1 : 0)
                .arg(pages ? pages->count() : 0)
                .arg(frame && frame->PagesPrepared() ? 1 : 0);
        };
        auto last = std::make_shared<std::pair<Clock::time_point, QString>>(Clock::now(), state());
        trace.setInterval(1);
        QObject::connect(&trace, &QTimer::timeout, [last, state, painted] {
            const Clock::time_point now = Clock::now();
            const QString current = state();
            if (Ms(now - last->first) > 20)
                std::fprintf(stderr, "at %.0f ms: %.1f ms, %s -> %s\n", Ms(last->first - painted),
                             Ms(now - last->first), qPrintable(last->second), qPrintable(current));
            *last = {now, current};
        });
        trace.start();
    }
    Settle(2000 - int(Ms(Clock::now() - painted)));
    std::printf("stall_ms=%.3f\nframe_prepared=%d\n", heartbeat.Stop(),
                window->FrameBuilt() && window->Frame()->PagesPrepared() ? 1 : 0);
    return 0;
}

int Early(DialogMain* window, int delayMs)
{
    Clock::time_point painted;
    if (!ListPainted(window, &painted)) {
        std::fprintf(stderr, "talvire-bench-probe: the device list was not painted\n");
        return 1;
    }
    Settle(delayMs - int(Ms(Clock::now() - painted)));
    App()->repainted.clear();
    const Clock::time_point start = Clock::now();
    DialogChange::DeviceButtons.first()->click();
    const Clock::time_point shown = Repainted(window, start);
    if (shown < start) {
        std::fprintf(stderr, "talvire-bench-probe: the frame was not painted\n");
        return 1;
    }
    std::printf("early_click_ms=%.3f\n", Ms(shown - start));
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    ProbeApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QCoreApplication::arguments();
    const QString mode = arguments.value(1);
    const int count = qMax(1, arguments.value(2, QStringLiteral("20")).toInt());
    const QHash<QString, std::function<int(DialogMain*, int)>> modes{
        {QStringLiteral("setting"), Setting},
        {QStringLiteral("language"), Language},
        {QStringLiteral("open"), Open},
        {QStringLiteral("pages"), Pages},
        {QStringLiteral("macro"), MacroSave},
        {QStringLiteral("stall"), Stall},
        {QStringLiteral("early"), Early},
    };
    if (!modes.contains(mode)) {
        std::fprintf(stderr, "usage: talvire-bench-probe setting|language|open|pages|macro|stall|early [count]\n");
        return 2;
    }
    if (mode == QLatin1String("stall") || mode == QLatin1String("early")) {
        // As the program starts.
        StyleSheet::KeepPicturesDecoded();
        PicturePreload::Start(DialogMain::PicturesAtStart());
    }
    if (qEnvironmentVariableIsSet("TALVIRE_PROBE_NO_FRAME"))
        DialogMain::SetPrepareFrameWhenIdle(false);
    auto* window = new DialogMain;
    const int result = modes.value(mode)(window, count);
    delete window;
    UsbLibrary_Shutdown();
    std::fflush(stdout);
    return result;
}
