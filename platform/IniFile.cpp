#include "platform/IniFile.h"

#include "platform/IniText.h"
#include "platform/ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>

#include <mutex>
#include <sys/stat.h>

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
} // namespace

// The process's one view of a file.
struct IniFile::State {
    explicit State(const QString& file)
        : path(file)
    {
    }

    // Reads the file again when it is not the version last read or written.
    // False when it exists and cannot be read.
    bool Refresh(QString* error = nullptr)
    {
        const FileIdentity now = Identify(path);
        if (loaded && now == identity)
            return true;
        QVariantMap read;
        QString reason;
        if (!IniText::Read(path, &read, &reason)) {
            qWarning("cannot read %s: %s", qUtf8Printable(QDir::toNativeSeparators(path)), qUtf8Printable(reason));
            if (error)
                *error = reason;
            return false;
        }
        values = read;
        identity = now;
        loaded = true;
        return true;
    }

    const QString path;
    std::mutex mutex; // a pthread lock: visible to the thread sanitizer
    bool loaded = false;
    FileIdentity identity;
    QVariantMap values;
};

namespace {
std::shared_ptr<IniFile::State> SharedState(const QString& path)
{
    static std::mutex guard;
    static QHash<QString, std::weak_ptr<IniFile::State>> states;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const std::lock_guard<std::mutex> lock(guard);
    std::shared_ptr<IniFile::State> state = states.value(absolute).lock();
    if (!state) {
        state = std::make_shared<IniFile::State>(absolute);
        states.insert(absolute, state);
    }
    return state;
}

void ApplyChange(QVariantMap* values, const QString& key, const QVariant* value)
{
    if (value) {
        values->insert(key, *value);
        return;
    }
    values->remove(key);
    const QString below = key + QLatin1Char('/');
    auto it = values->lowerBound(below);
    while (it != values->end() && it.key().startsWith(below))
        it = values->erase(it);
}

// The new file must read back as the text meant: a cut or garbled file
// never takes the old one's place.
bool ReadsBackAs(const QString& copy, const QByteArray& text, QString* reason)
{
    QVariantMap back;
    if (!IniText::Read(copy, &back, reason))
        return false;
    if (IniText::Format(back) != text) {
        *reason = QStringLiteral("the new file does not read back as written");
        return false;
    }
    return true;
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
    return state_->values.value(IniText::NormalisedKey(key));
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
    return state_->values.contains(IniText::NormalisedKey(key));
}

bool IniFile::SetValue(const QString& key, const QVariant& value)
{
    return Change(key, &value);
}

bool IniFile::Remove(const QString& key)
{
    return Change(key, nullptr);
}

bool IniFile::Change(const QString& key, const QVariant* value)
{
    State& state = *state_;
    const std::lock_guard<std::mutex> lock(state.mutex);
    const QString shown = QDir::toNativeSeparators(state.path);
    QDir().mkpath(QFileInfo(state.path).absolutePath());
    QLockFile fileLock(state.path + QStringLiteral(".lock"));
    fileLock.setStaleLockTime(StaleLockMs);
    if (!fileLock.tryLock(LockWaitMs)) {
        const char* reason = fileLock.error() == QLockFile::LockFailedError ? "another process holds its lock"
            : fileLock.error() == QLockFile::PermissionError                ? "its lock cannot be made: no permission"
                                                                            : "its lock cannot be made";
        qWarning("cannot write %s: %s", qUtf8Printable(shown), reason);
        return false;
    }
    // Changes another process made meanwhile are kept.
    if (!state.Refresh())
        return false;
    QVariantMap values = state.values;
    ApplyChange(&values, IniText::NormalisedKey(key), value);
    if (values == state.values)
        return true;
    const QByteArray text = IniText::Format(values);
    const bool written = ReplaceFile(
        state.path, text, [&text](const QString& copy, QString* reason) { return ReadsBackAs(copy, text, reason); });
    if (!written)
        return false;
    state.values = values;
    state.identity = Identify(state.path);
    return true;
}
