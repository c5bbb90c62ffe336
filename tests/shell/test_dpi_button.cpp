// The mouse's DPI button pressed while the program is writing its image to
// the mouse: the write was copied before the press, so it carries the stage
// the mouse has just left. Every press still counts: the mouse, the program's
// image and the sensor page end on the stage the presses lead to. The press
// lands at the race's opening, when the program hands the write to the
// device library (after its image was copied, before the mouse takes it).
#include "core/DeviceCacheFile.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/Timing.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/sensor/Sensor.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/DialogMain.h"
#include "shell/mytoolButtonEnter.h"

#include "tests/common/ModalAnswer.h"
#include "tests/common/SharedStateReset.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/shell/ApplyDialogShows.h"
#include "tests/shell/LibraryProbe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QStackedWidget>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

namespace {
constexpr int Patience = 15000;

// The mouse reports a change: flag 1 is the report rate.
bool MouseReports(int flag)
{
    unsigned char flags[7] = {};
    flags[flag] = 1;
    return SimDevice_SendStatusChange("mouse", flags) != 0;
}

// What starts a write to the mouse, and how many presses of the DPI button it
// makes itself.
struct Write {
    std::function<bool()> start;
    int presses = 0;
};
} // namespace
Q_DECLARE_METATYPE(Write)

class DpiButtonTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DialogMain> window;
    QList<int> stagesShown;   // SigUpDataDPI, in order
    // Armed: the DPI button is pressed at the next image write.
    std::atomic<int> pressAtWrite{0};

    bool OpenTheMouse()
    {
        if (!QTest::qWaitFor([] { return DialogChange::DeviceButtons.size() == 1; }, Patience))
            return false;
        ApplyDialogShows apply;
        qApp->installEventFilter(&apply);
        QTest::mouseClick(DialogChange::DeviceButtons.first(), Qt::LeftButton);
        return QTest::qWaitFor([&apply] { return apply.shown > 0; }, Patience)
            && QTest::qWaitFor([this] { return !window->Frame()->ApplyDialog()->isVisible(); }, Patience)
            && LiveFlashDataIsCurrent();
    }

    // The sensor page's checked stage button, -1 when none.
    int StageOnPage()
    {
        const char* const stages[] = {"BlueButton", "BrightRedButton", "RedButton", "YellowButton",
                                      "GreenButton", "PurpleButton", "LightBlueButton", "LightYellowButton"};
        auto* dpi = window->Frame()->findChild<Sensor*>()->findChild<QWidget*>(QStringLiteral("frameDpi"));
        for (int stage = 0; stage < 8; ++stage) {
            auto* button = dpi->findChild<QAbstractButton*>(QLatin1String(stages[stage]));
            if (button && button->isChecked())
                return stage;
        }
        return -1;
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        Timing::SetScale(0.1);
        connect(PostMsg::Instance(), &PostMsg::SigUpDataDPI, this, [this](int stage) { stagesShown.append(stage); });
        LibraryProbe::OnCall([this](const LibraryProbe::Call& call) {
            if (call.name == "ProtocolDataUpdate" && pressAtWrite.exchange(0))
                SimDevice_PressDpiButton("mouse");
        });
    }

    void init()
    {
        QVERIFY(SimDevice_Reset());
        ResetSharedState();
        QFile::remove(DeviceCacheFile::Folder() + DeviceCacheFile::FileName(0x0A, 0x01));
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(OpenTheMouse());
        stagesShown.clear();
    }

    void cleanup()
    {
        pressAtWrite = 0;
        window.reset();
        SimDevice_Reset();
        UsbLibrary_Shutdown();
    }

    void pressDuringAWrite_data()
    {
        QTest::addColumn<Write>("write");
        QTest::newRow("a setting the user changes") << Write{[] { return SetRippleControl(1); }, 0};
        QTest::newRow("a stage colour the user changes")
            << Write{[] { return SetDpiStageColor(4, 10, 20, 30); }, 0};
        QTest::newRow("the report rate the mouse reported, written back") << Write{[] { return MouseReports(1); }, 0};
        QTest::newRow("the stage the mouse reported, written back")
            << Write{[] { return SimDevice_PressDpiButton("mouse") != 0; }, 1};
        QTest::newRow("the whole configuration read again, written back") << Write{[] {
            // A change while the mouse is off brings the offline notice; the
            // mouse is switched on under it and read again once it answers.
            if (!SimDevice_SetPower("mouse", 0))
                return false;
            ModalAnswer answer([](QWidget*) { SimDevice_SetPower("mouse", 1); });
            return !SetRippleControl(1);
        }, 0};
    }

    // One press lands in each write, another follows it; after each round the
    // mouse and the stage it reported are where the presses lead, and so are
    // the program's image and the sensor page at the end.
    void pressDuringAWrite()
    {
        QFETCH(Write, write);
        const FlashDataMap before = StoredImage();
        const int count = before.dpiStageCount;
        int presses = 0;
        int expected = before.currentDpiStage;
        for (int round = 0; round < 3; ++round) {
            pressAtWrite = 1;
            QVERIFY(write.start());
            presses += write.presses;
            QTRY_COMPARE_WITH_TIMEOUT(pressAtWrite.load(), 0, Patience);
            ++presses;
            QVERIFY(SimDevice_PressDpiButton("mouse"));
            ++presses;
            // Each press is reported and read back once.
            QTRY_COMPARE_WITH_TIMEOUT(stagesShown.size(), presses, Patience);
            expected = (before.currentDpiStage + presses) % count;
            QCOMPARE(stagesShown.last(), expected);
            QCOMPARE(int(StoredImage().currentDpiStage), expected);
        }
        QCOMPARE(int(LiveFlashData.get().currentDpiStage), expected);
        QTRY_COMPARE_WITH_TIMEOUT(StageOnPage(), expected, Patience);
    }
};

TALVIRE_TEST_MAIN(DpiButtonTest)
#include "test_dpi_button.moc"
