// A window manager that comes up while the program maps a window may lose the
// map request (openbox does, when it arrives during its own start). Here a
// stand-in for a manager in its start takes the request and drops it; once a
// real manager (openbox) announces itself, the window the program still shows
// is mapped again and managed, and one it has hidden meanwhile stays hidden.
#include "platform/WindowManagerArrival.h"
#include "tests/common/DesktopProgram.h"
#include "tests/common/StartingWindowManager.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QSignalSpy>
#include <QWidget>
#include <QWindow>
#include <QtTest>

#include <cstdlib>
#include <xcb/xcb.h>

class WindowManagerX11Test : public QObject {
    Q_OBJECT

    xcb_connection_t* x_ = nullptr;

    int MapState(WId window)
    {
        xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
            x_, xcb_get_window_attributes(x_, xcb_window_t(window)), nullptr);
        const int state = reply ? reply->map_state : -1;
        std::free(reply);
        return state;
    }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server: run under xvfb-run");
        if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
            QSKIP("needs openbox");
        x_ = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(x_));
    }

    void cleanupTestCase()
    {
        if (x_)
            xcb_disconnect(x_);
    }

    void lostWindowShowsOnceTheManagerIsUp_data()
    {
        QTest::addColumn<bool>("hiddenMeanwhile");
        QTest::newRow("still shown") << false;
        QTest::newRow("hidden meanwhile") << true;
    }

    void lostWindowShowsOnceTheManagerIsUp()
    {
        QFETCH(bool, hiddenMeanwhile);
        StartingWindowManager starting;
        QVERIFY2(starting.Taken(), "another window manager runs");

        WindowManagerArrival arrival;
        QVERIFY(arrival.Watching());
        QSignalSpy arrived(&arrival, &WindowManagerArrival::Arrived);
        QWidget window;
        window.setWindowTitle(QStringLiteral("lost window"));
        window.resize(200, 100);
        window.show();
        const WId id = window.winId();
        QVERIFY(starting.WaitForMapRequest(DefaultTestLimit(), quint32(id)));
        starting.Release();
        QCOMPARE(MapState(id), int(XCB_MAP_STATE_UNMAPPED));
        if (hiddenMeanwhile)
            window.hide();

        // The manager comes up.
        DesktopProgram manager;
        QVERIFY(manager.Start(QStringLiteral("openbox")));
        QVERIFY(arrived.wait(DefaultTestLimit()));
        QCOMPARE(arrived.first().first().toInt(), hiddenMeanwhile ? 0 : 1);
        if (hiddenMeanwhile) {
            QCOMPARE(MapState(id), int(XCB_MAP_STATE_UNMAPPED));
            return;
        }
        TRY_COMPARE(MapState(id), int(XCB_MAP_STATE_VIEWABLE));
        TRY_VERIFY(window.windowHandle()->isExposed());
    }
};

TALVIRE_TEST_MAIN(WindowManagerX11Test)
#include "test_window_manager_x11.moc"
