// Real keys through a real X server: the key dialog, run modally as the
// program runs it, takes the keyboard focus by itself (nothing focuses it from
// outside), keeps it when the user clicks another window of the program and
// then the dialog again, and names the key that X reported. With a window
// manager installed (openbox) the test runs under it, where an unmanaged
// dialog must still get the focus.
#include "dialogs/MessageDialog.h"
#include "dialogs/addKey.h"
#include "tests/common/DesktopProgram.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

class AddKeyX11Test : public QObject {
    Q_OBJECT

    QString xdotool_;
    DesktopProgram windowManager_;
    bool managed_ = false;

    // Runs xdotool while this event loop keeps running (the dialog answers
    // X meanwhile); false when it failed. Its output goes to *output.
    bool XDo(const QStringList& arguments, QString* output = nullptr)
    {
        QProcess process;
        process.start(xdotool_, arguments);
        const QDeadlineTimer ceiling(TestLimit(10000));
        while (process.state() != QProcess::NotRunning && !ceiling.hasExpired())
            QTest::qWait(10);
        if (output)
            *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // The X window that has the keyboard focus is the widget's.
    bool HasXFocus(QWidget* window)
    {
        return QTest::qWaitFor(
            [&] {
                QString focus;
                return XDo({QStringLiteral("getwindowfocus")}, &focus) && focus == QString::number(window->winId());
            }, TestLimit(5000));
    }

    // A key typed to whatever window has the focus.
    bool Type(const QString& keysym)
    {
        return XDo({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keysym});
    }

    bool Click(QWidget* widget)
    {
        const QPoint point = widget->mapToGlobal(widget->rect().center());
        return XDo({QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y()),
                    QStringLiteral("click"), QStringLiteral("1")});
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server: run under xvfb-run");
        xdotool_ = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xdotool_.isEmpty())
            QSKIP("needs xdotool");
        managed_ = windowManager_.Start(QStringLiteral("openbox"));
        if (managed_)
            QVERIFY(DesktopProgram::WaitForWindowManager(TestLimit(20000)));
        qInfo("window manager: %s", managed_ ? "openbox" : "none");
    }

    // The family's flags: the window manager leaves the dialog alone, and Qt
    // hands it the focus itself when it opens modally.
    void unmanagedWindow()
    {
        addKey dialog;
        QVERIFY(dialog.windowFlags() & Qt::BypassWindowManagerHint);
        QCOMPARE(dialog.windowFlags(), MessageDialog::FamilyFlags() | Qt::Window);
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
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        QVERIFY(HasXFocus(&dialog));
        QVERIFY(Type(keysym));
        TRY_COMPARE(dialog.KeyName, name);
        // The field also takes the typed character until the key's release
        // names the key again: on a busy machine the release comes later.
        TRY_COMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("lineEdit"))->text(), name);
        QVERIFY(dialog.isVisible());
    }

    // The macro editor's way over the program's window: exec(), a key, a
    // click on the window behind and back on the dialog's field, another
    // key, OK.
    void execOverTheWindowThenOk()
    {
        QWidget window;
        window.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
        window.resize(600, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, DefaultTestLimit()));

        addKey dialog;
        QStringList seen;
        bool focused = false;
        bool refocused = false;
        QTimer::singleShot(0, &dialog, [&] {
            focused = QTest::qWaitForWindowExposed(&dialog, DefaultTestLimit()) && HasXFocus(&dialog);
            if (focused && Type(QStringLiteral("KP_Divide"))
                && QTest::qWaitFor([&] { return !dialog.KeyName.isEmpty(); }, TestLimit(5000)))
                seen << dialog.KeyName;
            dialog.KeyName.clear();
            if (Click(&window) && Click(dialog.findChild<QLineEdit*>(QStringLiteral("lineEdit")))) {
                refocused = HasXFocus(&dialog);
                if (Type(QStringLiteral("F7")) && QTest::qWaitFor([&] { return !dialog.KeyName.isEmpty(); }, TestLimit(5000)))
                    seen << dialog.KeyName;
            }
            dialog.findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(focused);
        QVERIFY(refocused);
        QCOMPARE(seen, (QStringList{QStringLiteral("Num/"), QStringLiteral("F7")}));
        QVERIFY(dialog.Confirmed);
        QCOMPARE(dialog.KeyName, QStringLiteral("F7"));
    }
};

TALVIRE_TEST_MAIN(AddKeyX11Test)
#include "test_addkey_x11.moc"
