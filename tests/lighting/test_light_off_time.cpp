// The light-off time frames on the simulated mouse: the drop-down list and
// its slider variant, what each choice stores, when nothing is written, and
// how the list looks open.
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "widgets/StopCloseTime.h"
#include "widgets/StopCloseTimeB.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/lighting/ListChoice.h"
#include "tests/sensor/OpenMouse.h"

#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

namespace {
int Writes()
{
    return SimDevice_WriteCount("mouse");
}

int StoredLightOff()
{
    return StoredImage().lightOffTime;
}

template <class Widget>
Widget* Child(QWidget* parent, const char* name)
{
    auto* child = parent->findChild<Widget*>(QLatin1String(name));
    if (!child)
        qFatal("no child %s", name);
    return child;
}

const int Codes[] = {1, 3, 6, 30, 60, 90, 120, 150, 180, 210, 240};
} // namespace

class LightOffTimeTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(OpenMouse());
        UiReady = true;
        ButtonPageLoading = false;
        SensorPageLoading = false;
        LightPageLoading = false;
    }

    void cleanup()
    {
        UiReady = false;
        ButtonPageLoading = false;
        LightPageLoading = false;
        UsbServer_Exit();
    }

    void choices_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("code");
        for (int index = 0; index < 11; ++index)
            QTest::addRow("entry %d", index) << index << Codes[index];
    }

    // Each entry stores its time in tens of seconds; choosing the entry shown
    // writes it again.
    void choices()
    {
        QFETCH(int, index);
        QFETCH(int, code);
        StopCloseTime frame;
        frame.show();
        auto* list = Child<QComboBox>(&frame, "StopClose");
        int writes = Writes();
        QVERIFY(ChooseEntry(list, index));
        QCOMPARE(list->currentIndex(), index);
        QCOMPARE(StoredLightOff(), code);
        QCOMPARE(Writes(), ++writes);
        QVERIFY(ChooseEntry(list, index));
        QCOMPARE(StoredLightOff(), code);
        QCOMPARE(Writes(), ++writes);
    }

    // The entry of a time in seconds, as the pages look it up for the
    // mouse's code times ten: each of the eleven entries, and none for a time
    // no entry has.
    void indexOfSeconds_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("index");
        for (int index = 0; index < StopCloseTime::EntryCount; ++index)
            QTest::addRow("%d s", Codes[index] * 10) << Codes[index] * 10 << index;
        for (int seconds : {0, -10, 1, 5, 20, 59, 61, 2390, 2410, 2550})
            QTest::addRow("%d s, no entry", seconds) << seconds << -1;
    }

    void indexOfSeconds()
    {
        QFETCH(int, seconds);
        QFETCH(int, index);
        QCOMPARE(StopCloseTime::IndexOfSeconds(seconds), index);
        if (index >= 0)
            QCOMPARE(StopCloseTime::CodeOf(index) * 10, seconds);
    }

    // Before the interface is ready, while the button page fills its
    // widgets, and when the page shows the mouse's time, the list changes
    // and nothing is written; with the mouse off the choice stays shown and
    // the offline notice comes (from the setter).
    void nothingWritten()
    {
        StopCloseTime frame;
        frame.show();
        auto* list = Child<QComboBox>(&frame, "StopClose");
        QVERIFY(ChooseEntry(list, 1));
        const int stored = StoredLightOff();
        const int writes = Writes();
        QSignalSpy activated(list, QOverload<int>::of(&QComboBox::activated));
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        UiReady = false;
        QVERIFY(ChooseEntry(list, 7));
        QCOMPARE(list->currentIndex(), 7);
        UiReady = true;
        ButtonPageLoading = true;
        QVERIFY(ChooseEntry(list, 8));
        QCOMPARE(list->currentIndex(), 8);
        ButtonPageLoading = false;
        QCOMPARE(activated.count(), 2);
        activated.clear();

        frame.SetIndex(4);
        QCOMPARE(list->currentIndex(), 4);
        frame.SetIndex(11);
        frame.SetIndex(-1);
        QCOMPARE(list->currentIndex(), 4);
        QCOMPARE(activated.count(), 0);
        QCOMPARE(StoredLightOff(), stored);
        QCOMPARE(Writes(), writes);
        QCOMPARE(offline.count(), 0);

        QVERIFY(SimDevice_SetPower("mouse", 0));
        QVERIFY(ChooseEntry(list, 9));
        QCOMPARE(list->currentIndex(), 9);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.last().at(0).toInt(), 0);
        QVERIFY(SimDevice_SetPower("mouse", 1));
        QCOMPARE(StoredLightOff(), stored);
        QCOMPARE(Writes(), writes);
    }

    // The frame's look: the list in the "Combox..." colours with the light
    // page's pictures.
    void look()
    {
        StopCloseTime frame;
        QCOMPARE(frame.objectName(), QStringLiteral("StopCloseTime"));
        QCOMPARE(frame.size(), QSize(145, 34));
        auto* list = Child<QComboBox>(&frame, "StopClose");
        QCOMPARE(list->count(), 11);
        QCOMPARE(list->itemText(0), QStringLiteral("10秒"));
        QCOMPARE(list->itemText(10), QStringLiteral("40分钟"));
        QCOMPARE(list->maxVisibleItems(), 15);
        QCOMPARE(list->focusPolicy(), Qt::NoFocus);
        const QString sheet = list->styleSheet();
        QVERIFY(sheet.startsWith(QStringLiteral("QComboBox{border: 1px solid gray; color: rgb(")
                                 + StyleSheet::ColourText(QStringLiteral("ComboxTextColor"))));
        QVERIFY(sheet.contains(StyleSheet::PictureFolder(QStringLiteral("Light")) + QStringLiteral("ComboboxBack.png")));
        for (const char* picture : {"ComboboxBack", "ComboboxTextBack", "Menu", "MenuClicked"})
            QVERIFY2(!QPixmap(StyleSheet::PictureFolder(QStringLiteral("Light")) + QLatin1String(picture)
                              + QStringLiteral(".png")).isNull(), picture);

        frame.SetItemText(3, QStringLiteral("5 min"));
        QCOMPARE(list->itemText(3), QStringLiteral("5 min"));
        frame.SetItemText(11, QStringLiteral("none"));
        QCOMPARE(list->count(), 11);
    }

    // The slider variant: numbers and units per position, the units taken
    // from the list's texts of entries 0 and 5.
    void sliderTexts()
    {
        StopCloseTimeB frame;
        auto* slider = Child<QSlider>(&frame, "StopClose");
        auto* box = Child<QSpinBox>(&frame, "spinBoxA");
        QVERIFY(!slider->hasTracking());
        QCOMPARE(slider->minimum(), 1);
        QCOMPARE(slider->maximum(), 11);
        const int numbers[] = {10, 30, 1, 5, 10, 15, 20, 25, 30, 35, 40};
        for (int position = 1; position <= 11; ++position)
            QCOMPARE(StopCloseTimeB::PositionToNumber(position), numbers[position - 1]);
        QCOMPARE(StopCloseTimeB::PositionToNumber(0), 0);
        QCOMPARE(StopCloseTimeB::PositionToNumber(12), 0);

        // Before any text, bare numbers.
        frame.SetIndex(1);
        QCOMPARE(box->text(), QStringLiteral("30"));
        frame.SetItemText(0, QStringLiteral("10秒"));
        QCOMPARE(box->text(), QStringLiteral("30秒"));
        frame.SetItemText(5, QStringLiteral("15分钟"));
        frame.SetItemText(3, QStringLiteral("ignored"));
        QCOMPARE(box->value(), 30);
        QCOMPARE(box->suffix(), QStringLiteral("秒"));
        frame.SetIndex(2);
        QCOMPARE(slider->value(), 3);
        QCOMPARE(box->value(), 1);
        QCOMPARE(box->suffix(), QStringLiteral("分钟"));
        QCOMPARE(box->text(), QStringLiteral("1分钟"));
        QVERIFY(box->isReadOnly());
        QVERIFY(box->styleSheet().startsWith(QStringLiteral("QSpinBox{background-color: transparent;color: rgb(")
                                             + StyleSheet::ColourText(QStringLiteral("LinEditColorSecond"))));
        QVERIFY(slider->styleSheet().contains(StyleSheet::PictureFolder(QStringLiteral("Sensor"))
                                              + QStringLiteral("HuaKuai.png")));
    }

    // A drag only shows; a release, or a page step, writes the code; not
    // while the lighting page fills its widgets or before the interface is
    // ready; SetIndex never writes.
    void sliderWrites()
    {
        StopCloseTimeB frame;
        frame.resize(277, 28);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame, DefaultTestLimit()));
        auto* slider = Child<QSlider>(&frame, "StopClose");
        auto* box = Child<QSpinBox>(&frame, "spinBoxA");
        frame.SetIndex(0);
        int writes = Writes();

        slider->setSliderDown(true);
        for (int position : {2, 5, 7}) {
            slider->setSliderPosition(position);
            QCOMPARE(box->value(), StopCloseTimeB::PositionToNumber(position));
        }
        QCOMPARE(Writes(), writes);
        slider->setSliderDown(false);
        QCOMPARE(StoredLightOff(), 120);
        QCOMPARE(Writes(), ++writes);

        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(StoredLightOff(), 150);
        QCOMPARE(Writes(), ++writes);

        LightPageLoading = true;
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        LightPageLoading = false;
        UiReady = false;
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        UiReady = true;
        QCOMPARE(slider->value(), 10);
        QCOMPARE(box->value(), 35);
        frame.SetIndex(3);
        QCOMPARE(slider->value(), 4);
        QCOMPARE(StoredLightOff(), 150);
        QCOMPARE(Writes(), writes);
    }

    // The list open, in English and Chinese.
    void screenshots()
    {
        const QStringList english = {QStringLiteral("10 s"),   QStringLiteral("30 s"),   QStringLiteral("1 min"),
                                     QStringLiteral("5 min"),  QStringLiteral("10 min"), QStringLiteral("15 min"),
                                     QStringLiteral("20 min"), QStringLiteral("25 min"), QStringLiteral("30 min"),
                                     QStringLiteral("35 min"), QStringLiteral("40 min")};
        for (const char* language : {"en", "zh"}) {
            QWidget host;
            host.setPalette(StyleSheet::DarkPalette());
            host.setAutoFillBackground(true);
            host.resize(200, 360);
            auto* frame = new StopCloseTime(&host);
            frame->move(24, 16);
            if (QLatin1String(language) == QLatin1String("en")) {
                for (int index = 0; index < english.size(); ++index)
                    frame->SetItemText(index, english.at(index));
            }
            frame->SetIndex(2);
            host.show();
            QVERIFY(QTest::qWaitForWindowExposed(&host, DefaultTestLimit()));
            auto* list = Child<QComboBox>(frame, "StopClose");
            list->showPopup();
            QWidget* popup = list->view()->window();
            QVERIFY(QTest::qWaitForWindowExposed(popup, DefaultTestLimit()));
            QVERIFY(!SaveScreenshot(&host, QStringLiteral("light_off_%1").arg(QLatin1String(language))).isEmpty());
            QVERIFY(!SaveScreenshot(popup, QStringLiteral("light_off_%1_open").arg(QLatin1String(language))).isEmpty());
            list->hidePopup();
        }
    }
};

TALVIRE_TEST_MAIN(LightOffTimeTest)
#include "test_light_off_time.moc"
