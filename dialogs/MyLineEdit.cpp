#include "dialogs/MyLineEdit.h"

#include <QKeyEvent>

MyLineEdit::MyLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

void MyLineEdit::keyPressEvent(QKeyEvent*)
{
}

void MyLineEdit::keyReleaseEvent(QKeyEvent*)
{
}

bool MyLineEdit::event(QEvent* event)
{
    // Tab and Backtab move the focus before keyPressEvent() would see them.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return true;
    }
    return QLineEdit::event(event);
}
