#include "dialogs/DialogPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void DialogPlacement::CentreOver(QWidget* dialog, const QWidget* owner, int dx, int dy)
{
    CentreOver(dialog, owner, dialog->size(), dx, dy);
}

void DialogPlacement::CentreOver(QWidget* dialog, const QWidget* owner, const QSize& dialogSize,
                                 int dx, int dy)
{
    const QPoint corner = owner->mapToGlobal(QPoint(0, 0));
    // Integer halves, truncated toward zero.
    dialog->move(corner.x() + (owner->width() - dialogSize.width()) / 2 + dx,
                 corner.y() + (owner->height() - dialogSize.height()) / 2 + dy);
}

void DialogPlacement::CentreOnScreen(QWidget* window)
{
    // The screen the user works on: the one under the pointer, else the
    // primary one.
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // A window larger than the room keeps its title band on the screen.
    window->move(room.x() + qMax(0, (room.width() - window->width()) / 2),
                 room.y() + qMax(0, (room.height() - window->height()) / 2));
}
