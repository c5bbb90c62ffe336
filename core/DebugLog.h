#pragma once

#include <QLoggingCategory>

// The program's short debug markers ("close", "Start", the steps of a device
// read and of pairing) go through this one category, "talvire", as debug
// messages. They are quiet by default; QT_LOGGING_RULES="talvire.debug=true"
// shows them.
// Warnings are not markers: they stay qWarning and are always shown.
Q_DECLARE_LOGGING_CATEGORY(DebugLog)
