#include "platform/IniFile.h"

#include "platform/IniText.h"
#include "platform/ReplaceFile.h"
#include "platform/SettingsWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QVector>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Writers in other processes take the file's lock; one that died while it
// held the lock left its process id in it (released at once) or, when it died
// right after making the lock, an empty lock, taken as abandoned after this.
constexpr int StaleLockMs = 2000;
constexpr int LockWaitMs = 10000;

// What tells one version of the file from another.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modified = 0; // ns
    qint64 changed = 0;  // ns

    bool operator==(const FileIdentity& other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode && size == other.size
            && modified == other.modified && changed == other.changed;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

FileIdentity Identify(const QString& path)
{
    FileIdentity identity;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return identity;
    identity.exists = true;
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
    identity.size = info.st_size;
    identity.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    identity.changed = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return identity;
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// One change of a key: a new value, or the key and the keys below it removed.
struct Change {
    QString key;
    QVariant value;
    bool remove = false;
};

void Apply(QVariantMap* values, const Change& change)
{
    if (!change.remove) {
        values->insert(change.key, change.value);
        return;
    }
    values->remove(change.key);
    const QString below = change.key + QLatin1Char('/');
    auto it = values->lowerBound(below);
    while (it != values->end() && it.key().startsWith(below))
        it = values->erase(it);
}

QVariantMap Applied(QVariantMap values, const QVector<Change>& changes)
{
    for (const Change& change : changes)
        Apply(&values, change);
    return values;
}

// Copies the damaged file at path beside it, whole, under the first free name
// of DamagedFileName(path), then "<that>.2", "<that>.3", ...: an earlier copy
// is never replaced, and a name that is taken, a link too, is passed by and
// never followed. False, logged, when no copy can be made (the damaged file
// then stays as it is).
bool KeepDamagedFile(const QString& path)
{
    constexpr int MaxCopies = 1000;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("cannot write %s: it is damaged and cannot be kept: %s", qUtf8Printable(Shown(path)),
                 qUtf8Printable(file.errorString()));
        return false;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        qWarning("cannot write %s: it is damaged and cannot be read to be kept: %s", qUtf8Printable(Shown(path)),
                 qUtf8Printable(file.errorString()));
        return false;
    }
    for (int copy = 1; copy <= MaxCopies; ++copy) {
        const QString kept = IniFile::DamagedFileName(path) + (copy > 1 ? QStringLiteral(".%1").arg(copy) : QString());
        const QByteArray name = QFile::encodeName(kept);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        const auto failed = [&](int error) {
            qWarning("cannot write %s: it is damaged and cannot be kept as %s: %s", qUtf8Printable(Shown(path)),
                     qUtf8Printable(Shown(kept)), strerror(error));
            return false;
        };
        if (fd < 0)
            return failed(errno);
        qint64 done = 0;
        while (done < content.size()) {
            const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        const int error = done < content.size() ? (errno ? errno : EIO) : ::fsync(fd) != 0 ? errno : 0;
        if (::close(fd) != 0 && error == 0) {
            const int closeError = errno;
            ::unlink(name.constData());
            return failed(closeError);
        }
        if (error != 0) {
            ::unlink(name.constData());
            return failed(error);
        }
        qWarning("%s is damaged: kept as %s; written afresh from the values that could be read",
                 qUtf8Printable(Shown(path)), qUtf8Printable(Shown(kept)));
        return true;
    }
    qWarning("cannot write %s: it is damaged and %d copies of it are kept already", qUtf8Printable(Shown(path)),
             MaxCopies);
    return false;
}

// Writes changes into the file at path under its lock, on top of what the
// file holds (base when the file is still the version known). On success
// *written is what the file holds now, *identity its version.
bool WriteChanges(const QString& path, const QVector<Change>& changes, QVariantMap base, bool baseKnown,
                  const FileIdentity& known, QVariantMap* written, FileIdentity* identity)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QLockFile fileLock(path + QStringLiteral(".lock"));
    fileLock.setStaleLockTime(StaleLockMs);
    if (!fileLock.tryLock(LockWaitMs)) {
        const char* reason = fileLock.error() == QLockFile::LockFailedError ? "another process holds its lock"
            : fileLock.error() == QLockFile::PermissionError                ? "its lock cannot be made: no permission"
                                                                            : "its lock cannot be made";
        qWarning("cannot write %s: %s", qUtf8Printable(Shown(path)), reason);
        return false;
    }
    // Changes another process made meanwhile are kept.
    const FileIdentity now = Identify(path);
    if (!baseKnown || now != known) {
        QString reason;
        if (!IniText::Read(path, &base, &reason)) {
            qWarning("cannot write %s: it cannot be read: %s", qUtf8Printable(Shown(path)), qUtf8Printable(reason));
            return false;
        }
    }
    *written = Applied(base, changes);
    *identity = now;
    if (*written == base)
        return true;
    // A damaged file holds keys that cannot be written back as they were
    // read, so no text made from it would read back as written: it is kept
    // beside under a name that says so, and a fresh file takes its place,
    // made of what can be written of it and the changes.
    const QVariantMap writable = IniText::Writable(base);
    if (writable != base) {
        if (!KeepDamagedFile(path))
            return false;
        *written = Applied(writable, changes);
    }
    const QByteArray text = IniText::Format(*written);
    // The new file must read back as the text meant: a cut or garbled file
    // never takes the old one's place.
    const auto check = [&text](const QString& copy, QString* reason) {
        QVariantMap back;
        if (!IniText::Read(copy, &back, reason))
            return false;
        if (IniText::Format(back) != text) {
            *reason = QStringLiteral("the new file does not read back as written");
            return false;
        }
        return true;
    };
    if (!ReplaceFile(path, text, check))
        return false;
    *identity = Identify(path);
    return true;
}
} // namespace

