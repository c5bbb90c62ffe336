// The sensor option frames on the simulated mouse: what a click or a choice
// stores, what the page's own updates leave alone, and how they look.
#include "tests/sensor/SensorFrameTests.h"

#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/sensor/options/MotionSync.h"
#include "pages/sensor/options/MotionSyncB.h"
#include "pages/sensor/options/RippeControl.h"
#include "pages/sensor/options/RippeControlB.h"
#include "pages/sensor/options/SensorEffect.h"
#include "pages/sensor/options/SensorEffectB.h"
#include "pages/sensor/options/SensorLOD.h"
#include "pages/sensor/options/SensorLODB.h"
#include "pages/sensor/options/StraightLine.h"
#include "pages/sensor/options/StraightLineB.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/sensor/OpenMouse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

using SwitchFactory = std::function<SwitchOptionFrame*()>;
using LightFactory = std::function<DpiLightFrame*()>;
Q_DECLARE_METATYPE(SwitchFactory)
Q_DECLARE_METATYPE(LightFactory)

namespace {

int Writes()
{
    return SimDevice_WriteCount("mouse");
}

int StoredByte(int offset)
{
    return StoredImage().bytes()[offset];
}

// Runs a change as the page does while it fills its widgets.
void WhileLoading(const std::function<void()>& change)
{
    const ScopedFlag loading(SensorPageLoading);
    change();
}

template <typename Widget>
Widget* Child(QWidget* frame, const char* name)
{
    auto* child = frame->findChild<Widget*>(QLatin1String(name));
    if (!child)
        qFatal("no child %s", name);
    return child;
}

// Drags a slider's handle (5 pixels wide in the frames' style) from its
// position to another, as a person does: press on the handle, move, let go.
void DragSlider(QSlider* slider, int to)
{
    const int handle = 5;
    auto xOf = [&](int value) {
        return QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(), value, slider->width() - handle)
            + handle / 2;
    };
    const int y = slider->height() / 2;
    const QPoint from(xOf(slider->value()), y);
    const QPoint target(xOf(to), y);
    QMouseEvent press(QEvent::MouseButtonPress, from, slider->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(slider, &press);
    for (int step = 1; step <= 4; ++step) {
        const QPoint at(from.x() + (target.x() - from.x()) * step / 4, y);
        QMouseEvent move(QEvent::MouseMove, at, slider->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(slider, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, target, slider->mapToGlobal(target), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &release);
}

// The texts the sensor page gives the frames, in one language.
struct FrameTexts {
    const char* name;
    QString ripple, rippleTip, fixLine, fixLineTip, motionSync, lod, lodShort, lodTip, light, speed, brightness;
    QStringList modes;
};

const FrameTexts English{"en",
                         QStringLiteral("Ripple control"),
                         QStringLiteral("Smooths the cursor path at high DPI"),
                         QStringLiteral("Angle snapping"),
                         QStringLiteral("Straightens lines drawn by hand"),
                         QStringLiteral("Motion sync"),
                         QStringLiteral(" Lift-off distance"),
                         QStringLiteral(" LOD"),
                         QStringLiteral("Height at which the sensor stops tracking"),
                         QStringLiteral("DPI light"),
                         QStringLiteral("Speed"),
                         QStringLiteral("Brightness"),
                         {QStringLiteral("Off"), QStringLiteral("Steady"), QStringLiteral("Breathing")}};
const FrameTexts Chinese{"zh",
                         QStringLiteral("波纹控制"),
                         QStringLiteral("高DPI时平滑光标轨迹"),
                         QStringLiteral("直线修正"),
                         QStringLiteral("修正手绘直线"),
                         QStringLiteral("运动同步"),
                         QStringLiteral(" 静默高度"),
                         QStringLiteral(" 静默高度"),
                         QStringLiteral("传感器停止追踪的高度"),
                         QStringLiteral("DPI灯效"),
                         QStringLiteral("速度"),
                         QStringLiteral("亮度"),
                         {QStringLiteral("关闭"), QStringLiteral("常亮"), QStringLiteral("呼吸")}};
} // namespace

void SensorFrameTests::init()
{
    QVERIFY(OpenMouse());
    UiReady = true;
    SensorPageLoading = false;
    ButtonPageLoading = false;
}

void SensorFrameTests::cleanup()
{
    UiReady = false;
    SensorPageLoading = false;
    UsbServer_Exit();
}

void SensorFrameTests::switchFrames_data()
{
    QTest::addColumn<SwitchFactory>("make");
    QTest::addColumn<QString>("toggleName");
    QTest::addColumn<int>("offset");
    QTest::newRow("RippeControl") << SwitchFactory([] { return new RippeControl; }) << "RippeControl_2" << 0x0A;
    QTest::newRow("StraightLine") << SwitchFactory([] { return new StraightLine; }) << "StraightLine_2" << 0x09;
    QTest::newRow("MotionSync") << SwitchFactory([] { return new MotionSync; }) << "MotionSync_2" << 0x07;
    QTest::newRow("RippeControlB") << SwitchFactory([] { return new RippeControlB; }) << "RippeControl_2" << 0x0A;
    QTest::newRow("StraightLineB") << SwitchFactory([] { return new StraightLineB; }) << "StraightLine_2" << 0x09;
    QTest::newRow("MotionSyncB") << SwitchFactory([] { return new MotionSyncB; }) << "MotionSync_2" << 0x07;
}

// A click writes the option once each way while the interface is ready;
// before that it only turns the picture; showing a state writes nothing.
void SensorFrameTests::switchFrames()
{
    QFETCH(SwitchFactory, make);
    QFETCH(QString, toggleName);
    QFETCH(int, offset);
    std::unique_ptr<SwitchOptionFrame> frame(make());
    frame->show();
    auto* toggle = frame->findChild<QToolButton*>(toggleName);
    QVERIFY(toggle);
    QVERIFY(toggle->styleSheet().contains(QStringLiteral("#") + toggleName + QStringLiteral(":checked")));
    QCOMPARE(StoredByte(offset), 0);
    int writes = Writes();

    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(toggle->isChecked());
    QCOMPARE(StoredByte(offset), 1);
    QCOMPARE(Writes(), ++writes);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(!toggle->isChecked());
    QCOMPARE(StoredByte(offset), 0);
    QCOMPARE(Writes(), ++writes);

    UiReady = false;
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(toggle->isChecked());
    QCOMPARE(StoredByte(offset), 0);
    QCOMPARE(Writes(), writes);

    UiReady = true;
    frame->SetChecked(false);
    frame->SetChecked(true);
    QVERIFY(toggle->isChecked());
    QCOMPARE(Writes(), writes);

    frame->SetText(QStringLiteral("Ripple control"));
    frame->SetToolTip(QStringLiteral("Smooths the cursor path"));
    auto* label = Child<QLabel>(frame.get(), "label");
    QCOMPARE(label->text(), QStringLiteral("Ripple control"));
    QCOMPARE(label->toolTip(), QStringLiteral("Smooths the cursor path"));
    QVERIFY(toggle->toolTip().isEmpty());
    QCOMPARE(label->styleSheet(), QStringLiteral("QLabel{color: rgb(") + StyleSheet::ColourText(QStringLiteral("LabelColor"))
                                      + QStringLiteral(";);}"));
}

void SensorFrameTests::liftOffChoice_data()
{
    QTest::addColumn<bool>("lowEntry");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("code");
    QTest::newRow("two entries: 1mm") << false << 0 << 1;
    QTest::newRow("two entries: 2mm") << false << 1 << 2;
    QTest::newRow("three entries: 0.7mm") << true << 0 << 3;
    QTest::newRow("three entries: 1mm") << true << 1 << 1;
    QTest::newRow("three entries: 2mm") << true << 2 << 2;
}

// A choice in the list stores its distance code once; before the interface
// is ready it stores nothing.
void SensorFrameTests::liftOffChoice()
{
    QFETCH(bool, lowEntry);
    QFETCH(int, index);
    QFETCH(int, code);
    SensorLOD frame;
    auto* list = Child<QComboBox>(&frame, "LOD");
    QVERIFY(!list->isEnabled());
    // Disabled, its text is grey, not the black of the dark field.
    QVERIFY(list->styleSheet().contains(QStringLiteral("QComboBox:disabled{color: rgb(")
                                        + StyleSheet::DisabledColour() + QStringLiteral(");}")));
    frame.SetLodEnabled(true);
    if (lowEntry)
        WhileLoading([&] { frame.AddLowLodItem(); });
    QCOMPARE(list->count(), lowEntry ? 3 : 2);
    // Start from another entry, as the page's refresh leaves it.
    WhileLoading([&] { list->setCurrentIndex(index == 0 ? 1 : 0); });
    const int writes = Writes();

    UiReady = false;
    list->setCurrentIndex(index);
    QCOMPARE(Writes(), writes);
    UiReady = true;
    WhileLoading([&] { list->setCurrentIndex(index == 0 ? 1 : 0); });
    list->setCurrentIndex(index);
    QCOMPARE(StoredByte(0x05), code);
    QCOMPARE(Writes(), writes + 1);
}

// The 0.7 mm entry comes and goes in front; the distance chosen stays, and
// outside a refresh it is written again.
void SensorFrameTests::liftOffEntries()
{
    SensorLOD frame;
    frame.SetLodEnabled(true);
    auto* list = Child<QComboBox>(&frame, "LOD");
    frame.RemoveLowLodItem();
    QCOMPARE(list->count(), 2);

    list->setCurrentIndex(1);
    QCOMPARE(StoredByte(0x05), 2);
    frame.AddLowLodItem();
    frame.AddLowLodItem();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentText(), QStringLiteral("2mm"));
    QCOMPARE(StoredByte(0x05), 2);

    list->setCurrentIndex(0);
    QCOMPARE(StoredByte(0x05), 3);
    frame.RemoveLowLodItem();
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentText(), QStringLiteral("1mm"));
    QCOMPARE(StoredByte(0x05), 1);

