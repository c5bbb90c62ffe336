#include "dialogs/DialogPlacement.h"

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
