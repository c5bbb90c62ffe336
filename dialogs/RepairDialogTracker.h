#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// The settings page's update and repair dialog, once it exists (GUI thread).
// Set it through RepairDialogTracker::Track, which keeps the process-wide
// RepairDialogShown flag in step with the dialog's visibility, so that code
// below the windows (the worker) can ask without touching a widget.
extern QPointer<QWidget> RepairDialog;

class RepairDialogTracker : public QObject {
    Q_OBJECT
public:
    // Makes dialog (or nobody) the update and repair dialog.
    static void Track(QWidget* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