    // The page's refresh: a distance shown, nothing written.
    int writes = Writes();
    WhileLoading([&] {
        frame.AddLowLodItem();
        frame.SetLod(2);
    });
    QCOMPARE(list->currentText(), QStringLiteral("0.7mm"));
    WhileLoading([&] { frame.SetLod(1); });
    QCOMPARE(list->currentText(), QStringLiteral("2mm"));
    WhileLoading([&] { frame.SetLod(7); });
    QCOMPARE(list->currentText(), QStringLiteral("2mm"));
    QCOMPARE(Writes(), writes);

    // A value without an entry in a list of two leaves nothing chosen and
    // writes nothing, also outside a refresh.
    WhileLoading([&] { frame.RemoveLowLodItem(); });
    frame.SetLod(5);
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(Writes(), writes);
}

void SensorFrameTests::liftOffBoxes()
{
    SensorLODB frame;
    auto* box0 = Child<QCheckBox>(&frame, "MM0");
    auto* box1 = Child<QCheckBox>(&frame, "MM1");
    auto* box2 = Child<QCheckBox>(&frame, "MM2");
    QVERIFY(box0->isHidden());
    frame.show();

    QTest::mouseClick(box2, Qt::LeftButton);
    QCOMPARE(StoredByte(0x05), 2);
    QTest::mouseClick(box1, Qt::LeftButton);
    QCOMPARE(StoredByte(0x05), 1);

    frame.AddLowLodItem();
    QVERIFY(!box0->isHidden());
    QCOMPARE(box0->x(), 80);
    QCOMPARE(box1->x(), 165);
    QCOMPARE(box2->x(), 250);
    QTest::mouseClick(box0, Qt::LeftButton);
    QCOMPARE(StoredByte(0x05), 3);

    int writes = Writes();
    UiReady = false;
    QTest::mouseClick(box2, Qt::LeftButton);
    QCOMPARE(Writes(), writes);
    UiReady = true;
    WhileLoading([&] { QTest::mouseClick(box1, Qt::LeftButton); });
    QCOMPARE(Writes(), writes);

    frame.SetLod(2);
    QVERIFY(box0->isChecked());
    frame.SetLod(1);
    QVERIFY(box2->isChecked());
    frame.RemoveLowLodItem();
    QVERIFY(box0->isHidden());
    QCOMPARE(box1->x(), 80);
    QCOMPARE(box2->x(), 165);
    frame.SetLod(2);   // no 0.7 mm box shown: the choice stays
    QVERIFY(box2->isChecked());
    frame.SetLod(0);
    QVERIFY(box1->isChecked());
    QCOMPARE(Writes(), writes);

    frame.SetLodEnabled(false);
    QVERIFY(!box1->isEnabled() && !box2->isEnabled() && box0->isEnabled());
}

