#pragma once

#include <QSize>

class QWidget;

// Where the program puts a dialog before it runs: centred over the window or
// page that opens it, then moved by fixed offsets (negative: left or up).
class DialogPlacement {
public:
    static void CentreOver(QWidget* dialog, const QWidget* owner, int dx = 0, int dy = 0);
    // As above, centring as if the dialog had the given size.
    static void CentreOver(QWidget* dialog, const QWidget* owner, const QSize& dialogSize,
                           int dx = 0, int dy = 0);
    // A top window centred in the free area of the screen under the pointer
    // (the primary screen when none is).
    // Placed by the program rather than by the window manager: a manager that
    // reparents a frameless window it placed itself may leave Qt unaware of
    // where it went, and lists and dialogs would then open away from their
    // boxes.
    static void CentreOnScreen(QWidget* window);
};
