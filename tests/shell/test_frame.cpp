// The configuration frame and its four pages: the battery display fed from
// the device library's thread, the page buttons, the lock while a macro is
// recorded, the keys it swallows, going back to the device list and closing
// (the device's configuration stored first), and the pages taking whole images
// and stopping the device worker when they go.
#include "core/DeviceCacheFile.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/Timing.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/UpDataParam.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/macro/Macro.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "shell/Dialog.h"

#include "tests/common/ModalAnswer.h"
#include "tests/common/OtherThread.h"
#include "tests/common/PickedMouse.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/TestImages.h"
#include "tests/shell/LibraryProbe.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QThread>
#include <QToolButton>

#include <atomic>
#include <memory>

namespace {
// Records the keys that reach it: the frame's parent in the top window.
class KeyHost : public QWidget {
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.append(event->key()); }
};

// The bus signals of leaving the frame, in the order they come.
class LeaveLog : public QObject {
public:
    struct Entry {
        QByteArray name;
        int argument;
        qint64 ms;
    };
    QList<Entry> entries;
    QElapsedTimer clock;

    LeaveLog()
    {
        clock.start();
        PostMsg* bus = PostMsg::Instance();
        connect(bus, &PostMsg::SigChangeMainDialog, this, [this](int page) { Add("SigChangeMainDialog", page); });
        connect(bus, &PostMsg::SigSetMacroPage, this, [this] { Add("SigSetMacroPage", 0); });
        connect(bus, &PostMsg::SigChangeSize, this, [this](int mode) { Add("SigChangeSize", mode); });
        connect(bus, &PostMsg::SigAddMacroButton, this, [this] { Add("SigAddMacroButton", 0); });
    }
    void Add(const char* name, int argument) { entries.append({name, argument, clock.elapsed()}); }
    QByteArrayList Names() const
    {
        QByteArrayList names;
        for (const Entry& e : entries)
            names << e.name + '(' + QByteArray::number(e.argument) + ')';
        return names;
    }
};

const QString CacheName = DeviceCacheFile::FileName(0x0A, 0x01);

QString CachePath()
{
    return DeviceCacheFile::Folder() + CacheName;
}
} // namespace

class FrameTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<KeyHost> host;
    Dialog* frame = nullptr;

    template <class T = QWidget>
    T* Child(const char* name)
    {
        T* child = frame->findChild<T*>(QLatin1String(name));
        if (!child)
            qWarning() << "no child" << name;
        return child;
    }

    QStackedWidget* Pages() { return Child<QStackedWidget>("stackedWidgetDialog"); }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        SimDevice_Reset();
    }

    void init()
    {
        QFile::remove(CachePath());
        host = std::make_unique<KeyHost>();
        frame = new Dialog(host.get());
        host->resize(frame->size());
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get(), DefaultTestLimit()));
        LibraryProbe::Clear();
    }

    void cleanup()
    {
        LibraryProbe::OnCall({});
        host.reset();
        frame = nullptr;
        MacroRecording = false;
    }

    // The form the frame is built on: the four pages stacked as buttons,
    // sensor, macros, settings, the button page in front and its button
    // marked, the lighting and settings buttons hidden, the fixed size.
    void builtAsTheTopWindowExpects()
    {
        QStackedWidget* pages = Pages();
        QCOMPARE(pages->count(), 4);
        QVERIFY(qobject_cast<Buttoninterface*>(pages->widget(0)));
        QVERIFY(qobject_cast<Sensor*>(pages->widget(1)));
        QVERIFY(qobject_cast<Macro*>(pages->widget(2)));
        QVERIFY(qobject_cast<FormSetting*>(pages->widget(3)));
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(Child<QToolButton>("ButtonMain")->isChecked());
        QVERIFY(!Child("LightsButton")->isVisible());
        QVERIFY(!Child("SetButton")->isVisible());
        QVERIFY(!Child("label")->isVisible());
        QVERIFY(!Child("label_2")->isVisible());
        QVERIFY(!Child("label_3")->isVisible());
        QCOMPARE(frame->size(), QSize(1020, 700));
        QCOMPARE(frame->minimumSize(), frame->maximumSize());
        // The button page made the device worker.
        QVERIFY(WorkerInstance.load() != nullptr);
        const QString style = Child("ButtonMain")->styleSheet();
        QVERIFY2(style.contains(frame->PictureFolder() + QStringLiteral("HomeChecked.png")), qPrintable(style));
        QVERIFY(QFile::exists(frame->PictureFolder() + QStringLiteral("HomeChecked.png")));
    }

    // Each page button brings its page to the front, one button marked at a
    // time; the button page also asks for its macro entries again.
    void pageButtonsSwitchPages_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        QTest::newRow("sensor") << QStringLiteral("SensorButton") << 1;
        QTest::newRow("macros") << QStringLiteral("MacroButton") << 2;
        QTest::newRow("settings") << QStringLiteral("FormSetting") << 3;
        QTest::newRow("buttons") << QStringLiteral("ButtonMain") << 0;
    }

    void pageButtonsSwitchPages()
    {
        QFETCH(QString, button);
        QFETCH(int, page);
        Child<QToolButton>("MacroButton")->click();   // start elsewhere
        LeaveLog log;
        auto* tool = frame->findChild<QToolButton*>(button);
        QTest::mouseClick(tool, Qt::LeftButton);
        QCOMPARE(Pages()->currentIndex(), page);
        QVERIFY(tool->isChecked());
        int checked = 0;
        for (const char* name : {"ButtonMain", "SensorButton", "MacroButton", "FormSetting", "LightsButton"})
            checked += Child<QToolButton>(name)->isChecked() ? 1 : 0;
        QCOMPARE(checked, 1);
        QCOMPARE(log.Names().contains("SigAddMacroButton(0)"), page == 0);
    }

    void secondPageChangeShowsButtonPage()
    {
        Child<QToolButton>("SensorButton")->click();
        PostMsg::Instance()->PostSecondPageChange();
        QCOMPARE(Pages()->currentIndex(), 0);
        QVERIFY(Child<QToolButton>("ButtonMain")->isChecked());
    }

    // The battery report comes from the library's report thread and waits
    // until the frame has shown it.
    void batteryDisplay_data()
    {
        QTest::addColumn<bool>("charging");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("showValue");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("red");

        QTest::newRow("15 is low") << false << 15 << true << 15 << QStringLiteral("15%") << true;
        QTest::newRow("16 is not") << false << 16 << true << 16 << QStringLiteral("16%") << false;
        QTest::newRow("empty and charging") << true << 0 << true << 0 << QStringLiteral("0%") << true;
        QTest::newRow("with percent sign") << false << 73 << true << 73 << QStringLiteral("73%") << false;
        QTest::newRow("without percent sign") << false << 73 << false << 73 << QStringLiteral("73") << false;
        QTest::newRow("full and charging") << true << 100 << false << 100 << QStringLiteral("100") << false;
        // A level the bar cannot show keeps it at its end, not at the last level.
        QTest::newRow("above full") << false << 120 << true << 100 << QStringLiteral("120%") << false;
    }

    void batteryDisplay()
    {
        QFETCH(bool, charging);
        QFETCH(int, level);
        QFETCH(bool, showValue);
        QFETCH(int, bar);
        QFETCH(QString, text);
        QFETCH(bool, red);

        // A different state first, so that every field has to change.
        QVERIFY(RunOnOtherThread([] { PostMsg::Instance()->PostBattery(true, 50, false); }));
        bool shownWhenReturned = false;
        QVERIFY(RunOnOtherThread([&] {
            PostMsg::Instance()->PostBattery(charging, level, showValue);
            shownWhenReturned = true;
        }));
        QVERIFY(shownWhenReturned);
        auto* progress = Child<QProgressBar>("progressBar");
        QCOMPARE(progress->value(), bar);
        QCOMPARE(Child<QLabel>("label_2")->text(), text);
        QCOMPARE(Child("label")->isVisible(), charging);
        QVERIFY(!Child("label_2")->isVisible());
        const QString style = progress->styleSheet();
        QCOMPARE(style.contains(QStringLiteral("rgb(152, 43, 34)")), red);
        QCOMPARE(style.contains(QStringLiteral("rgb(0, 255, 153)")), !red);
    }

    // A macro recording locks the page buttons; only 0 and 1 count.
    void recordingLocksPageButtons_data()
    {
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("recording") << QList<int>{0} << false;
        QTest::newRow("recorded") << QList<int>{0, 1} << true;
        QTest::newRow("other value while recording") << QList<int>{0, 2} << false;
        QTest::newRow("other value") << QList<int>{2} << true;
    }

    void recordingLocksPageButtons()
    {
        QFETCH(QList<int>, states);
        QFETCH(bool, enabled);
        for (int state : states)
            PostMsg::Instance()->PostStartRecord(state);
        for (const char* name : {"ButtonMain", "SensorButton", "MacroButton", "FormSetting", "LightsButton"})
            QVERIFY2(Child(name)->isEnabled() == enabled, name);
    }

    // Going back to the device list ends a recording: the macro page tells
    // the frame, which unlocks its buttons.
    void leavingEndsRecording()
    {
        MacroRecording = true;
        PostMsg::Instance()->PostStartRecord(0);
        QVERIFY(!Child("SensorButton")->isEnabled());
        PostMsg::Instance()->PostSetMacroPage();
        QVERIFY(!MacroRecording);
        QVERIFY(Child("SensorButton")->isEnabled());
    }

    // Escape and F12 end in the frame; other keys go on to the top window.
    void swallowsEscapeAndF12()
    {
        for (int key : {int(Qt::Key_Escape), int(Qt::Key_F12), int(Qt::Key_A), int(Qt::Key_Space)})
            QTest::keyClick(frame, Qt::Key(key));
        QCOMPARE(host->keys, (QList<int>{Qt::Key_A, Qt::Key_Space}));
        QVERIFY(frame->isVisible());
    }

    // Back to the device list: the device is told the program is gone, the
    // live image is stored before the library closes the device, and the
    // list comes to the front 100 ms later; then the macro page is left.
    void backStoresThenClosesDevice()
    {
        const FlashDataMap image = PatternImage(11);
        LiveFlashData.set(image);
        CacheWriteName.set(CacheName);
        Child<QToolButton>("SensorButton")->click();
        bool storedAtExit = false;
        LibraryProbe::OnCall([&](const LibraryProbe::Call& call) {
            if (call.name != "UsbServer_Exit")
                return;
            FlashDataMap stored;
            storedAtExit = DeviceCacheFile::Read(CacheName, &stored) && SameImage(stored, image);
        });
        LeaveLog log;
        const qint64 clicked = log.clock.elapsed();
        QTest::mouseClick(Child("UpArrow"), Qt::LeftButton);

        QVERIFY(storedAtExit);
        const QList<LibraryProbe::Call> calls = LibraryProbe::Calls();
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls.at(0).name, QByteArray("UsbServer_SetPCDriverStatus"));
        QCOMPARE(calls.at(0).argument, 0);
        QCOMPARE(calls.at(1).name, QByteArray("UsbServer_Exit"));
        QCOMPARE(log.Names(), (QByteArrayList{"SigChangeMainDialog(0)", "SigSetMacroPage(0)"}));
        QVERIFY2(log.entries.first().ms - clicked >= 100, qPrintable(QString::number(log.entries.first().ms - clicked)));
        QVERIFY(Child<QToolButton>("ButtonMain")->isChecked());
    }

    // Close: the live image is stored, then the top window is asked to close.
    void closeStoresThenAsksToClose()
    {
        const FlashDataMap image = PatternImage(5);
        LiveFlashData.set(image);
        CacheWriteName.set(CacheName);
        bool storedWhenAsked = false;
        connect(PostMsg::Instance(), &PostMsg::SigChangeSize, frame, [&](int mode) {
            FlashDataMap stored;
            storedWhenAsked = mode == 1 && DeviceCacheFile::Read(CacheName, &stored) && SameImage(stored, image);
        });
        QTest::mouseClick(Child("CloseButton"), Qt::LeftButton);
        QVERIFY(storedWhenAsked);
    }

    void minimiseAsksForTheTray()
    {
        LeaveLog log;
        QTest::mouseClick(Child("MinButton"), Qt::LeftButton);
        QCOMPARE(log.Names(), QByteArrayList{"SigChangeSize(0)"});
    }

    // The two pages the apply dialog waits for: a whole image from another
    // thread leaves each page filled and no longer loading; an imported
    // image leaves the filled flags as they were.
    void pagesReportWholeImages()
    {
        ButtonPageFilled = false;
        SensorPageFilled = false;
        const FlashDataMap image = PatternImage(3);
        QVERIFY(RunOnOtherThread([&] {
            PostMsg::Instance()->PostUpDataLightUIButton(image);
            PostMsg::Instance()->PostUpDataLightSensor(image);
        }));
        QVERIFY(ButtonPageFilled);
        QVERIFY(SensorPageFilled);
        QVERIFY(!ButtonPageLoading);
        QVERIFY(!SensorPageLoading);

        ButtonPageFilled = false;
        SensorPageFilled = false;
        PostMsg::Instance()->PostUpDataButtonUIC(image);
        PostMsg::Instance()->PostUpDataSensorUIB(image);
        QVERIFY(!ButtonPageFilled);
        QVERIFY(!SensorPageFilled);
    }

    // Every bus connection of the frame and its pages is made by name: a name
    // that matches nothing would only show as a warning at run time (and a
    // blocking send would then pass unnoticed).
    void everyBusConnectionIsMade()
    {
        static QStringList warnings;
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&,
                                                                   const QString& message) {
            if (type != QtDebugMsg)
                warnings << message;
        });
        {
            Dialog another;
        }
        qInstallMessageHandler(previous);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }

    // The worker opened the device: the apply dialog covers the pages over
    // the frame's centre, 20 pixels up, until they have taken the device's
    // configuration (mode 0) or only waits for them (mode 1). Asked again
    // while it shows, it does not run a second modal loop over itself.
    void applyDialogCoversPages_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("flagsCleared");
        QTest::newRow("apply") << 0 << true;
        QTest::newRow("wait only") << 1 << false;
    }

    void applyDialogCoversPages()
    {
        QFETCH(int, mode);
        QFETCH(bool, flagsCleared);
        Timing::SetScale(0.02);
        DeviceDataReady = true;
        DeviceOnline = false;
        ButtonPageFilled = true;
        SensorPageFilled = true;
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QPoint position;
        bool waitOnly = false;
        ModalAnswer answer([&](QWidget* dialog) {
            position = dialog->pos() - frame->mapToGlobal(QPoint(0, 0));
            waitOnly = frame->ApplyDialog()->WaitOnlyMode();
            PostMsg::Instance()->PostUpDataParam(mode);
        });
        PostMsg::Instance()->PostUpDataParam(mode);
        QCOMPARE(answer.DialogClass(), QStringLiteral("UpDataParam"));
        QCOMPARE(position, QPoint((1020 - 300) / 2, (700 - 140) / 2 - 20));
        QCOMPARE(waitOnly, mode == 1);
        QVERIFY(!frame->ApplyDialog()->isVisible());
        // Asked for again before its run began, the dialog ran once.
        QVERIFY(!frame->ApplyDialog()->WaitOnlyMode());
        QTest::qWait(200);
        QCOMPARE(ButtonPageFilled.load(), !flagsCleared);
        QCOMPARE(SensorPageFilled.load(), !flagsCleared);
        QCOMPARE(offline.count(), 0);
        Timing::SetScale(1);
        DeviceDataReady = false;
    }

    // A write the mouse refuses leaves the live image as it was: going back
    // to the device list stores the mouse's own configuration, not the
    // refused value, and the next write does not carry it to the mouse.
    void refusedWriteIsNotStored()
    {
        Timing::SetScale(0.05);
        const auto scale = qScopeGuard([] { Timing::SetScale(1); });
        PickedMouse mouse;
        QVERIFY2(mouse.Open(), qPrintable(mouse.Missing()));
        // The updating notice comes and goes on its own.
        QTest::qWait(Timing::Ms(2500) + 50);
        TRY_VERIFY(!frame->ApplyDialog()->isVisible());
        const FlashDataMap own = mouse.Stored();
        QVERIFY(SameImage(LiveFlashData.get(), own));

        const int refused = own.sleepTime == 6 ? 3 : 6;
        QVERIFY(SimDevice_FailNextWrite(0));
        QVERIFY(!SetSleepTime(refused));
        QVERIFY(SameImage(LiveFlashData.get(), own));
        QVERIFY(SetLightSpeed(own.lightSpeed == 2 ? 3 : 2));
        QCOMPARE(int(mouse.Stored().sleepTime), int(own.sleepTime));
        QCOMPARE(mouse.Writes(), 1);

        QTest::mouseClick(Child("UpArrow"), Qt::LeftButton);
        FlashDataMap cached;
        QVERIFY(DeviceCacheFile::Read(CacheName, &cached));
        QVERIFY(SameImage(cached, mouse.Stored()));
        QCOMPARE(int(cached.sleepTime), int(own.sleepTime));
    }

    // The frame goes while the worker reads the device, whose answers wait
    // for the pages: it goes, and the worker with it.
    void goesWhileTheDeviceAnswers()
    {
        Timing::SetScale(0.05);
        const char* path = SimDevice_PathOf("receiver");
        DeviceAllInfo device;
        device.path = QString::fromLatin1(path);
        device.cid = 0x0A;
        device.mid = 0x01;
        device.linkType = 1;
        PostMsg::Instance()->PostSelectMouseInfo(device);
        DeviceChosen = 1;
        WorkerInstance.load()->RequestPass();
        QTest::qWait(20);
        // Gone (a frame that waited for the worker without serving its
        // answers would hang here until the test's time limit).
        host.reset();
        frame = nullptr;
        QVERIFY(WorkerInstance.load() == nullptr);
        QCOMPARE(LibraryProbe::CallsOf("StopUsbChanged").size(), 1);
        DeviceChosen = 0;
        Timing::SetScale(1);
        UsbServer_Exit();
    }

    // The frame goes while a pass waits in a blocking send for the pages: the
    // mouse is switched off, so the pass shows the stored configuration (none:
    // the default functions), and the GUI thread is busy meanwhile. The button
    // page's stop serves the send, so the frame goes within the page's bound
    // and the worker with it; a page that waited for the worker without
    // serving the GUI thread would never see the pass end.
    void goesWhileAPassWaitsForThePages()
    {
        // Connected after the pages: runs on the pass's thread once the send
        // has ended.
        std::atomic<bool> sendEnded{false};
        QObject spy;
        connect(PostMsg::Instance(), &PostMsg::SigFormReset, &spy, [&] { sendEnded = true; }, Qt::DirectConnection);
        QVERIFY(!QFile::exists(CachePath()));
        QVERIFY(SimDevice_SetPower("mouse", 0));
        DeviceAllInfo device;
        device.path = QString::fromLatin1(SimDevice_PathOf("receiver"));
        device.cid = 0x0A;
        device.mid = 0x01;
        device.linkType = 1;
        PostMsg::Instance()->PostSelectMouseInfo(device);
        DeviceChosen = 1;
        OfflinePending = false;
        WorkerInstance.load()->RequestPass();

        // Busy, serving no events: the pass finds the mouse offline (which it
        // marks just before its send) and comes to the send, where it waits.
        QVERIFY(WaitWithoutEvents([] { return OfflinePending.load(); }, DefaultTestLimit()));
        QThread::msleep(50);
        QVERIFY(!sendEnded);
        // The frame goes, serving the send it waits for.
        host.reset();
        frame = nullptr;

        QVERIFY(sendEnded);
        QVERIFY(WorkerInstance.load() == nullptr);
        QVERIFY(SimDevice_SetPower("mouse", 1));
        DeviceChosen = 0;
        OfflinePending = false;
        UsbServer_Exit();
    }

    void screenshot()
    {
        QVERIFY(RunOnOtherThread([] { PostMsg::Instance()->PostBattery(true, 73, true); }));
        Child<QToolButton>("SensorButton")->click();
        QVERIFY(!SaveScreenshot(frame, QStringLiteral("frame")).isEmpty());
        QVERIFY(RunOnOtherThread([] { PostMsg::Instance()->PostBattery(false, 12, true); }));
        Child<QToolButton>("ButtonMain")->click();
        QVERIFY(!SaveScreenshot(frame, QStringLiteral("frame_low_battery")).isEmpty());
    }
};

TALVIRE_TEST_MAIN(FrameTest)
#include "test_frame.moc"
