#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Opens the desktop's own mouse settings, if the desktop has a program for it.
class MouseSettingsLauncher {
public:
    struct Command {
        QString desktop;    // the XDG_CURRENT_DESKTOP name it belongs to
        QString program;
        QStringList arguments;
    };

    // The known mouse settings programs; those of the running desktop first.
    static QVector<Command> KnownCommands();

    // Starts the first known program that is installed; false when none is
    // installed or it could not be started.
    static bool Start();

    // Tests of the pages put what Start does in place (an empty function
    // restores the real one), so that no test opens a settings program.
    using Launch = std::function<bool()>;
    static void SetLaunch(Launch launch);
};
