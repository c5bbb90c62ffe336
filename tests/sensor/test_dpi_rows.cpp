// The per-stage DPI panel on the simulated mouse: each row's slider writes
// its own stage's DPI fitted to the model's segments, the stage count moves
// a selected stage beyond the new last row into it, a colour goes to the row
// whose colour button was clicked, and the panel's look.
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorDPIB.h"
#include "pages/sensor/SensorTables.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/sensor/DpiPanelFill.h"
#include "tests/sensor/OpenMouse.h"
#include "tests/sensor/PanelProbe.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {
const char* const ColourButtonNames[] = {"BlueButtonA",  "BrightRedButtonA", "RedButtonA",       "YellowButtonA",
                                         "GreenButtonA", "PurpleButtonA",    "LightBlueButtonA", "LightYellowButtonA"};
const QStringList OneSegment{"50", "5000", "50", "0x22"};
const QStringList TwoSegments{"50", "2000", "50", "2100", "10000", "100", "0x22"};
const int StageDpis[] = {100, 200, 400, 800, 1600, 3200, 4800, 6400};

using PanelProbe::Child;
using PanelProbe::Record;
using PanelProbe::Writes;

QCheckBox* Box(QWidget* panel, int row)
{
    return Child<QCheckBox>(panel, QStringLiteral("M") + QChar('A' + row));
}

QToolButton* ColourButton(QWidget* panel, int row)
{
    return Child<QToolButton>(panel, QLatin1String(ColourButtonNames[row]));
}

QSlider* Slider(QWidget* panel, int row)
{
    return Child<QSlider>(panel, QStringLiteral("horizontalSlider") + QChar('A' + row));
}

QSpinBox* Value(QWidget* panel, int row)
{
    return Child<QSpinBox>(panel, QStringLiteral("spinBox") + QChar('A' + row));
}

QComboBox* Count(QWidget* panel)
{
    return Child<QComboBox>(panel, QStringLiteral("ChooseEvent"));
}

// The colour of a stage on the mouse, "#rrggbb".
QColor StageColour(int stage)
{
    return QColor(10 * stage + 5, 20 * stage + 7, 30 * stage + 9);
}

bool ShowsColour(QWidget* panel, int row, const QString& colour)
{
    return ColourButton(panel, row)->styleSheet().contains(QStringLiteral("background-color:") + colour
                                                           + QStringLiteral(";"));
}

// Fills the panel from an image the way the sensor page fills its live
// panel: with the page loading and the sliders' signals blocked.
void Fill(SensorDPIB& panel, const FlashDataMap& image)
{
    const int count = image.dpiStageCount;
    const int current = image.currentDpiStage;
    panel.ClearChooseEvent();
    panel.BlockSliderSignals(true);
    panel.SetSlidersEnabled(true);
    const ScopedFlag loading(SensorPageLoading);
    panel.SetStageCount(count);
    panel.SetCurrentStage(current);
    panel.BlockChooseEventSignals(true);
    for (int i = 0; i < SensorDPIB::Stages; ++i) {
        panel.SetStageColor(i, DpiPanelFill::HexColour(image.dpiStages[i]));
        panel.InsertChooseEventItem(i, QString::number(i + 1));
    }
    panel.BlockChooseEventSignals(false);
    panel.RefreshStageButtons();
    panel.SetSliderMaximum(10000);
    panel.SetSliderMinimum(50);
    for (int i = 0; i < SensorDPIB::Stages; ++i)
        panel.SetStageValueText(i, QString::number(DpiPanelFill::StageDpi(image, i)));
    panel.ShowStages(count - 1);
    panel.SetChooseEventIndex(count - 1);
    panel.CheckStage(current);
    panel.BlockSliderSignals(false);
}
} // namespace

class DpiRowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Sensor> page;

    // The mouse with every stage's DPI and colour, the stage count and the
    // current stage; the live image is the mouse's.
    void PrepareMouse(int count, int current)
    {
        for (int stage = 0; stage < SensorDPIB::Stages; ++stage) {
            WriteDpiStage(stage, StageDpis[stage]);
            const QColor colour = StageColour(stage);
            SetDpiStageColor(stage, colour.red(), colour.green(), colour.blue());
        }
        SetDpiStageCount(count);
        SetCurrentDpiStage(current);
    }

    std::unique_ptr<SensorDPIB> FilledPanel(int count, int current)
    {
        PrepareMouse(count, current);
        auto panel = std::make_unique<SensorDPIB>();
        panel->show();
        Fill(*panel, LiveFlashData.get());
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
        page->ReadDpiRange(TwoSegments);
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

    // The form: eight rows, all shown, nothing checked, sliders at 50 of 50
    // to 10000 without tracking, red colour buttons.
    void construction()
    {
        SensorDPIB panel;
        QCOMPARE(panel.size(), QSize(725, 444));
        QCOMPARE(Child<QLabel>(&panel, QStringLiteral("label"))->geometry(), QRect(550, 10, 71, 21));
        QCOMPARE(Count(&panel)->geometry(), QRect(630, 10, 81, 21));
        QCOMPARE(Count(&panel)->count(), 0);
        for (int row = 0; row < SensorDPIB::Stages; ++row) {
            const int y = 60 + 50 * row;
            QCOMPARE(Box(&panel, row)->geometry(), QRect(10, y, 61, 20));
            QCOMPARE(Box(&panel, row)->text(), QStringLiteral("DPI%1").arg(row + 1));
            QVERIFY(!Box(&panel, row)->isChecked());
            QCOMPARE(ColourButton(&panel, row)->geometry(), QRect(80, 57 + 50 * row, 25, 25));
            QVERIFY(ColourButton(&panel, row)->styleSheet().contains(QStringLiteral("rgb(255, 0, 0)")));
            QCOMPARE(Slider(&panel, row)->geometry(), QRect(120, y, 510, 20));
            QCOMPARE(Slider(&panel, row)->value(), 50);
            QCOMPARE(Slider(&panel, row)->maximum(), 10000);
            QVERIFY(!Slider(&panel, row)->hasTracking());
            QCOMPARE(Value(&panel, row)->geometry(), QRect(643, y, 66, 21));
            QVERIFY(Value(&panel, row)->isReadOnly());
            QCOMPARE(Value(&panel, row)->value(), 50);
            QVERIFY(!Box(&panel, row)->isHidden());
        }
    }

    void sliders_data()
    {
        QTest::addColumn<QStringList>("range");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("pageStep");
        QTest::newRow("on the step") << OneSegment << 4 << 1234 << 1200 << 50;
        QTest::newRow("above the range") << OneSegment << 4 << 6000 << 5000 << 50;
        QTest::newRow("gap goes up") << TwoSegments << 2 << 2050 << 2100 << 100;
        QTest::newRow("second segment") << TwoSegments << 7 << 5555 << 5500 << 100;
    }

    // A row's slider let go: its value box shows the value fitted to the
    // model's segments, which is written to that row's stage while another
    // stage is current; the slider stays where it was let go.
    void sliders()
    {
        QFETCH(QStringList, range);
        QFETCH(int, row);
        QFETCH(int, value);
        QFETCH(int, shown);
        QFETCH(int, pageStep);
        page->ReadDpiRange(range);
        auto panel = FilledPanel(8, 1);
        const FlashDataMap before = StoredImage();
        const int writes = Writes();

        Slider(panel.get(), row)->setValue(value);

        QCOMPARE(Slider(panel.get(), row)->value(), value);
        QCOMPARE(Slider(panel.get(), row)->pageStep(), pageStep);
        QCOMPARE(Value(panel.get(), row)->value(), shown);
        QCOMPARE(Writes(), writes + 1);
        const FlashDataMap after = StoredImage();
        QCOMPARE(DpiPanelFill::StageDpi(after, row), shown);
        QCOMPARE(int(after.currentDpiStage), 1);
        for (int stage = 0; stage < SensorDPIB::Stages; ++stage) {
            if (stage != row)
                QCOMPARE(Record(after, stage), Record(before, stage));
        }
    }

    // No change is held back: the first one after construction is written,
    // and so is the first one after a selection. Offline the value box shows
    // the value as it comes and nothing is written; while an apply runs the
    // value is fitted and shown but not written.
    void firstChangesAndRefusals()
    {
        {
            SensorDPIB fresh;
            const int writes = Writes();
            Slider(&fresh, 0)->setValue(1234);
            QCOMPARE(Writes(), writes + 1);
            QCOMPARE(DpiPanelFill::StageDpi(StoredImage(), 0), 1200);
            fresh.SelectStage(3);
            QVERIFY(Box(&fresh, 3)->isChecked());
            QCOMPARE(int(StoredImage().currentDpiStage), 3);
            Slider(&fresh, 3)->setValue(700);
            QCOMPARE(DpiPanelFill::StageDpi(StoredImage(), 3), 700);
            QCOMPARE(Writes(), writes + 3);
        }
        auto panel = FilledPanel(8, 1);
        const FlashDataMap before = StoredImage();
        const int writes = Writes();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QVERIFY(SimDevice_SetPower("mouse", 0));
        Slider(panel.get(), 5)->setValue(3217);
        QCOMPARE(Value(panel.get(), 5)->value(), 3217);
        QCOMPARE(offline.count(), 1);
        QVERIFY(SimDevice_SetPower("mouse", 1));
        {
            const ScopedFlag applying(ApplyInProgress);
            Slider(panel.get(), 5)->setValue(5020);
        }
        QCOMPARE(Value(panel.get(), 5)->value(), 5000);
        QCOMPARE(Writes(), writes);
        const FlashDataMap after = StoredImage();
        QVERIFY(std::memcmp(&before, &after, sizeof before) == 0);
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
        QTest::newRow("stage 6, count 3") << 6 << false << true << true << true << 2 << 3;
        QTest::newRow("stage 1, count 3") << 1 << false << true << true << false << 1 << 1;
        QTest::newRow("stage 2, count 3") << 2 << false << true << true << false << 2 << 1;
        QTest::newRow("loading") << 6 << true << true << true << false << 6 << 0;
        QTest::newRow("not ready") << 6 << false << false << true << true << 2 << 0;
        QTest::newRow("mouse off") << 6 << false << true << false << true << 2 << 0;
    }

    // Eight stages, the user chooses three. A current stage beyond the new
    // last row brings its DPI and colour into that row, which becomes the
    // selected one, on the panel and in the mouse (records exchanged, current
    // stage, count); otherwise only the count is written. While the page
    // fills the panel nothing happens; offline or before the interface is
    // ready only the panel changes.
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
        QVERIFY(Box(panel.get(), selected)->isChecked());
        const int a = swapped ? 6 : 2;
        const int b = swapped ? 2 : 6;
        QCOMPARE(Value(panel.get(), 2)->value(), StageDpis[a]);
        QCOMPARE(Slider(panel.get(), 2)->value(), StageDpis[a]);
        QCOMPARE(Value(panel.get(), 6)->value(), StageDpis[b]);
        QVERIFY(ShowsColour(panel.get(), 2, StageColour(a).name()));
        QVERIFY(ShowsColour(panel.get(), 6, StageColour(b).name()));
        for (int row = 0; row < SensorDPIB::Stages; ++row) {
            const bool hidden = !loading && row > 2;
            QCOMPARE(Box(panel.get(), row)->isHidden(), hidden);
            QCOMPARE(ColourButton(panel.get(), row)->isHidden(), hidden);
            QCOMPARE(Slider(panel.get(), row)->isHidden(), hidden);
            QCOMPARE(Value(panel.get(), row)->isHidden(), hidden);
        }

        const FlashDataMap after = StoredImage();
        if (writes == 0) {
            QVERIFY(std::memcmp(&before, &after, sizeof before) == 0);
            QCOMPARE(offline.isEmpty(), online || !ready);
            return;
        }
        QCOMPARE(int(after.dpiStageCount), 3);
        QCOMPARE(int(after.currentDpiStage), selected);
        QCOMPARE(Record(after, 2), Record(before, a));
        QCOMPARE(Record(after, 6), Record(before, b));
        QVERIFY(offline.isEmpty());
    }

    // A colour confirmed in the dialog goes to the row whose colour button
    // was clicked last, whichever stage is current: its button and its
    // record. Offline the button takes it, the mouse keeps its own.
    void colours()
    {
        auto panel = FilledPanel(8, 1);
        QColorDialog* dialog = panel->findChild<QColorDialog*>();
        QVERIFY(dialog);
        QVERIFY(!dialog->isVisible());
        QTest::mouseClick(ColourButton(panel.get(), 4), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        dialog->hide();
        const FlashDataMap before = StoredImage();
        const int writes = Writes();
        emit dialog->colorSelected(QColor(5, 200, 16));
        QVERIFY(ShowsColour(panel.get(), 4, QStringLiteral("#05c810")));
        QCOMPARE(Writes(), writes + 1);
        const FlashDataMap after = StoredImage();
        QCOMPARE(int(after.dpiStages[4].red), 5);
        QCOMPARE(int(after.dpiStages[4].green), 200);
        QCOMPARE(int(after.dpiStages[4].blue), 16);
        QCOMPARE(Record(after, 1), Record(before, 1));
        QCOMPARE(int(after.currentDpiStage), 1);

        QVERIFY(SimDevice_SetPower("mouse", 0));
        emit dialog->colorSelected(QColor(1, 2, 3));
        QVERIFY(ShowsColour(panel.get(), 4, QStringLiteral("#010203")));
        QCOMPARE(int(StoredImage().dpiStages[4].red), 5);
        QVERIFY(SimDevice_SetPower("mouse", 1));

        // Colours from a page: "#rrggbb" as given, shown at the next
        // restyle; another stage or another form of text is ignored.
        panel->SetStageColor(2, QStringLiteral("#FF8000"));
        panel->SetStageColor(8, QStringLiteral("#123456"));
        panel->SetStageColor(3, QStringLiteral("red"));
        panel->SetStageColor(5, QStringLiteral("#-12345"));
        QVERIFY(ShowsColour(panel.get(), 2, StageColour(2).name()));
        panel->RefreshStageButtons();
        QVERIFY(ShowsColour(panel.get(), 2, QStringLiteral("#FF8000")));
        QVERIFY(ShowsColour(panel.get(), 3, StageColour(3).name()));
        QVERIFY(ShowsColour(panel.get(), 5, StageColour(5).name()));
        // Fixed colours on the buttons; the stored ones come back.
        panel->ResetButtonColors();
        const char* const fixed[] = {"#ff0000", "#00ffff", "#00ff00", "#ffffff",
                                     "#00ffff", "#ff557d", "#ff00ff", "#00ffff"};
        for (int row = 0; row < SensorDPIB::Stages; ++row)
            QVERIFY(ShowsColour(panel.get(), row, QLatin1String(fixed[row])));
        panel->RefreshStageButtons();
        QVERIFY(ShowsColour(panel.get(), 4, QStringLiteral("#010203")));
    }

    // Selecting a stage: checked and written; offline only the notice.
    // Stages and counts outside the eight are ignored or count as stage 0
    // and count 1 for the panel, and a count change then stays within the
    // rows and writes nothing.
    void selectionAndOutOfRange()
    {
        auto panel = FilledPanel(8, 1);
        int writes = Writes();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        panel->SelectStage(3);
        QVERIFY(Box(panel.get(), 3)->isChecked());
        QCOMPARE(int(StoredImage().currentDpiStage), 3);
        QCOMPARE(Writes(), ++writes);
        panel->SelectStage(9);
        panel->CheckStage(-1);
        QVERIFY(Box(panel.get(), 3)->isChecked());
        QCOMPARE(Writes(), writes);

        QVERIFY(SimDevice_SetPower("mouse", 0));
        panel->SelectStage(5);
        QVERIFY(Box(panel.get(), 3)->isChecked());
        QCOMPARE(offline.count(), 1);
        QVERIFY(SimDevice_SetPower("mouse", 1));

        panel->ShowStages(8);
        panel->ShowStages(-1);
        for (int row = 0; row < SensorDPIB::Stages; ++row)
            QVERIFY(!Slider(panel.get(), row)->isHidden());
        panel->SetSliderValue(900, 8);
        panel->SetSpinBoxValue(900, -1);
        panel->SetStageValueText(8, QStringLiteral("900"));
        panel->SetStageValueText(2, QStringLiteral("lots"));
        QCOMPARE(Value(panel.get(), 2)->value(), StageDpis[2]);
        QCOMPARE(Writes(), writes);

        panel->SetCurrentStage(9);
        panel->SetStageCount(0);
        UiReady = false;
        Count(panel.get())->setCurrentIndex(0);
        QVERIFY(Box(panel.get(), 1)->isHidden());
        QCOMPARE(Value(panel.get(), 0)->value(), StageDpis[0]);
        Count(panel.get())->setCurrentIndex(-1);
        QVERIFY(!Box(panel.get(), 0)->isHidden());
        QCOMPARE(Writes(), writes);
    }

    // Five rows of the panel filled from the mouse, in English and Chinese.
    void screenshots()
    {
        const struct {
            const char* language;
            QString title;
        } languages[] = {{"en", QStringLiteral("Stages")}, {"zh", QStringLiteral("DPI级数")}};
        for (const auto& language : languages) {
            QWidget host;
            host.setPalette(StyleSheet::DarkPalette());
            host.setAutoFillBackground(true);
            auto* layout = new QVBoxLayout(&host);
            layout->setContentsMargins(16, 16, 16, 16);
            PrepareMouse(5, 2);
            const int rgb[5][3] = {{255, 72, 77}, {255, 170, 0}, {25, 195, 162}, {0, 150, 255}, {120, 90, 255}};
            for (int stage = 0; stage < 5; ++stage) {
                SetDpiStageColor(stage, rgb[stage][0], rgb[stage][1], rgb[stage][2]);
                WriteDpiStage(stage, 400 + stage * 1600);
            }
            auto* panel = new SensorDPIB;
            panel->setFixedSize(panel->size());
            layout->addWidget(panel);
            panel->SetTitleText(language.title);
            Fill(*panel, LiveFlashData.get());
            host.adjustSize();
            host.show();
            QVERIFY(QTest::qWaitForWindowExposed(&host, DefaultTestLimit()));
            QVERIFY(!SaveScreenshot(&host, QStringLiteral("dpi_rows_%1").arg(QLatin1String(language.language)))
                         .isEmpty());
        }
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    DpiRowsTest test;
    const int status = QTest::qExec(&test, argc, argv);
    UsbLibrary_Shutdown();
    return status;
}
#include "test_dpi_rows.moc"
