// The program itself on a real X server, as the run command starts it: it
// shows the device list with the simulated mouse, a second start shows the
// running-instance notice with the keyboard focus and ends with 0 on Return, and a termination request closes
// it in order (exit code 0, no crash report); it loads no OpenGL driver and
// prints nothing on a device click unless its markers are asked for. With a
// window manager and a system tray, the minimise button puts it in the tray,
// and the tray icon and its menu bring it back and end it, without a crash.
// Beside a panel the window opens centred in the screen's free area, and the
// title bar's language list opens at its box. A termination request ends it
// in order also from inside a dialog, with the settings written. On two
// screens it opens on the one under the pointer. A window a manager lost as
// it came up shows once the manager is up.
#include "platform/Registry.h"
#include "tests/common/DesktopProgram.h"
#include "tests/common/Screenshot.h"
#include "tests/common/StartingWindowManager.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
// ms, a ceiling: the sanitizer builds start slowly, the more so on a busy machine
const int Patience = TestLimit(24000);
} // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private:
    QString xdotool;
    QTemporaryDir temp;
    QString runtime;

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

    // Whether the device list shows the simulated mouse's card: the window's
    // ground, and the card in its middle in another colour.
    static bool CardShown(const QRect& frame)
    {
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(frame);
        const QColor ground = shot.pixelColor(100, 300);
        return ground.lightness() > 10 && ground.lightness() < 60 && shot.pixelColor(510, 260) != ground;
    }

    // Waits until the device list has found the simulated mouse.
    bool WaitForCard(const QString& window)
    {
        return QTest::qWaitFor([&] {
            const QRect frame = Geometry(window);
            return frame.width() > 600 && frame.height() > 400 && CardShown(frame);
        }, Patience);
    }

    // markers: the program's debug markers are asked for.
    void StartProgram(QProcess& process, bool markers = false)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("QT_LOGGING_RULES"));
        if (markers)
            environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("talvire.debug=true"));
        // A temporary folder and a runtime folder (where the single-instance
        // segment is keyed) of the test's own: a copy of the program running
        // elsewhere on the machine does not meet the ones started here.
        environment.insert(QStringLiteral("TMPDIR"), temp.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/talvire-control"), QStringList());
        QVERIFY(process.waitForStarted(TestLimit(30000)));
    }

    // The program's visible windows other than the main window, with their
    // geometry: the tray icon (small) and open menus.
    QMap<QString, QRect> OtherWindows(const QString& mainWindow)
    {
        QMap<QString, QRect> windows;
        const QString ids = XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--classname"),
                                 QStringLiteral("talvire-control")});
        for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (id != mainWindow)
                windows.insert(id, Geometry(id));
        }
        return windows;
    }

    static bool IsIcon(const QRect& box) { return box.width() <= 64 && box.height() <= 64; }

    // Waits until the program shows a window of that kind (icon or menu); its
    // geometry, or an empty rectangle.
    QList<QRect> WaitForOthers(const QString& mainWindow, bool icon)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < Patience) {
            QList<QRect> found;
            for (const QRect& box : OtherWindows(mainWindow)) {
                if (box.isValid() && IsIcon(box) == icon)
                    found << box;
            }
            if (!found.isEmpty())
                return found;
            QTest::qWait(200);
        }
        return {};
    }

    bool Visible(const QString& window)
    {
        return XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                    QStringLiteral("^TALVIRE$")})
            .split(QLatin1Char('\n'))
            .contains(window);
    }

    bool WaitVisible(const QString& window, bool visible)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < Patience) {
            if (Visible(window) == visible)
                return true;
            QTest::qWait(200);
        }
        return false;
    }

    void Click(const QPoint& point, int button = 1)
    {
        XDo({QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y()),
             QStringLiteral("click"), QString::number(button)});
    }

    // The minimise button of the device list; the window goes to the tray,
    // whose icon then shows.
    QRect ToTray(const QString& window)
    {
        const QRect frame = Geometry(window);
        Click(frame.topLeft() + QPoint(940 + 10, 10 + 10));
        if (!WaitVisible(window, false))
            return QRect();
        const QList<QRect> icons = WaitForOthers(window, true);
        return icons.size() == 1 ? icons.first() : QRect();
    }

    QString DeviceCacheFolder()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/TALVIRE/Device_Info");
    }

    QStringList CrashReports()
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                    + QStringLiteral("/TALVIRE/Exception"))
            .entryList({QStringLiteral("*.dmp")}, QDir::Files);
    }

    // A termination request, then the wait for the program's end.
    void Terminate(QProcess& program)
    {
        program.terminate();
        EndsInOrder(program);
    }

    // Waits for the program's end: in order (exit code 0, no crash report).
    void EndsInOrder(QProcess& program)
    {
        QVERIFY2(program.waitForFinished(Patience), "still running");
        const QByteArray output = program.readAll();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == 0, output.constData());
        QVERIFY2(CrashReports().isEmpty(), qPrintable(CrashReports().join(QLatin1Char(' '))));
    }

    // The screen's free area as the window manager announces it.
    QRect WorkArea()
    {
        QProcess xprop;
        xprop.start(QStandardPaths::findExecutable(QStringLiteral("xprop")),
                    {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")});
        if (!xprop.waitForFinished(10000))
            return QRect();
        // "_NET_WORKAREA(CARDINAL) = x, y, w, h[, ...]"
        const QString said = QString::fromLatin1(xprop.readAllStandardOutput());
        const QStringList values = said.section(QLatin1Char('='), 1).split(QLatin1Char(','));
        if (values.size() < 4)
            return QRect();
        return QRect(values.at(0).trimmed().toInt(), values.at(1).trimmed().toInt(), values.at(2).trimmed().toInt(),
                     values.at(3).trimmed().toInt());
    }

    // The language index the program stored in its Macro.ini; -1 when none.
    int StoredLanguage()
    {
        QDirIterator files(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                               + QStringLiteral("/TALVIRE"),
                           {QStringLiteral("Macro.ini")}, QDir::Files, QDirIterator::Subdirectories);
        if (!files.hasNext())
            return -1;
        return QSettings(files.next(), QSettings::IniFormat).value(QStringLiteral("Language/Language"), -1).toInt();
    }

    // Opens the language list of the title bar with a click on its box; the
    // list's geometry, which must be just below the box and under its middle
    // (an empty rectangle, the test failed, otherwise).
    QRect OpenLanguageList(const QString& window, const QRect& frame)
    {
        const QRect box(frame.topLeft() + QPoint(790, 10), QSize(142, 26));
        Click(box.center());
        const QList<QRect> lists = WaitForOthers(window, false);
        if (lists.size() != 1) {
            QTest::qFail("no language list, or more than one", __FILE__, __LINE__);
            return QRect();
        }
        const QRect list = lists.first();
        if (qAbs(list.top() - box.bottom()) > 4 || list.left() > box.center().x() || list.right() < box.center().x()) {
            QTest::qFail(qPrintable(QStringLiteral("list at %1,%2 %3x%4, its box at %5,%6 %7x%8")
                                        .arg(list.x()).arg(list.y()).arg(list.width()).arg(list.height())
                                        .arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())),
                         __FILE__, __LINE__);
            return QRect();
        }
        return list;
    }

    void SaveShot(const QRect& box, const QString& name)
    {
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(box);
        QLabel view;
        view.setPixmap(QPixmap::fromImage(shot));
        view.resize(shot.size());
        QVERIFY(!SaveScreenshot(&view, name).isEmpty());
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
        runtime = temp.filePath(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void startsSecondStartEndsTerminationCloses()
    {
        QProcess first;
        StartProgram(first, true);
        const QString window = WaitForWindow(QStringLiteral("^TALVIRE$"));
        QVERIFY2(!window.isEmpty(), first.readAll().constData());
        {
            // The windows paint with the raster engine: showing them loads
            // no OpenGL driver.
            QFile maps(QStringLiteral("/proc/%1/maps").arg(first.processId()));
            QVERIFY(maps.open(QIODevice::ReadOnly));
            const QByteArray mapped = maps.readAll();
            QVERIFY2(!mapped.contains("_dri.so"), mapped.constData());
        }
        // The device list finds the simulated mouse.
        QVERIFY(WaitForCard(window));
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

        // A second start: the running-instance notice, which takes the
        // keyboard from the window that had it; Return ends it with 0.
        XDo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
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
        QTRY_COMPARE_WITH_TIMEOUT(XDo({QStringLiteral("getwindowfocus")}), notice, Patience);
        XDo({QStringLiteral("key"), QStringLiteral("Return")});
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

    // Unless its markers are asked for, the program prints nothing from its
    // start through a click on the device to its end.
    void quietUnlessAsked()
    {
        // The device's first whole read ends in its cache file: none yet.
        QVERIFY(QDir(DeviceCacheFolder()).removeRecursively());
        QProcess program;
        StartProgram(program);
        const QString window = WaitForWindow(QStringLiteral("^TALVIRE$"));
        QVERIFY2(!window.isEmpty(), program.readAll().constData());
        QVERIFY(WaitForCard(window));
        const QRect frame = Geometry(window);
        // The page buttons of the configuration frame, the first one in the
        // accent colour, at the left below the title band.
        const auto frameShown = [&] {
            const QImage column = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(
                QRect(frame.topLeft() + QPoint(30, 80), QSize(80, 70)));
            int accent = 0;
            for (int y = 0; y < column.height(); ++y) {
                for (int x = 0; x < column.width(); ++x) {
                    const QColor colour = column.pixelColor(x, y);
                    if (colour.green() > 150 && colour.red() < 100)
                        ++accent;
                }
            }
            return accent > 20;
        };
        QVERIFY(!frameShown());
        Click(frame.topLeft() + QPoint(510, 380));
        QTRY_VERIFY_WITH_TIMEOUT(frameShown(), Patience);
        // The device is read meanwhile: the read ends with its cache file.
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(DeviceCacheFolder()).entryList(QDir::Files).isEmpty(), Patience);
        program.terminate();
        QVERIFY(program.waitForFinished(Patience));
        const QByteArray output = program.readAll();
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(output.isEmpty(), output.constData());
    }

    // The tray as a user meets it: a click on the icon brings the window back
    // in front; the menu opens once, its first item brings the window back,
    // its last one ends the program in order (exit code 0, no crash report).
    void trayIconAndMenu()
    {
        // Declared in this order, the tray ends before the window manager.
        DesktopProgram windowManager;
        DesktopProgram tray;
        if (!windowManager.Start(QStringLiteral("openbox")))
            QSKIP("needs openbox");
        QVERIFY(DesktopProgram::WaitForWindowManager(Patience));
        if (!tray.Start(QStringLiteral("trayer"),
                        {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                         QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                         QStringLiteral("--height"), QStringLiteral("24")}))
            QSKIP("needs trayer");
        QVERIFY(!WaitForWindow(QStringLiteral("^panel$")).isEmpty());

        QProcess program;
        StartProgram(program);
        const QString window = WaitForWindow(QStringLiteral("^TALVIRE$"));
        QVERIFY2(!window.isEmpty(), program.readAll().constData());
        QVERIFY(WaitForCard(window));

        // A click on the icon.
        QRect icon = ToTray(window);
        QVERIFY2(icon.isValid(), program.readAll().constData());
        Click(icon.center());
        QVERIFY2(WaitVisible(window, true), program.readAll().constData());
        QTRY_COMPARE_WITH_TIMEOUT(XDo({QStringLiteral("getactivewindow")}), window, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(OtherWindows(window).isEmpty(), Patience);
        QCOMPARE(program.state(), QProcess::Running);

        // The menu's first item.
        icon = ToTray(window);
        QVERIFY2(icon.isValid(), program.readAll().constData());
        Click(icon.center(), 3);
        QList<QRect> menus = WaitForOthers(window, false);
        QCOMPARE(menus.size(), 1);
        // Not a second menu: one opening late would show within this short while.
        QTest::qWait(300);
        QCOMPARE(WaitForOthers(window, false).size(), 1);
        const QImage menuShot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(menus.first());
        QLabel view;
        view.setPixmap(QPixmap::fromImage(menuShot));
        view.resize(menuShot.size());
        QVERIFY(!SaveScreenshot(&view, QStringLiteral("program_tray_menu")).isEmpty());
        // In the dark theme.
        QVERIFY2(menuShot.pixelColor(menuShot.width() / 2, menuShot.height() / 2).lightness() < 80,
                 qPrintable(menuShot.pixelColor(menuShot.width() / 2, menuShot.height() / 2).name()));
        Click(QPoint(menus.first().center().x(), menus.first().top() + menus.first().height() / 4));
        QVERIFY2(WaitVisible(window, true), program.readAll().constData());
        QTRY_COMPARE_WITH_TIMEOUT(XDo({QStringLiteral("getactivewindow")}), window, Patience);
        // Not ended as well: an end the item wrongly asked for would come within this short while.
        QTest::qWait(500);
        QCOMPARE(program.state(), QProcess::Running);
        QVERIFY2(CrashReports().isEmpty(), qPrintable(CrashReports().join(QLatin1Char(' '))));

        // The menu's last item.
        icon = ToTray(window);
        QVERIFY2(icon.isValid(), program.readAll().constData());
        Click(icon.center(), 3);
        menus = WaitForOthers(window, false);
        QCOMPARE(menus.size(), 1);
        Click(QPoint(menus.first().center().x(), menus.first().bottom() - menus.first().height() / 4));
        EndsInOrder(program);
    }

    // Beside a panel that takes the top of the screen: the window is centred
    // in the free area, not on the whole screen; the title bar's language
    // list opens at its box. Then a termination request while the pairing
    // dialog runs over the window ends the program, with the language chosen
    // in the list written.
    void freeAreaLanguageListAndEndDuringADialog()
    {
        DesktopProgram windowManager;
        DesktopProgram panel;
        if (!windowManager.Start(QStringLiteral("openbox")))
            QSKIP("needs openbox");
        QVERIFY(DesktopProgram::WaitForWindowManager(Patience));
        if (!panel.Start(QStringLiteral("trayer"),
                         {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--height"),
                          QStringLiteral("40")}))
            QSKIP("needs trayer");
        const QString panelWindow = WaitForWindow(QStringLiteral("^panel$"));
        QVERIFY(!panelWindow.isEmpty());
        // The panel keeps its 40 rows at the top free of other windows.
        QProcess strut;
        strut.start(QStandardPaths::findExecutable(QStringLiteral("xprop")),
                    {QStringLiteral("-id"), panelWindow, QStringLiteral("-f"), QStringLiteral("_NET_WM_STRUT_PARTIAL"),
                     QStringLiteral("32c"), QStringLiteral("-set"), QStringLiteral("_NET_WM_STRUT_PARTIAL"),
                     QStringLiteral("0, 0, 40, 0, 0, 0, 0, 0, 0, 1279, 0, 0")});
        QVERIFY(strut.waitForFinished(Patience) && strut.exitCode() == 0);
        QRect room;
        QVERIFY(QTest::qWaitFor([&] {
            room = WorkArea();
            return room.isValid() && room.top() > 0;
        }, Patience));

        QProcess program;
        StartProgram(program);
        const QString window = WaitForWindow(QStringLiteral("^TALVIRE$"));
        QVERIFY2(!window.isEmpty(), program.readAll().constData());
        QVERIFY(WaitForCard(window));
        const QRect frame = Geometry(window);
        QCOMPARE(frame.topLeft(), QPoint(room.x() + (room.width() - 1020) / 2, room.y() + (room.height() - 700) / 2));

        const QRect list = OpenLanguageList(window, frame);
        QVERIFY(list.isValid());
        SaveShot(list.adjusted(-40, -40, 40, 20), QStringLiteral("program_language_list"));
        // Its second entry: Simplified Chinese.
        Click(QPoint(list.center().x(), list.top() + list.height() * 3 / 4));
        QTRY_VERIFY_WITH_TIMEOUT(OtherWindows(window).isEmpty(), Patience);

        // Space on the list with one receiver: the pairing dialog.
        XDo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        XDo({QStringLiteral("key"), QStringLiteral("space")});
        QVERIFY(!WaitForWindow(QStringLiteral("^Dialog$")).isEmpty());
        Terminate(program);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(StoredLanguage(), 1);
    }

    // Space on the list with one receiver whose firmware is older than the
    // image beside the program (the mouse's recorded version is the image's):
    // the question, then the update in a dialog of its own, to its end view.
    // A termination request there ends the program.
    void endDuringTheUpdatesEndView()
    {
        Registry* const registry = Registry::Instance();
        const QString mouseVersion = Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1"));
        QVERIFY(registry->SetValueFlushed(mouseVersion, QStringLiteral("v1.6")));
        QVERIFY(registry->RemoveKeyFlushed(Registry::UpdateFailInfoKey()));
        const auto restore = qScopeGuard([&] { registry->RemoveKeyFlushed(mouseVersion); });

        QProcess program;
        StartProgram(program);
        const QString window = WaitForWindow(QStringLiteral("^TALVIRE$"));
        QVERIFY2(!window.isEmpty(), program.readAll().constData());
        QVERIFY(WaitForCard(window));
        XDo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        XDo({QStringLiteral("key"), QStringLiteral("space")});
        const QString question = WaitForWindow(QStringLiteral("^Dialog$"));
        QVERIFY2(!question.isEmpty(), program.readAll().constData());
        QTRY_COMPARE_WITH_TIMEOUT(XDo({QStringLiteral("getwindowfocus")}), question, Patience);
        XDo({QStringLiteral("key"), QStringLiteral("Return")});
        // The record of the running update, then its removal at the success.
        QVERIFY(QTest::qWaitFor([&] { return !registry->GetValue(Registry::UpdateFailInfoKey()).isEmpty(); },
                                Patience));
        QVERIFY(QTest::qWaitFor([&] { return registry->GetValue(Registry::UpdateFailInfoKey()).isEmpty(); },
                                Patience));
        const QString update = WaitForWindow(QStringLiteral("^Dialog$"));
        QVERIFY(!update.isEmpty());
        // The end view: its button to close is drawn (the update's view has
        // none there).
        const QRect dialog = Geometry(update);
        QVERIFY(QTest::qWaitFor([&] {
            const QImage area = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(
                QRect(dialog.topLeft() + QPoint(90, 240), QSize(120, 24)));
            QSet<QRgb> colours;
            for (int y = 0; y < area.height(); ++y) {
                for (int x = 0; x < area.width(); ++x)
                    colours.insert(area.pixel(x, y));
            }
            return colours.size() > 8;
        }, Patience));
        SaveShot(dialog, QStringLiteral("program_update_end"));
        Terminate(program);
    }

    // Two screens side by side (a second X server with the dummy video
    // driver's first two outputs), the pointer on the right one, which is not
    // the primary one: the window opens centred there, and its title bar's
    // language list at its box.
    void twoScreensWindowUnderThePointer()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString config = folder.filePath(QStringLiteral("xorg.conf"));
        {
            QFile file(config);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("Section \"Device\"\n Identifier \"D\"\n Driver \"dummy\"\n VideoRam 65536\nEndSection\n"
                       "Section \"Monitor\"\n Identifier \"M\"\n HorizSync 5.0-1000.0\n VertRefresh 5.0-200.0\n"
                       " Modeline \"1280x1024\" 109.00 1280 1368 1496 1712 1024 1027 1034 1063 -hsync +vsync\n"
                       "EndSection\n"
                       "Section \"Screen\"\n Identifier \"S\"\n Device \"D\"\n Monitor \"M\"\n DefaultDepth 24\n"
                       " SubSection \"Display\"\n  Depth 24\n  Modes \"1280x1024\"\n  Virtual 2560 1024\n"
                       " EndSubSection\nEndSection\n"
                       "Section \"ServerFlags\"\n Option \"AutoAddDevices\" \"false\"\nEndSection\n");
        }
        // The first free display from :130.
        int number = 130;
        while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            ++number;
        const QString display = QStringLiteral(":%1").arg(number);
        DesktopProgram server;
        if (!server.Start(QStringLiteral("Xorg"),
                          {display, QStringLiteral("-noreset"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                           QStringLiteral("-config"), config, QStringLiteral("-logfile"),
                           folder.filePath(QStringLiteral("log")), QStringLiteral("-sharevts"),
                           QStringLiteral("-novtswitch"), QStringLiteral("vt8")}))
            QSKIP("needs Xorg");
        // The helper programs started from here on use that server.
        const QByteArray ownDisplay = qgetenv("DISPLAY");
        qputenv("DISPLAY", display.toLatin1());
        const auto restore = qScopeGuard([&] { qputenv("DISPLAY", ownDisplay); });
        if (!QTest::qWaitFor([&] { return !XDo({QStringLiteral("getdisplaygeometry")}).isEmpty(); }, Patience))
            QSKIP("Xorg with the dummy video driver does not start here");
        const QString xrandr = QStandardPaths::findExecutable(QStringLiteral("xrandr"));
        if (xrandr.isEmpty())
            QSKIP("needs xrandr");
        QCOMPARE(QProcess::execute(xrandr, {QStringLiteral("--addmode"), QStringLiteral("DUMMY1"),
                                            QStringLiteral("1280x1024")}), 0);
        QCOMPARE(QProcess::execute(xrandr, {QStringLiteral("--output"), QStringLiteral("DUMMY1"),
                                            QStringLiteral("--mode"), QStringLiteral("1280x1024"),
                                            QStringLiteral("--right-of"), QStringLiteral("DUMMY0")}), 0);
        // A query that polls the outputs: the server's current list, which
        // Qt reads, then holds both.
        QCOMPARE(QProcess::execute(xrandr, {QStringLiteral("--query")}), 0);
        // The pointer goes there once the screen has grown to both.
        QVERIFY(QTest::qWaitFor([&] {
            XDo({QStringLiteral("mousemove"), QStringLiteral("1900"), QStringLiteral("500")});
            return XDo({QStringLiteral("getmouselocation")}).startsWith(QLatin1String("x:1900 "));
        }, Patience));

        QProcess program;
        StartProgram(program);
        const QString window = WaitForWindow(QStringLiteral("^TALVIRE$"));
        QVERIFY2(!window.isEmpty(), program.readAll().constData());
        const QRect frame = Geometry(window);
        QCOMPARE(frame.topLeft(), QPoint(1280 + (1280 - 1020) / 2, (1024 - 700) / 2));
        QVERIFY(OpenLanguageList(window, frame).isValid());
        Terminate(program);
    }

    // A window manager that comes up as the program shows its window may lose
    // the window's map request (as openbox may during its own start): the
    // window shows once the manager has announced itself.
    void showsWhenTheManagerLostItsWindow()
    {
        StartingWindowManager starting;
        QVERIFY2(starting.Taken(), "another window manager runs");
        QProcess program;
        StartProgram(program);
        QVERIFY2(starting.WaitForMapRequest(Patience), program.readAll().constData());
        starting.Release();
        DesktopProgram windowManager;
        if (!windowManager.Start(QStringLiteral("openbox")))
            QSKIP("needs openbox");
        const QString window = WaitForWindow(QStringLiteral("^TALVIRE$"));
        QVERIFY2(!window.isEmpty(), program.readAll().constData());
        program.terminate();
        QVERIFY(program.waitForFinished(Patience));
        QCOMPARE(program.exitCode(), 0);
    }
};

TALVIRE_TEST_MAIN(ProgramTest)
#include "test_program.moc"
