#pragma once

#include "tests/common/TestEnvironment.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QtTest>

// A person chooses an entry of a drop-down list: opens it and clicks the
// entry (also the entry already shown, which then is chosen again).
inline bool ChooseEntry(QComboBox* list, int index)
{
    list->showPopup();
    QAbstractItemView* view = list->view();
    if (!QTest::qWaitForWindowExposed(view->window(), DefaultTestLimit()))
        return false;
    const QRect entry = view->visualRect(view->model()->index(index, list->modelColumn()));
    if (!entry.isValid())
        return false;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, entry.center());
    return QTest::qWaitFor([view] { return !view->window()->isVisible(); }, DefaultTestLimit());
}
