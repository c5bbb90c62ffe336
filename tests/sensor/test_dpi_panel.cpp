// The DPI stage panel on the simulated mouse, filled the way the sensor page
// fills it: the stage count, the DPI of the selected stage (slider, step
// buttons, the model's segments), the marker drag, the stage colours, the
// product's defaults and how the panel looks.
#include "core/ConfigIni.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/ProductDescription.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorDPI.h"
#include "pages/sensor/SensorTables.h"
#include "tests/common/PickedMouse.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/sensor/DpiPanelFill.h"
#include "tests/sensor/OpenMouse.h"
#include "tests/sensor/PanelProbe.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {
const char* const StageNames[] = {"BlueButton",  "BrightRedButton", "RedButton",      "YellowButton",
                                  "GreenButton", "PurpleButton",    "LightBlueButton", "LightYellowButton"};
const QStringList ProductRange{"100", "10000", "50", "10100", "26000", "100", "0x22"};
const int StageDpis[] = {100, 200, 400, 800, 1600, 3200, 6400, 12800};

using PanelProbe::Child;
using PanelProbe::Record;
using PanelProbe::Writes;

QToolButton* StageButton(QWidget* panel, int stage)
{
    return Child<QToolButton>(panel, QLatin1String(StageNames[stage]));
}

QToolButton* Swatch(QWidget* panel, int stage)
{
    return Child<QToolButton>(panel, QLatin1String(StageNames[stage]) + QLatin1Char('A'));
}

QLabel* Marker(QWidget* panel)
{
    return Child<QLabel>(panel, QStringLiteral("label_8"));
}

QSlider* Slider(QWidget* panel)
{
    return Child<QSlider>(panel, QStringLiteral("horizontalSliderC"));
}

QSpinBox* Value(QWidget* panel)
{
    return Child<QSpinBox>(panel, QStringLiteral("spinBoxA"));
}

QComboBox* Count(QWidget* panel)
{
    return Child<QComboBox>(panel, QStringLiteral("ChooseEvent"));
}

// The colour of a stage as a swatch shows it ("r,g,b").
QString Colour(int stage)
{
    return QStringLiteral("%1,%2,%3").arg(10 * stage + 5).arg(20 * stage + 7).arg(30 * stage + 9);
}

bool ShowsColour(QWidget* panel, int stage, const QString& colour)
{
    return Swatch(panel, stage)->styleSheet().contains(QStringLiteral("rgb(") + colour + QStringLiteral(")"));
}

void SendMouse(QWidget* panel, QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, panel->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(panel, &event);
}