void SensorFrameTests::lightRows_data()
{
    QTest::addColumn<LightFactory>("make");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("speedShown");
    QTest::addColumn<bool>("brightnessShown");
    const LightFactory list([] { return new SensorEffect; });
    const LightFactory boxes([] { return new SensorEffectB; });
    for (const auto& frame : {std::make_pair("SensorEffect", list), std::make_pair("SensorEffectB", boxes)}) {
        QTest::addRow("%s off", frame.first) << frame.second << 0 << false << false;
        QTest::addRow("%s steady", frame.first) << frame.second << 1 << false << true;
        QTest::addRow("%s breathing", frame.first) << frame.second << 2 << true << false;
    }
}

// Each mode shows the rows that apply to it and a line in place of the
// others; the page's setting of a mode writes nothing while it loads.
void SensorFrameTests::lightRows()
{
    QFETCH(LightFactory, make);
    QFETCH(int, mode);
    QFETCH(bool, speedShown);
    QFETCH(bool, brightnessShown);
    std::unique_ptr<DpiLightFrame> frame(make());
    const int writes = Writes();
    auto setMode = [&](int m) {
        if (auto* list = qobject_cast<SensorEffect*>(frame.get()))
            list->SetMode(m);
        else
            static_cast<SensorEffectB*>(frame.get())->SetMode(m);
    };
    // From another mode, so the rows change.
    WhileLoading([&] { setMode((mode + 1) % 3); });
    WhileLoading([&] { setMode(mode); });
    QCOMPARE(Writes(), writes);
    QCOMPARE(!Child<QSlider>(frame.get(), "SpeedH")->isHidden(), speedShown);
    QCOMPARE(!Child<QSpinBox>(frame.get(), "SpeedSpinBox")->isHidden(), speedShown);
    QCOMPARE(!Child<QFrame>(frame.get(), "line")->isHidden(), !speedShown);
    QCOMPARE(!Child<QSlider>(frame.get(), "LightH")->isHidden(), brightnessShown);
    QCOMPARE(!Child<QSpinBox>(frame.get(), "LightSpinBox")->isHidden(), brightnessShown);
    QCOMPARE(!Child<QFrame>(frame.get(), "line_2")->isHidden(), !brightnessShown);
    QVERIFY(!Child<QLabel>(frame.get(), "label_14")->isHidden());
    QVERIFY(!Child<QLabel>(frame.get(), "label_15")->isHidden());
    // A mode that does not exist changes nothing.
    setMode(3);
    QCOMPARE(!Child<QSlider>(frame.get(), "SpeedH")->isHidden(), speedShown);
    QCOMPARE(Writes(), writes);
}

