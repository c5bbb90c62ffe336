// The top window: the stack of device list and frame, the language moved
// from the registry layer, going to the tray (or minimising where there is no
// tray) and back, the orderly close, the offline notice, dragging the
// frameless window, and its keys.
#include "core/DeviceCacheFile.h"
#include "core/FirmwareImages.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/Match.h"
#include "pages/buttons/Buttoninterface.h"
#include "platform/Registry.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "dialogs/RepairDialogTracker.h"
#include "shell/DialogMain.h"
#include "shell/mytoolButtonEnter.h"

#include "tests/common/FirmwareImageFiles.h"
#include "tests/common/ModalAnswer.h"
#include "tests/common/OtherThread.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/TestImages.h"
#include "tests/shell/LibraryProbe.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
void SendMouse(QWidget* window, QEvent::Type type, const QPoint& local, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, window->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

QByteArrayList CallNames()
{
    QByteArrayList names;
    for (const LibraryProbe::Call& call : LibraryProbe::Calls()) {
        if (call.name == "UsbServer_SetPCDriverStatus")
            names << call.name + '(' + QByteArray::number(call.argument) + ')';
        else
            names << call.name;
    }
    return names;
}

void* Callback(UsbChangedCallback callback)
{
    return reinterpret_cast<void*>(callback);
}
} // namespace

class TopWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogMain> window;
    QTemporaryDir imageFolder;

    void Make()
    {
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()));
        LibraryProbe::Clear();
    }

    QStackedWidget* Stack() { return window->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetMain")); }

    void ShowFrame()
    {
        Stack()->setCurrentWidget(window->Frame());
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        SimDevice_Reset();
        // These tests look at what the window does without the frame, or
        // with the frame as they build it; the frame prepared while idle has
        // a test of its own.
        DialogMain::SetPrepareFrameWhenIdle(false);
    }

    void cleanup()
    {
        DialogMain::SetPrepareFrameWhenIdle(false);
        DialogMain::SetTrayTest({});
        FirmwareImages::SetFolder(QString());
        Registry::Instance()->RemoveKey(Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1")));
        MacroRecording = false;
        window.reset();
        // After the window (whose going may still ask the device), before
        // the state: no answer is left to meet the state as it is reset.
        SimDevice_Reset();
        ResetSharedState();
        LibraryProbe::OnCall({});
        MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("0"));
    }

    void stacksDeviceListInFrontOfFrame()
    {
        Make();
        QStackedWidget* stack = Stack();
        // The device list alone at start; the frame, with the device worker,
        // joins behind it when it is first needed.
        QVERIFY(!window->FrameBuilt());
        QCOMPARE(stack->count(), 1);
        QVERIFY(!WorkerInstance.load());
        Dialog* const frame = window->Frame();
        QVERIFY(WorkerInstance.load());
        QCOMPARE(stack->count(), 2);
        QCOMPARE(stack->widget(0), static_cast<QWidget*>(window->Chooser()));
        QCOMPARE(stack->widget(1), static_cast<QWidget*>(frame));
        QCOMPARE(window->Frame(), frame);
        QCOMPARE(stack->currentIndex(), 0);
        QCOMPARE(window->size(), QSize(1020, 700));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(window->windowTitle(), QStringLiteral("TALVIRE"));
        QCOMPARE(window->TrayIcon()->toolTip(), QStringLiteral("TALVIRE"));
        QVERIFY(!window->TrayIcon()->isVisible());
        QVERIFY(!window->TrayIcon()->icon().isNull());
    }

    // The window is placed by the program, centred in the screen's free
    // area, before it first shows: one the window manager placed on its own
    // could be somewhere Qt does not know, and drop-down lists and dialogs
    // would open away from their boxes.
    void placedByTheProgram()
    {
        window = std::make_unique<DialogMain>();
        QVERIFY(window->testAttribute(Qt::WA_Moved));
        const QRect room = window->screen()->availableGeometry();
        const QPoint centred(room.x() + qMax(0, (room.width() - 1020) / 2),
                             room.y() + qMax(0, (room.height() - 700) / 2));
        QCOMPARE(window->pos(), centred);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()));
        QCOMPARE(window->pos(), centred);
    }

    // Once the device list has been painted, the window builds the frame
    // and makes its pages ready while idle; the list stays in front, and a
    // pick then finds the frame built and only brings it to the front.
    void framePreparedWhileIdle()
    {
        DialogMain::SetPrepareFrameWhenIdle(true);
        // Whether the frame existed when the device's picture was first
        // painted.
        struct PaintWatch : QObject {
            std::function<bool()> frameBuilt;
            int paints = 0;
            bool frameAtFirstPaint = false;
            bool eventFilter(QObject* watched, QEvent* event) override
            {
                if (event->type() == QEvent::Paint && qobject_cast<mytoolButtonEnter*>(watched) && paints++ == 0)
                    frameAtFirstPaint = frameBuilt();
                return false;
            }
        } watch;
        watch.frameBuilt = [this] { return window && window->FrameBuilt(); };
        qApp->installEventFilter(&watch);
        Make();
        TRY_VERIFY(watch.paints > 0);
        TRY_VERIFY(window->FrameBuilt() && window->Frame()->PagesPrepared());
        qApp->removeEventFilter(&watch);
        QVERIFY(!watch.frameAtFirstPaint);
        QCOMPARE(Stack()->currentWidget(), static_cast<QWidget*>(window->Chooser()));
        // Every page and all it holds polished already, and what a page
        // shows without geometry events left for its first show.
        auto* pages = window->Frame()->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"));
        QCOMPARE(pages->count(), 4);
        for (int i = 0; i < pages->count(); ++i) {
            QWidget* const page = pages->widget(i);
            QVERIFY(page->testAttribute(Qt::WA_WState_Polished));
            for (QWidget* child : page->findChildren<QWidget*>()) {
                QVERIFY2(child->testAttribute(Qt::WA_WState_Polished), qPrintable(child->objectName()));
                if (child->isVisibleTo(page))
                    QVERIFY2(!child->testAttribute(Qt::WA_PendingResizeEvent), qPrintable(child->objectName()));
            }
        }
        Dialog* const frame = window->Frame();
        QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        QCOMPARE(Stack()->currentWidget(), static_cast<QWidget*>(frame));
        QCOMPARE(Stack()->count(), 2);
    }

    // The preparation while idle builds the frame, then each page, in turns
    // of the event loop: a timer of no interval (as the window's input gets
    // its turn) sees the frame with none of its pages, the button page built
    // but not stacked yet ("0+"), then one, two and three stacked pages. A
    // pick at any of these turns finds the frame whole, its pages in order,
    // and opens the device; a language change there leaves the preparation
    // going on through the same steps to the end.
    void frameBuiltInSteps_data()
    {
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("action");
        QTest::newRow("no pick") << QString() << QString();
        QTest::newRow("pick with the frame alone") << QStringLiteral("0") << QStringLiteral("pick");
        QTest::newRow("pick with the button page not stacked") << QStringLiteral("0+") << QStringLiteral("pick");
        QTest::newRow("pick with two pages") << QStringLiteral("2") << QStringLiteral("pick");
        QTest::newRow("language with the button page not stacked")
            << QStringLiteral("0+") << QStringLiteral("language");
        QTest::newRow("language with two pages") << QStringLiteral("2") << QStringLiteral("language");
    }

    void frameBuiltInSteps()
    {
        QFETCH(QString, at);
        QFETCH(QString, action);
        DialogMain::SetPrepareFrameWhenIdle(true);
        Make();
        QStringList seen;
        bool acted = false;
        QTimer turn;
        turn.setInterval(0);
        connect(&turn, &QTimer::timeout, this, [&] {
            auto* frame = window->findChild<Dialog*>();
            QString state = QStringLiteral("-");
            if (frame) {
                auto* pages = frame->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"));
                auto* buttons = frame->findChild<Buttoninterface*>();
                state = QString::number(pages->count());
                if (buttons && pages->indexOf(buttons) < 0)
                    state += QLatin1Char('+');
            }
            if (seen.isEmpty() || seen.last() != state)
                seen << state;
            if (!at.isEmpty() && !acted && state == at && !window->FrameBuilt()) {
                acted = true;
                if (action == QLatin1String("pick")) {
                    turn.stop();
                    QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
                } else {
                    window->Chooser()->on_comboBox_activated(1);
                }
            }
        });
        turn.start();
        QTRY_VERIFY((acted && action == QLatin1String("pick"))
                    || (window->FrameBuilt() && window->Frame()->PagesPrepared()));
        turn.stop();
        if (action != QLatin1String("pick")) {
            QCOMPARE(acted, !at.isEmpty());
            QCOMPARE(seen.join(QLatin1Char(' ')), QStringLiteral("- 0 0+ 1 2 3 4"));
            QCOMPARE(Stack()->currentWidget(), static_cast<QWidget*>(window->Chooser()));
            auto* pages = window->Frame()->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"));
            QCOMPARE(pages->currentIndex(), 0);
            return;
        }
        QVERIFY(acted);
        QCOMPARE(seen.last(), at);
        Dialog* const frame = window->findChild<Dialog*>();
        QVERIFY(window->FrameBuilt());
        QCOMPARE(Stack()->count(), 2);
        QCOMPARE(Stack()->currentWidget(), static_cast<QWidget*>(frame));
        // The pages in the order the page buttons show them.
        auto* pages = frame->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetDialog"));
        QStringList classes;
        for (int i = 0; i < pages->count(); ++i)
            classes << QString::fromLatin1(pages->widget(i)->metaObject()->className());
        QCOMPARE(classes, (QStringList{"Buttoninterface", "Sensor", "Macro", "FormSetting"}));
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(WorkerInstance.load());
        QTRY_VERIFY(LiveFlashDataIsCurrent());
        QTRY_VERIFY(frame->PagesPrepared());
        QCOMPARE(pages->count(), 4);
    }

    // What builds the frame besides the preparation while idle: whatever
    // uses its pages, its worker or the dialogs it makes. Nothing else does,
    // not even a language change.
    void frameBuiltWhenNeeded_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("built");
        QTest::newRow("start") << QString() << false;
        QTest::newRow("language change") << QStringLiteral("language") << false;
        QTest::newRow("to the tray and back") << QStringLiteral("tray") << false;
        QTest::newRow("device list in front") << QStringLiteral("page 0") << false;
        QTest::newRow("a device picked") << QStringLiteral("pick") << true;
        QTest::newRow("the frame in front") << QStringLiteral("page 1") << true;
        QTest::newRow("the repair button") << QStringLiteral("repair") << true;
    }

    void frameBuiltWhenNeeded()
    {
        QFETCH(QString, action);
        QFETCH(bool, built);
        Make();
        TRY_COMPARE(DialogChange::DeviceButtons.size(), 1);
        if (action == QLatin1String("language")) {
            window->Chooser()->on_comboBox_activated(1);
        } else if (action == QLatin1String("tray")) {
            DialogMain::SetTrayTest([] { return true; });
            window->SlotChangeSize(2);
            window->on_activatedSysTrayIcon(QSystemTrayIcon::Trigger);
        } else if (action == QLatin1String("page 0")) {
            window->SlotChangeMainDialog(0);
        } else if (action == QLatin1String("pick")) {
            QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        } else if (action == QLatin1String("page 1")) {
            window->SlotChangeMainDialog(1);
        } else if (action == QLatin1String("repair")) {
            window->Chooser()->on_Repair_clicked();
            // The settings page's update and repair dialog opens; closed
            // again, it leaves nothing open for the later tests.
            QVERIFY(RepairDialog && RepairDialog->isVisible());
            RepairDialog->close();
        }
        QCOMPARE(window->FrameBuilt(), built);
        QCOMPARE(Stack()->count(), built ? 2 : 1);
        QCOMPARE(WorkerInstance.load() != nullptr, built);
    }

    // A language index left in the registry layer moves to Macro.ini once
    // and is removed there; the windows come up in that language.
    void languageMovesFromRegistry_data()
    {
        QTest::addColumn<QVariant>("registry");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("mainItem");
        QTest::newRow("Korean") << QVariant(3) << QStringLiteral("3") << QString::fromUtf8("메인 창 열기");
        QTest::newRow("zero moves nothing") << QVariant(0) << QStringLiteral("1") << QString::fromUtf8("显示主界面");
        QTest::newRow("none") << QVariant() << QStringLiteral("1") << QString::fromUtf8("显示主界面");
    }

    void languageMovesFromRegistry()
    {
        QFETCH(QVariant, registry);
        QFETCH(QString, stored);
        QFETCH(QString, mainItem);
        MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("1"));
        if (registry.isValid())
            QVERIFY(Registry::Instance()->SetValue(Registry::LanguageIndexKey(), registry));
        Make();
        QCOMPARE(MacroIni::Instance()->GetValue(QStringLiteral("Language"), QStringLiteral("Language")), stored);
        QVERIFY(!Registry::Instance()->Contains(Registry::LanguageIndexKey()));

        DialogMain::SetTrayTest([] { return true; });
        window->SlotChangeSize(2);
        QVERIFY(window->TrayMenu());
        const QList<QAction*> items = window->TrayMenu()->actions();
        QCOMPARE(items.size(), 3);
        QCOMPARE(items.at(0)->text(), mainItem);
        QVERIFY(items.at(1)->isSeparator());
    }

    // To the tray and closing, by who asks: the frame (0, 1) tells the device
    // that the program is gone, the device list (2, 3) does not.
    void changeSize_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QByteArrayList>("calls");
        QTest::addColumn<QString>("state");   // tray, minimised, closed, shown

        const QByteArrayList close{"StopUsbChanged", "UsbServer_Exit"};
        QTest::newRow("frame to tray") << 0 << true << QByteArrayList{"UsbServer_SetPCDriverStatus(0)"} << "tray";
        QTest::newRow("frame, no tray") << 0 << false << QByteArrayList{"UsbServer_SetPCDriverStatus(0)"}
                                        << "minimised";
        QTest::newRow("frame closes") << 1 << true << QByteArrayList{"UsbServer_SetPCDriverStatus(0)"} + close
                                      << "closed";
        QTest::newRow("list to tray") << 2 << true << QByteArrayList{} << "tray";
        QTest::newRow("list, no tray") << 2 << false << QByteArrayList{} << "minimised";
        QTest::newRow("list closes") << 3 << false << close << "closed";
        QTest::newRow("other") << 4 << true << QByteArrayList{} << "shown";
    }

    void changeSize()
    {
        QFETCH(int, mode);
        QFETCH(bool, tray);
        QFETCH(QByteArrayList, calls);
        QFETCH(QString, state);
        Make();
        DialogMain::SetTrayTest([tray] { return tray; });
        PostMsg::Instance()->PostChangeSize(mode);
        QCOMPARE(CallNames(), calls);
        QCOMPARE(window->isVisible(), state == QLatin1String("minimised") || state == QLatin1String("shown"));
        QCOMPARE(window->isMinimized(), state == QLatin1String("minimised"));
        QCOMPARE(window->TrayIcon()->isVisible(), state == QLatin1String("tray"));
        if (state == QLatin1String("closed")) {
            // The device-change notices stop 200 ms before the device closes.
            const QList<LibraryProbe::Call> all = LibraryProbe::Calls();
            const qint64 waited = all.last().ms - all.at(all.size() - 2).ms;
            QVERIFY2(waited >= 200, qPrintable(QString::number(waited)));
        }
    }

    // Back from the tray: a click on the icon (or its menu item) tells the
    // device again when the frame is in front; a double click does not.
    void backFromTray_data()
    {
        QTest::addColumn<bool>("frame");
        QTest::addColumn<int>("reason");
        QTest::addColumn<QByteArrayList>("calls");
        QTest::newRow("click, frame") << true << int(QSystemTrayIcon::Trigger)
                                      << QByteArrayList{"UsbServer_SetPCDriverStatus(1)"};
        QTest::newRow("click, list") << false << int(QSystemTrayIcon::Trigger) << QByteArrayList{};
        QTest::newRow("double click, frame") << true << int(QSystemTrayIcon::DoubleClick) << QByteArrayList{};
        QTest::newRow("menu item, frame") << true << -1 << QByteArrayList{"UsbServer_SetPCDriverStatus(1)"};
    }

    void backFromTray()
    {
        QFETCH(bool, frame);
        QFETCH(int, reason);
        QFETCH(QByteArrayList, calls);
        Make();
        if (frame)
            ShowFrame();
        DialogMain::SetTrayTest([] { return true; });
        window->SlotChangeSize(frame ? 0 : 2);
        QVERIFY(!window->isVisible());
        LibraryProbe::Clear();
        if (reason < 0)
            window->TrayMenu()->actions().first()->trigger();
        else
            emit window->TrayIcon()->activated(QSystemTrayIcon::ActivationReason(reason));
        // A click comes back once the tray icon's own handling has returned.
        TRY_VERIFY(window->isVisible());
        QVERIFY(!window->TrayIcon()->isVisible());
        QCOMPARE(CallNames(), calls);
    }

    // Going to the tray twice and then asking for the menu opens it once.
    void trayMenuOpensOnce()
    {
        Make();
        DialogMain::SetTrayTest([] { return true; });
        window->SlotChangeSize(2);
        window->SlotChangeSize(2);
        int opened = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                ++opened;
                popup->close();
            }
        });
        closer.start(20);
        emit window->TrayIcon()->activated(QSystemTrayIcon::Context);
        TRY_COMPARE(opened, 1);
        // What the request queued is delivered, and the closer has looked
        // once more: no menu opens again.
        QCoreApplication::sendPostedEvents();
        QSignalSpy looked(&closer, &QTimer::timeout);
        QVERIFY(looked.wait(DefaultTestLimit()));
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(opened, 1);
    }

    // Without a tray the window is minimised; restoring it tells the device
    // again when it was told the program was gone.
    void restoredFromMinimised_data()
    {
        QTest::addColumn<bool>("frame");
        QTest::addColumn<QByteArrayList>("calls");
        QTest::newRow("frame") << true << QByteArrayList{"UsbServer_SetPCDriverStatus(0)", "UsbServer_SetPCDriverStatus(1)"};
        QTest::newRow("list") << false << QByteArrayList{};
    }

    void restoredFromMinimised()
    {
        QFETCH(bool, frame);
        QFETCH(QByteArrayList, calls);
        Make();
        DialogMain::SetTrayTest([] { return false; });
        if (frame) {
            ShowFrame();
            window->Frame()->WindowMin();
        } else {
            window->SlotChangeSize(2);
        }
        QVERIFY(window->isMinimized());
        window->showNormal();
        QVERIFY(!window->isMinimized());
        QCOMPARE(CallNames(), calls);
    }

    // Closed by the window system (or a termination request): it leaves as
    // the close button of the page in front does.
    void closedFromOutside_data()
    {
        QTest::addColumn<bool>("frame");
        QTest::addColumn<QByteArrayList>("calls");
        QTest::newRow("frame") << true
                               << QByteArrayList{"UsbServer_SetPCDriverStatus(0)", "StopUsbChanged", "UsbServer_Exit"};
        QTest::newRow("list") << false << QByteArrayList{"StopUsbChanged", "UsbServer_Exit"};
    }

    void closedFromOutside()
    {
        QFETCH(bool, frame);
        QFETCH(QByteArrayList, calls);
        Make();
        const QString cacheName = DeviceCacheFile::FileName(0x0A, 0x01);
        QFile::remove(DeviceCacheFile::Folder() + cacheName);
        LiveFlashData.set(PatternImage(9));
        CacheWriteName.set(cacheName);
        if (frame)
            ShowFrame();
        window->close();
        TRY_VERIFY(!window->isVisible());
        QCOMPARE(CallNames(), calls);
        FlashDataMap stored;
        QCOMPARE(DeviceCacheFile::Read(cacheName, &stored), frame);
    }

    // The tray's exit item ends the event loop with 0 and stops the device
    // notices first, without telling the device.
    void trayExitEndsLoop()
    {
        Make();
        DialogMain::SetTrayTest([] { return true; });
        window->SlotChangeSize(2);
        LibraryProbe::Clear();
        QTimer::singleShot(0, window.get(), [this] { window->TrayMenu()->actions().last()->trigger(); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(CallNames(), QByteArrayList{"StopUsbChanged"});
        QVERIFY(!window->TrayIcon()->isVisible());
    }

    // The stack follows the bus: 1 shows the frame with the worker's change
    // notices, 0 closes the device and brings the list back with its own.
    void pageChanges()
    {
        Make();
        UiReady = false;
        PostMsg::Instance()->PostChangeMainDialog(1);
        QVERIFY(UiReady);
        QCOMPARE(Stack()->currentIndex(), 1);
        QCOMPARE(LibraryProbe::CallsOf("StartUsbChanged").last().callback, Callback(&Worker::OnUsbChanged));

        DeviceChosen = 1;
        QSignalSpy second(PostMsg::Instance(), &PostMsg::SigSecondPageChange);
        QSignalSpy mainPage(PostMsg::Instance(), &PostMsg::SigMainPageChange);
        LibraryProbe::Clear();
        PostMsg::Instance()->PostChangeMainDialog(0);
        QCOMPARE(second.count(), 1);
        QCOMPARE(mainPage.count(), 1);
        QCOMPARE(DeviceChosen.load(), 0);
        QCOMPARE(Stack()->currentIndex(), 0);
        QCOMPARE(CallNames(), (QByteArrayList{"UsbServer_Exit", "StartUsbChanged"}));
        const QList<LibraryProbe::Call> calls = LibraryProbe::Calls();
        QCOMPARE(calls.last().callback, Callback(&DialogChange::UsbChangedCallback));
        QCOMPARE(calls.last().argument, 600);
        QVERIFY(calls.last().ms - calls.first().ms >= 100);

        LibraryProbe::Clear();
        PostMsg::Instance()->PostChangeMainDialog(7);
        QCOMPARE(Stack()->currentIndex(), 0);
        QVERIFY(LibraryProbe::Calls().isEmpty());
    }

    // The offline notice: its text by the reason, over the window's centre
    // 20 pixels up. An offline device's notice closes when the device is
    // back, and the device is read again; a time-out's notice stays until the
    // user closes it (the device is read again then) or a whole configuration
    // arrives.
    void offlineNotice_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("closedBy");     // online, user, configuration
        QTest::addColumn<bool>("flagsWhileOpen");  // OfflinePending and ReReadRequested
        QTest::addColumn<bool>("readAgain");       // ReReadRequested once closed
        QTest::newRow("offline") << 0 << QStringLiteral("The mouse is offline. Move it to wake it up") << "online"
                                 << true << true;
        QTest::newRow("no answer, closed by the user")
            << 1 << QStringLiteral("The device did not answer in time. Please try again") << "user" << false << true;
        QTest::newRow("no answer, the configuration arrives")
            << 1 << QStringLiteral("The device did not answer in time. Please try again") << "configuration" << false
            << false;
    }

    void offlineNotice()
    {
        QFETCH(int, reason);
        QFETCH(QString, text);
        QFETCH(QString, closedBy);
        QFETCH(bool, flagsWhileOpen);
        QFETCH(bool, readAgain);
        Make();
        OfflinePending = false;
        ReReadRequested = false;
        QString shown;
        QPoint position;
        bool flagsSet = false;
        bool openAfterOnline = false;
        ModalAnswer answer([&](QWidget* notice) {
            shown = notice->findChild<QLabel*>(QStringLiteral("label"))->text();
            position = notice->pos() - window->pos();
            flagsSet = OfflinePending && ReReadRequested;
            PostMsg::Instance()->PostCloseOffOnline();
            QTest::qWait(50);
            openAfterOnline = notice->isVisible();
            if (closedBy == QLatin1String("user"))
                notice->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
            else if (closedBy == QLatin1String("configuration"))   // from the device library's thread
                QVERIFY(RunOnOtherThread([] { PostMsg::Instance()->PostForm(); }));
        });
        PostMsg::Instance()->PostMouseOffLineo(reason);
        QCOMPARE(answer.DialogClass(), QStringLiteral("MouseOffLine"));
        QCOMPARE(shown, text);
        QCOMPARE(position, QPoint((1020 - 300) / 2, (700 - 140) / 2 - 20));
        QCOMPARE(flagsSet, flagsWhileOpen);
        QCOMPARE(openAfterOnline, closedBy != QLatin1String("online"));
        QCOMPARE(bool(ReReadRequested), readAgain);
    }

    // With the worker's online check running on an answering device, the
    // time-out notice stays, and the device is not read again meanwhile.
    void timeOutNoticeStaysWhileOnlineCheckRuns()
    {
        Make();
        // The frame with its worker, as once a device has been picked; the
        // online check's period scaled down.
        Timing::SetScale(0.05);
        const auto scale = qScopeGuard([] { Timing::SetScale(1); });
        window->Frame();
        QVERIFY(WorkerInstance.load());
        QSignalSpy checks(WorkerInstance.load()->OnlineCheckTimer(), &QTimer::timeout);
        QSignalSpy reads(PostMsg::Instance(), &PostMsg::SigUpDataParam);
        CurrentDevicePath.set(QByteArray(SimDevice_PathOf("receiver")));
        DeviceChosen = 1;
        DeviceWatchEnabled = true;
        DeviceOnline = true;
        bool open = false;
        ModalAnswer answer([&](QWidget* notice) {
            // Three periods of the online check.
            const int before = checks.count();
            QTRY_VERIFY_WITH_TIMEOUT(checks.count() >= before + 3, TestLimit(30000));
            open = notice->isVisible();
            // No device work from here on.
            DeviceChosen = 0;
            DeviceOnline = false;
            if (open)
                notice->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
        });
        PostMsg::Instance()->PostMouseOffLineo(1);
        QCOMPARE(answer.DialogClass(), QStringLiteral("MouseOffLine"));
        QVERIFY(open);
        QCOMPARE(reads.count(), 0);
    }

    // Dragging the frameless window by a press anywhere but its very corner.
    void dragging_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("from the title band") << QPoint(300, 20) << QPoint(350, 50) << QPoint(50, 30);
        QTest::newRow("from the corner") << QPoint(0, 0) << QPoint(40, 40) << QPoint(0, 0);
    }

    void dragging()
    {
        QFETCH(QPoint, press);
        QFETCH(QPoint, move);
        QFETCH(QPoint, moved);
        Make();
        window->move(100, 80);
        const QPoint start = window->pos();
        SendMouse(window.get(), QEvent::MouseButtonPress, press, Qt::LeftButton);
        SendMouse(window.get(), QEvent::MouseMove, move, Qt::LeftButton);
        SendMouse(window.get(), QEvent::MouseButtonRelease, move, Qt::NoButton);
        QCOMPARE(window->pos() - start, moved);
        // After the release a move drags nothing.
        const QPoint after = window->pos();
        SendMouse(window.get(), QEvent::MouseMove, QPoint(500, 300), Qt::LeftButton);
        QCOMPARE(window->pos(), after);
    }

    // The window's keys on both pages, and none while a macro is recorded.
    void keys_data()
    {
        QTest::addColumn<bool>("frame");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("enterKeys");
        QTest::addColumn<bool>("accepted");

        for (bool frame : {false, true}) {
            const char* page = frame ? "frame" : "list";
            QTest::addRow("%s: Return", page) << frame << false << int(Qt::Key_Return) << 1 << true;
            QTest::addRow("%s: Enter", page) << frame << false << int(Qt::Key_Enter) << 1 << true;
            QTest::addRow("%s: Escape", page) << frame << false << int(Qt::Key_Escape) << 0 << true;
            QTest::addRow("%s: F12", page) << frame << false << int(Qt::Key_F12) << 0 << true;
            QTest::addRow("%s: other", page) << frame << false << int(Qt::Key_A) << 0 << false;
            for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape), int(Qt::Key_Space),
                            int(Qt::Key_A)})
                QTest::addRow("%s: %d while recording", page, key) << frame << true << key << 0 << true;
        }
    }

    void keys()
    {
        QFETCH(bool, frame);
        QFETCH(bool, recording);
        QFETCH(int, key);
        QFETCH(int, enterKeys);
        QFETCH(bool, accepted);
        Make();
        if (frame)
            ShowFrame();
        MacroRecording = recording;
        QSignalSpy enter(PostMsg::Instance(), &PostMsg::SigEnterKey);
        const Qt::KeyboardModifiers modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(window.get(), &press);
        QCOMPARE(enter.count(), enterKeys);
        QCOMPARE(press.isAccepted(), accepted);
        // Nothing closes the window, nor opens a dialog over it.
        QVERIFY(window->isVisible());
        QCOMPARE(window->result(), 0);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // Space on the device list: the selection's firmware check for one
    // listed receiver, without the re-pair question; on the frame: pairing
    // of the current device, after which the worker has the device again.
    void spaceKey_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("frame");
        QTest::addColumn<QString>("version");      // recorded mouse version
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("dialog");       // "" none

        const QString twoReceivers = QStringLiteral(
            R"({"receivers": [{"id": "receiver", "kind": 4, "model": 1, "address": "10:00:01"},)"
            R"( {"id": "other", "kind": 1, "model": 2, "address": "20:00:02"}],)"
            R"( "mice": [{"id": "mouse", "model": 1, "receiver": "receiver"},)"
            R"( {"id": "mouse2", "model": 2, "receiver": "other"}]})");
        const QStringList none;
        const QStringList both{QStringLiteral("mouse"), QStringLiteral("receiver")};
        QTest::newRow("two listed") << twoReceivers << false << QString() << none << QString();
        QTest::newRow("one on the cable") << QStringLiteral(TALVIRE_SCENARIO_DIR "/wired.json") << false << QString()
                                          << none << QString();
        QTest::newRow("no recorded version") << QString() << false << QString() << both << QStringLiteral("Match");
        QTest::newRow("both images") << QString() << false << QStringLiteral("v1.5") << both << QStringLiteral("Match");
        QTest::newRow("no image") << QString() << false << QStringLiteral("v1.5") << none << QStringLiteral("Match");
        QTest::newRow("mouse image") << QString() << false << QStringLiteral("v1.5") << QStringList{"mouse"}
                                     << QStringLiteral("UpDateWarning");
        QTest::newRow("receiver image") << QString() << false << QStringLiteral("v1.5") << QStringList{"receiver"}
                                        << QStringLiteral("ContainReset");
        QTest::newRow("frame") << QString() << true << QStringLiteral("v1.5") << none << QStringLiteral("Match");
    }

    void spaceKey()
    {
        QFETCH(QString, scenario);
        QFETCH(bool, frame);
        QFETCH(QString, version);
        QFETCH(QStringList, images);
        QFETCH(QString, dialog);

        if (scenario.startsWith(QLatin1Char('{')))
            QVERIFY(SimDevice_LoadScenario(scenario.toUtf8().constData()));
        else if (!scenario.isEmpty())
            QVERIFY(SimDevice_LoadScenarioFile(scenario.toLocal8Bit().constData()));
        QVERIFY(imageFolder.isValid());
        QDir(imageFolder.path()).removeRecursively();
        QVERIFY(QDir().mkpath(imageFolder.path()));
        if (images.contains(QStringLiteral("mouse")))
            QVERIFY(WriteFirmwareImage(imageFolder.path(), QStringLiteral("mouse.bin"), FirmwareImages::MouseType,
                                       "TVM1-Mouse", 0x0106));
        if (images.contains(QStringLiteral("receiver")))
            QVERIFY(WriteFirmwareImage(imageFolder.path(), QStringLiteral("r4k.bin"), FirmwareImages::ReceiverType,
                                       "TVR1-4K", 0x0103));
        FirmwareImages::SetFolder(imageFolder.path());
        if (!version.isEmpty())
            QVERIFY(Registry::Instance()->SetValue(Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1")),
                                                   version));
        Make();
        TRY_VERIFY(!DialogChange::DeviceButtons.isEmpty());
        const QByteArray current = SimDevice_PathOf("receiver");
        if (frame) {
            CurrentDevice.set(Found("receiver"));
            CurrentDevicePath.set(current);
            ShowFrame();
            DeviceChosen = 1;
        }
        LibraryProbe::Clear();

        QString target;
        QString text;
        ModalAnswer answer([&](QWidget* shown) {
            if (auto* match = qobject_cast<Match*>(shown))
                target = match->targetPath();
            if (auto* label = shown->findChild<QLabel*>(QStringLiteral("label")))
                text = label->text();
            // Each is left by its close button (the question: declined).
            shown->findChild<QAbstractButton*>(QStringLiteral("CloseButton"))->click();
        });
        QTest::keyClick(window.get(), Qt::Key_Space);
        QTest::qWait(dialog.isEmpty() ? 400 : 0);
        QCOMPARE(answer.DialogClass(), dialog);
        if (dialog.isEmpty())
            answer.Cancel();
        if (dialog == QLatin1String("Match"))
            QCOMPARE(target, frame ? QString::fromLatin1(current) : ShownDevices.first().path);
        // The settings page's text: the mouse is updated on its cable.
        if (dialog == QLatin1String("UpDateWarning"))
            QCOMPARE(text, QStringLiteral("Connect the mouse with its USB cable to update its firmware"));
        if (dialog == QLatin1String("ContainReset"))
            QCOMPARE(text, MouseIsNewTipsText);
        // Nothing more follows a declined question.
        QVERIFY(!QApplication::activeModalWidget());
        if (frame) {
            QCOMPARE(LibraryProbe::CallsOf("StartUsbChanged").last().callback, Callback(&Worker::OnUsbChanged));
            DeviceChosen = 0;
            CurrentDevice.set(DeviceAllInfo());
        }
    }

    // On the frame, Space pairs from whichever control has the focus on any
    // page, except a field the user types in and a macro recording.
    void spaceKeyOverFocusedControls_data()
    {
        QTest::addColumn<QString>("page");     // the frame's page button
        QTest::addColumn<QString>("control");  // the control with the focus
        QTest::addColumn<bool>("recording");
        QTest::addColumn<bool>("pairs");

        QTest::newRow("profile list") << "ButtonMain" << "ProjectChoose" << false << true;
        QTest::newRow("debounce list") << "ButtonMain" << "Debunce" << false << true;
        QTest::newRow("page button") << "ButtonMain" << "ButtonMain" << false << true;
        QTest::newRow("sensor switch") << "SensorButton" << "Performance" << false << true;
        QTest::newRow("macro list") << "MacroButton" << "listWidgetHong" << false << true;
        QTest::newRow("delay field") << "MacroButton" << "DelayTime" << false << false;
        QTest::newRow("repeat field") << "MacroButton" << "NumberEdit" << false << false;
        QTest::newRow("macro list, recording") << "MacroButton" << "listWidgetHong" << true << false;
        QTest::newRow("language list") << "FormSetting" << "comboBox" << false << true;
    }

    void spaceKeyOverFocusedControls()
    {
        QFETCH(QString, page);
        QFETCH(QString, control);
        QFETCH(bool, recording);
        QFETCH(bool, pairs);
        Make();
        ShowFrame();
        window->Frame()->findChild<QAbstractButton*>(page)->click();
        auto* widget = window->Frame()->findChild<QWidget*>(control);
        QVERIFY(widget);
        QVERIFY(widget->isVisible());
        widget->setFocusPolicy(Qt::StrongFocus);
        widget->setFocus();
        TRY_VERIFY(widget->hasFocus());
        MacroRecording = recording;
        auto* button = qobject_cast<QAbstractButton*>(widget);
        const bool checked = button && button->isChecked();

        ModalAnswer answer = ModalAnswer::Click(QStringLiteral("CloseButton"));
        QTest::keyClick(widget, Qt::Key_Space);
        if (pairs) {
            QCOMPARE(answer.DialogClass(), QStringLiteral("Match"));
        } else {
            // A pairing dialog would have opened within the key's handling,
            // or from what it posted.
            QCoreApplication::sendPostedEvents();
            QVERIFY(!answer.Answered());
            answer.Cancel();
        }
        // The control does not take it as well: no list opens, no switch turns.
        if (auto* box = qobject_cast<QComboBox*>(widget))
            QVERIFY(!box->view()->isVisible());
        if (button)
            QCOMPARE(button->isChecked(), checked);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void screenshots()
    {
        Make();
        TRY_VERIFY(!ShownDevices.isEmpty());
        QTest::qWait(100);
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("top_window_list")).isEmpty());
        ShowFrame();
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("top_window_frame")).isEmpty());
    }
};

TALVIRE_TEST_MAIN(TopWindowTest)
#include "test_top_window.moc"
