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
//   write-file <writer> <target> <limit> [<length>]
//                             one write of a writer of user data (cache: the
//                             cache file named target; export: the exported
//                             configuration at target; macro: a value of
//                             length characters, 20000 by default, in
//                             Macro.ini at target; registry: such a value in
//                             the registry file), under a file-size limit of
//                             limit bytes when it is not 0 (SIGXFSZ ignored);
//                             says "file <path written>" and "result 1" or
//                             "result 0"
//   burst <macro path> <count> <tag> program|application
//                             an application that changes Macro.ini at path
//                             and the registry file count times (the values
//                             end in the tag), says "changed" and ends in
//                             order: as the program ends (program) or only
//                             through the end of the application object
//   burst-forever <macro path>
//                             rewrites a large value in Macro.ini at path and
//                             in the registry file until it is killed
//   hold-lock <path>          takes the lock of the settings file at path and
//                             leaves a half-written new copy beside it, then
//                             waits to be killed
#include "core/ConfigurationFile.h"
#include "core/DeviceCacheFile.h"
#include "core/MacroIni.h"
#include "core/StartUp.h"
#include "dialogs/ExeIsRun.h"
#include "platform/CrashHandler.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/UserDataFolder.h"
#include "tests/common/TestImages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

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
        // The first value is on disk before the test may kill the writer.
        if (round == 0 && store.Flush())
            Say(QStringLiteral("writing"));
    }
    return 0;
}
int Burst(int argc, char** argv, const QString& path, int count, const QString& tag, const QString& end)
{
    QApplication app(argc, argv);
    MacroIni macro(path);
    Registry* const registry = Registry::Instance();
    QTimer::singleShot(0, [&] {
        for (int i = 0; i < count; ++i) {
            const QString value = QString::number(i) + tag;
            macro.SetValue(QStringLiteral("Burst"), QStringLiteral("Value"), value);
            macro.SetValue(QStringLiteral("Burst"), QStringLiteral("Key%1").arg(i % 10), value);
            registry->SetValue(QStringLiteral("Burst/Value"), value);
            if (i % 3 == 0)
                macro.RemoveKey(QStringLiteral("Removed"), QStringLiteral("Value"));
            else
                macro.SetValue(QStringLiteral("Removed"), QStringLiteral("Value"), value);
        }
        Say(QStringLiteral("changed"));
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    if (end == QLatin1String("program"))
        IniFile::WriteOutAll();
    return 0;
}

int BurstForever(const QString& path)
{
    MacroIni macro(path);
    Registry* const registry = Registry::Instance();
    for (int round = 0;; ++round) {
        // Each value is one letter repeated: a cut file shows at once.
        const QString value(20000, QChar(QLatin1Char(char('a' + round % 26))));
        macro.SetValue(QStringLiteral("Test"), QStringLiteral("Value"), value);
        registry->SetValue(QStringLiteral("Test/Value"), value);
        if (round == 0 && macro.Flush() && registry->Flush())
            Say(QStringLiteral("writing"));
    }
}

int WriteFile(const QString& writer, const QString& target, qint64 limit, int length)
{
    if (limit > 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size {rlim_t(limit), rlim_t(limit)};
        if (setrlimit(RLIMIT_FSIZE, &size) != 0) {
            Say(QStringLiteral("no limit"));
            return 2;
        }
    }
    const QString value(length, QLatin1Char('n'));
    bool ok = false;
    if (writer == QLatin1String("cache")) {
        Say(QStringLiteral("file ") + DeviceCacheFile::Folder() + target);
        ok = DeviceCacheFile::Write(target, PatternImage(7));
    } else if (writer == QLatin1String("export")) {
        Say(QStringLiteral("file ") + target);
        ok = ConfigurationFile::Write(target, QStringLiteral("3395"), PatternImage(7));
    } else if (writer == QLatin1String("macro")) {
        Say(QStringLiteral("file ") + target);
        MacroIni macro(target);
        ok = macro.SetValue(QStringLiteral("Test"), QStringLiteral("Value"), value) && macro.Flush();
    } else if (writer == QLatin1String("registry")) {
        Say(QStringLiteral("file ") + Registry::Instance()->FileName());
        ok = Registry::Instance()->SetValue(Registry::UpdateFailInfoKey(), value) && Registry::Instance()->Flush();
    } else {
        Say(QStringLiteral("unknown writer"));
        return 2;
    }
    Say(QStringLiteral("result %1").arg(ok ? 1 : 0));
    return 0;
}

int HoldLock(const QString& path)
{
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000)) {
        Say(QStringLiteral("no lock"));
        return 2;
    }
    const QFileInfo info(path);
    QFile copy(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.')
               + QString::number(::getpid()) + QStringLiteral("-1.tmp"));
    copy.open(QIODevice::WriteOnly);
    copy.write("[Test]\nValue=cu");
    copy.close();
    Say(QStringLiteral("holding"));
    QThread::sleep(120);
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
    if (mode == QLatin1String("write-file") && argc > 4)
        return WriteFile(argument, QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]).toLongLong(),
                         argc > 5 ? QByteArray(argv[5]).toInt() : 20000);
    if (mode == QLatin1String("burst") && argc > 5)
        return Burst(argc, argv, argument, QByteArray(argv[3]).toInt(), QString::fromLocal8Bit(argv[4]),
                     QString::fromLocal8Bit(argv[5]));
    if (mode == QLatin1String("burst-forever"))
        return BurstForever(argument);
    if (mode == QLatin1String("hold-lock"))
        return HoldLock(argument);
    Say(QStringLiteral("unknown mode"));
    return 2;
}
