// The screen colour picker on a real X server: a press on the colour board
// takes the colour of the screen under the cursor, here a window of a known
// colour, read through the primary screen.
#include "core/SharedState.h"
#include "pages/lighting/LampLight.h"
#include "platform/ScreenPixels.h"
#include "tests/common/TestEnvironment.h"
#include "tests/lighting/LightingPage.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

class LightingX11Test : public QObject {
    Q_OBJECT

private slots:
    void picksTheColourUnderTheCursor()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server: run under xvfb-run");
        UiReady = false;   // no device: the colour only reaches the page
        const QColor known(12, 200, 99);
        QWidget patch;
        patch.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        patch.setAutoFillBackground(true);
        QPalette palette = patch.palette();
        palette.setColor(QPalette::Window, known);
        patch.setPalette(palette);
        patch.setGeometry(900, 700, 120, 120);
        patch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&patch, DefaultTestLimit()));

        LampLight page;
        page.move(0, 0);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
        const LightingControls c(&page);

        const QPoint inside = patch.geometry().center();
        QCursor::setPos(inside);
        TRY_COMPARE(QCursor::pos(), inside);
        // The patch is on the screen once a grab of it gives its colour.
        TRY_COMPARE(ScreenPixels::Current().Grab(inside, QSize(2, 2)).toImage().pixelColor(0, 0), known);

        QTest::mouseClick(&page, Qt::LeftButton, Qt::NoModifier, c.board->geometry().center());
        QCOMPARE(c.red->value(), known.red());
        QCOMPARE(c.green->value(), known.green());
        QCOMPARE(c.blue->value(), known.blue());
        QVERIFY(c.preview->styleSheet().contains(QStringLiteral("rgb(12,200,99)")));
    }
};

TALVIRE_TEST_MAIN(LightingX11Test)
#include "test_lighting_x11.moc"
