// The whole program on the simulated receiver and mouse, driven as a user
// would: the device list shows the mouse, a click opens it, its whole
// configuration arrives under the apply dialog and the frame shows the
// battery; the offline notice comes and goes with the mouse's power; pulling
// the receiver brings the device list back; going back stores the mouse's
// configuration before the device is closed; closing ends in order.
#include "core/DeviceCacheFile.h"
#include "core/LanguageTexts.h"
#include "core/MacroFile.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/Timing.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/FileChooser.h"
#include "dialogs/UpDataParam.h"
#include "pages/sensor/Sensor.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "shell/mytoolButtonEnter.h"

#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/shell/ApplyDialogShows.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/shell/LibraryProbe.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>

#include <cstring>

#include <memory>

namespace {
const int Patience = TestLimit(15000);
} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogMain> window;

    QStackedWidget* Stack() { return window->findChild<QStackedWidget*>(QStringLiteral("stackedWidgetMain")); }

    // A widget of the sensor page.
    template <class T = QWidget>
    T* SensorChild(const char* name)
    {
        return window->Frame()->findChild<Sensor*>()->findChild<T*>(QLatin1String(name));
    }

    template <class T = QWidget>
    T* FrameChild(const char* name)
    {
        return window->Frame()->findChild<T*>(QLatin1String(name));
    }

    // Clicks the device's button once the list shows exactly one device,
    // and waits until its whole configuration has reached the pages.
    bool OpenTheMouse()
    {
        if (!QTest::qWaitFor([] { return ShownDevices.size() == 1 && DialogChange::DeviceButtons.size() == 1; },
                             Patience)) {
            qWarning() << "the list does not show one device:" << ShownDevices.size();
            return false;
        }
        ApplyDialogShows apply;
        qApp->installEventFilter(&apply);
        QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        if (Stack()->currentIndex() != 1) {
            qWarning() << "the frame is not in front";
            return false;
        }
        // The apply dialog covers the pages, then closes when they have the
        // configuration.
        if (!QTest::qWaitFor([&apply] { return apply.shown > 0; }, Patience)) {
            qWarning() << "no apply dialog";
            return false;
        }
        if (!QTest::qWaitFor([this] { return !window->Frame()->ApplyDialog()->isVisible(); }, Patience)) {
            qWarning() << "the apply dialog stays";
            return false;
        }
        return LiveFlashDataIsCurrent();
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        // The program's waits, ten times faster.
        Timing::SetScale(0.1);
    }

    void init()
    {
        // The library's threads stop first: an answer of the last test still
        // due would meet the state as it is reset.
        QVERIFY(SimDevice_Reset());
        ResetSharedState();
        QFile::remove(DeviceCacheFile::Folder() + DeviceCacheFile::FileName(0x0A, 0x01));
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()));
        LibraryProbe::Clear();
    }

    void cleanup()
    {
        LibraryProbe::OnCall({});
        window.reset();
        // The library's threads end first while this thread serves what a
        // callback still running waits for; the shutdown as the program's
        // end makes it then finds none left running.
        SimDevice_Reset();
        UsbLibrary_Shutdown();
    }

    // The list shows the mouse; a click opens it; the whole configuration
    // arrives and the frame shows the battery the mouse reports.
    void openingTheMouse()
    {
        QVERIFY(OpenTheMouse());
        QCOMPARE(DeviceChosen.load(), 1);
        QCOMPARE(SimDevice_PCDriverStatus(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(FrameChild<QProgressBar>("progressBar")->value(), 80, Patience);
        QVERIFY(!FrameChild("label")->isVisible());
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("end_to_end_frame")).isEmpty());

        // The mouse's battery changes: the frame follows.
        QVERIFY(SimDevice_SetBattery("mouse", 12, 1));
        QTRY_COMPARE_WITH_TIMEOUT(FrameChild<QProgressBar>("progressBar")->value(), 12, Patience);
        QVERIFY(FrameChild("label")->isVisible());
        QVERIFY(FrameChild<QProgressBar>("progressBar")->styleSheet().contains(QStringLiteral("152, 43, 34")));
    }

    // The frame, its pages and the device worker are built by the pick:
    // picked at once after the window first shows, the frame and its pages
    // still get every report of the pass.
    void pickingAtOnceAfterStart()
    {
        window.reset();
        UsbLibrary_Shutdown();
        // The library's threads stop first: an answer of the last test still
        // due would meet the state as it is reset.
        QVERIFY(SimDevice_Reset());
        ResetSharedState();
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()));
        // Picked in the turn of the event loop that listed the device: the
        // frame's preparation when idle, armed by that paint, has not run.
        QVERIFY(QTest::qWaitFor([] { return DialogChange::DeviceButtons.size() == 1; }, Patience));
        QVERIFY(!window->FrameBuilt());
        ApplyDialogShows apply;
        qApp->installEventFilter(&apply);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        QVERIFY(window->FrameBuilt());
        QCOMPARE(Stack()->currentIndex(), 1);
        QVERIFY(QTest::qWaitFor([&apply] { return apply.shown > 0; }, Patience));
        QVERIFY(QTest::qWaitFor([this] { return !window->Frame()->ApplyDialog()->isVisible(); }, Patience));
        QVERIFY(LiveFlashDataIsCurrent());
        // The apply dialog saw both pages take the whole image: no notice of
        // a device that did not answer in time.
        QCOMPARE(offline.count(), 0);
        QCOMPARE(DeviceChosen.load(), 1);
        QCOMPARE(SimDevice_PCDriverStatus(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(FrameChild<QProgressBar>("progressBar")->value(), 80, Patience);
    }

    // Pulling the receiver brings the device list back; putting it in again
    // lists the mouse again.
    void unpluggingReturnsToList()
    {
        QVERIFY(OpenTheMouse());
        QVERIFY(SimDevice_Plug("receiver", 0));
        QTRY_COMPARE_WITH_TIMEOUT(Stack()->currentIndex(), 0, Patience);
        QCOMPARE(DeviceChosen.load(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(ShownDevices.isEmpty(), Patience);
        QVERIFY(SimDevice_Plug("receiver", 1));
        QTRY_COMPARE_WITH_TIMEOUT(ShownDevices.size(), 1, Patience);
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("end_to_end_list_again")).isEmpty());
    }

    // A setter that finds the mouse switched off shows the offline notice;
    // the notice closes by itself when the mouse is back, and the mouse is
    // read again.
    void offlineNoticeComesAndGoes()
    {
        QVERIFY(OpenTheMouse());
        // The first read's notice has closed: the next one is the setter's.
        QTRY_VERIFY_WITH_TIMEOUT(!window->Frame()->ApplyDialog()->isVisible() && LiveFlashDataIsCurrent(), Patience);
        unsigned char block[DIVAZA_DEVICE_BLOCK_SIZE] = {};
        QCOMPARE(SimDevice_ReadDeviceBlock("mouse", -1, block, sizeof block), int(sizeof block));
        const int before = block[0];
        const int rate = before == 1 ? 2 : 1;
        QVERIFY(SimDevice_SetPower("mouse", 0));
        QString shown;
        ModalAnswer answer([&](QWidget* notice) {
            shown = QString::fromLatin1(notice->metaObject()->className());
            QVERIFY(SimDevice_SetPower("mouse", 1));
        });
        QVERIFY(!SetReportRate(rate));
        QCOMPARE(shown, QStringLiteral("MouseOffLine"));
        QCOMPARE(SimDevice_ReadDeviceBlock("mouse", -1, block, sizeof block), int(sizeof block));
        QCOMPARE(int(block[0]), before);
        // Read again once it is back; then a change reaches the mouse.
        QTRY_VERIFY_WITH_TIMEOUT(!window->Frame()->ApplyDialog()->isVisible() && LiveFlashDataIsCurrent(), Patience);
        QTRY_VERIFY_WITH_TIMEOUT(SetReportRate(rate), Patience);
        QCOMPARE(SimDevice_ReadDeviceBlock("mouse", -1, block, sizeof block), int(sizeof block));
        QCOMPARE(int(block[0]), rate);
    }

    // Back to the list: the device hears that the program is gone, the
    // mouse's configuration is stored before the library closes the device,
    // the list comes back and follows device changes again.
    void backStoresBeforeExit()
    {
        QVERIFY(OpenTheMouse());
        const FlashDataMap live = LiveFlashData.get();
        bool storedAtExit = false;
        LibraryProbe::Clear();
        LibraryProbe::OnCall([&](const LibraryProbe::Call& call) {
            if (call.name != "UsbServer_Exit" || storedAtExit)
                return;
            FlashDataMap stored;
            storedAtExit = DeviceCacheFile::Read(DeviceCacheFile::FileName(0x0A, 0x01), &stored)
                && std::memcmp(stored.bytes(), live.bytes(), FlashDataMap::Size) == 0;
        });
        QTest::mouseClick(FrameChild("UpArrow"), Qt::LeftButton);
        QVERIFY(storedAtExit);
        QCOMPARE(SimDevice_PCDriverStatus(), 0);
        QCOMPARE(Stack()->currentIndex(), 0);
        QCOMPARE(DeviceChosen.load(), 0);
        QCOMPARE(LibraryProbe::CallsOf("StartUsbChanged").last().callback,
                 reinterpret_cast<void*>(&DialogChange::UsbChangedCallback));
        QTRY_COMPARE_WITH_TIMEOUT(ShownDevices.size(), 1, Patience);

        // And the mouse opens again.
        QVERIFY(OpenTheMouse());
    }

    // The sensor page shows the mouse: its rate and the rates the receiver
    // carries, its stages in their colours with the current one, its mode;
    // it follows the mouse's DPI button, and what it sets is in the mouse's
    // stored block.
    void sensorPageFollowsTheMouse()
    {
        QVERIFY(OpenTheMouse());
        QTest::mouseClick(FrameChild("SensorButton"), Qt::LeftButton);
        QWidget* page = SensorChild("SenSorPage");
        QTRY_VERIFY_WITH_TIMEOUT(page->isVisible(), Patience);
        QWidget* rate = SensorChild("frameRate");
        const auto button = [](QWidget* parent, const char* name) {
            return parent->findChild<QAbstractButton*>(QLatin1String(name));
        };
        QVERIFY(button(rate, "Button1000HZ")->isChecked());
        QVERIFY(button(rate, "Button4000HZ")->isVisible());
        QVERIFY(!button(rate, "Button8000HZ")->isVisible());

        QWidget* dpi = SensorChild("frameDpi");
        const char* const stages[] = {"BlueButton", "BrightRedButton", "RedButton", "YellowButton",
                                      "GreenButton", "PurpleButton"};
        const FlashDataMap stored = StoredImage();
        const int dpis[] = {400, 800, 1600, 3200, 6400};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(button(dpi, stages[i])->text(), QString::number(dpis[i]));
            QVERIFY(button(dpi, stages[i])->isVisible());
            const DpiStage& record = stored.dpiStages[i];
            const QString colour = QStringLiteral("rgb(%1,%2,%3)").arg(record.red).arg(record.green).arg(record.blue);
            QVERIFY2(button(dpi, qPrintable(QLatin1String(stages[i]) + QLatin1Char('A')))->styleSheet().contains(colour),
                     qPrintable(colour));
        }
        QVERIFY(!button(dpi, stages[5])->isVisible());
        QVERIFY(button(dpi, stages[1])->isChecked());
        auto* mode = SensorChild<QComboBox>("ModelChoose");
        QCOMPARE(mode->currentText(), QStringLiteral("HP"));
        QVERIFY(mode->isEnabled());
        QVERIFY(SensorChild("frame")->isVisible());
        QVERIFY(SensorChild("frame_4")->isVisible());
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("end_to_end_sensor_en")).isEmpty());

        // The mouse's own DPI button moves the current stage on the page.
        QVERIFY(SimDevice_PressDpiButton("mouse"));
        QTRY_VERIFY_WITH_TIMEOUT(button(dpi, stages[2])->isChecked(), Patience);

        // Ripple control on, then the performance switch with 5 minutes.
        QTest::mouseClick(button(SensorChild("frame"), "RippeControl_2"), Qt::LeftButton);
        auto* performance = SensorChild<QCheckBox>("Performance");
        QTest::mouseClick(performance, Qt::LeftButton, Qt::NoModifier, QPoint(8, performance->height() / 2));
        auto* sleep = SensorChild<QComboBox>("PerformanceOpen");
        QVERIFY(sleep->isEnabled());
        sleep->setCurrentIndex(3);
        const FlashDataMap changed = StoredImage();
        QCOMPARE(int(changed.rippleControl), 1);
        QCOMPARE(int(changed.performanceMode), 1);
        QCOMPARE(int(changed.sleepTime), 30);
        QCOMPARE(int(changed.currentDpiStage), 2);

        LanguageTexts::Choose(1);
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("end_to_end_sensor_zh")).isEmpty());
        LanguageTexts::Choose(0);
    }

    // The wired model-2 mouse among several devices: the sensor page shows
    // its compact layout, with the cable's rates.
    void sensorPageOfTheWiredModel2IsCompact()
    {
        window.reset();
        UsbLibrary_Shutdown();
        ResetSharedState();
        QVERIFY(SimDevice_LoadScenarioFile(TALVIRE_SCENARIO_DIR "/several-devices.json"));
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get(), DefaultTestLimit()));
        int wired = -1;
        QVERIFY(QTest::qWaitFor([&wired] {
            for (int d = 0; d < ShownDevices.size() && d < DialogChange::DeviceButtons.size(); ++d) {
                if (ShownDevices.at(d).wired)
                    wired = d;
            }
            return wired >= 0;
        }, Patience));
        ApplyDialogShows apply;
        qApp->installEventFilter(&apply);
        DialogChange::DeviceButtons.at(wired)->click();
        QVERIFY(QTest::qWaitFor([&apply] { return apply.shown > 0; }, Patience));
        QVERIFY(QTest::qWaitFor([this] { return !window->Frame()->ApplyDialog()->isVisible(); }, Patience));
        QTest::mouseClick(FrameChild("SensorButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(SensorChild("SenSorPage")->isVisible(), Patience);
        QCOMPARE(SensorChild("frameEffect")->pos(), QPoint(80, 316));
        QVERIFY(!SensorChild("label_5")->isVisible());
        QVERIFY(!SensorChild("ModelChoose")->isVisible());
        QVERIFY(!SensorChild("frameRate")->findChild<QWidget*>(QStringLiteral("Button2000HZ"))->isVisible());
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("end_to_end_sensor_wired_model2")).isEmpty());
    }

    // The button page on the mouse: the rows name the mouse's functions; a
    // row opens the list on its function; a choice reaches the mouse and
    // stays, read again from the mouse and from its stored copy while it is
    // off; a short debounce time is stored with its notice.
    void buttonPageOnTheMouse()
    {
        QVERIFY(OpenTheMouse());
        const char* rows[] = {"FireKey", "RightKey", "BackKey", "StartPause", "TopMusic", "BackMusic"};
        QStringList texts;
        for (const char* row : rows)
            texts << FrameChild<QToolButton>(row)->text();
        QCOMPARE(texts, (QStringList{"Left click", "Right click", "Middle click", "Macro-CopyPaste", "Back",
                                     "DPI cycle"}));
        QTest::mouseClick(FrameChild("RightKey"), Qt::LeftButton);
        QVERIFY(FrameChild<QToolButton>("RightKey_3")->isChecked());
        QCOMPARE(FrameChild<QStackedWidget>("stackedWidget")->currentIndex(), 1);
        QTest::mouseClick(FrameChild("MidKey"), Qt::LeftButton);
        const ButtonFunction middle = StoredImage().buttons[1];
        QCOMPARE(QVector<int>({middle.type, middle.value1, middle.value2}), QVector<int>({1, 4, 0}));
        QCOMPARE(FrameChild<QToolButton>("RightKey")->text(), QStringLiteral("Middle click"));
        {
            ModalAnswer notice = ModalAnswer::Click(QStringLiteral("NewHong"));
            FrameChild("DebunceButton")->findChild<QComboBox*>(QStringLiteral("Debunce"))->setCurrentIndex(4);
            QCOMPARE(notice.DialogClass(), QStringLiteral("LessThree"));
        }
        QCOMPARE(int(StoredImage().debounceTime), 4);
        QVERIFY(!SaveScreenshot(window.get(), QStringLiteral("end_to_end_buttons")).isEmpty());

        // Opened again: read from the mouse.
        QTest::mouseClick(FrameChild("UpArrow"), Qt::LeftButton);
        QVERIFY(OpenTheMouse());
        QCOMPARE(FrameChild<QToolButton>("RightKey")->text(), QStringLiteral("Middle click"));

        // Opened while it is off: from its stored copy.
        QTest::mouseClick(FrameChild("UpArrow"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(ShownDevices.size(), 1, Patience);
        FrameChild<QToolButton>("RightKey")->setText(QString());
        QVERIFY(SimDevice_SetPower("mouse", 0));
        ModalAnswer offline([](QWidget* dialog) { dialog->close(); });
        QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(FrameChild<QToolButton>("RightKey")->text(), QStringLiteral("Middle click"),
                                  Patience);
        if (!offline.Answered())
            offline.Cancel();
    }

    // The whole configuration from the button page: export, a change and the
    // import bring the mouse back; the reset gives the factory functions;
    // another onboard configuration is chosen; a macro put into the macro
    // folder is listed when the page is shown again and goes onto a row.
    void buttonPageConfiguration()
    {
        QVERIFY(OpenTheMouse());
        const QString path = QDir::temp().filePath(QStringLiteral("end_to_end_export.bin"));
        QFile::remove(path);
        FileChooser::SetNextAnswer(path);
        QTest::mouseClick(FrameChild("OutputData"), Qt::LeftButton);
        QCOMPARE(QFileInfo(path).size(), 10464);
        QTest::mouseClick(FrameChild("RightKey"), Qt::LeftButton);
        QTest::mouseClick(FrameChild("MidKey"), Qt::LeftButton);
        QCOMPARE(int(StoredImage().buttons[1].value1), 4);
        FileChooser::SetNextAnswer(path);
        QTest::mouseClick(FrameChild("ImportData"), Qt::LeftButton);
        QCOMPARE(int(StoredImage().buttons[1].value1), 2);
        QTRY_COMPARE_WITH_TIMEOUT(FrameChild<QToolButton>("RightKey")->text(), QStringLiteral("Right click"), Patience);

        {
            ModalAnswer question = ModalAnswer::Click(QStringLiteral("OK"));
            QTest::mouseClick(FrameChild("Reset"), Qt::LeftButton);
            QCOMPARE(question.DialogClass(), QStringLiteral("ContainReset"));
        }
        const ButtonFunction forward = StoredImage().buttons[4];
        QCOMPARE(QVector<int>({forward.type, forward.value1}), QVector<int>({1, 16}));
        QTRY_COMPARE_WITH_TIMEOUT(FrameChild<QToolButton>("StartPause")->text(), QStringLiteral("Forward"), Patience);

        auto* profiles = FrameChild<QComboBox>("ProjectChoose");
        QVERIFY(profiles->count() > 1);
        profiles->setCurrentIndex(1);
        QMetaObject::invokeMethod(profiles, "activated", Q_ARG(int, 1));
        QTRY_COMPARE_WITH_TIMEOUT(SimDevice_CurrentConfig("mouse"), 1, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(profiles->currentIndex(), 1, Patience);

        QFile macro(MacroFile::PathOf(QStringLiteral("Hello")));
        QVERIFY(macro.open(QIODevice::WriteOnly));
        macro.write("1\n0x0B 1 0\n10ms\n0x0B 1 1\n10ms\n");
        macro.close();
        QTest::mouseClick(FrameChild("ButtonMain"), Qt::LeftButton);
        QToolButton* hello = nullptr;
        for (QToolButton* button : FrameChild("scrollArea_7")->findChildren<QToolButton*>()) {
            if (button->text() == QLatin1String("Hello"))
                hello = button;
        }
        QVERIFY(hello);
        QTest::mouseClick(FrameChild("RightKey"), Qt::LeftButton);
        QTest::mouseClick(FrameChild("DPI_10"), Qt::LeftButton);
        QTest::mouseClick(hello, Qt::LeftButton);
        const FlashDataMap stored = StoredImage();
        QCOMPARE(int(stored.buttons[1].type), 6);
        QCOMPARE(QByteArray(stored.macros[1].name), QByteArray("Hello"));
        QCOMPARE(int(stored.macros[1].count), 3);
        QCOMPARE(int(stored.macros[1].events[0].code), 0x0B);
        QCOMPARE(int(stored.macros[1].events[1].release), 1);
        QCOMPARE(FrameChild<QToolButton>("RightKey")->text(), QStringLiteral("Macro-Hello"));
    }

    // Closing the frame: stored, the device told, notices stopped, the
    // device closed, the window closed.
    void closingFromTheFrame()
    {
        QVERIFY(OpenTheMouse());
        QTest::mouseClick(FrameChild("CloseButton"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        FlashDataMap stored;
        QVERIFY(DeviceCacheFile::Read(DeviceCacheFile::FileName(0x0A, 0x01), &stored));
        QCOMPARE(SimDevice_PCDriverStatus(), 0);
        QByteArrayList names;
        for (const LibraryProbe::Call& call : LibraryProbe::Calls())
            names << call.name;
        const int stop = names.lastIndexOf("StopUsbChanged");
        QVERIFY(stop >= 0);
        QCOMPARE(names.mid(stop), (QByteArrayList{"StopUsbChanged", "UsbServer_Exit"}));
    }
};

TALVIRE_TEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
