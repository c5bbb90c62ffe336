#include "core/DebugLog.h"

Q_LOGGING_CATEGORY(DebugLog, "talvire", QtInfoMsg)
