#include "widgets/MySlider.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>

MySlider::MySlider(QWidget* parent)
    : QSlider(parent)
{
}

void MySlider::mousePressEvent(QMouseEvent* event)
{
    QSlider::mousePressEvent(event);
    // A slider without width (not laid out yet) has no position to jump to.
    if (width() > 0) {
        const double share = double(event->pos().x()) / double(width());
        setValue(minimum() + int(share * double(maximum() - minimum())));
    }
    if (QWidget* parent = parentWidget()) {
        QEvent pressed(static_cast<QEvent::Type>(PressEventType));
        QCoreApplication::sendEvent(parent, &pressed);
    }
}
