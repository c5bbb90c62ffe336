// The report-rate frames on the simulated mouse: what a click on each rate
// stores and tells the sensor page, which rates each link level offers, that
// showing a rate writes nothing, and how the frames look.
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/sensor/SensorRate.h"
#include "pages/sensor/SensorRateB.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/sensor/OpenMouse.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

using RateFactory = std::function<ReportRateFrame*()>;
Q_DECLARE_METATYPE(RateFactory)

namespace {
const char* const HighRates[] = {"Button2000HZ", "Button4000HZ", "Button8000HZ"};

int Writes()
{
    return SimDevice_WriteCount("mouse");
}

int StoredRate()
{
    return StoredImage().reportRate;
}

QAbstractButton* Button(QWidget* frame, const char* name)
{
    auto* button = frame->findChild<QAbstractButton*>(QLatin1String(name));
    if (!button)
        qFatal("no button %s", name);
    return button;
}

// A click where a person clicks: on a check box its indicator, on a picture
// button its middle.
void Click(QAbstractButton* button)
{
    const QPoint at = qobject_cast<QCheckBox*>(button) ? QPoint(8, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

void AddFrames()
{
    QTest::addColumn<RateFactory>("make");
}
} // namespace

class ReportRateTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(OpenMouse());
        UiReady = true;
        SensorPageLoading = false;
        ButtonPageLoading = false;
    }

    void cleanup()
    {
        UiReady = false;
        UsbServer_Exit();
    }

    void clicks_data()
    {
        QTest::addColumn<RateFactory>("make");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("hide");
        const struct {
            const char* name;
            RateFactory make;
        } frames[] = {{"SensorRate", [] { return new SensorRate; }}, {"SensorRateB", [] { return new SensorRateB; }}};
        const int codes[] = {8, 4, 2, 1, 16, 32, 64};
        const int hertz[] = {125, 250, 500, 1000, 2000, 4000, 8000};
        for (const auto& frame : frames) {
            for (int index = 0; index < 7; ++index)
                QTest::addRow("%s %d Hz", frame.name, hertz[index])
                    << frame.make << index << codes[index] << (index >= 4 ? 1 : 0);
        }
    }

