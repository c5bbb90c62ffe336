#include "platform/CrashHandler.h"

#include "platform/UserDataFolder.h"

#include <QFile>

#include <atomic>
#include <climits>
#include <cstring>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

namespace {

const int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

// "<per-user folder>/Exception", prepared by Install.
char ExceptionFolder[PATH_MAX];

// Local time = UTC + offset; the offset changes at the listed moments (summer
// time). Entry 0 holds from any earlier time on.
struct OffsetChange {
    std::time_t from;
    long offset;
};
OffsetChange OffsetChanges[64];
int OffsetChangeCount = 0;

char AlternateStack[64 * 1024];

long OffsetAt(std::time_t t)
{
    std::tm local {};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

void PrepareOffsets()
{
    const std::time_t now = std::time(nullptr);
    OffsetChangeCount = 0;
    OffsetChanges[OffsetChangeCount++] = {now, OffsetAt(now)};
    const std::time_t day = 24 * 60 * 60;
    std::time_t previous = now;
    for (std::time_t t = now + day; t <= now + 4 * 366 * day; t += day) {
        if (OffsetAt(t) == OffsetChanges[OffsetChangeCount - 1].offset) {
            previous = t;
            continue;
        }
        // The first second with the new offset lies in (previous, t].
        std::time_t low = previous;
        std::time_t high = t;
        while (high - low > 1) {
            const std::time_t middle = low + (high - low) / 2;
            if (OffsetAt(middle) == OffsetChanges[OffsetChangeCount - 1].offset)
                low = middle;
            else
                high = middle;
        }
        if (OffsetChangeCount == int(sizeof OffsetChanges / sizeof OffsetChanges[0]))
            break;
        OffsetChanges[OffsetChangeCount++] = {high, OffsetAt(high)};
        previous = t;
    }
}

long OffsetFor(std::time_t utc)
{
    long offset = OffsetChanges[0].offset;
    for (int i = 1; i < OffsetChangeCount && OffsetChanges[i].from <= utc; ++i)
        offset = OffsetChanges[i].offset;
    return offset;
}

// Days since 1970-01-01 to a calendar date (proleptic Gregorian).
void CivilFromDays(long long days, long long& year, int& month, int& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

// Appends text to a buffer of size capacity; async-signal-safe.
class Text {
public:
    Text(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) { buffer_[0] = '\0'; }

    Text& operator<<(const char* text)
    {
        while (*text && length_ + 1 < capacity_)
            buffer_[length_++] = *text++;
        buffer_[length_] = '\0';
        return *this;
    }

    Text& Number(unsigned long long value, int minimumDigits = 1, int base = 10)
    {
        char digits[32];
        int count = 0;
        do {
            digits[count++] = "0123456789abcdef"[value % unsigned(base)];
            value /= unsigned(base);
        } while (value != 0 && count < int(sizeof digits));
        while (count < minimumDigits && count < int(sizeof digits))
            digits[count++] = '0';
        char reversed[33];
        for (int i = 0; i < count; ++i)
            reversed[i] = digits[count - 1 - i];
        reversed[count] = '\0';
        return *this << reversed;
    }

    Text& Signed(long long value)
    {
        if (value < 0) {
            *this << "-";
            return Number(0ULL - static_cast<unsigned long long>(value));
        }
        return Number(static_cast<unsigned long long>(value));
    }

    Text& Address(const void* address)
    {
        *this << "0x";
        return Number(reinterpret_cast<uintptr_t>(address), int(2 * sizeof(void*)), 16);
    }

    const char* data() const { return buffer_; }
    size_t size() const { return length_; }

private:
    char* buffer_;
    size_t capacity_;
    size_t length_ = 0;
};

// "yyyy_MM_dd_hh_mm_ss.dmp" for the local time of utc.
void FormatDumpName(std::time_t utc, Text& name)
{
    const long long local = static_cast<long long>(utc) + OffsetFor(utc);
    const long long secondsPerDay = 24 * 60 * 60;
    long long days = local / secondsPerDay;
    long long seconds = local % secondsPerDay;
    if (seconds < 0) {
        seconds += secondsPerDay;
        --days;
    }
    long long year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, year, month, day);
    name.Number(static_cast<unsigned long long>(year), 4) << "_";
    name.Number(unsigned(month), 2) << "_";
    name.Number(unsigned(day), 2) << "_";
    name.Number(static_cast<unsigned long long>(seconds / 3600), 2) << "_";
    name.Number(static_cast<unsigned long long>(seconds / 60 % 60), 2) << "_";
    name.Number(static_cast<unsigned long long>(seconds % 60), 2) << ".dmp";
}

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGSEGV: return "SIGSEGV (invalid memory access)";
    case SIGABRT: return "SIGABRT (aborted)";
    case SIGBUS: return "SIGBUS (bus error)";
    case SIGFPE: return "SIGFPE (arithmetic error)";
    case SIGILL: return "SIGILL (illegal instruction)";
    default: return "unknown";
    }
}

