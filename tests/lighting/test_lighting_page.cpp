// The lighting page on the simulated mouse: what a refresh shows (and that
// it writes nothing), the controls of each mode, what each control stores,
// the online check, the defaults, the language texts, the screen colour
// picker with the screen replaced, and how the page looks.
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "pages/lighting/LampLight.h"
#include "platform/ScreenPixels.h"
#include "tests/common/OtherThread.h"
#include "tests/common/Screenshot.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"
#include "tests/lighting/LightingPage.h"
#include "tests/lighting/ListChoice.h"
#include "tests/sensor/OpenMouse.h"

#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {
int Writes()
{
    return SimDevice_WriteCount("mouse");
}

FlashDataMap Stored()
{
    return StoredImage();
}

QString Colour(const FlashDataMap& image)
{
    return QStringLiteral("%1,%2,%3").arg(image.lightColor[0]).arg(image.lightColor[1]).arg(image.lightColor[2]);
}

QString Shown(const LightingControls& c)
{
    return QStringLiteral("%1,%2,%3").arg(c.red->value()).arg(c.green->value()).arg(c.blue->value());
}

QString PreviewRule(const QString& rgb)
{
    return QStringLiteral("QLabel{background-color: rgb(") + rgb
        + QStringLiteral(");border: 2px solid  rgb(220,220,220);}");
}

FlashDataMap LightImage(int mode, int on, int brightness, int speed, int lightOff, int red = 0, int green = 0,
                        int blue = 0, int moveLightOff = 0)
{
    FlashDataMap image = StoredImage();
    image.lightMode = quint8(mode);
    image.lightOn = quint8(on);
    image.lightBrightness = quint8(brightness);
    image.lightSpeed = quint8(speed);
    image.lightOffTime = quint8(lightOff);
    image.lightColor[0] = quint8(red);
    image.lightColor[1] = quint8(green);
    image.lightColor[2] = quint8(blue);
    image.moveLightOff = quint8(moveLightOff);
    return image;
}

// What a mode shows, as the letters of the visible groups: l line, 2 line_2,
// c the colour group, b brightness, s speed.
QString Visible(QWidget* page)
{
    auto shown = [page](const char* name) { return !PageChild<QWidget>(page, QLatin1String(name))->isHidden(); };
    QString groups;
    if (shown("line"))
        groups += QLatin1Char('l');
    if (shown("line_2"))
        groups += QLatin1Char('2');
    const char* colour[] = {"label_6", "label_7", "label_8", "labelPreView", "label_10", "label_11", "label_12",
                            "RSpinBox", "GSpinBox", "BSpinBox", "AddR", "AddG", "AddB", "ReduceR", "ReduceG",
                            "ReduceB", "label_13", "toolButtonColorA", "toolButtonColorN"};
    int colourShown = 0;
    for (const char* name : colour)
        colourShown += shown(name) ? 1 : 0;
    if (colourShown == int(sizeof(colour) / sizeof(colour[0])))
        groups += QLatin1Char('c');
    else if (colourShown != 0)
        groups += QLatin1Char('?');
    if (shown("horizontalLight") && shown("LightSpinBox_2"))
        groups += QLatin1Char('b');
    if (shown("horizontalSpeed") && shown("SpeedSpinBox_2"))
        groups += QLatin1Char('s');
    for (const char* name : {"label", "LightMod", "label_2", "label_3", "label_4", "RippeControl", "label_5",
                             "frameClose"}) {
        if (!shown(name))
            groups += QLatin1Char('!');
    }
    return groups;
}

// A screen of one colour (or none) whose reads are counted.
class FakeScreen : public ScreenPixels {
public:
    QPoint CursorPosition() const override { return cursor; }
    qreal Scale() const override { return scale; }
    QPixmap Grab(const QPoint& at, const QSize& size) const override
    {
        grabs.append(QRect(at, size));
        if (!colour.isValid())
            return QPixmap();
        QPixmap pixmap(size);
        pixmap.fill(colour);
        return pixmap;
    }

    QPoint cursor{10, 10};
    qreal scale = 1.0;
    QColor colour;
    mutable QVector<QRect> grabs;
};

void Press(QWidget* page, const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(page, button, Qt::NoModifier, at);
    QTest::mouseRelease(page, button, Qt::NoModifier, at);
}
} // namespace

class LightingPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<LampLight> page_;
    std::unique_ptr<LightingControls> c_;
    FakeScreen screen_;

    // The page showing a known state (mode 2, brightness 4, speed 4, 5 min).
    void ShowKnownState()
    {
        page_->SlotUpDataLightUILight(LightImage(2, 1, 3, 3, 30, 1, 2, 3));
    }

private slots:
    void init()
    {
        QVERIFY(OpenMouse());
        UiReady = true;
        LightPageLoading = false;
        ButtonPageLoading = false;
        SensorPageLoading = false;
        page_ = std::make_unique<LampLight>();
        QVERIFY(ConnectLightingPage(page_.get()));
        c_ = std::make_unique<LightingControls>(page_.get());
        page_->show();
        QApplication::setActiveWindow(page_.get());
        QVERIFY(QTest::qWaitForWindowActive(page_.get(), DefaultTestLimit()));
        screen_ = FakeScreen();
        ScreenPixels::Replace(&screen_);
    }

    void cleanup()
    {
        ScreenPixels::Replace(nullptr);
        c_.reset();
        page_.reset();
        UiReady = false;
        UsbServer_Exit();
    }

    void form()
    {
        QCOMPARE(page_->objectName(), QStringLiteral("LampLight"));
        QCOMPARE(page_->size(), QSize(883, 630));
        QCOMPARE(c_->mode->count(), 6);
        QCOMPARE(c_->lightOff->count(), 11);
        QCOMPARE(PageChild<QWidget>(page_.get(), QStringLiteral("frameClose"))->geometry(), QRect(235, 420, 145, 35));
        QCOMPARE(c_->board->geometry(), QRect(448, 112, 308, 34));
        QVERIFY(!c_->brightness->hasTracking());
        QCOMPARE(c_->red->maximum(), 255);
        QCOMPARE(c_->red->focusPolicy(), Qt::ClickFocus);
        // The compiled-in pictures.
        for (const char* name : {"ColorA", "ColorN", "ColorBoard", "PreviewColor", "OKScroll", "NoScroll"})
            QVERIFY2(!QPixmap(QStringLiteral(":/Light/Source/LightImage/") + QLatin1String(name)
                              + QStringLiteral(".png")).isNull(), name);
        QCOMPARE(QImage(QStringLiteral(":/Light/Source/LightImage/ColorH.png")).pixelColor(14, 14),
                 QColor(227, 0, 127));
    }

    void refresh_data()
    {
        QTest::addColumn<FlashDataMap>("image");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("visible");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("lightOff");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<bool>("moveLightOff");
        // From the known state: mode 2 (lcbs shown as "cbs"), 4, 4, entry 3.
        QTest::newRow("light off, any mode") << LightImage(3, 0, 3, 3, 30) << 0 << "l2" << 4 << 4 << 3 << "0,0,0"
                                             << false;
        QTest::newRow("mode 3") << LightImage(3, 1, 3, 3, 30, 9, 8, 7, 1) << 3 << "2cb" << 4 << 4 << 3 << "9,8,7"
                                << true;
        QTest::newRow("mode outside 0-5") << LightImage(7, 1, 3, 3, 30) << -1 << "cbs" << 4 << 4 << 3 << "0,0,0"
                                          << false;
        QTest::newRow("light-off 0") << LightImage(2, 1, 3, 3, 0) << 2 << "cbs" << 4 << 4 << 3 << "0,0,0" << false;
        QTest::newRow("light-off not in the list") << LightImage(2, 1, 3, 3, 7) << 2 << "cbs" << 4 << 4 << 3
                                                   << "0,0,0" << false;
        QTest::newRow("light-off 240") << LightImage(2, 1, 3, 3, 240) << 2 << "cbs" << 4 << 4 << 10 << "0,0,0"
                                       << false;
        QTest::newRow("brightness 9, speed 0") << LightImage(2, 1, 9, 0, 30) << 2 << "cbs" << 10 << 1 << 3 << "0,0,0"
                                               << false;
        QTest::newRow("above 9") << LightImage(2, 1, 200, 10, 30) << 2 << "cbs" << 10 << 10 << 3 << "0,0,0" << false;
    }

    // A refresh shows the image and writes nothing; the same entry again
    // leaves the controls of the mode as they were.
    void refresh()
    {
        QFETCH(FlashDataMap, image);
        QFETCH(int, mode);
        QFETCH(QString, visible);
        QFETCH(int, brightness);
        QFETCH(int, speed);
        QFETCH(int, lightOff);
        QFETCH(QString, colour);
        QFETCH(bool, moveLightOff);
        ShowKnownState();
        QCOMPARE(Visible(page_.get()), QStringLiteral("cbs"));
        QCOMPARE(c_->lightOff->currentIndex(), 3);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int writes = Writes();

        PostMsg::Instance()->PostUpDataLightLight(image);
        QCOMPARE(c_->mode->currentIndex(), mode);
        QCOMPARE(Visible(page_.get()), visible);
        QCOMPARE(c_->brightness->value(), brightness);
        QCOMPARE(c_->brightnessBox->value(), brightness);
        QCOMPARE(c_->speed->value(), speed);
        QCOMPARE(c_->speedBox->value(), speed);
        QCOMPARE(c_->lightOff->currentIndex(), lightOff);
        QCOMPARE(Shown(*c_), colour);
        QCOMPARE(c_->preview->styleSheet(), PreviewRule(colour));
        QCOMPARE(c_->moveLightOff->isChecked(), moveLightOff);
        QVERIFY(c_->brightness->isEnabled() && c_->speed->isEnabled());
        QVERIFY(!LightPageLoading);

        // The other refresh shows the same and leaves the sliders disabled.
        PostMsg::Instance()->PostUpDataLightUIA(image);
        QCOMPARE(c_->mode->currentIndex(), mode);
        QCOMPARE(Visible(page_.get()), visible);
        QVERIFY(!c_->brightness->isEnabled() && !c_->speed->isEnabled());
        QCOMPARE(Writes(), writes);
        QCOMPARE(offline.count(), 0);
    }

    void modes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("visible");
        QTest::newRow("0 off") << 0 << "l2";
        QTest::newRow("1") << 1 << "bs";
        QTest::newRow("2") << 2 << "cbs";
        QTest::newRow("3") << 3 << "2cb";
        QTest::newRow("4") << 4 << "bs";
        QTest::newRow("5") << 5 << "bs";
    }

    // Each mode chosen: its controls, and the mode stored (mode 0 switches
    // the light off and keeps the stored mode).
    void modes()
    {
        QFETCH(int, mode);
        QFETCH(QString, visible);
        page_->SlotUpDataLightUILight(LightImage(mode == 4 ? 5 : 4, 1, 3, 3, 30));
        const int storedMode = Stored().lightMode;
        const int writes = Writes();
        QVERIFY(ChooseEntry(c_->mode, mode));
        QCOMPARE(Visible(page_.get()), visible);
        QCOMPARE(Writes(), writes + 1);
        QCOMPARE(int(Stored().lightOn), mode == 0 ? 0 : 1);
        QCOMPARE(int(Stored().lightMode), mode == 0 ? storedMode : mode);
    }

    // Presets, steps, sliders and the switch store their bytes; each colour
    // box whose value changes writes once.
    void writes()
    {
        page_->SlotUpDataLightUILight(LightImage(2, 1, 3, 3, 30));
        int writes = Writes();
        QTest::mouseClick(c_->Preset('A'), Qt::LeftButton);
        QCOMPARE(Colour(Stored()), QStringLiteral("255,0,0"));
        QCOMPARE(Writes(), ++writes);
        QCOMPARE(c_->preview->styleSheet(), PreviewRule(QStringLiteral("255,0,0")));

        // Preset H changes red and blue: two writes, the last one whole.
        QTest::mouseClick(c_->Preset('H'), Qt::LeftButton);
        QCOMPARE(Colour(Stored()), QStringLiteral("227,0,127"));
        QCOMPARE(Writes(), writes += 2);

        QTest::mouseClick(PageChild<QToolButton>(page_.get(), QStringLiteral("AddB")), Qt::LeftButton);
        QTest::mouseClick(PageChild<QToolButton>(page_.get(), QStringLiteral("ReduceR")), Qt::LeftButton);
        QCOMPARE(Colour(Stored()), QStringLiteral("226,0,128"));
        QCOMPARE(Writes(), writes += 2);
        // The ends of the range hold: nothing changes, nothing is written.
        QTest::mouseClick(PageChild<QToolButton>(page_.get(), QStringLiteral("ReduceG")), Qt::LeftButton);
        QTest::mouseClick(c_->Preset('K'), Qt::LeftButton);
        writes = Writes();
        QTest::mouseClick(PageChild<QToolButton>(page_.get(), QStringLiteral("AddR")), Qt::LeftButton);
        QCOMPARE(Shown(*c_), QStringLiteral("255,255,255"));
        QCOMPARE(Writes(), writes);

        // A typed value writes per keystroke.
        c_->green->setFocus();
        c_->green->selectAll();
        QTest::keyClicks(c_->green, QStringLiteral("12"));
        QCOMPARE(c_->green->value(), 12);
        QCOMPARE(Colour(Stored()), QStringLiteral("255,12,255"));
        QCOMPARE(Writes(), writes += 2);

        DragSlider(c_->brightness, 1);
        QCOMPARE(int(Stored().lightBrightness), 0);
        QCOMPARE(c_->brightnessBox->value(), 1);
        DragSlider(c_->speed, 10);
        QCOMPARE(int(Stored().lightSpeed), 9);
        QCOMPARE(Writes(), writes += 2);
        // A drag only shows the value.
        c_->speed->setSliderDown(true);
        c_->speed->setSliderPosition(6);
        QCOMPARE(c_->speedBox->value(), 6);
        QCOMPARE(Writes(), writes);
        c_->speed->setSliderDown(false);
        QCOMPARE(int(Stored().lightSpeed), 5);
        QCOMPARE(Writes(), ++writes);

        QTest::mouseClick(c_->moveLightOff, Qt::LeftButton);
        QCOMPARE(int(Stored().moveLightOff), 1);
        QTest::mouseClick(c_->moveLightOff, Qt::LeftButton);
        QCOMPARE(int(Stored().moveLightOff), 0);
        QCOMPARE(Writes(), writes += 2);

        QVERIFY(ChooseEntry(c_->lightOff, 4));
        QCOMPARE(int(Stored().lightOffTime), 60);
        QCOMPARE(Writes(), ++writes);
    }

    // With the mouse switched off, the steps and presets give the offline
    // notice and change nothing; before the interface is ready every control
    // changes the page and nothing is written or asked.
    void nothingWritten()
    {
        page_->SlotUpDataLightUILight(LightImage(2, 1, 3, 3, 30, 10, 20, 30));
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const FlashDataMap before = Stored();
        const int writes = Writes();

        QVERIFY(SimDevice_SetPower("mouse", 0));
        for (const char* name : {"AddR", "ReduceG", "toolButtonColorA", "toolButtonColorN"})
            QTest::mouseClick(PageChild<QToolButton>(page_.get(), QLatin1String(name)), Qt::LeftButton);
        QCOMPARE(Shown(*c_), QStringLiteral("10,20,30"));
        QCOMPARE(offline.count(), 4);
        QCOMPARE(offline.last().at(0).toInt(), 0);
        QVERIFY(SimDevice_SetPower("mouse", 1));
        offline.clear();

        UiReady = false;
        QTest::mouseClick(c_->Preset('C'), Qt::LeftButton);
        QTest::mouseClick(PageChild<QToolButton>(page_.get(), QStringLiteral("AddR")), Qt::LeftButton);
        QCOMPARE(Shown(*c_), QStringLiteral("1,255,0"));
        QCOMPARE(c_->preview->styleSheet(), PreviewRule(QStringLiteral("1,255,0")));
        QVERIFY(ChooseEntry(c_->mode, 3));
        QCOMPARE(Visible(page_.get()), QStringLiteral("2cb"));
        DragSlider(c_->brightness, 7);
        QCOMPARE(c_->brightnessBox->value(), 7);
        QTest::mouseClick(c_->moveLightOff, Qt::LeftButton);
        QVERIFY(c_->moveLightOff->isChecked());
        QVERIFY(ChooseEntry(c_->lightOff, 9));
        QCOMPARE(Writes(), writes);
        const FlashDataMap after = Stored();
        QVERIFY(memcmp(&after, &before, sizeof before) == 0);
        QCOMPARE(offline.count(), 0);
    }

    // The defaults, from the bus's blocking signal: mode 1, brightness 10,
    // speed 8, moving light on, 60 s, the colour as it was; nothing written.
    void defaults()
    {
        page_->SlotUpDataLightUILight(LightImage(3, 1, 3, 3, 30, 10, 20, 30, 1));
        const int writes = Writes();
        QVERIFY(RunOnOtherThread([] { PostMsg::Instance()->PostFormReset(); }));
        QCOMPARE(c_->mode->currentIndex(), 1);
        QCOMPARE(Visible(page_.get()), QStringLiteral("bs"));
        QCOMPARE(c_->brightness->value(), 10);
        QCOMPARE(c_->brightnessBox->value(), 10);
        QCOMPARE(c_->speed->value(), 8);
        QCOMPARE(c_->speedBox->value(), 8);
        QVERIFY(!c_->moveLightOff->isChecked());
        QCOMPARE(c_->lightOff->currentIndex(), 2);
        QCOMPARE(Shown(*c_), QStringLiteral("10,20,30"));
        QCOMPARE(Writes(), writes);
        QVERIFY(!LightPageLoading);
    }

    // Every language file holds the page's 28 texts; the mode and
    // light-off entries follow the language.
    void languages()
    {
        const char* labels[] = {"label", "label_2", "label_3", "label_4", "label_5", "label_6", "label_8",
                                "label_10", "label_11", "label_12", "label_13"};
        for (int index = 0; index < 6; ++index) {
            for (const char* name : labels)
                PageChild<QLabel>(page_.get(), QLatin1String(name))->setText(QString());
            for (int entry = 0; entry < 6; ++entry)
                c_->mode->setItemText(entry, QString());
            for (int entry = 0; entry < 11; ++entry)
                c_->lightOff->setItemText(entry, QString());
            PostMsg::Instance()->PostChangeLanguage(index);
            for (const char* name : labels)
                QVERIFY2(!PageChild<QLabel>(page_.get(), QLatin1String(name))->text().isEmpty(), name);
            for (int entry = 0; entry < 6; ++entry)
                QVERIFY(!c_->mode->itemText(entry).isEmpty());
            for (int entry = 0; entry < 11; ++entry)
                QVERIFY(!c_->lightOff->itemText(entry).isEmpty());
        }
        page_->SlotChangeLanguage(0);
        QCOMPARE(c_->mode->itemText(0), QStringLiteral("Off"));
        QCOMPARE(c_->lightOff->itemText(5), QStringLiteral("15 min"));
        page_->SlotChangeLanguage(1);
        QCOMPARE(c_->mode->itemText(2), QStringLiteral("单色呼吸"));
        QCOMPARE(c_->lightOff->itemText(0), QStringLiteral("10秒"));
    }

    void pickAt_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QPoint>("grab");
        QTest::newRow("1") << 1.0 << QPoint(100, 200) << QPoint(100, 200);
        QTest::newRow("1.5") << 1.5 << QPoint(100, 200) << QPoint(150, 300);
        QTest::newRow("1.25 truncated") << 1.25 << QPoint(101, 3) << QPoint(126, 3);
        QTest::newRow("2") << 2.0 << QPoint(0, 7) << QPoint(0, 14);
    }

    // The grab: 2 x 2 screen pixels at the cursor scaled to screen pixels.
    void pickAt()
    {
        QFETCH(qreal, scale);
        QFETCH(QPoint, cursor);
        QFETCH(QPoint, grab);
        screen_.scale = scale;
        screen_.cursor = cursor;
        screen_.colour = QColor(1, 2, 3);
        Press(page_.get(), c_->board->geometry().center());
        QCOMPARE(screen_.grabs, QVector<QRect>{QRect(grab, QSize(2, 2))});
    }

    // A pick sets the boxes and the preview and writes once per changed
    // value; the same colour again writes nothing and sets the preview
    // again; the right button picks too; an empty grab changes nothing.
    void pick()
    {
        page_->SlotUpDataLightUILight(LightImage(2, 1, 3, 3, 30));
        const QPoint board = c_->board->geometry().center();
        int writes = Writes();
        screen_.colour = QColor(12, 34, 56);
        Press(page_.get(), board);
        QCOMPARE(Shown(*c_), QStringLiteral("12,34,56"));
        QCOMPARE(c_->preview->styleSheet(), PreviewRule(QStringLiteral("12,34,56")));
        QCOMPARE(Colour(Stored()), QStringLiteral("12,34,56"));
        QCOMPARE(Writes(), writes += 3);

        c_->preview->setStyleSheet(QString());
        Press(page_.get(), board);
        QCOMPARE(c_->preview->styleSheet(), PreviewRule(QStringLiteral("12,34,56")));
        QCOMPARE(Writes(), writes);

        screen_.colour = QColor(12, 34, 99);
        Press(page_.get(), board, Qt::RightButton);
        QCOMPARE(Colour(Stored()), QStringLiteral("12,34,99"));
        QCOMPARE(Writes(), ++writes);

        screen_.colour = QColor();
        c_->preview->setStyleSheet(QStringLiteral("QLabel{}"));
        Press(page_.get(), board);
        QCOMPARE(screen_.grabs.size(), 4);
        QCOMPARE(Shown(*c_), QStringLiteral("12,34,99"));
        QCOMPARE(c_->preview->styleSheet(), QStringLiteral("QLabel{}"));
        QCOMPARE(Writes(), writes);

        // Before the interface is ready: picked into the page, not written.
        screen_.colour = QColor(200, 100, 50);
        UiReady = false;
        Press(page_.get(), board);
        QCOMPARE(Shown(*c_), QStringLiteral("200,100,50"));
        QCOMPARE(Writes(), writes);
    }

    // Presses elsewhere grab nothing; the mouse switched off gives the
    // offline notice; the colour boxes keep their editing only while the
    // press is inside one of them.
    void pickFocusAndChecks()
    {
        page_->SlotUpDataLightUILight(LightImage(2, 1, 3, 3, 30, 5, 6, 7));
        screen_.colour = QColor(90, 90, 90);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        QTest::mouseClick(c_->red, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(c_->red->hasFocus());
        Press(page_.get(), c_->red->geometry().center());
        QVERIFY(c_->red->hasFocus());
        const QPoint outside = c_->board->geometry().bottomLeft() + QPoint(0, 10);
        Press(page_.get(), outside);
        QVERIFY(!c_->red->hasFocus());
        QVERIFY(screen_.grabs.isEmpty());

        QVERIFY(SimDevice_SetPower("mouse", 0));
        Press(page_.get(), c_->board->geometry().center());
        QVERIFY(SimDevice_SetPower("mouse", 1));
        QVERIFY(screen_.grabs.isEmpty());
        QCOMPARE(offline.count(), 1);
        QCOMPARE(Shown(*c_), QStringLiteral("5,6,7"));

        // A double click is not a press.
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, c_->board->geometry().center(), Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page_.get(), &doubleClick);
        QVERIFY(screen_.grabs.isEmpty());
    }

    // The page in modes 0, 2 and 3 and with the light-off list open, in
    // English and Chinese.
    void screenshots()
    {
        for (int language : {0, 1}) {
            const QString tag = language == 0 ? QStringLiteral("en") : QStringLiteral("zh");
            QWidget host;
            host.setPalette(StyleSheet::DarkPalette());
            host.setAutoFillBackground(true);
            host.resize(883, 630);
            auto* page = new LampLight(&host);
            page->SlotChangeLanguage(language);
            host.show();
            QVERIFY(QTest::qWaitForWindowExposed(&host, DefaultTestLimit()));
            // Mode 0 last: a refresh that keeps the entry shown runs no mode
            // slot, and a new page's list starts on entry 0.
            for (int mode : {2, 3, 0}) {
                page->SlotUpDataLightUILight(LightImage(mode, mode == 0 ? 0 : 1, 6, 4, 6, 227, 0, 127, mode == 3));
                QVERIFY(!SaveScreenshot(&host, QStringLiteral("lighting_mode%1_%2").arg(mode).arg(tag)).isEmpty());
            }
            auto* list = PageChild<QComboBox>(page, QStringLiteral("StopClose"));
            list->showPopup();
            QVERIFY(QTest::qWaitForWindowExposed(list->view()->window(), DefaultTestLimit()));
            QVERIFY(!SaveScreenshot(list->view()->window(), QStringLiteral("lighting_light_off_open_%1").arg(tag))
                         .isEmpty());
            list->hidePopup();
        }
    }
};

TALVIRE_TEST_MAIN(LightingPageTest)
#include "test_lighting_page.moc"
