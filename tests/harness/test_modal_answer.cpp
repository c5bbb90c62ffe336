// The tests' own helpers. The answers to modal dialogs that tests set up: each
// belongs to its test, so a pending one never acts in a later test, and one
// that never acted fails the test it was set up in. A body run on another
// thread that outlives its ceiling fails its test, not the program.
#include "tests/common/ModalAnswer.h"
#include "tests/common/OtherThread.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include <atomic>

namespace {
// Answers given by answers whose test had ended.
int staleAnswers = 0;

// Set once RunOnOtherThread has said that it gave up waiting within the ceiling.
std::atomic<bool> ceilingPassed{false};
QtMessageHandler previousHandler = nullptr;

void NoteCeilingPassed(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("RunOnOtherThread:")))
        ceilingPassed = true;
    previousHandler(type, context, message);
}
} // namespace

class ModalAnswerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
    }

    // A test that ends before its dialog came: its answer fails it, here.
    void anUnusedAnswerFailsItsTest()
    {
        QEXPECT_FAIL("", "no dialog comes for this answer", Continue);
        ModalAnswer pending([](QWidget* dialog) {
            ++staleAnswers;
            static_cast<QDialog*>(dialog)->accept();
        });
    }

    // The next test's dialog is answered only by that test's own answer.
    void aLaterDialogGetsOnlyItsOwnAnswer()
    {
        QDialog dialog;
        ModalAnswer answer([](QWidget* shown) { static_cast<QDialog*>(shown)->reject(); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(answer.Answered());
        QCOMPARE(answer.DialogClass(), QStringLiteral("QDialog"));
        QCOMPARE(staleAnswers, 0);
    }

    // A cancelled answer, for a dialog that is not to come, goes quietly and
    // acts no more.
    void aCancelledAnswerGoesQuietly()
    {
        bool acted = false;
        {
            ModalAnswer cancelled([&acted](QWidget*) { acted = true; });
            cancelled.Cancel();
            QDialog dialog;
            ModalAnswer answer([](QWidget* shown) { static_cast<QDialog*>(shown)->reject(); });
            dialog.exec();
        }
        QVERIFY(!acted);
    }

    // A click on a button the dialog lacks fails the test and ends the dialog
    // at once (a dialog left open would be closed by the answer's ceiling,
    // with a second failure that nothing expects).
    void aMissingButtonFailsAndCloses()
    {
        QDialog dialog;
        auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setObjectName(QStringLiteral("OK"));
        QEXPECT_FAIL("", "the dialog has no such button", Continue);
        ModalAnswer answer = ModalAnswer::Click(QStringLiteral("Missing"));
        dialog.exec();
        QCOMPARE(answer.DialogClass(), QStringLiteral("QDialog"));
    }

    // A body still running at its ceiling (here it runs until the ceiling has
    // passed) fails the test function; it is then waited for while events are
    // served (its blocking call to this thread is answered), and its thread is
    // joined instead of being destroyed while it runs.
    void aBodyPastItsCeilingIsWaitedFor()
    {
        ceilingPassed = false;
        previousHandler = qInstallMessageHandler(NoteCeilingPassed);
        bool served = false;
        std::atomic<bool> ended{false};
        QEXPECT_FAIL("", "the body outlives its ceiling", Continue);
        const bool inTime = RunOnOtherThread(
            [&] {
                WaitWithoutEvents([] { return ceilingPassed.load(); }, DefaultTestLimit());
                QMetaObject::invokeMethod(qApp, [&served] { served = true; }, Qt::BlockingQueuedConnection);
                ended = true;
            },
            1);
        qInstallMessageHandler(previousHandler);
        QVERIFY(!inTime);
        QVERIFY(ended);
        QVERIFY(served);
    }
};

TALVIRE_TEST_MAIN(ModalAnswerTest)
#include "test_modal_answer.moc"
