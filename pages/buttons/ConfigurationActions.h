#pragma once

#include "core/FlashDataMap.h"

#include <QString>

class QWidget;

// The button page's actions on the whole configuration: export to a file,
// import from one, reset to the defaults. Each dialog sits over the page;
// a failure says so in a notice. GUI thread.
class ConfigurationActions {
public:
    // Writes the configuration export file; false (logged, and a notice over
    // the page) when it cannot.
    static bool Export(QWidget* page, const QString& path, const FlashDataMap& image);
    // The file chooser, then the export of the live image.
    static void ChooseAndExport(QWidget* page);
    // Offline: the offline notice. Else the file chooser, then the import
    // with its wait dialog.
    static void Import(QWidget* page);
    // Offline: the offline notice. Else the question, then the device's
    // settings cleared and read again behind the wait dialog.
    static void Reset(QWidget* page);
    // Whether the current device answers now.
    static bool DeviceAnswers();
};
