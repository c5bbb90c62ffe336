#pragma once

#include <QString>

// The product name "TALVIRE": per-user folder, single-instance key, registry
// file, autostart entry, window titles.
extern const QString ProductName;
