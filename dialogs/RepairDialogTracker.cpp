#include "dialogs/RepairDialogTracker.h"

#include "core/SharedState.h"

#include <QEvent>

QPointer<QWidget> RepairDialog;

void RepairDialogTracker::Track(QWidget* dialog)
{
    if (RepairDialog == dialog)
        return;
    if (RepairDialog) {
        const auto trackers = RepairDialog->findChildren<RepairDialogTracker*>(QString(), Qt::FindDirectChildrenOnly);
        for (RepairDialogTracker* tracker : trackers)
            delete tracker;
    }
    RepairDialog = dialog;
    RepairDialogShown = dialog && dialog->isVisible();
    if (!dialog)
        return;
    auto* tracker = new RepairDialogTracker(dialog);
    dialog->installEventFilter(tracker);
    connect(tracker, &QObject::destroyed, [] {
        if (!RepairDialog)
            RepairDialogShown = false;
    });
}

bool RepairDialogTracker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent()) {
        if (event->type() == QEvent::Show)
            RepairDialogShown = true;
        else if (event->type() == QEvent::Hide)
            RepairDialogShown = false;
    }
    return QObject::eventFilter(watched, event);
}
