#include "platform/MouseSettingsLauncher.h"

#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <mutex>

namespace {
std::mutex LaunchMutex;

MouseSettingsLauncher::Launch& ReplacedLaunch()
{
    static MouseSettingsLauncher::Launch launch;
    return launch;
}
} // namespace

QVector<MouseSettingsLauncher::Command> MouseSettingsLauncher::KnownCommands()
{
    QVector<Command> commands = {
        {QStringLiteral("GNOME"), QStringLiteral("gnome-control-center"), {QStringLiteral("mouse")}},
        {QStringLiteral("KDE"), QStringLiteral("kcmshell6"), {QStringLiteral("kcm_mouse")}},
        {QStringLiteral("KDE"), QStringLiteral("kcmshell5"), {QStringLiteral("kcm_mouse")}},
        {QStringLiteral("XFCE"), QStringLiteral("xfce4-mouse-settings"), {}},
        {QStringLiteral("X-Cinnamon"), QStringLiteral("cinnamon-settings"), {QStringLiteral("mouse")}},
        {QStringLiteral("MATE"), QStringLiteral("mate-mouse-properties"), {}},
        {QStringLiteral("Budgie"), QStringLiteral("budgie-control-center"), {QStringLiteral("mouse")}},
        {QStringLiteral("LXQt"), QStringLiteral("lxqt-config-input"), {}},
        {QStringLiteral("LXDE"), QStringLiteral("lxinput"), {}},
    };
    // XDG_CURRENT_DESKTOP is a colon-separated list, for example "ubuntu:GNOME".
    const QStringList current = QString::fromLocal8Bit(qgetenv("XDG_CURRENT_DESKTOP"))
                                    .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    std::stable_partition(commands.begin(), commands.end(), [&current](const Command& command) {
        return current.contains(command.desktop, Qt::CaseInsensitive);
    });
    return commands;
}

void MouseSettingsLauncher::SetLaunch(Launch launch)
{
    const std::lock_guard<std::mutex> lock(LaunchMutex);
    ReplacedLaunch() = std::move(launch);
}

bool MouseSettingsLauncher::Start()
{
    Launch replaced;
    {
        const std::lock_guard<std::mutex> lock(LaunchMutex);
        replaced = ReplacedLaunch();
    }
    if (replaced)
        return replaced();
    for (const Command& command : KnownCommands()) {
        const QString program = QStandardPaths::findExecutable(command.program);
        if (!program.isEmpty())
            return QProcess::startDetached(program, command.arguments);
    }
    return false;
}
