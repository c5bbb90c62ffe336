#include "tests/common/ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace {
const int StuckMs = 10000;
QString lastDialogClass;

void Poll(const std::shared_ptr<QElapsedTimer>& clock, ModalAnswer::Action action, int timeoutMs)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
        lastDialogClass = QString::fromLatin1(modal->metaObject()->className());
        // The dialog a user sees is the active window; key shortcuts need it.
        QApplication::setActiveWindow(modal);
        action(modal);
        // An answer that did not close the dialog would leave exec() running
        // for ever: fail the test and close it.
        QPointer<QWidget> answered(modal);
        QTimer::singleShot(StuckMs, qApp, [answered] {
            if (answered && answered->isVisible() && QApplication::activeModalWidget() == answered) {
                QTest::qFail("ModalAnswer: the dialog is still open after its answer", __FILE__, __LINE__);
                answered->close();
            }
        });
        return;
    }
    if (clock->elapsed() > timeoutMs) {
        qWarning("ModalAnswer: no modal dialog appeared within %d ms", timeoutMs);
        return;
    }
    QTimer::singleShot(5, qApp, [clock, action, timeoutMs] { Poll(clock, action, timeoutMs); });
}
} // namespace

void ModalAnswer::Later(Action action, int timeoutMs)
{
    lastDialogClass.clear();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, qApp, [clock, action, timeoutMs] { Poll(clock, action, timeoutMs); });
}

void ModalAnswer::Click(const QString& buttonName, int timeoutMs)
{
    Later(
        [buttonName](QWidget* dialog) {
            auto* button = dialog->findChild<QAbstractButton*>(buttonName);
            if (!button) {
                qWarning("ModalAnswer: %s has no button %s", dialog->metaObject()->className(),
                         qPrintable(buttonName));
                return;
            }
            button->click();
        },
        timeoutMs);
}

void ModalAnswer::Key(int key, int timeoutMs)
{
    Later(
        [key](QWidget* dialog) {
            QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
            QTest::keyClick(target, static_cast<Qt::Key>(key));
        },
        timeoutMs);
}

QString ModalAnswer::LastDialogClass()
{
    return lastDialogClass;
}
