// The macro page in the whole program on the simulated mouse: a macro made,
// recorded and saved on the page is stored on a mouse button, and the page
// and the mouse hold the same after the program starts again.
#include "tests/macro/MacroPageTesting.h"

#include "core/SharedState.h"
#include "core/Timing.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/KeyboardHook.h"
#include "dialogs/UpDataParam.h"
#include "pages/buttons/Buttoninterface.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "shell/mytoolButtonEnter.h"

#include "tests/common/SharedStateReset.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QStackedWidget>
#include <QToolButton>

#include <memory>

using namespace MacroPageTesting;

namespace {
const int Patience = TestLimit(15000);
constexpr int Button = 2;
} // namespace

class MacroProgramTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogMain> window;

    // Starts the program and opens the mouse from the device list.
    bool Start()
    {
        ResetSharedState();
        window = std::make_unique<DialogMain>();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()))
            return false;
        if (!QTest::qWaitFor([] { return DialogChange::DeviceButtons.size() == 1; }, Patience))
            return false;
        // Open once the apply dialog has come and gone with the image read.
        struct ApplyShown : QObject {
            bool shown = false;
            bool eventFilter(QObject* watched, QEvent* event) override
            {
                shown = shown || (event->type() == QEvent::Show && qobject_cast<UpDataParam*>(watched));
                return false;
            }
        } apply;
        qApp->installEventFilter(&apply);
        QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        const bool open = QTest::qWaitFor(
            [this, &apply] {
                return apply.shown && LiveFlashDataIsCurrent() && !window->Frame()->ApplyDialog()->isVisible();
            },
            Patience);
        qApp->removeEventFilter(&apply);
        return open;
    }

    void Stop()
    {
        window.reset();
        UsbLibrary_Shutdown();
    }

    // The macro page, shown by the frame's page button.
    Macro* ShowMacroPage()
    {
        window->Frame()->findChild<QToolButton*>(QStringLiteral("MacroButton"))->click();
        return window->Frame()->findChild<Macro*>();
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        Timing::SetScale(0.1);
    }

    void init()
    {
        Reset(0);
        QVERIFY(SimDevice_Reset());
        // Keys reach the program as if its window were in front.
        KeyboardHook::SetForegroundTest([] { return true; });
    }

    void cleanup()
    {
        KeyboardHook::SetForegroundTest({});
        Stop();
    }

    void recordedMacroOnAButton()
    {
        QVERIFY(Start());
        Macro* page = ShowMacroPage();
        QVERIFY(page && page->isVisible());
        New(*page, QStringLiteral("Strafe"));
        Child(*page, "StartRecord")->click();
        QVERIFY(!window->Frame()->findChild<QToolButton*>(QStringLiteral("ButtonMain"))->isEnabled());
        for (Qt::Key key : {Qt::Key_A, Qt::Key_D}) {
            QTest::keyClick(window->windowHandle(), key, Qt::NoModifier, 5);
        }
        Child(*page, "StopRecord")->click();
        QVERIFY(window->Frame()->findChild<QToolButton*>(QStringLiteral("ButtonMain"))->isEnabled());
        const QStringList rows = RowTexts(*page);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows.at(0), QStringLiteral("A+"));
        QCOMPARE(rows.at(6), QStringLiteral("D-"));

        // The button page's part: the saved macro goes to the button that
        // carries it.
        QObject buttonPage;
        connect(PostMsg::Instance(), &PostMsg::SigUpDataMacro, &buttonPage, [](const QString& name, int mode) {
            if (mode == 0)
                PostMsg::Instance()->PostMacroDownLoadData(name, Button);
        });
        Child(*page, "Save")->click();
        const MacroBlock stored = StoredImage().macros[Button];
        QCOMPARE(QByteArray(stored.name, stored.nameLength), QByteArray("Strafe"));
        QCOMPARE(int(stored.count), 4);
        const int codes[4] = {0x04, 0x04, 0x07, 0x07};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(int(stored.events[i].kind), 1);
            QCOMPARE(int(stored.events[i].code), codes[i]);
            QCOMPARE(int(stored.events[i].release), i % 2);
        }
        const QByteArray file = Content(FileOf("Strafe"));
        QVERIFY(file.startsWith("1\n0x04 1 0\n"));

        // The program again: the same macro on the page and on the mouse.
        Stop();
        QVERIFY(Start());
        const FlashDataMap read = LiveFlashData.get();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&read.macros[Button]), sizeof(MacroBlock)),
                 QByteArray(reinterpret_cast<const char*>(&stored), sizeof(MacroBlock)));
        page = ShowMacroPage();
        QVERIFY(MacroNames(*page).contains(QStringLiteral("Strafe")));
        Select(*page, QStringLiteral("Strafe"));
        QCOMPARE(RowTexts(*page), rows);
        QCOMPARE(Content(FileOf("Strafe")), file);
    }
    // The mouse's own macro comes into the list when the button page shows
    // its button; recorded over and saved, the button page has it stored on
    // that button, and after a restart the page shows what the mouse holds.
    void demoMacroOnItsButton()
    {
        const int forward = 4;
        QVERIFY(Start());
        Macro* page = ShowMacroPage();
        QTRY_VERIFY_WITH_TIMEOUT(MacroNames(*page).contains(QStringLiteral("CopyPaste")), Patience);
        QCOMPARE(Content(FileOf("CopyPaste")).count('\n'), 1 + 8 + 7);
        Select(*page, QStringLiteral("CopyPaste"));
        QCOMPARE(RowTexts(*page).mid(0, 3), (QStringList{"LCtrl+", "30ms", "C+"}));
        Child(*page, "StartRecord")->click();
        QTest::keyClick(window->windowHandle(), Qt::Key_X, Qt::NoModifier, 5);
        Child(*page, "StopRecord")->click();
        const QStringList rows = RowTexts(*page);
        QCOMPARE(rows.size(), 3);
        Child(*page, "Save")->click();
        QTRY_COMPARE_WITH_TIMEOUT(int(StoredImage().macros[forward].count), 2, Patience);
        const MacroBlock stored = StoredImage().macros[forward];
        QCOMPARE(QByteArray(stored.name, stored.nameLength), QByteArray("CopyPaste"));
        QCOMPARE(int(stored.events[0].code), 0x1B);
        QCOMPARE(int(stored.events[1].release), 1);
        QCOMPARE(int(StoredImage().buttons[forward].type), 6);

        Stop();
        QVERIFY(Start());
        page = ShowMacroPage();
        QTRY_VERIFY_WITH_TIMEOUT(Content(FileOf("CopyPaste")).count('\n') == 1 + 2 + 1, Patience);
        Select(*page, QStringLiteral("CopyPaste"));
        QCOMPARE(RowTexts(*page).mid(0, 1), rows.mid(0, 1));
        QCOMPARE(RowTexts(*page).size(), 3);
        QCOMPARE(RowTexts(*page).last(), QStringLiteral("X-"));
    }

    // The saved events wait for the pause on a timer, and the window takes
    // input meanwhile: another page, the way back to the device list, or a
    // change recorded but not saved. The saved events reach the mouse's
    // button in each case, and only those.
    void savedMacroDuringThePause_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::newRow("another page") << "page";
        QTest::newRow("back to the device list") << "list";
        QTest::newRow("a change not saved") << "change";
    }
    void savedMacroDuringThePause()
    {
        QFETCH(QString, meanwhile);
        const int forward = 4;
        QVERIFY(Start());
        auto* buttonPage = window->Frame()->findChild<Buttoninterface*>();
        Macro* page = ShowMacroPage();
        QTRY_VERIFY_WITH_TIMEOUT(MacroNames(*page).contains(QStringLiteral("CopyPaste")), Patience);
        Select(*page, QStringLiteral("CopyPaste"));
        const MacroBlock before = StoredImage().macros[forward];
        Child(*page, "StartRecord")->click();
        QTest::keyClick(window->windowHandle(), Qt::Key_X, Qt::NoModifier, 5);
        Child(*page, "StopRecord")->click();
        Child(*page, "Save")->click();
        // The save has returned before the pause has passed.
        QVERIFY(buttonPage->MacrosPending());
        const MacroBlock during = StoredImage().macros[forward];
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&during), sizeof(MacroBlock)),
                 QByteArray(reinterpret_cast<const char*>(&before), sizeof(MacroBlock)));
        if (meanwhile == QLatin1String("page")) {
            window->Frame()->findChild<QToolButton*>(QStringLiteral("SensorButton"))->click();
            QVERIFY(!page->isVisible());
        } else if (meanwhile == QLatin1String("list")) {
            window->Frame()->findChild<QToolButton*>(QStringLiteral("UpArrow"))->click();
            // Sent on the way out, before the device was closed.
            QVERIFY(!buttonPage->MacrosPending());
            QCOMPARE(window->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetMain"))->currentIndex(), 0);
        } else {
            Child(*page, "StartRecord")->click();
            QTest::keyClick(window->windowHandle(), Qt::Key_Z, Qt::NoModifier, 5);
            Child(*page, "StopRecord")->click();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!buttonPage->MacrosPending(), Patience);
        QTRY_COMPARE_WITH_TIMEOUT(int(StoredImage().macros[forward].count), 2, Patience);
        const MacroBlock stored = StoredImage().macros[forward];
        QCOMPARE(int(stored.events[0].code), 0x1B);
        QCOMPARE(int(stored.events[0].release), 0);
        QCOMPARE(int(stored.events[1].code), 0x1B);
        QCOMPARE(int(stored.events[1].release), 1);
        QCOMPARE(int(StoredImage().buttons[forward].type), 6);
    }
};

TALVIRE_TEST_MAIN(MacroProgramTest)
#include "test_macro_program.moc"