// The process's one view of a file: what the file holds as last read or
// written, and the changes made since, which the writer thread takes to the
// disk in order. Every member is guarded by the mutex.
struct IniFile::State {
    explicit State(const QString& file)
        : path(file)
    {
    }

    // Reads the file again when another process has replaced it since it was
    // last read or written here; the changes not yet written stay on top.
    void Refresh()
    {
        // While this process writes the file, the file is the view's.
        if (writing && loaded)
            return;
        const FileIdentity now = Identify(path);
        if (loaded && now == identity)
            return;
        QVariantMap read;
        QString reason;
        if (!IniText::Read(path, &read, &reason)) {
            if (now != unreadable)
                qWarning("cannot read %s: %s", qUtf8Printable(Shown(path)), qUtf8Printable(reason));
            unreadable = now;
            return;
        }
        disk = read;
        identity = now;
        loaded = true;
        view = Applied(disk, pending);
    }

    // Takes a change into the view and the changes to write; true when the
    // writer thread must be asked to write the file.
    bool Take(const Change& change)
    {
        // A change of a key makes the earlier ones of the same key that the
        // writer has not taken redundant (a removal only earlier removals:
        // it also removed the keys below).
        for (int i = pending.size() - 1; i >= taken; --i) {
            if (pending.at(i).key == change.key && (!pending.at(i).remove || change.remove))
                pending.remove(i);
        }
        pending.append(change);
        Apply(&view, change);
        return Queue();
    }

    // True when a write is to be posted: changes wait and none is queued.
    bool Queue()
    {
        if (pending.isEmpty() || queued)
            return false;
        queued = true;
        return true;
    }

    // On the writer thread: the changes made so far to the disk.
    void WriteOut()
    {
        std::unique_lock<std::mutex> lock(mutex);
        queued = false;
        if (pending.isEmpty())
            return;
        const QVector<Change> changes = pending;
        const QVariantMap base = disk;
        const bool baseKnown = loaded;
        const FileIdentity known = identity;
        taken = changes.size();
        writing = true;
        lock.unlock();

        QVariantMap written;
        FileIdentity version;
        const bool ok = WriteChanges(path, changes, base, baseKnown, known, &written, &version);

        lock.lock();
        writing = false;
        failed = !ok;
        if (ok) {
            disk = written;
            identity = version;
            loaded = true;
            pending.remove(0, taken);
            view = Applied(disk, pending);
        }
        taken = 0;
    }

    const QString path;
    std::mutex mutex; // a pthread lock: visible to the thread sanitizer
    bool loaded = false;      // disk and identity hold a version of the file
    FileIdentity identity;
    FileIdentity unreadable;  // the version last found unreadable (told once)
    QVariantMap disk;
    QVariantMap view;         // disk with the pending changes
    QVector<Change> pending;  // in the order made
    int taken = 0;            // pending[0, taken) are being written
    bool queued = false;      // a write of the file waits in the writer's queue
    bool writing = false;
    bool failed = false;      // the last write failed; its changes still wait
};

