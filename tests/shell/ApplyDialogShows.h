#pragma once

#include "dialogs/UpDataParam.h"

#include <QEvent>
#include <QObject>

// Counts how often the apply dialog was shown; installed on the application,
// since the frame that makes the dialog is built by the pick.
class ApplyDialogShows : public QObject {
public:
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<UpDataParam*>(watched))
            ++shown;
        return false;
    }
};
