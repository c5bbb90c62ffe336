#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

// Answers the modal dialog that the code under test is about to run with
// exec(): from a timer, waits until QApplication::activeModalWidget() is
// there, makes it the active window and acts on it, once. Set it up before the
// call that opens the dialog, as an object of the test function: the answer
// ends with that object, so it never acts in a later test on variables that
// are gone.
//
// An answer that goes without having acted (and was not cancelled) fails the
// test it belongs to, at the line where it was set up, unless that test has
// failed already. A dialog still open 10 s (a test ceiling: TestLimit) after
// its answer fails the test and is closed, so exec() cannot hang a test.
//
//     ModalAnswer answer = ModalAnswer::Click(QStringLiteral("OK"));
//     page.on_Reset_clicked();        // runs ContainReset::exec()
//     QCOMPARE(answer.DialogClass(), QStringLiteral("ContainReset"));
class ModalAnswer {
public:
    using Action = std::function<void(QWidget* dialog)>;

    // Runs the action on the next modal widget. file and line: where the
    // answer was set up, for the failure when no dialog came.
    explicit ModalAnswer(Action action, const char* file = __builtin_FILE(), int line = __builtin_LINE());
    ModalAnswer(ModalAnswer&& other) noexcept;
    ModalAnswer& operator=(ModalAnswer&&) = delete;
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;
    ~ModalAnswer();

    // Clicks the dialog's button (any QAbstractButton) of that object name.
    [[nodiscard]] static ModalAnswer Click(const QString& buttonName, const char* file = __builtin_FILE(),
                                           int line = __builtin_LINE());
    // Sends a key press and release to the dialog's focus widget (or the dialog).
    [[nodiscard]] static ModalAnswer Key(int key, const char* file = __builtin_FILE(), int line = __builtin_LINE());

    // Whether the answer has acted on a dialog.
    bool Answered() const;
    // The class name of the dialog it acted on; "" before.
    QString DialogClass() const;
    // Stops waiting: for a dialog that is not to come (the test checks that
    // it did not); the answer then goes without a failure.
    void Cancel();

private:
    struct State;
    std::unique_ptr<State> state_;
};