    // Each rate: a click stores its code and tells the page whether it lies
    // above 1000 Hz; a click on the checked rate does both again. With the
    // mouse switched off nothing is stored or told (the setter gives the
    // offline notice); before the interface is ready the click only checks
    // the button.
    void clicks()
    {
        QFETCH(RateFactory, make);
        QFETCH(int, index);
        QFETCH(int, code);
        QFETCH(int, hide);
        std::unique_ptr<ReportRateFrame> frame(make());
        frame->show();
        QAbstractButton* button = Button(frame.get(), ReportRateFrame::Rates[index].objectName);
        QSignalSpy hides(PostMsg::Instance(), &PostMsg::SigHideModel);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        int writes = Writes();

        Click(button);
        QVERIFY(button->isChecked());
        QCOMPARE(StoredRate(), code);
        QCOMPARE(Writes(), ++writes);
        QCOMPARE(hides.count(), 1);
        QCOMPARE(hides.last().at(0).toInt(), hide);

        Click(button);
        QVERIFY(button->isChecked());
        QCOMPARE(StoredRate(), code);
        QCOMPARE(Writes(), ++writes);
        QCOMPARE(hides.count(), 2);
        QCOMPARE(hides.last().at(0).toInt(), hide);

        // Another rate stored first, so that an unchanged byte shows nothing
        // was written.
        const int other = index == 0 ? 1 : 0;
        Click(Button(frame.get(), ReportRateFrame::Rates[other].objectName));
        const int before = StoredRate();
        writes = Writes();
        hides.clear();

        UiReady = false;
        Click(button);
        QVERIFY(button->isChecked());
        QCOMPARE(StoredRate(), before);
        QCOMPARE(Writes(), writes);
        QCOMPARE(hides.count(), 0);

        UiReady = true;
        Click(Button(frame.get(), ReportRateFrame::Rates[other].objectName));
        writes = Writes();
        hides.clear();
        QVERIFY(SimDevice_SetPower("mouse", 0));
        Click(button);
        QVERIFY(button->isChecked());
        QCOMPARE(StoredRate(), before);
        QCOMPARE(Writes(), writes);
        QCOMPARE(hides.count(), 0);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.last().at(0).toInt(), 0);
    }

    void levels_data()
    {
        AddFrames();
        QTest::newRow("SensorRate") << RateFactory([] { return new SensorRate; });
        QTest::newRow("SensorRateB") << RateFactory([] { return new SensorRateB; });
    }

    // The link's level offers the rates above 1000 Hz; the four up to 1000 Hz
    // are always there, and another level leaves what is offered.
    void levels()
    {
        QFETCH(RateFactory, make);
        std::unique_ptr<ReportRateFrame> frame(make());
        frame->show();
        auto offered = [&] {
            QString shown;
            for (const char* name : HighRates)
                shown += Button(frame.get(), name)->isHidden() ? QLatin1Char('-') : QLatin1Char('+');
            return shown;
        };
        QCOMPARE(offered(), QStringLiteral("+++"));
        const struct {
            int level;
            const char* shown;
        } cases[] = {{0, "---"}, {2, "+--"}, {7, "+--"}, {-1, "+--"}, {1, "++-"}, {3, "+++"}, {4, "+++"}, {0, "---"}};
        for (const auto& step : cases) {
            frame->SetMaxRate(step.level);
            QCOMPARE(offered(), QLatin1String(step.shown));
            for (int index = 0; index < 4; ++index)
                QVERIFY(!Button(frame.get(), ReportRateFrame::Rates[index].objectName)->isHidden());
        }
    }

    // Showing the mouse's rate checks a button without writing; an index
    // outside the seven changes nothing; hiding the checked rate keeps it
    // checked, and no other button becomes checked.
    void shownRate()
    {
        for (ReportRateFrame* frame : {static_cast<ReportRateFrame*>(new SensorRate),
                                       static_cast<ReportRateFrame*>(new SensorRateB)}) {
            std::unique_ptr<ReportRateFrame> owner(frame);
            frame->show();
            QAbstractButton* rate8000 = Button(frame, "Button8000HZ");
            QAbstractButton* rate1000 = Button(frame, "Button1000HZ");
            QSignalSpy hides(PostMsg::Instance(), &PostMsg::SigHideModel);
            const int writes = Writes();
            for (const char* name : {"Button125HZ", "Button8000HZ"})
                QVERIFY(!Button(frame, name)->isChecked());

            frame->SetRate(6);
            QVERIFY(rate8000->isChecked());
            frame->SetRate(7);
            frame->SetRate(-1);
            QVERIFY(rate8000->isChecked());
            frame->SetMaxRate(0);
            QVERIFY(rate8000->isHidden());
            QVERIFY(rate8000->isChecked());
            int checked = 0;
            for (QAbstractButton* button : frame->findChildren<QAbstractButton*>())
                checked += button->isChecked() ? 1 : 0;
            QCOMPARE(checked, 1);

            frame->SetRate(3);
            QVERIFY(rate1000->isChecked());
            QVERIFY(!rate8000->isChecked());
            QCOMPARE(Writes(), writes);
            QCOMPARE(hides.count(), 0);

            frame->SetText(QStringLiteral("Report rate"));
            auto* title = frame->findChild<QLabel*>(QStringLiteral("label"));
            QVERIFY(title);
            QCOMPARE(title->text(), QStringLiteral("Report rate"));
            QCOMPARE(title->styleSheet(), QStringLiteral("QLabel{color: rgb(")
                         + StyleSheet::ColourText(QStringLiteral("LabelColor")) + QStringLiteral(";);}"));
        }
    }

    // The frames in English and Chinese: the live frame at the lowest and
    // the highest level with 1000 Hz checked, and the check-box variant.
    void screenshots()
    {
        const struct {
            const char* language;
            QString title;
        } languages[] = {{"en", QStringLiteral("Report rate")}, {"zh", QStringLiteral("回报率")}};
        for (const auto& language : languages) {
            QWidget host;
            host.setPalette(StyleSheet::DarkPalette());
            host.setAutoFillBackground(true);
            auto* layout = new QVBoxLayout(&host);
            layout->setContentsMargins(16, 16, 16, 16);
            layout->setSpacing(12);
            auto add = [&](ReportRateFrame* frame, int level) {
                frame->setFixedSize(frame->size());
                frame->SetText(language.title);
                frame->SetMaxRate(level);
                frame->SetRate(3);
                layout->addWidget(frame);
            };
            add(new SensorRate, 0);
            add(new SensorRate, 3);
            add(new SensorRateB, 3);
            host.adjustSize();
            host.show();
            QVERIFY(QTest::qWaitForWindowExposed(&host, DefaultTestLimit()));
            QVERIFY(!SaveScreenshot(&host, QStringLiteral("report_rate_%1").arg(QLatin1String(language.language)))
                         .isEmpty());
        }
    }
};

TALVIRE_TEST_MAIN(ReportRateTest)
#include "test_report_rate.moc"