// A person drags the marker: press on it, move in steps, let go.
void DragMarker(QWidget* panel, const QPoint& from, const QPoint& to)
{
    SendMouse(panel, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 3; ++step)
        SendMouse(panel, QEvent::MouseMove, from + (to - from) * step / 3, Qt::LeftButton);
    SendMouse(panel, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

QPoint MarkerMiddle(QWidget* panel)
{
    return Marker(panel)->geometry().center();
}
} // namespace

class DpiPanelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Sensor> page;

    void UseRange(const QStringList& range)
    {
        page->ReadDpiRange(range);
    }

    // The mouse with every stage's DPI and colour, the stage count and the
    // current stage; the live image is the mouse's.
    void PrepareMouse(int count, int current)
    {
        for (int stage = 0; stage < 8; ++stage) {
            WriteDpiStage(stage, StageDpis[stage]);
            const QStringList rgb = Colour(stage).split(QLatin1Char(','));
            SetDpiStageColor(stage, rgb.at(0).toInt(), rgb.at(1).toInt(), rgb.at(2).toInt());
        }
        SetDpiStageCount(count);
        SetCurrentDpiStage(current);
    }

    // A panel at its form's size, filled from the mouse as the page fills it.
    std::unique_ptr<SensorDPI> FilledPanel(int count, int current)
    {
        PrepareMouse(count, current);
        auto panel = std::make_unique<SensorDPI>();
        panel->show();
        DpiPanelFill::Refresh(*panel, LiveFlashData.get(), 8, 100, 26000);
        return panel;
    }

private slots:
    void initTestCase()
    {
        page.reset(new Sensor);
        CurrentSensorModel = QStringLiteral("3395");
    }

    void init()
    {
        QVERIFY(OpenMouse());
        UseRange(ProductRange);
        UiReady = true;
        SensorPageLoading = false;
        ButtonPageLoading = false;
        ApplyInProgress = false;
    }

    void cleanup()
    {
        UiReady = false;
        UsbServer_Exit();
    }

    void cleanupTestCase()
    {
        page.reset();
    }

    // The form as the page finds it: sizes, ranges, nothing checked, all
    // eight stages shown, the marker at its form place.
    void construction()
    {
        SensorDPI panel;
        QCOMPARE(panel.size(), QSize(728, 194));
        QCOMPARE(Slider(&panel)->geometry(), QRect(18, 56, 561, 20));
        QCOMPARE(Slider(&panel)->minimum(), 50);
        QCOMPARE(Slider(&panel)->maximum(), 32000);
        QVERIFY(!Slider(&panel)->hasTracking());
        QVERIFY(Value(&panel)->isReadOnly());
        QCOMPARE(Value(&panel)->maximum(), 100000);
        QCOMPARE(Count(&panel)->count(), 0);
        QCOMPARE(Count(&panel)->maxVisibleItems(), 5);
        QCOMPARE(Marker(&panel)->pos(), QPoint(103, 154));
        for (int stage = 0; stage < 8; ++stage) {
            QCOMPARE(StageButton(&panel, stage)->geometry(), QRect(15 + 91 * stage, 99, 54, 56));
            QCOMPARE(Swatch(&panel, stage)->geometry(), QRect(17 + 91 * stage, 141, 50, 12));
            QVERIFY(!StageButton(&panel, stage)->isChecked());
            QVERIFY(!Swatch(&panel, stage)->isChecked());
            QVERIFY(!StageButton(&panel, stage)->isHidden());
            QVERIFY(StageButton(&panel, stage)->sizePolicy().retainSizeWhenHidden());
        }
        QVERIFY(Swatch(&panel, 0)->styleSheet().startsWith(QStringLiteral("#BlueButtonA{")));
    }

    void stageCount_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("swapped");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("writes");
        QTest::newRow("stage 5, count 3") << 5 << false << true << true << true << 2 << 3;
        QTest::newRow("stage 1, count 3") << 1 << false << true << true << false << 1 << 1;
        QTest::newRow("stage 2, count 3") << 2 << false << true << true << false << 2 << 1;
        QTest::newRow("loading") << 5 << true << true << true << false << 5 << 0;
        QTest::newRow("not ready") << 5 << false << false << true << true << 2 << 0;
        QTest::newRow("mouse off") << 5 << false << true << false << true << 2 << 0;
    }

    // Eight stages, the user chooses three. A selected stage beyond the new
    // last one brings its DPI and colour into the last stage, which becomes
    // the selected stage, on the panel and in the mouse (records exchanged,
    // current stage, count); otherwise only the count is written. While the
    // page fills the panel nothing happens; offline or before the interface
    // is ready only the panel changes.
    void stageCount()
    {
        QFETCH(int, current);
        QFETCH(bool, loading);
        QFETCH(bool, ready);
        QFETCH(bool, online);
        QFETCH(bool, swapped);
        QFETCH(int, selected);
        QFETCH(int, writes);
        auto panel = FilledPanel(8, current);
        const FlashDataMap before = StoredImage();
        const QString text2 = StageButton(panel.get(), 2)->text();
        const QString text5 = StageButton(panel.get(), 5)->text();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int writesBefore = Writes();
        UiReady = ready;
        QVERIFY(SimDevice_SetPower("mouse", online ? 1 : 0));

        if (loading) {
            const ScopedFlag filling(SensorPageLoading);
            panel->SetChooseEventIndex(2);
        } else {
            Count(panel.get())->setCurrentIndex(2);
        }

        QCOMPARE(Writes() - writesBefore, writes);
        QVERIFY(StageButton(panel.get(), selected)->isChecked());
        QVERIFY(Swatch(panel.get(), selected)->isChecked());
        QCOMPARE(Marker(panel.get())->pos(), QPoint(selected == 5 ? 483 : 27 + 91 * selected, 154));
        QCOMPARE(StageButton(panel.get(), 2)->text(), swapped ? text5 : text2);
        QCOMPARE(StageButton(panel.get(), 5)->text(), swapped ? text2 : text5);
        QVERIFY(ShowsColour(panel.get(), 2, Colour(swapped ? 5 : 2)));
        QVERIFY(ShowsColour(panel.get(), 5, Colour(swapped ? 2 : 5)));
        for (int stage = 0; stage < 8; ++stage)
            QCOMPARE(StageButton(panel.get(), stage)->isHidden(), !loading && stage > 2);

        const FlashDataMap after = StoredImage();
        if (writes == 0) {
            QVERIFY(std::memcmp(&before, &after, sizeof before) == 0);
            QCOMPARE(offline.isEmpty(), online || !ready);
            return;
        }
        QCOMPARE(int(after.dpiStageCount), 3);
        QCOMPARE(int(after.currentDpiStage), selected);
        QCOMPARE(Record(after, 2), Record(before, swapped ? 5 : 2));
        QCOMPARE(Record(after, 5), Record(before, swapped ? 2 : 5));
        QVERIFY(offline.isEmpty());
    }

    void value_data()
    {
        QTest::addColumn<QStringList>("range");
        QTest::addColumn<int>("highest");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("pageStep");
        QTest::addColumn<bool>("written");
        const QStringList fromOffGrid{"125", "5000", "50", "0x22"};
        QTest::newRow("let go at 3217") << ProductRange << 26000 << "release" << 3217 << 3200 << 50 << true;
        QTest::newRow("gap goes up") << ProductRange << 26000 << "release" << 10050 << 10100 << 100 << true;
        QTest::newRow("second segment") << ProductRange << 26000 << "release" << 10150 << 10100 << 100 << true;
        QTest::newRow("below the range") << ProductRange << 26000 << "release" << 80 << 100 << -1 << true;
        QTest::newRow("above the range") << ProductRange << 32000 << "release" << 26050 << 26000 << -1 << true;
        QTest::newRow("segment off the grid") << fromOffGrid << 26000 << "release" << 130 << 125 << 50 << true;
        QTest::newRow("add in a segment") << ProductRange << 26000 << "add" << 9950 << 10000 << -1 << true;
        QTest::newRow("add at a segment's end") << ProductRange << 26000 << "add" << 10000 << 10100 << 100 << true;
        QTest::newRow("add at the top") << ProductRange << 26000 << "add" << 26000 << 26000 << -1 << false;
        QTest::newRow("reduce at a segment's start") << ProductRange << 26000 << "reduce" << 10100 << 10000 << 50
                                                     << true;
        QTest::newRow("reduce at the bottom") << ProductRange << 26000 << "reduce" << 100 << 100 << -1 << true;
        // A range with numbers no stage register holds is none: the step
        // buttons leave the value, nothing overflows.
        const QStringList hugeStep{"100", "10000", "2147483647", "10100", "26000", "100", "0x22"};
        const QStringList hugeRange{"-2147483648", "2147483647", "2147483647", "0x22"};
        QTest::newRow("add with a step beyond the registers") << hugeStep << 26000 << "add" << 9950 << 9950 << -1
                                                              << false;
        QTest::newRow("reduce in a range of the largest ints") << hugeRange << 26000 << "reduce" << 400 << 400 << -1
                                                               << false;
    }

    // The selected stage's DPI: the value let go on the slider, or the step
    // buttons' next value, fitted to the model's segments, shown on the
    // stage button and in the value box and written; the slider keeps where
    // it was let go.
    void value()
    {
        QFETCH(QStringList, range);
        QFETCH(int, highest);
        QFETCH(QString, action);
        QFETCH(int, start);
        QFETCH(int, shown);
        QFETCH(int, pageStep);
        QFETCH(bool, written);
        UseRange(range);
        auto panel = FilledPanel(8, 2);
        panel->SetDpiMinimum(50);
        panel->SetDpiMaximum(highest);
        QSlider* slider = Slider(panel.get());
        if (action != QLatin1String("release"))
            slider->setValue(start);
        const int writes = Writes();

        if (action == QLatin1String("release"))
            slider->setValue(start);
        else
            QTest::mouseClick(Child<QToolButton>(panel.get(), action == QLatin1String("add") ? "AddLevelA" : "ReduceLevelA"),
                              Qt::LeftButton);

        QCOMPARE(Value(panel.get())->value(), shown);
        QCOMPARE(StageButton(panel.get(), 2)->text(), QString::number(shown));
        if (action == QLatin1String("release"))
            QCOMPARE(slider->value(), start);
        if (pageStep > 0)
            QCOMPARE(slider->pageStep(), pageStep);
        QCOMPARE(Writes() - writes, written ? 1 : 0);
        // What the panel wrote is what writing the shown value writes.
        const QByteArray stored = Record(StoredImage(), 2);
        WriteDpiStage(2, shown);
        QCOMPARE(stored, Record(StoredImage(), 2));
    }

    // A person drags the slider's handle: the press puts the value where
    // the handle was taken (the slider jumps to a click), while it moves only
    // the value box follows, letting go writes the value.
    void sliderDrag()
    {
        auto panel = FilledPanel(8, 3);
        QSlider* slider = Slider(panel.get());
        int writes = Writes();
        const int handle = 5;
        auto xOf = [&](int value) {
            return QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(), value,
                                                   slider->width() - handle)
                + handle / 2;
        };
        const int y = slider->height() / 2;
        const QPoint from(xOf(slider->value()), y);
        const QPoint to(xOf(5000), y);
        SendMouse(slider, QEvent::MouseButtonPress, from, Qt::LeftButton);
        QVERIFY(Writes() - writes <= 1);
        writes = Writes();
        for (int step = 1; step <= 4; ++step)
            SendMouse(slider, QEvent::MouseMove, from + (to - from) * step / 4, Qt::LeftButton);
        QCOMPARE(Writes(), writes);
        const int moving = Value(panel.get())->value();
        QVERIFY(qAbs(moving - 5000) < 100);
        QCOMPARE(moving % 50, 0);
        SendMouse(slider, QEvent::MouseButtonRelease, to, Qt::NoButton);
        QCOMPARE(Writes(), writes + 1);
        QCOMPARE(Value(panel.get())->value(), moving);
        QCOMPARE(DpiPanelFill::StageDpi(StoredImage(), 3), moving);
    }

    void drag_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("onMarker");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("markerX");
        QTest::addColumn<int>("writes");
        QTest::newRow("stage 0 to 1") << 8 << 0 << true << QPoint(120, 169) << true << 1 << 118 << 2;
        QTest::newRow("stage 4 to 5") << 8 << 4 << true << QPoint(480, 169) << true << 5 << 483 << 2;
        QTest::newRow("stage 6 to 2") << 8 << 6 << true << QPoint(230, 169) << true << 2 << 209 << 2;
        QTest::newRow("between stages") << 8 << 0 << true << QPoint(167, 169) << true << 0 << 27 << 0;
        QTest::newRow("beyond the last shown") << 3 << 0 << true << QPoint(260, 169) << true << 0 << 27 << 1;
        QTest::newRow("off the panel") << 8 << 3 << true << QPoint(760, 169) << true << 3 << 300 << 0;
        QTest::newRow("left of the stages") << 8 << 1 << true << QPoint(10, 169) << true << 1 << 118 << 0;
        QTest::newRow("background") << 8 << 2 << false << QPoint(400, 20) << true << 2 << 209 << 0;
        QTest::newRow("mouse off") << 8 << 0 << true << QPoint(120, 169) << false << 0 << 118 << 0;
    }

    // The marker dragged to another stage selects it; a drag that ends
    // between stages, beyond the last stage shown or off the panel brings it
    // back (beyond the last stage the current stage is written again).
    void drag()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(bool, onMarker);
        QFETCH(QPoint, release);
        QFETCH(bool, online);
        QFETCH(int, selected);
        QFETCH(int, markerX);
        QFETCH(int, writes);
        auto panel = FilledPanel(count, current);
        const int writesBefore = Writes();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QVERIFY(SimDevice_SetPower("mouse", online ? 1 : 0));

        const QPoint press = onMarker ? MarkerMiddle(panel.get()) : QPoint(400, 20);
        DragMarker(panel.get(), press, release);

        QCOMPARE(Marker(panel.get())->pos(), QPoint(markerX, 154));
        QVERIFY(StageButton(panel.get(), selected)->isChecked());
        QCOMPARE(Writes() - writesBefore, writes);
        QCOMPARE(int(StoredImage().currentDpiStage), online ? selected : current);
        QCOMPARE(offline.isEmpty(), online);
    }

    // Selecting a stage shows its DPI without writing it; the user's next
    // change is written. By the stage button or by the swatch, the stage
    // ends up alike.
    void selection()
    {
        auto panel = FilledPanel(8, 0);
        const FlashDataMap before = StoredImage();
        int writes = Writes();
        QTest::mouseClick(StageButton(panel.get(), 4), Qt::LeftButton);
        QCOMPARE(StageButton(panel.get(), 4)->text(), QStringLiteral("1600"));
        QCOMPARE(Slider(panel.get())->value(), 1600);
        QCOMPARE(Value(panel.get())->value(), 1600);
        QCOMPARE(Writes(), writes + 1);
        QCOMPARE(int(StoredImage().currentDpiStage), 4);
        QCOMPARE(Record(StoredImage(), 4), Record(before, 4));
        QCOMPARE(StageButton(panel.get(), 4)->geometry(), QRect(15 + 91 * 4 - 7, 92, 68, 70));
        QCOMPARE(Swatch(panel.get(), 4)->geometry(), QRect(17 + 91 * 4 - 8, 147, 66, 14));
        QCOMPARE(StageButton(panel.get(), 0)->geometry(), QRect(15, 99, 54, 56));
        QCOMPARE(Swatch(panel.get(), 0)->geometry(), QRect(17, 141, 50, 12));
        QCOMPARE(Marker(panel.get())->pos(), QPoint(391, 154));

        writes = Writes();
        QTest::mouseClick(Child<QToolButton>(panel.get(), "AddLevelA"), Qt::LeftButton);
        QCOMPARE(Writes(), writes + 1);
        QCOMPARE(DpiPanelFill::StageDpi(StoredImage(), 4), 1650);

        // The swatch selects as the stage button does (its click also opens
        // the colour dialog).
        QColorDialog* dialog = panel->findChild<QColorDialog*>();
        QVERIFY(dialog);
        QVERIFY(!dialog->isVisible());
        QTest::mouseClick(Swatch(panel.get(), 6), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QVERIFY(StageButton(panel.get(), 6)->isChecked());
        QVERIFY(!StageButton(panel.get(), 4)->isChecked());
        QCOMPARE(StageButton(panel.get(), 6)->geometry(), QRect(15 + 91 * 6 - 7, 92, 68, 70));
        QCOMPARE(Swatch(panel.get(), 6)->geometry(), QRect(17 + 91 * 6 - 8, 147, 66, 14));
        QCOMPARE(Value(panel.get())->value(), 6400);
        QCOMPARE(int(StoredImage().currentDpiStage), 6);
        dialog->hide();

        // A click on the selected stage button brings the slider to its DPI,
        // which is written when the slider stood elsewhere.
        writes = Writes();
        QTest::mouseClick(StageButton(panel.get(), 6), Qt::LeftButton);
        QCOMPARE(Writes(), writes);
        Slider(panel.get())->setValue(6020);
        QTest::mouseClick(StageButton(panel.get(), 6), Qt::LeftButton);
        QCOMPARE(Value(panel.get())->value(), 6000);
        QCOMPARE(Writes(), writes + 2);

        // After a refresh (the selection made with the slider's signals
        // blocked) the user's first change is written.
        DpiPanelFill::Refresh(*panel, LiveFlashData.get(), 8, 100, 26000);
        writes = Writes();
        Slider(panel.get())->setValue(7000);
        QCOMPARE(Writes(), writes + 1);
        QCOMPARE(DpiPanelFill::StageDpi(StoredImage(), 6), 7000);

        // The mouse reports another stage: shown, nothing written.
        writes = Writes();
        DpiPanelFill::StageReport(*panel, 2);
        QVERIFY(StageButton(panel.get(), 2)->isChecked());
        QCOMPARE(Marker(panel.get())->pos(), QPoint(209, 154));
        QCOMPARE(Value(panel.get())->value(), 400);
        QCOMPARE(Writes(), writes);
    }

    // Offline, the value is shown as it comes and nothing is written; the
    // step buttons only give the notice. While an apply runs nothing is
    // written either.
    void valueWithoutWrite()
    {
        auto panel = FilledPanel(8, 2);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int writes = Writes();
        QVERIFY(SimDevice_SetPower("mouse", 0));
        Slider(panel.get())->setValue(3217);
        QCOMPARE(Value(panel.get())->value(), 3217);
        QCOMPARE(StageButton(panel.get(), 2)->text(), QStringLiteral("400"));
        QCOMPARE(offline.count(), 1);
        QTest::mouseClick(Child<QToolButton>(panel.get(), "AddLevelA"), Qt::LeftButton);
        QCOMPARE(Slider(panel.get())->value(), 3217);
        QCOMPARE(offline.count(), 2);
        QCOMPARE(Writes(), writes);

        QVERIFY(SimDevice_SetPower("mouse", 1));
        {
            const ScopedFlag applying(ApplyInProgress);
            Slider(panel.get())->setValue(5020);
        }
        QCOMPARE(StageButton(panel.get(), 2)->text(), QStringLiteral("5000"));
        QCOMPARE(Writes(), writes);
    }

    // A colour confirmed in the dialog goes to the selected stage: its
    // swatch and its record; with no stage selected nothing changes.
    void colours()
    {
        {
            SensorDPI fresh;
            const QString look = Swatch(&fresh, 3)->styleSheet();
            const int writes = Writes();
            emit fresh.findChild<QColorDialog*>()->colorSelected(QColor(5, 200, 16));
            QCOMPARE(Swatch(&fresh, 3)->styleSheet(), look);
            QCOMPARE(Writes(), writes);
        }
        auto panel = FilledPanel(8, 3);
        const int writes = Writes();
        emit panel->findChild<QColorDialog*>()->colorSelected(QColor(5, 200, 16));
        QVERIFY(ShowsColour(panel.get(), 3, QStringLiteral("5,200,16")));
        QVERIFY(Swatch(panel.get(), 3)->styleSheet().contains(QStringLiteral("MaxB.png")));
        QCOMPARE(Writes(), writes + 1);
        const DpiStage stored = StoredImage().dpiStages[3];
        QCOMPARE(int(stored.red), 5);
        QCOMPARE(int(stored.green), 200);
        QCOMPARE(int(stored.blue), 16);

        // Colours from the page: "#rrggbb" in either case; another stage or
        // another form of text is ignored. The swatch follows HighlightStage.
        panel->SetStageColor(2, QStringLiteral("#FF8000"));
        panel->SetStageColor(8, QStringLiteral("#123456"));
        panel->SetStageColor(-1, QStringLiteral("#123456"));
        panel->SetStageColor(4, QStringLiteral("#ff8000"));
        panel->SetStageColor(5, QStringLiteral("#GG0000"));
        panel->SetStageColor(6, QStringLiteral("ff8000"));
        panel->HighlightStage(2);
        QVERIFY(ShowsColour(panel.get(), 2, QStringLiteral("255,128,0")));
        QVERIFY(ShowsColour(panel.get(), 4, QStringLiteral("255,128,0")));
        QVERIFY(ShowsColour(panel.get(), 5, Colour(5)));
        QVERIFY(ShowsColour(panel.get(), 6, Colour(6)));
        QVERIFY(Swatch(panel.get(), 2)->styleSheet().contains(QStringLiteral("MaxB.png")));
        // HighlightStage restyles; only the selected stage's swatch had the
        // larger size, and it keeps the size it had.
        QCOMPARE(Swatch(panel.get(), 2)->size(), QSize(50, 12));
        QCOMPARE(Swatch(panel.get(), 3)->size(), QSize(50, 12));
        QVERIFY(Swatch(panel.get(), 3)->styleSheet().contains(QStringLiteral("MinB.png")));
        const QString look = Swatch(panel.get(), 2)->styleSheet();
        panel->HighlightStage(9);
        QCOMPARE(Swatch(panel.get(), 2)->styleSheet(), look);

        // Offline the swatch takes the colour; the mouse keeps its own.
        QVERIFY(SimDevice_SetPower("mouse", 0));
        emit panel->findChild<QColorDialog*>()->colorSelected(QColor(1, 2, 3));
        QVERIFY(ShowsColour(panel.get(), 3, QStringLiteral("1,2,3")));
        QCOMPARE(int(StoredImage().dpiStages[3].red), 5);
    }

    // Stages and counts outside the eight: the panel takes stage 0 and
    // count 1 for itself, ignores the rest, and a drag or a count change
    // afterwards stays within the eight stages and writes nothing.
    void outOfRange()
    {
        auto panel = FilledPanel(8, 4);
        const int writes = Writes();
        const QPoint marker = Marker(panel.get())->pos();
        panel->CheckStage(8);
        panel->CheckStage(-1);
        panel->ShowStages(8);
        panel->ShowStages(-1);
        panel->MoveMarkerToStage(0);
        panel->MoveMarkerToStage(9);
        panel->SetStageText(8, QStringLiteral("9999"));
        panel->SetStageCount(12);
        panel->SetStageCount(0);
        QCOMPARE(Marker(panel.get())->pos(), marker);
        QVERIFY(StageButton(panel.get(), 4)->isChecked());
        for (int stage = 0; stage < 8; ++stage)
            QVERIFY(!StageButton(panel.get(), stage)->isHidden());

        panel->SetCurrentStage(9);
        UiReady = false;
        panel->MoveMarkerToStage(1);
        // From stage 0 at x 27: a release at x 120 is one stage on.
        DragMarker(panel.get(), MarkerMiddle(panel.get()), QPoint(120, 169));
        QCOMPARE(Marker(panel.get())->pos(), QPoint(118, 154));
        QVERIFY(StageButton(panel.get(), 1)->isChecked());
        Count(panel.get())->setCurrentIndex(0);
        QVERIFY(StageButton(panel.get(), 0)->isChecked());
        Count(panel.get())->setCurrentIndex(-1);
        QCOMPARE(Writes(), writes);
    }

    // The product's defaults: colours three numbers a stage (an incomplete
    // last one left out, more than eight ignored), DPI texts only when all
    // eight stages have one; each swatch looks as its stage stands.
    void defaults_data()
    {
        QTest::addColumn<QString>("grades");
        QTest::addColumn<int>("colourNumbers");
        QTest::addColumn<bool>("texts");
        QTest::addColumn<int>("colours");
        QTest::newRow("seven grades, thirty numbers") << "400,800,1600,3200,6400,12800,16000" << 30 << false << 8;
        QTest::newRow("eight grades, 23 numbers") << "400,800,1600,3200,6400,12800,16000,26000" << 23 << true << 7;
        QTest::newRow("no colours") << "400,800,1600,3200,6400,12800,16000,26000" << 0 << true << 0;
    }

    void defaults()
    {
        QFETCH(QString, grades);
        QFETCH(int, colourNumbers);
        QFETCH(bool, texts);
        QFETCH(int, colours);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Config.ini"));
        QStringList numbers;
        for (int i = 0; i < colourNumbers; ++i)
            numbers << QString::number(100 + i);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Drive1]\nDPIGrade=" + grades.toUtf8() + "\n");
        if (colourNumbers > 0)
            file.write("DPIColor=" + numbers.join(QLatin1Char(',')).toUtf8() + "\n");
        file.close();
        ConfigIni store(path);
        const ProductDescription description(&store);

        auto panel = FilledPanel(8, 3);
        const int writes = Writes();
        panel->LoadDefaultStages(description);
        QCOMPARE(Writes(), writes);
        for (int stage = 0; stage < 8; ++stage) {
            const QString colour = stage < colours ? QStringLiteral("%1,%2,%3")
                                                         .arg(100 + 3 * stage)
                                                         .arg(101 + 3 * stage)
                                                         .arg(102 + 3 * stage)
                                                   : Colour(stage);
            panel->SetStageColor(stage, QStringLiteral("#zz"));
            if (texts) {
                QVERIFY(ShowsColour(panel.get(), stage, colour));
                QCOMPARE(StageButton(panel.get(), stage)->text(), grades.split(QLatin1Char(',')).at(stage));
                const bool selected = stage == 3;
                QVERIFY(Swatch(panel.get(), stage)->styleSheet().contains(selected ? QStringLiteral("MaxB.png")
                                                                                     : QStringLiteral("MinB.png")));
                QCOMPARE(Swatch(panel.get(), stage)->size(), selected ? QSize(66, 14) : QSize(50, 12));
            } else {
                QCOMPARE(StageButton(panel.get(), stage)->text(), QString::number(StageDpis[stage]));
                panel->HighlightStage(stage);
                QVERIFY(ShowsColour(panel.get(), stage, colour));
            }
        }
        QVERIFY(StageButton(panel.get(), 3)->isChecked());
    }

    // The page's reset: six stages, the second selected at 800, nothing
    // written while the apply runs; the panel's current stage stays.
    void reset()
    {
        auto panel = FilledPanel(8, 4);
        const int writes = Writes();
        DpiPanelFill::Reset(*panel);
        QCOMPARE(Writes(), writes);
        QCOMPARE(Count(panel.get())->count(), 6);
        QCOMPARE(Count(panel.get())->currentIndex(), 5);
        for (int stage = 0; stage < 8; ++stage)
            QCOMPARE(StageButton(panel.get(), stage)->isHidden(), stage > 5);
        QVERIFY(StageButton(panel.get(), 1)->isChecked());
        QCOMPARE(StageButton(panel.get(), 1)->text(), QStringLiteral("800"));
        QCOMPARE(StageButton(panel.get(), 0)->text(), QStringLiteral("400"));
        QCOMPARE(Marker(panel.get())->pos(), QPoint(118, 154));
        QCOMPARE(Slider(panel.get())->maximum(), 12000);
        QCOMPARE(Value(panel.get())->value(), 800);
        // The current stage is still 4: a background click takes the marker
        // there.
        SendMouse(panel.get(), QEvent::MouseButtonPress, QPoint(400, 20), Qt::LeftButton);
        SendMouse(panel.get(), QEvent::MouseButtonRelease, QPoint(400, 20), Qt::NoButton);
        QCOMPARE(Marker(panel.get())->pos(), QPoint(391, 154));
    }

    // What a person does on the simulated mouse, opened as a pick opens it:
    // three stages while stage 5 is selected, the marker to stage 1, the
    // slider let go at 3217, a colour; the mouse keeps exactly that, and a
    // panel filled from it again shows it.
    void userSession()
    {
        UsbServer_Exit();
        QVERIFY(SimDevice_Reset());
        PickedMouse mouse;
        QVERIFY2(mouse.Open(), qPrintable(mouse.Missing()));
        auto panel = FilledPanel(8, 5);
        const FlashDataMap before = mouse.Stored();

        Count(panel.get())->setCurrentIndex(2);
        DragMarker(panel.get(), MarkerMiddle(panel.get()), QPoint(120, 169));
        Slider(panel.get())->setValue(3217);
        emit panel->findChild<QColorDialog*>()->colorSelected(QColor(18, 52, 86));

        const FlashDataMap stored = mouse.Stored();
        QCOMPARE(int(stored.dpiStageCount), 3);
        QCOMPARE(int(stored.currentDpiStage), 1);
        QCOMPARE(DpiPanelFill::StageDpi(stored, 1), 3200);
        QCOMPARE(int(stored.dpiStages[1].red), 18);
        QCOMPARE(int(stored.dpiStages[1].green), 52);
        QCOMPARE(int(stored.dpiStages[1].blue), 86);
        QCOMPARE(Record(stored, 2), Record(before, 5));
        QCOMPARE(Record(stored, 5), Record(before, 2));

        SensorDPI again;
        again.show();
        DpiPanelFill::Refresh(again, stored, 8, 100, 26000);
        QVERIFY(StageButton(&again, 1)->isChecked());
        QCOMPARE(StageButton(&again, 1)->text(), QStringLiteral("3200"));
        QCOMPARE(StageButton(&again, 2)->text(), QString::number(StageDpis[5]));
        QVERIFY(ShowsColour(&again, 1, QStringLiteral("18,52,86")));
        QCOMPARE(Count(&again)->currentIndex(), 2);
        QCOMPARE(Marker(&again)->pos(), QPoint(118, 154));
        QVERIFY(StageButton(&again, 3)->isHidden());
    }

    // The panel filled from the mouse (eight stages, the fourth selected)
    // and after a reset, in English and Chinese.
    void screenshots()
    {
        const struct {
            const char* language;
            QString title;
        } languages[] = {{"en", QStringLiteral("Stages")}, {"zh", QStringLiteral("DPI级数")}};
        for (const auto& language : languages) {
            for (bool reset : {false, true}) {
                QWidget host;
                host.setPalette(StyleSheet::DarkPalette());
                host.setAutoFillBackground(true);
                auto* layout = new QVBoxLayout(&host);
                layout->setContentsMargins(16, 16, 16, 16);
                PrepareMouse(8, 3);
                for (int stage = 0; stage < 8; ++stage) {
                    const int rgb[8][3] = {{255, 72, 77},  {255, 170, 0},  {255, 230, 0},  {25, 195, 162},
                                           {0, 150, 255},  {120, 90, 255}, {255, 90, 200}, {230, 232, 235}};
                    SetDpiStageColor(stage, rgb[stage][0], rgb[stage][1], rgb[stage][2]);
                    WriteDpiStage(stage, (stage + 1) * 800);
                }
                auto* panel = new SensorDPI;
                panel->setFixedSize(panel->size());
                layout->addWidget(panel);
                panel->SetTitleText(language.title);
                DpiPanelFill::Refresh(*panel, LiveFlashData.get(), 8, 100, 26000);
                if (reset)
                    DpiPanelFill::Reset(*panel);
                host.adjustSize();
                host.show();
                QVERIFY(QTest::qWaitForWindowExposed(&host, DefaultTestLimit()));
                QVERIFY(!SaveScreenshot(&host, QStringLiteral("dpi_panel_%1_%2")
                                                   .arg(QLatin1String(language.language))
                                                   .arg(QLatin1String(reset ? "reset" : "mouse")))
                             .isEmpty());
            }
        }
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    DpiPanelTest panel;
    const int status = QTest::qExec(&panel, argc, argv);
    UsbLibrary_Shutdown();
    return status;
}
#include "test_dpi_panel.moc"