void SensorFrameTests::lightWrites_data()
{
    QTest::addColumn<LightFactory>("make");
    QTest::newRow("SensorEffect") << LightFactory([] { return new SensorEffect; });
    QTest::newRow("SensorEffectB") << LightFactory([] { return new SensorEffectB; });
}

// The user's choices reach the mouse: steady and breathing switch the light
// on with their mode, off keeps the mode; slider positions become speed and
// brightness bytes, a dragged handle once, when it is let go.
void SensorFrameTests::lightWrites()
{
    QFETCH(LightFactory, make);
    std::unique_ptr<DpiLightFrame> frame(make());
    frame->resize(frame->size());
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get(), DefaultTestLimit()));
    auto* list = qobject_cast<SensorEffect*>(frame.get()) ? frame->findChild<QComboBox*>(QStringLiteral("Model"))
                                                           : nullptr;
    auto choose = [&](int mode) {
        if (list) {
            list->setCurrentIndex(mode);
        } else {
            const char* boxes[] = {"MM3", "MM1", "MM2"};
            QTest::mouseClick(Child<QCheckBox>(frame.get(), boxes[mode]), Qt::LeftButton);
        }
    };
    WhileLoading([&] { choose(0); });
    int writes = Writes();

    choose(1);
    QCOMPARE(StoredByte(0x42), 1);
    QCOMPARE(StoredByte(0x3F), 1);
    QCOMPARE(Writes(), ++writes);
    choose(0);
    QCOMPARE(StoredByte(0x42), 0);
    QCOMPARE(StoredByte(0x3F), 1);
    QCOMPARE(Writes(), ++writes);
    choose(2);
    QCOMPARE(StoredByte(0x42), 1);
    QCOMPARE(StoredByte(0x3F), 2);
    QCOMPARE(Writes(), ++writes);

    auto* brightness = Child<QSlider>(frame.get(), "LightH");
    auto* brightnessValue = Child<QSpinBox>(frame.get(), "LightSpinBox");
    WhileLoading([&] { frame->SetBrightness(1); });
    frame->SetBrightness(5);
    QCOMPARE(StoredByte(0x40), 128);
    frame->SetBrightness(10);
    QCOMPARE(StoredByte(0x40), 255);
    writes += 2;
    QCOMPARE(Writes(), writes);
    frame->SetSpeed(4);
    QCOMPARE(StoredByte(0x41), 4);
    QCOMPARE(Child<QSpinBox>(frame.get(), "SpeedSpinBox")->value(), 4);
    QCOMPARE(Writes(), ++writes);

    // The brightness row shows in the steady mode; drag its handle.
    choose(1);
    ++writes;
    WhileLoading([&] { frame->SetBrightness(1); });
    QSignalSpy moved(brightness, &QSlider::sliderMoved);
    DragSlider(brightness, 7);
    QVERIFY(moved.count() >= 2);
    QCOMPARE(brightness->value(), 7);
    QCOMPARE(brightnessValue->value(), 7);
    QCOMPARE(StoredByte(0x40), 180);
    QCOMPARE(Writes(), ++writes);

    // The page's refresh: everything shown, nothing written.
    WhileLoading([&] {
        frame->SetSpeed(2);
        frame->SetBrightness(3);
    });
    QCOMPARE(brightnessValue->value(), 3);
    QCOMPARE(Writes(), writes);
    QCOMPARE(StoredByte(0x41), 4);

    UiReady = false;
    frame->SetSpeed(5);
    choose(2);
    QCOMPARE(Writes(), writes);

    frame->SetSlidersEnabled(false);
    QVERIFY(!brightness->isEnabled());
    QVERIFY(!Child<QSlider>(frame.get(), "SpeedH")->isEnabled());
}

