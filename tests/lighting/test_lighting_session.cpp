// The lighting page with the worker: the page connected to the bus as its
// creator connects it shows what the worker reads from the mouse, and what
// is chosen on the page is in the mouse's block, also after a new read.
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/Worker.h"
#include "pages/lighting/LampLight.h"
#include "tests/common/PickedMouse.h"
#include "tests/common/TestEnvironment.h"
#include "tests/lighting/LightingPage.h"
#include "tests/lighting/ListChoice.h"

#include <QApplication>
#include <QtTest>

#include <atomic>

class LightingSessionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Timing::SetScale(0.1); }

    void readChooseReadAgain()
    {
        ResetSharedState();
        LampLight page;
        QVERIFY(ConnectLightingPage(&page));
        const LightingControls c(&page);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page, DefaultTestLimit()));
        // Whole reads as the page receives them (queued to the GUI thread).
        QObject context;
        std::atomic<int> reads{0};
        QObject::connect(PostMsg::Instance(), &PostMsg::SigUpDataLightLight, &context, [&] { ++reads; });

        PickedMouse mouse;
        QVERIFY2(mouse.Open(), qPrintable(mouse.Missing()));
        TRY_VERIFY(reads >= 1);
        const FlashDataMap held = mouse.Stored();
        QCOMPARE(c.mode->currentIndex(), held.lightOn ? int(held.lightMode) : 0);
        QCOMPARE(c.brightness->value(), qMin(held.lightBrightness + 1, 10));
        QCOMPARE(c.speed->value(), qMin(held.lightSpeed + 1, 10));
        QCOMPARE(c.red->value(), int(held.lightColor[0]));
        QCOMPARE(c.green->value(), int(held.lightColor[1]));
        QCOMPARE(c.blue->value(), int(held.lightColor[2]));
        QCOMPARE(c.moveLightOff->isChecked(), held.moveLightOff != 0);

        // Mode 2 first from another mode, so that the choice is a change.
        QVERIFY(ChooseEntry(c.mode, held.lightMode == 2 && held.lightOn ? 3 : 2));
        QVERIFY(ChooseEntry(c.mode, 2));
        QTest::mouseClick(c.Preset('H'), Qt::LeftButton);
        DragSlider(c.brightness, c.brightness->value() == 5 ? 6 : 5);
        DragSlider(c.brightness, 5);
        QVERIFY(ChooseEntry(c.lightOff, 3));
        auto check = [&mouse] {
            const FlashDataMap stored = mouse.Stored();
            QCOMPARE(int(stored.lightOn), 1);
            QCOMPARE(int(stored.lightMode), 2);
            QCOMPARE(int(stored.lightColor[0]), 227);
            QCOMPARE(int(stored.lightColor[1]), 0);
            QCOMPARE(int(stored.lightColor[2]), 127);
            QCOMPARE(int(stored.lightBrightness), 4);
            QCOMPARE(int(stored.lightOffTime), 30);
        };
        check();
        if (QTest::currentTestFailed())
            return;

        // A new read (as after going back to the device list and picking the
        // mouse again): the mouse still holds them and the page shows them.
        const int before = reads;
        page.SlotUpDataLightUILight(FlashDataMap());
        QCOMPARE(c.red->value(), 0);
        PostMsg::Instance()->PostMainPageChange();
        WorkerInstance.load()->RequestPass();
        TRY_VERIFY(reads > before);
        check();
        QCOMPARE(c.mode->currentIndex(), 2);
        QCOMPARE(c.red->value(), 227);
        QCOMPARE(c.blue->value(), 127);
        QCOMPARE(c.brightness->value(), 5);
        QCOMPARE(c.lightOff->currentIndex(), 3);
    }
};

TALVIRE_TEST_MAIN(LightingSessionTest)
#include "test_lighting_session.moc"
