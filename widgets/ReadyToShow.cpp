#include "widgets/ReadyToShow.h"

#include <QCoreApplication>
#include <QLayout>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QWidget>

namespace {
// The events a first show sends a widget whose geometry was set while it was
// hidden.
void SendPendingGeometryEvents(QWidget* widget)
{
    if (widget->testAttribute(Qt::WA_PendingMoveEvent)) {
        QMoveEvent move(widget->pos(), widget->pos());
        QCoreApplication::sendEvent(widget, &move);
        widget->setAttribute(Qt::WA_PendingMoveEvent, false);
    }
    if (widget->testAttribute(Qt::WA_PendingResizeEvent)) {
        QResizeEvent resize(widget->size(), QSize());
        QCoreApplication::sendEvent(widget, &resize);
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
}
} // namespace

void MakeReadyToShow(QWidget* widget)
{
    widget->ensurePolished();
    SendPendingGeometryEvents(widget);
    // Parents before their children, as a show goes; hidden children wait
    // for their own show.
    const QList<QWidget*> children = widget->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (!child->isWindow() && child->isVisibleTo(widget))
            SendPendingGeometryEvents(child);
    }
    if (QLayout* layout = widget->layout())
        layout->activate();
    widget->grab();
}
