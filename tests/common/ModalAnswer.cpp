#include "tests/common/ModalAnswer.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {
const int PollMs = 5;
const int StuckMs = 10000;

// A failure of the running test function, silent when that test has failed
// already (it would only repeat the cause); outside a test function a warning.
// Reported as a failed check, not with qFail, so that QEXPECT_FAIL applies.
void Fail(const char* message, const char* file, int line)
{
    if (!QTest::currentTestFunction()) {
        qWarning("%s (%s:%d)", message, file, line);
        return;
    }
    if (!QTest::currentTestFailed())
        QTest::qVerify(false, "ModalAnswer", message, file, line);
}

bool StillOpen(QWidget* dialog)
{
    return dialog && dialog->isVisible() && QApplication::activeModalWidget() == dialog;
}
} // namespace

struct ModalAnswer::State {
    Action action;
    const char* file;
    int line;
    QTimer poll;
    QTimer stuck;
    QPointer<QWidget> dialog;
    QString dialogClass;
    bool answered = false;
    bool cancelled = false;

    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll.stop();
        answered = true;
        dialog = modal;
        dialogClass = QString::fromLatin1(modal->metaObject()->className());
        // The dialog a user sees is the active window; key shortcuts need it.
        QApplication::setActiveWindow(modal);
        action(modal);
        // An answer that did not close the dialog would leave exec() running
        // for ever.
        stuck.start();
    }

    void CloseIfStuck()
    {
        if (!StillOpen(dialog))
            return;
        Fail("ModalAnswer: the dialog is still open after its answer", file, line);
        dialog->close();
    }
};

ModalAnswer::ModalAnswer(Action action, const char* file, int line)
    : state_(new State)
{
    state_->action = std::move(action);
    state_->file = file;
    state_->line = line;
    State* const state = state_.get();
    state->poll.setInterval(PollMs);
    QObject::connect(&state->poll, &QTimer::timeout, [state] { state->Poll(); });
    state->stuck.setSingleShot(true);
    state->stuck.setInterval(TestLimit(StuckMs));
    QObject::connect(&state->stuck, &QTimer::timeout, [state] { state->CloseIfStuck(); });
    state->poll.start();
}

ModalAnswer::ModalAnswer(ModalAnswer&& other) noexcept = default;

ModalAnswer::~ModalAnswer()
{
    if (!state_)
        return;
    if (state_->answered)
        state_->CloseIfStuck();
    else if (!state_->cancelled)
        Fail("ModalAnswer: no modal dialog came for this answer", state_->file, state_->line);
}

ModalAnswer ModalAnswer::Click(const QString& buttonName, const char* file, int line)
{
    return ModalAnswer(
        [buttonName, file, line](QWidget* dialog) {
            if (auto* button = dialog->findChild<QAbstractButton*>(buttonName)) {
                button->click();
                return;
            }
            const QByteArray message = "ModalAnswer: " + QByteArray(dialog->metaObject()->className())
                + " has no button " + buttonName.toUtf8();
            Fail(message.constData(), file, line);
            dialog->close();
        },
        file, line);
}

ModalAnswer ModalAnswer::Key(int key, const char* file, int line)
{
    return ModalAnswer(
        [key](QWidget* dialog) {
            QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
            QTest::keyClick(target, static_cast<Qt::Key>(key));
        },
        file, line);
}

bool ModalAnswer::Answered() const
{
    return state_ && state_->answered;
}

QString ModalAnswer::DialogClass() const
{
    return state_ ? state_->dialogClass : QString();
}

void ModalAnswer::Cancel()
{
    if (!state_)
        return;
    state_->poll.stop();
    state_->cancelled = true;
}
