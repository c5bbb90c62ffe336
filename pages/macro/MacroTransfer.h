#pragma once

#include "core/FlashDataMap.h"

#include <QString>

class Macro;

// A macro in and out of the macro editor: a macro block a mouse button
// carries into the list and its file, a macro's block to a mouse button, and
// a single macro exported to and imported from a file of the user's choice
// (MacroExportFile). GUI thread; part of the page, which makes it.
class MacroTransfer {
public:
    explicit MacroTransfer(Macro* page);

    // The block of a device button (0-15) shown from the device: its macro
    // joins the list, its events the macro's file.
    void FromDevice(const FlashDataMap& image, int button);
    // A saved macro's block to a device button: the rows shown when that
    // macro is shown unchanged, else its file's.
    void ToDevice(QString name, int button);
    // The current macro to a file of the user's choice.
    void Export();
    // A macro from a file of the user's choice, checked whole first; a name
    // already in use or a file that is no export gets its notice.
    void Import();

private:
    Macro* page_;
};
