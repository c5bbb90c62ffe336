#pragma once

#include <QString>

#include <functional>

class QWidget;

// Answers the modal dialog that the code under test is about to run with
// exec(): from a timer, waits until QApplication::activeModalWidget() is
// there (at most timeoutMs), makes it the active window and acts on it. Set
// it up before the call that opens the dialog. A dialog still open 10 s after
// its answer fails the test and is closed, so exec() cannot hang a test.
//
//     ModalAnswer::Click(QStringLiteral("OK"));
//     page.on_Reset_clicked();        // runs ContainReset::exec()
class ModalAnswer {
public:
    using Action = std::function<void(QWidget* dialog)>;

    // Runs the action on the next modal widget.
    static void Later(Action action, int timeoutMs = 5000);
    // Clicks the dialog's button (any QAbstractButton) of that object name.
    static void Click(const QString& buttonName, int timeoutMs = 5000);
    // Sends a key press and release to the dialog's focus widget (or the dialog).
    static void Key(int key, int timeoutMs = 5000);

    // What the last answer saw: the class name of the modal widget ("" when
    // none appeared in time).
    static QString LastDialogClass();
};
