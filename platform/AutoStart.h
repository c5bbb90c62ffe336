#pragma once

#include <QString>

// Starting the program with the desktop session, through the XDG autostart
// entry "$XDG_CONFIG_HOME/autostart/TALVIRE.desktop".
class AutoStart {
public:
    static QString EntryPath();

    // Writes the entry that runs program (this program when empty); false when
    // it could not be written.
    static bool Enable(const QString& program = QString());
    // Removes the entry; false when it is still there afterwards.
    static bool Disable();
    static bool SetEnabled(bool on);

    // Whether the session starts the program: the entry exists and the desktop
    // has not hidden or switched it off.
    static bool IsEnabled();

    // program as one argument of an entry's "Exec" key, quoted and escaped.
    static QString ExecArgument(const QString& program);
};
