#include "tests/common/TestEnvironment.h"

#include <QDir>

namespace {
void SetFolder(const char* variable, const QString& path)
{
    QDir().mkpath(path);
    qputenv(variable, QFile::encodeName(path));
}
} // namespace

TestEnvironment::TestEnvironment()
    : dir_(QDir::tempPath() + QStringLiteral("/talvire-test-XXXXXX"))
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The simulated link moves reports without taking time, unless a test
    // (or the caller) asks for it.
    if (qEnvironmentVariableIsEmpty("TALVIRE_LINK_REPORT_MS"))
        qputenv("TALVIRE_LINK_REPORT_MS", "0");
    const QString base = dir_.path();
    SetFolder("HOME", base + QStringLiteral("/home"));
    SetFolder("XDG_DATA_HOME", base + QStringLiteral("/home/.local/share"));
    SetFolder("XDG_CONFIG_HOME", base + QStringLiteral("/home/.config"));
    SetFolder("XDG_CACHE_HOME", base + QStringLiteral("/home/.cache"));
    SetFolder("XDG_RUNTIME_DIR", base + QStringLiteral("/runtime"));
    QFile::setPermissions(base + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TestEnvironment::~TestEnvironment() = default;

QString TestEnvironment::home() const
{
    return dir_.path() + QStringLiteral("/home");
}
