#pragma once

#include "core/FlashDataMap.h"

#include <QString>

#include <functional>

class MacroRows;

namespace Ui {
class Macro;
}

// A macro between the macro editor and the mouse: the block a device button
// carries joins the macro list and its events the macro's file; a saved
// macro's block goes to a device button. GUI thread; part of the macro page,
// which makes it after its form.
class MacroDeviceTransfer {
public:
    // What the transfer asks the page.
    struct Page {
        // The macro folder.
        QString folder;
        // Whether the page shows this macro as it was saved (its rows
        // unchanged since).
        std::function<bool(const QString& name)> showsSaved;
        // A change of the current macro that is the page's own, not the
        // user's, begins (true) or ends (false): meanwhile a change loads
        // nothing.
        std::function<void(bool on)> ownChange;
    };

    MacroDeviceTransfer(Ui::Macro* ui, MacroRows& rows, Page page);

    // The block of a device button (0-15) shown from the device: its macro
    // joins the list, its events the macro's file.
    void FromDevice(const FlashDataMap& image, int button);
    // A saved macro's block to a device button: the rows shown when that
    // macro is shown unchanged, else its file's.
    void ToDevice(QString name, int button);

private:
    Ui::Macro* ui;
    MacroRows& rows_;
    Page page_;
};
