#pragma once

#include <QString>

// The per-user folder of the program: $XDG_DATA_HOME/TALVIRE (by default
// ~/.local/share/TALVIRE). Every per-user sub-path lies below it.
QString UserDataFolder();
