// Real keys through a real X server: xdotool types into the addKey dialog
// shown on Xvfb, and the dialog names the key that X reported.
#include "dialogs/addKey.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class AddKeyX11Test : public QObject {
    Q_OBJECT

    QString xdotool_;

    // xdotool key <keysym>, with the dialog's window focused first.
    bool Type(QWidget* window, const QString& keysym)
    {
        QProcess process;
        process.start(xdotool_, {QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                                 QString::number(window->winId()), QStringLiteral("key"),
                                 QStringLiteral("--clearmodifiers"), keysym});
        // The events arrive through this event loop: keep it running.
        QElapsedTimer clock;
        clock.start();
        while (process.state() != QProcess::NotRunning && clock.elapsed() < 10000)
            QTest::qWait(10);
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server: run under xvfb-run");
        xdotool_ = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xdotool_.isEmpty())
            QSKIP("needs xdotool");
    }

    void keys_data()
    {
        QTest::addColumn<QString>("keysym");
        QTest::addColumn<QString>("name");
        QTest::newRow("a") << "a" << "A";
        QTest::newRow("right Shift") << "Shift_R" << "RShift";
        QTest::newRow("left Ctrl") << "Control_L" << "LCtrl";
        QTest::newRow("right Ctrl") << "Control_R" << "RCtrl";
        QTest::newRow("left Win") << "Super_L" << "LWin";
        QTest::newRow("keypad 1") << "KP_1" << "Num1";
        QTest::newRow("F5") << "F5" << "F5";
        QTest::newRow("bracket") << "bracketleft" << "[";
        QTest::newRow("Escape") << "Escape" << "Esc";
        QTest::newRow("Return") << "Return" << "Enter";
    }

    // Each key shown in the field and held as the name; Escape and Return do
    // not end the dialog.
    void keys()
    {
        QFETCH(QString, keysym);
        QFETCH(QString, name);
        addKey dialog;
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(Type(&dialog, keysym));
        QTRY_COMPARE(dialog.KeyName, name);
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("lineEdit"))->text(), name);
        QVERIFY(dialog.isVisible());
    }

    // The macro editor's way: exec(), a key, OK.
    void execThenOk()
    {
        addKey dialog;
        bool typed = false;
        QTimer::singleShot(0, &dialog, [&] {
            if (QTest::qWaitForWindowActive(&dialog)) {
                typed = Type(&dialog, QStringLiteral("KP_Divide"));
                typed = typed && QTest::qWaitFor([&] { return !dialog.KeyName.isEmpty(); }, 5000);
            }
            dialog.findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(typed);
        QVERIFY(dialog.Confirmed);
        QCOMPARE(dialog.KeyName, QStringLiteral("Num/"));
    }
};

TALVIRE_TEST_MAIN(AddKeyX11Test)
#include "test_addkey_x11.moc"
