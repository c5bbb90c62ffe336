#include "platform/ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The new copy of a file is named "." + name + "." + process + "-" + count +
// ".tmp"; the longest process number has 10 digits, the longest count 20.
const QString CopySuffix = QStringLiteral(".tmp");
constexpr int CopyNameExtra = 1 + 1 + 10 + 1 + 20 + 4;

QString CopyName(const QString& name, quint64 count)
{
    return QLatin1Char('.') + name + QLatin1Char('.') + QString::number(::getpid()) + QLatin1Char('-')
        + QString::number(count) + CopySuffix;
}

// One lock per file, so that two threads never write the same file at once
// and a copy of this process found in the folder is never one in the making.
std::shared_ptr<std::mutex> FileLock(const QString& path)
{
    static std::mutex guard;
    static QHash<QString, std::shared_ptr<std::mutex>> locks;
    const std::lock_guard<std::mutex> lock(guard);
    std::shared_ptr<std::mutex>& entry = locks[path];
    if (!entry)
        entry = std::make_shared<std::mutex>();
    return entry;
}

QString SystemError(const char* what, int number)
{
    return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(number));
}

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

bool ProcessRuns(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Removes the copies of name in folder that no writer will finish: those of a
// process that has ended, and those of this process (made under the file's
// lock, which the caller holds).
void RemoveAbandonedCopies(const QString& folder, const QString& name)
{
    const QRegularExpression pattern(QStringLiteral("^\\.") + QRegularExpression::escape(name)
                                     + QStringLiteral("\\.(\\d+)-\\d+\\.tmp$"));
    const QStringList copies = QDir(folder).entryList({QLatin1Char('.') + name + QStringLiteral(".*.tmp")},
                                                      QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& copy : copies) {
        const QRegularExpressionMatch match = pattern.match(copy);
        if (!match.hasMatch())
            continue;
        const qint64 pid = match.captured(1).toLongLong();
        if (pid == ::getpid() || !ProcessRuns(pid))
            QFile::remove(folder + QLatin1Char('/') + copy);
    }
}

bool WriteAll(int fd, const QByteArray& content, QString* reason)
{
    const char* data = content.constData();
    qint64 left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0) {
            *reason = SystemError("write", errno);
            return false;
        }
        if (written == 0) {
            *reason = SystemError("write", ENOSPC);
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// Writes content into the new file and checks that all of it is on the disk.
bool WriteCopy(const QString& copy, const QString& path, const QByteArray& content, QString* reason)
{
    const int fd = ::open(Native(copy).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        *reason = SystemError("cannot create the new file", errno);
        return false;
    }
    bool ok = true;
    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    if (::stat(Native(path).constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    ok = WriteAll(fd, content, reason);
    if (ok && ::fsync(fd) != 0) {
        *reason = SystemError("sync to the disk", errno);
        ok = false;
    }
    struct stat written {};
    if (ok && ::fstat(fd, &written) != 0) {
        *reason = SystemError("size on the disk", errno);
        ok = false;
    }
    if (ok && qint64(written.st_size) != content.size()) {
        *reason = QStringLiteral("the new file has %1 of %2 bytes").arg(written.st_size).arg(content.size());
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        *reason = SystemError("close", errno);
        ok = false;
    }
    return ok;
}

// Makes the rename itself lasting; a folder that cannot be synced changes
// nothing about the file, which is whole either way.
void SyncFolder(const QString& folder)
{
    const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
} // namespace

bool ReplaceFileNameFits(const QString& fileName)
{
    const int bytes = QFile::encodeName(fileName).size();
    return bytes > 0 && bytes + CopyNameExtra <= NAME_MAX;
}

bool ReplaceFile(const QString& path, const QByteArray& content, QString* error)
{
    return ReplaceFile(path, content, ReplaceCheck(), error);
}

bool ReplaceFile(const QString& path, const QByteArray& content, const ReplaceCheck& check, QString* error)
{
    static std::atomic<quint64> counter {0};
    QFileInfo info(path);
    // A link is followed: the file it points to is replaced, the link stays.
    if (info.isSymLink())
        info = QFileInfo(info.symLinkTarget());
    const QString target = info.absoluteFilePath();
    const QString folder = info.absolutePath();
    const QString name = info.fileName();

    QString reason;
    bool ok = !name.isEmpty();
    if (!ok)
        reason = QStringLiteral("no file name");
    if (ok && info.exists() && ::access(Native(target).constData(), W_OK) != 0) {
        reason = SystemError("the file is not writable", errno);
        ok = false;
    }
    if (ok) {
        const std::shared_ptr<std::mutex> fileLock = FileLock(target);
        const std::lock_guard<std::mutex> lock(*fileLock);
        RemoveAbandonedCopies(folder, name);
        const QString copy = folder + QLatin1Char('/') + CopyName(name, ++counter);
        ok = WriteCopy(copy, target, content, &reason);
        if (ok && check && !check(copy, &reason)) {
            if (reason.isEmpty())
                reason = QStringLiteral("the new file does not read back as written");
            ok = false;
        }
        if (ok && ::rename(Native(copy).constData(), Native(target).constData()) != 0) {
            reason = SystemError("rename", errno);
            ok = false;
        }
        if (ok)
            SyncFolder(folder);
        else
            ::unlink(Native(copy).constData());
    }
    if (!ok) {
        qWarning("cannot write %s: %s", qUtf8Printable(QDir::toNativeSeparators(target)), qUtf8Printable(reason));
        if (error)
            *error = reason;
    }
    return ok;
}