namespace {
std::mutex StatesMutex;
QHash<QString, std::weak_ptr<IniFile::State>>& States()
{
    static QHash<QString, std::weak_ptr<IniFile::State>> states;
    return states;
}

std::shared_ptr<IniFile::State> SharedState(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const std::lock_guard<std::mutex> lock(StatesMutex);
    std::shared_ptr<IniFile::State> state = States().value(absolute).lock();
    if (!state) {
        state = std::make_shared<IniFile::State>(absolute);
        States().insert(absolute, state);
    }
    return state;
}

void PostWrite(const std::shared_ptr<IniFile::State>& state)
{
    // The end of the application object writes out what is left.
    static std::once_flag routine;
    std::call_once(routine, [] { qAddPostRoutine(&IniFile::WriteOutAll); });
    SettingsWriter::Instance()->Post([state] { state->WriteOut(); });
}

// Asks for a write of the changes that wait and have none queued (after a
// failed write).
void WriteWaitingChanges(const std::shared_ptr<IniFile::State>& state)
{
    bool post = false;
    {
        const std::lock_guard<std::mutex> lock(state->mutex);
        post = state->Queue();
    }
    if (post)
        PostWrite(state);
}
} // namespace

IniFile::IniFile(const QString& path)
    : path_(path)
    , state_(SharedState(path))
{
}

IniFile::~IniFile() = default;

QString IniFile::Key(const QString& group, const QString& name)
{
    return group + QLatin1Char('/') + name;
}

QVariant IniFile::Value(const QString& key)
{
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->Refresh();
    return state_->view.value(IniText::NormalisedKey(key));
}

QString IniFile::Text(const QString& key)
{
    return Value(key).toString();
}

QStringList IniFile::List(const QString& key)
{
    const QVariant value = Value(key);
    return value.isValid() ? value.toStringList() : QStringList();
}

bool IniFile::Contains(const QString& key)
{
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->Refresh();
    return state_->view.contains(IniText::NormalisedKey(key));
}

bool IniFile::SetValue(const QString& key, const QVariant& value)
{
    return Take(key, value, false);
}

bool IniFile::Remove(const QString& key)
{
    return Take(key, QVariant(), true);
}

QString IniFile::DamagedFileName(const QString& path)
{
    return path + QStringLiteral(".damaged");
}

bool IniFile::Take(const QString& key, const QVariant& value, bool remove)
{
    const QString normalised = IniText::NormalisedKey(key);
    // A key without a name could not be written back.
    if (normalised.isEmpty()) {
        qWarning("%s: a key without a name is not stored", qUtf8Printable(Shown(path_)));
        return false;
    }
    bool post = false;
    bool writable = true;
    {
        const std::lock_guard<std::mutex> lock(state_->mutex);
        post = state_->Take(Change {normalised, value, remove});
        writable = !state_->failed;
    }
    if (post)
        PostWrite(state_);
    return writable;
}

bool IniFile::SetValueFlushed(const QString& key, const QVariant& value)
{
    if (IniText::NormalisedKey(key).isEmpty())
        return false;
    SetValue(key, value);
    return Flush();
}

bool IniFile::RemoveFlushed(const QString& key)
{
    if (IniText::NormalisedKey(key).isEmpty())
        return false;
    Remove(key);
    return Flush();
}

bool IniFile::Flush()
{
    WriteWaitingChanges(state_);
    SettingsWriter::Instance()->Drain();
    const std::lock_guard<std::mutex> lock(state_->mutex);
    return !state_->failed;
}

void IniFile::WriteOutAll()
{
    QVector<std::shared_ptr<State>> states;
    {
        const std::lock_guard<std::mutex> lock(StatesMutex);
        for (const std::weak_ptr<State>& weak : qAsConst(States())) {
            if (std::shared_ptr<State> state = weak.lock())
                states.append(state);
        }
    }
    // Changes whose write failed get one more try.
    for (const std::shared_ptr<State>& state : qAsConst(states))
        WriteWaitingChanges(state);
    SettingsWriter::Instance()->Drain();
}
