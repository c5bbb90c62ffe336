// The helper program the start-up, store and crash tests run as a child:
//   wait <quit-file>          the program's start; when it is the one instance
//                             it says "running" and waits until quit-file exists
//   crash segv|abort|throw [remove-folder|remove-all]
//                             installs the crash handler, removes the per-user
//                             "/Exception" folder or the whole per-user folder,
//                             and dies that way
//   names <utc seconds>...    installs the crash handler and says the report's
//                             file name for each time
//   write-macro <path>        rewrites a large value in Macro.ini at path until
//                             it is killed
#include "core/MacroIni.h"
#include "core/StartUp.h"
#include "dialogs/ExeIsRun.h"
#include "platform/CrashHandler.h"
#include "platform/UserDataFolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <stdexcept>
#include <sys/mman.h>

namespace {
void Say(const QString& line)
{
    QTextStream out(stdout);
    out << line << '\n';
    out.flush();
}

// A notice run modally while another instance runs is answered at once, so
// that the start can end.
void AnswerNotices()
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (QWidget* notice = QApplication::activeModalWidget()) {
            Say(QStringLiteral("notice ") + notice->objectName());
            notice->close();
        }
    });
    timer->start(20);
}
Q_COREAPP_STARTUP_FUNCTION(AnswerNotices)

int Wait(int argc, char** argv, const QString& quitFile)
{
    // The program's own start, as main runs it.
    StartUp::PrepareUserFolder();
    QApplication app(argc, argv);
    if (!StartUp::ClaimSingleInstance()) {
        ExeIsRun notice;
        notice.exec();
        return 0;
    }
    Say(QStringLiteral("running"));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&quitFile] {
        if (QFile::exists(quitFile))
            QCoreApplication::quit();
    });
    poll.start(20);
    QTimer::singleShot(120000, &QCoreApplication::quit);
    return QCoreApplication::exec();
}

[[noreturn]] void Crash(const QString& how, const QString& remove)
{
    CrashHandler::Install();
    if (remove == QLatin1String("remove-folder"))
        QDir(UserDataFolder() + QStringLiteral("/Exception")).removeRecursively();
    if (remove == QLatin1String("remove-all"))
        QDir(UserDataFolder()).removeRecursively();
    if (how == QLatin1String("abort"))
        std::abort();
    if (how == QLatin1String("throw"))
        throw std::runtime_error("not caught");
    // A real invalid access, at an address the test can look for in the report.
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    Say(QStringLiteral("address 0x%1").arg(quintptr(page), int(2 * sizeof(void*)), 16, QLatin1Char('0')));
    *static_cast<volatile int*>(page) = 1;
    std::abort();
}

int WriteMacro(const QString& path)
{
    MacroIni store(path);
    QElapsedTimer running;
    running.start();
    for (int round = 0; running.elapsed() < 60000; ++round) {
        // Each value is one letter repeated: a cut file shows at once.
        store.SetValue(QStringLiteral("Test"), QStringLiteral("Value"),
                       QString(20000, QChar(QLatin1Char(char('a' + round % 26)))));
        if (round == 0)
            Say(QStringLiteral("writing"));
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString argument = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode == QLatin1String("wait"))
        return Wait(argc, argv, argument);
    if (mode == QLatin1String("crash"))
        Crash(argument, argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    if (mode == QLatin1String("names")) {
        CrashHandler::Install();
        for (int i = 2; i < argc; ++i)
            Say(CrashHandler::DumpFileName(std::time_t(std::atoll(argv[i]))));
        return 0;
    }
    if (mode == QLatin1String("write-macro"))
        return WriteMacro(argument);
    Say(QStringLiteral("unknown mode"));
    return 2;
}
