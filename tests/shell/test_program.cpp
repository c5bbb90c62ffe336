// The program itself on a real X server, as the run command starts it: it
// shows the device list with the simulated mouse, a second start shows the
// running-instance notice and ends with 0, and a termination request closes
// it in order (exit code 0, no crash report).
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
constexpr int Patience = 30000;   // ms: the sanitizer builds start slowly
} // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private:
    QString xdotool;
    QTemporaryDir temp;

    // Output of an xdotool command; "" when it failed.
    QString XDo(const QStringList& arguments, int timeoutMs = 10000)
    {
        QProcess process;
        process.start(xdotool, arguments);
        if (!process.waitForFinished(timeoutMs) || process.exitCode() != 0)
            return QString();
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }

    // The id of the first visible window whose name matches, waiting for it.
    QString WaitForWindow(const QString& name)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < Patience) {
            const QString ids = XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                     name});
            if (!ids.isEmpty())
                return ids.split(QLatin1Char('\n')).first();
            QTest::qWait(200);
        }
        return QString();
    }

    QRect Geometry(const QString& window)
    {
        const QString shell = XDo({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
        QMap<QString, int> values;
        for (const QString& line : shell.split(QLatin1Char('\n'))) {
            const QStringList parts = line.split(QLatin1Char('='));
            if (parts.size() == 2)
                values[parts.at(0)] = parts.at(1).toInt();
        }
        return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                     values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT")));
    }

    void StartProgram(QProcess& process)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // The single-instance segment is keyed by a file of the temporary
        // folder: a folder of its own keeps other tests' instances apart.
        environment.insert(QStringLiteral("TMPDIR"), temp.path());
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/talvire-control"), QStringList());
        QVERIFY(process.waitForStarted());
    }

    QStringList CrashReports()
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                    + QStringLiteral("/TALVIRE/Exception"))
            .entryList({QStringLiteral("*.dmp")}, QDir::Files);
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server: run under xvfb-run");
        xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xdotool.isEmpty())
            QSKIP("needs xdotool");
        QVERIFY(temp.isValid());
    }

    void startsSecondStartEndsTerminationCloses()
    {
        QProcess first;
        StartProgram(first);
        const QString window = WaitForWindow(QStringLiteral("^TALVIRE$"));
        QVERIFY2(!window.isEmpty(), first.readAll().constData());
        // The device list finds the simulated mouse within a moment.
        QTest::qWait(1500);
        const QRect frame = Geometry(window);
        QCOMPARE(frame.size(), QSize(1020, 700));
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        const QImage shot = screen.copy(frame);
        {
            // The window's ground, and the device's card in its middle.
            const QColor ground = shot.pixelColor(100, 300);
            QVERIFY2(ground.lightness() > 10 && ground.lightness() < 60, qPrintable(ground.name()));
            const QColor card = shot.pixelColor(510, 260);
            QVERIFY2(card != ground, qPrintable(card.name() + QLatin1Char(' ') + ground.name()));
        }
        QLabel view;
        view.setPixmap(QPixmap::fromImage(shot));
        view.resize(shot.size());
        QVERIFY(!SaveScreenshot(&view, QStringLiteral("program_start")).isEmpty());

        // A second start: the running-instance notice; its button ends it with 0.
        QProcess second;
        StartProgram(second);
        const QString notice = WaitForWindow(QStringLiteral("^Dialog$"));
        QVERIFY2(!notice.isEmpty(), second.readAll().constData());
        const QRect box = Geometry(notice);
        QCOMPARE(box.size(), QSize(300, 140));
        const QImage noticeShot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(box);
        view.setPixmap(QPixmap::fromImage(noticeShot));
        view.resize(noticeShot.size());
        QVERIFY(!SaveScreenshot(&view, QStringLiteral("program_second_start")).isEmpty());
        const QPoint button = box.topLeft() + QPoint(105 + 45, 100 + 12);
        XDo({QStringLiteral("mousemove"), QString::number(button.x()), QString::number(button.y()),
             QStringLiteral("click"), QStringLiteral("1")});
        QVERIFY2(second.waitForFinished(Patience), second.readAll().constData());
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // A termination request: the program closes in order.
        first.terminate();
        QVERIFY(first.waitForFinished(Patience));
        const QByteArray output = first.readAll();
        QCOMPARE(first.exitStatus(), QProcess::NormalExit);
        QVERIFY2(first.exitCode() == 0, output.constData());
        QVERIFY2(output.contains("close"), output.constData());
        QVERIFY2(CrashReports().isEmpty(), qPrintable(CrashReports().join(QLatin1Char(' '))));
    }
};

TALVIRE_TEST_MAIN(ProgramTest)
#include "test_program.moc"
