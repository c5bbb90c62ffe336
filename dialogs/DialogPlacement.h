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
};
