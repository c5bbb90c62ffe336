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
//       figure runs from the choice until every visible window has repainted.
//
// Prints key=value lines in milliseconds (median, min, max). Runs on the X
// display of the bench; the device library's link takes its usual time.
#include "core/FlashDataMap.h"
#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/UpDataParam.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "shell/mytoolButtonEnter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QThread>

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

constexpr int PatienceMs = 20000;

double Ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
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
        const QEvent::Type type = event->type();
        const bool result = QApplication::notify(receiver, event);
        if (receiver->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(receiver);
            if (type == QEvent::UpdateRequest && widget->isWindow() && !repainted.contains(receiver))
                repainted.insert(receiver, Clock::now());
            else if (type == QEvent::Show && qobject_cast<UpDataParam*>(widget))
                applyShown = true;
        }
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
bool ChangeLanguages(int count, std::vector<double>* figures)
{
    constexpr int RepaintWindowMs = 300;
    for (int i = 0; i < count; ++i) {
        Settle(50);
        const int index = i % 2 == 0 ? 1 : 0;
        App()->repainted.clear();
        const Clock::time_point start = Clock::now();
        DialogChange::Chooser()->on_comboBox_activated(index);
        Clock::time_point last = Clock::now();
        Settle(RepaintWindowMs);
        for (auto it = App()->repainted.constBegin(); it != App()->repainted.constEnd(); ++it) {
            auto* window = static_cast<QWidget*>(it.key());
            if (QApplication::topLevelWidgets().contains(window) && window->isVisible())
                last = std::max(last, it.value());
        }
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
    if (!ShowDeviceList(window) || !ChangeLanguages(count, &list)) {
        std::fprintf(stderr, "talvire-bench-probe: no repaint after a language change on the device list\n");
        return 1;
    }
    if (!OpenTheMouse(window) || !ChangeLanguages(count, &frame)) {
        std::fprintf(stderr, "talvire-bench-probe: no repaint after a language change on the frame\n");
        return 1;
    }
    Print("language_list_ms", list);
    Print("language_frame_ms", frame);
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
    if (mode != QLatin1String("setting") && mode != QLatin1String("language")) {
        std::fprintf(stderr, "usage: talvire-bench-probe setting|language [count]\n");
        return 2;
    }
    auto* window = new DialogMain;
    const int result = mode == QLatin1String("setting") ? Setting(window, count) : Language(window, count);
    delete window;
    UsbLibrary_Shutdown();
    std::fflush(stdout);
    return result;
}
