#pragma once

#include "dialogs/ExeIsRun.h"

#include <QString>

#include <functional>

class MacroRows;
class QWidget;

namespace Ui {
class Macro;
}

// A single macro exported to and imported from a file of the user's choice
// (MacroExportFile), through the file chooser. GUI thread; part of the macro
// page, which makes it after its form.
class MacroExportImport {
public:
    // What the export and the import ask the page.
    struct Page {
        // The page: the file chooser sits over it.
        QWidget* widget = nullptr;
        // The macro folder.
        QString folder;
        // The repeat code of the page's repeat controls.
        std::function<int()> repeatCode;
        // Tells the user that an action on a macro failed.
        std::function<void(ExeIsRun::Failure failure)> failed;
        // Tells the user that a macro of that name exists.
        std::function<void()> nameTaken;
        // The repeat controls show a repeat code, quietly (nothing is marked
        // changed).
        std::function<void(int code)> showRepeat;
        // A change of the current macro that is the page's own, not the
        // user's, begins (true) or ends (false): meanwhile a change loads
        // nothing.
        std::function<void(bool on)> ownChange;
    };

    MacroExportImport(Ui::Macro* ui, const MacroRows& rows, Page page);

    // The current macro to a file of the user's choice.
    void Export();
    // A macro from a file of the user's choice, checked whole first; a name
    // already in use or a file that is no export gets its notice.
    void Import();

private:
    Ui::Macro* ui;
    const MacroRows& rows_;
    Page page_;
};
