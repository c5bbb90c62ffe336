#include "shell/mytoolButtonEnter.h"

mytoolButtonEnter::mytoolButtonEnter(QWidget* parent)
    : QToolButton(parent)
{
}

int mytoolButtonEnter::IndexOf(const QString& objectName)
{
    bool ok = false;
    const int index = QString(objectName).remove(QStringLiteral("btn")).toInt(&ok);
    return ok ? index : -1;
}

void mytoolButtonEnter::enterEvent(QEvent* event)
{
    const int index = IndexOf(objectName());
    if (index >= 0)
        emit Entered(index);
    QToolButton::enterEvent(event);
}