// Every frame in its states, with the texts of two languages, on the page's
// ground.
void SensorFrameTests::screenshots()
{
    for (const FrameTexts* texts : {&English, &Chinese}) {
        for (int state = 0; state < 3; ++state) {
            QWidget host;
            host.setObjectName(QStringLiteral("host"));
            host.setPalette(StyleSheet::DarkPalette());
            host.setAutoFillBackground(true);
            auto* layout = new QVBoxLayout(&host);
            layout->setContentsMargins(16, 16, 16, 16);
            layout->setSpacing(12);
            // The page places its frames at their form's size.
            auto place = [&](QWidget* frame) {
                frame->setFixedSize(frame->size());
                layout->addWidget(frame);
            };
            std::vector<SwitchOptionFrame*> switches{new RippeControl, new StraightLine, new MotionSync,
                                                     new RippeControlB, new StraightLineB, new MotionSyncB};
            const QString switchTexts[] = {texts->ripple, texts->fixLine, texts->motionSync};
            for (size_t i = 0; i < switches.size(); ++i) {
                place(switches[i]);
                switches[i]->SetText(switchTexts[i % 3]);
                switches[i]->SetToolTip(i % 3 == 0 ? texts->rippleTip : texts->fixLineTip);
                switches[i]->SetChecked(state == 1);
            }
            auto* lod = new SensorLOD;
            auto* lodBoxes = new SensorLODB;
            // The check-box frame leaves its label the room of a short word.
            lod->SetText(texts->lod);
            lodBoxes->SetText(texts->lodShort);
            for (LiftOffFrame* frame : {static_cast<LiftOffFrame*>(lod), static_cast<LiftOffFrame*>(lodBoxes)}) {
                frame->SetToolTip(texts->lodTip);
                place(frame);
            }
            auto* effect = new SensorEffect;
            auto* effectBoxes = new SensorEffectB;
            for (DpiLightFrame* frame : {static_cast<DpiLightFrame*>(effect), static_cast<DpiLightFrame*>(effectBoxes)}) {
                frame->SetTitleText(texts->light);
                frame->SetSpeedText(texts->speed);
                frame->SetBrightnessText(texts->brightness);
                place(frame);
            }
            for (int i = 0; i < 3; ++i) {
                effect->SetModeItemText(i, texts->modes.at(i));
                effectBoxes->SetModeItemText(i, texts->modes.at(i));
            }
            WhileLoading([&] {
                if (state >= 1) {
                    lod->AddLowLodItem();
                    lodBoxes->AddLowLodItem();
                }
                lod->SetLodEnabled(state != 0);
                lodBoxes->SetLodEnabled(state != 0);
                lod->SetLod(state == 2 ? 2 : 0);
                lodBoxes->SetLod(state == 2 ? 2 : 0);
                const int mode = state == 0 ? 1 : state == 1 ? 2 : 0;
                effect->SetMode(mode);
                effectBoxes->SetMode(mode);
                for (DpiLightFrame* frame : {static_cast<DpiLightFrame*>(effect),
                                             static_cast<DpiLightFrame*>(effectBoxes)}) {
                    frame->SetSpeed(3);
                    frame->SetBrightness(7);
                    frame->SetSlidersEnabled(state != 2);
                }
            });
            host.adjustSize();
            host.show();
            QVERIFY(QTest::qWaitForWindowExposed(&host, DefaultTestLimit()));
            const QString name
                = QStringLiteral("sensor_frames_%1_%2").arg(QLatin1String(texts->name)).arg(state);
            QVERIFY(!SaveScreenshot(&host, name).isEmpty());
        }
    }
}