const void* InstructionAddress(const void* context)
{
    if (!context)
        return nullptr;
    const auto* user = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
    return reinterpret_cast<const void*>(user->uc_mcontext.gregs[REG_RIP]);
#elif defined(__i386__)
    return reinterpret_cast<const void*>(user->uc_mcontext.gregs[REG_EIP]);
#elif defined(__aarch64__)
    return reinterpret_cast<const void*>(user->uc_mcontext.pc);
#else
    (void)user;
    return nullptr;
#endif
}

void WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written <= 0)
            return;
        data += written;
        size -= size_t(written);
    }
}

// mkdir of the folder and every missing parent.
void MakeFolder(const char* folder)
{
    static char path[PATH_MAX];
    Text(path, sizeof path) << folder;
    for (char* p = path + 1; *p; ++p) {
        if (*p == '/') {
            *p = '\0';
            mkdir(path, 0777);
            *p = '/';
        }
    }
    mkdir(path, 0777);
}

} // namespace

void CrashHandler::Install()
{
    Text(ExceptionFolder, sizeof ExceptionFolder)
        << QFile::encodeName(UserDataFolder() + QStringLiteral("/Exception")).constData();
    PrepareOffsets();

    // The first backtrace loads what it needs; the handler must not.
    void* frames[4];
    backtrace(frames, 4);

    // Room to run on after a stack overflow, unless the thread already has some.
    stack_t current {};
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
        stack_t alternate {};
        alternate.ss_sp = AlternateStack;
        alternate.ss_size = sizeof AlternateStack;
        sigaltstack(&alternate, nullptr);
    }

    struct sigaction action {};
    action.sa_sigaction = &CrashHandler::TopLevelFilter;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signal : FatalSignals)
        sigaddset(&action.sa_mask, signal);
    for (int signal : FatalSignals)
        sigaction(signal, &action, nullptr);
}

QString CrashHandler::DumpFileName(std::time_t utc)
{
    char buffer[64];
    Text name(buffer, sizeof buffer);
    FormatDumpName(utc, name);
    return QString::fromLatin1(name.data());
}

void CrashHandler::TopLevelFilter(int signal, siginfo_t* info, void* context)
{
    // One report: a second thread that crashes meanwhile waits for the end.
    static std::atomic<bool> entered {false};
    if (entered.exchange(true)) {
        for (;;)
            pause();
    }

    const std::time_t now = std::time(nullptr);
    static char path[PATH_MAX + 64];
    Text file(path, sizeof path);
    file << ExceptionFolder << "/";
    FormatDumpName(now, file);

    MakeFolder(ExceptionFolder);
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        static char report[1024];
        Text text(report, sizeof report);
        text << "TALVIRE crash report\n";
        text << "Signal: ";
        text.Signed(signal) << " " << SignalName(signal) << ", code ";
        text.Signed(info ? info->si_code : 0) << "\n";
        text << "Address: ";
        text.Address(info ? info->si_addr : nullptr) << "\n";
        text << "Instruction: ";
        text.Address(InstructionAddress(context)) << "\n";
        text << "Process: ";
        text.Signed(getpid()) << ", thread ";
        text.Signed(syscall(SYS_gettid)) << "\n";
        text << "Time (UTC seconds): ";
        text.Signed(static_cast<long long>(now)) << "\n";
        text << "Backtrace:\n";
        WriteAll(fd, text.data(), text.size());

        void* frames[64];
        const int count = backtrace(frames, int(sizeof frames / sizeof frames[0]));
        backtrace_symbols_fd(frames, count, fd);
        close(fd);
    }

    // End by the same signal, with its default action, once this returns (the
    // fatal signals are blocked while the handler runs).
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}
