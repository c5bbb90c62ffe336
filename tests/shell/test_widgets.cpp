// The shared widget classes: the slider's jump and its event to the parent,
// the combo box's remembered index, its grey text while disabled and its list
// (below or above the box, sized to its entries, centred), its list view
// made when first opened, the style sheet set when a widget is first shown,
// the tool button that acts on the press, the hand cursor of the push button
// and the staged progress bar.
#include "core/StyleSheet.h"
#include "widgets/MyButton.h"
#include "widgets/MyConmboBox.h"
#include "widgets/MyProgressBar.h"
#include "widgets/MySlider.h"
#include "widgets/MyToolButton.h"
#include "widgets/ReadyToShow.h"
#include "widgets/StyleWhenShown.h"

#include "tests/common/TestEnvironment.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QMouseEvent>
#include <QSignalSpy>

namespace {
// A parent that counts the events of one type it receives.
class EventCounter : public QWidget {
public:
    explicit EventCounter(int type)
        : type_(type)
    {
    }
    int count = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == type_)
            ++count;
        return QWidget::event(event);
    }

private:
    int type_;
};

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, const QPoint& pos)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, button, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The pixels of a widget's picture, left of its drop-down arrow, within a
// small distance of a colour.
int PixelsNear(QWidget* widget, const QColor& colour)
{
    const QImage image = widget->grab(QRect(0, 0, widget->width() - 30, widget->height())).toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) + qAbs(pixel.green() - colour.green())
                    + qAbs(pixel.blue() - colour.blue())
                <= 12)
                ++count;
        }
    }
    return count;
}
} // namespace

class TestWidgets : public QObject {
    Q_OBJECT

private slots:
    void sliderJumpsToThePress_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("value");
        QTest::newRow("quarter") << 0 << 100 << 200 << 50 << 25;
        QTest::newRow("last pixel truncates") << 0 << 100 << 200 << 199 << 99;
        QTest::newRow("left edge") << 0 << 100 << 200 << 0 << 0;
        QTest::newRow("offset range") << 50 << 32000 << 561 << 280 << 15996;
        // Not laid out yet: no position to jump to, the value stays.
        QTest::newRow("no width") << 0 << 100 << 0 << 0 << 40;
    }
    void sliderJumpsToThePress()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, width);
        QFETCH(int, x);
        QFETCH(int, value);
        EventCounter parent(MySlider::PressEventType);
        auto* slider = new MySlider(&parent);
        slider->setOrientation(Qt::Horizontal);
        slider->setRange(minimum, maximum);
        slider->setValue(40);
        slider->setGeometry(0, 0, width, 20);
        QSignalSpy changed(slider, &QSlider::valueChanged);
        SendMouse(slider, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(x, 10));
        SendMouse(slider, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(x, 10));
        QCOMPARE(slider->value(), value);
        QCOMPARE(parent.count, 1);
        if (value != 40)
            QCOMPARE(changed.last().first().toInt(), value);
    }

    void sliderWithoutParentJustJumps()
    {
        MySlider slider;
        slider.setOrientation(Qt::Horizontal);
        slider.setRange(0, 10);
        slider.setGeometry(0, 0, 100, 20);
        SendMouse(&slider, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(70, 10));
        SendMouse(&slider, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(70, 10));
        QCOMPARE(slider.value(), 7);
    }

    void comboBoxRemembersTheIndexOfThePress()
    {
        MyConmboBox box;
        box.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        box.resize(120, 26);
        box.show();
        QCOMPARE(box.PressedIndex(), 0);
        box.setCurrentIndex(2);
        SendMouse(&box, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10));
        box.hidePopup();
        QCOMPARE(box.PressedIndex(), 2);
        // A later change (by the user's choice or the program) leaves it.
        box.setCurrentIndex(1);
        QCOMPARE(box.PressedIndex(), 2);
        // It paints as any combo box does.
        QVERIFY(!box.grab().isNull());
    }

    void comboBoxTextIsGreyWhileDisabled()
    {
        MyConmboBox box;
        box.addItem(QStringLiteral("English MMMM"));
        box.setStyleSheet(StyleSheet::ComboBoxRule(StyleSheet::PictureFolder(QStringLiteral("DialogChange"))));
        box.resize(160, 26);
        const QColor disabled(92, 98, 107);
        const QColor text(230, 232, 235);
        const int enabledGrey = PixelsNear(&box, disabled);
        const int enabledText = PixelsNear(&box, text);
        QVERIFY(enabledText > 20);
        box.setEnabled(false);
        // The text turns grey; what stays light is the frame's edge.
        QVERIFY(PixelsNear(&box, disabled) > enabledGrey + 20);
        QVERIFY(PixelsNear(&box, text) < enabledText / 10);
    }

    // The list opens below its box (above it at the window's foot), as wide
    // as the box and inside the window, its entries centred like the box's
    // text; it shows every entry up to five, with a scroll bar only beyond.
    // A row hidden in the list (the sensor mode's third entry where the link
    // has no cable mode) leaves no blank strip.
    void comboBoxListFitsItsEntries_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("windowHeight");
        QTest::addColumn<int>("boxTop");
        QTest::addColumn<bool>("below");
        QTest::addColumn<int>("hiddenRow"); // -1: none
        QTest::newRow("two entries") << 2 << 300 << 20 << true << -1;
        QTest::newRow("three entries") << 3 << 300 << 20 << true << -1;
        QTest::newRow("five entries") << 5 << 300 << 20 << true << -1;
        QTest::newRow("21 entries") << 21 << 300 << 20 << true << -1;
        QTest::newRow("21 entries near the window's foot") << 21 << 300 << 200 << false << -1;
        QTest::newRow("two entries near the window's foot") << 2 << 300 << 200 << true << -1;
        QTest::newRow("two entries at the window's foot") << 2 << 300 << 265 << false << -1;
        // A window too small for the list on either side: the screen holds it.
        QTest::newRow("21 entries, small window") << 21 << 140 << 100 << true << -1;
        QTest::newRow("three entries, the last hidden") << 3 << 300 << 20 << true << 2;
        QTest::newRow("three entries, the first hidden") << 3 << 300 << 20 << true << 0;
        QTest::newRow("six entries, one hidden") << 6 << 300 << 20 << true << 3;
        QTest::newRow("three entries at the foot, the last hidden") << 3 << 300 << 240 << false << 2;
    }

    void comboBoxListFitsItsEntries()
    {
        QFETCH(int, entries);
        QFETCH(int, windowHeight);
        QFETCH(int, boxTop);
        QFETCH(bool, below);
        QFETCH(int, hiddenRow);
        QWidget window;
        window.resize(300, windowHeight);
        auto* box = new MyConmboBox(&window);
        box->setStyleSheet(StyleSheet::ComboBoxRule(StyleSheet::PictureFolder(QStringLiteral("Buttoninterface"))));
        auto* list = new QListView;
        list->setStyleSheet(StyleSheet::ComboListRule());
        box->setView(list);
        box->setMaxVisibleItems(5);
        for (int entry = 0; entry < entries; ++entry)
            box->addItem(QStringLiteral("%1ms").arg(entry));
        if (hiddenRow >= 0)
            list->setRowHidden(hiddenRow, true);
        box->setGeometry(50, boxTop, 160, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, DefaultTestLimit()));

        box->showPopup();
        QWidget* popup = list->window();
        TRY_VERIFY(popup->isVisible());
        const QRect shown = popup->geometry();
        const QRect boxArea(box->mapToGlobal(QPoint(0, 0)), box->size());
        const QRect room = windowHeight < 200 ? window.screen()->availableGeometry() : window.frameGeometry();
        QVERIFY2(room.contains(shown), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(shown.x())
                     .arg(shown.y()).arg(shown.width()).arg(shown.height())));
        QCOMPARE(shown.left(), boxArea.left());
        QCOMPARE(shown.width(), boxArea.width());
        if (below)
            QCOMPARE(shown.top(), boxArea.bottom() + 1);
        else
            QCOMPARE(shown.bottom(), boxArea.top() - 1);
        // Every row shown whole, the list no taller than its rows.
        const int shownEntries = entries - (hiddenRow >= 0 ? 1 : 0);
        int lastRow = -1;
        for (int row = 0, shownRows = 0; row < entries && shownRows < 5; ++row) {
            if (row != hiddenRow) {
                lastRow = row;
                ++shownRows;
            }
        }
        const QRect lastShown = list->visualRect(box->model()->index(lastRow, 0));
        QCOMPARE(lastShown.bottom(), list->viewport()->height() - 1);
        QCOMPARE(list->verticalScrollBar()->isVisible(), shownEntries > 5);
        QCOMPARE(box->itemData(entries - 1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        box->hidePopup();
    }


    // The list view of its own comes with the first opening of the list;
    // before, no entry has been laid out.
    void comboBoxMakesItsListViewWhenOpened()
    {
        QWidget window;
        auto* box = new MyConmboBox(&window);
        box->addItems({QStringLiteral("English"), QStringLiteral("Deutsch")});
        const QString rule = QStringLiteral("QListView::item:selected{background-color: rgb(1, 2, 3);}");
        box->SetListViewWhenOpened(rule);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, DefaultTestLimit()));
        QVERIFY(!box->findChild<QListView*>());
        box->showPopup();
        QVERIFY(box->view()->isVisible());
        QCOMPARE(box->view()->styleSheet(), rule);
        QVERIFY(qobject_cast<QListView*>(box->view()));
        QAbstractItemView* const view = box->view();
        box->hidePopup();
        box->showPopup();
        QCOMPARE(box->view(), view);
        box->hidePopup();
    }

    // A style sheet for a widget that would be seen with its window is set
    // at once; for a hidden one, when it is first shown; the last one asked
    // for is the one it gets.
    void styleSheetWhenShown_data()
    {
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("parentHidden");
        QTest::addColumn<int>("calls");
        QTest::newRow("seen with its window") << false << false << 1;
        QTest::newRow("hidden") << true << false << 1;
        QTest::newRow("in a hidden parent") << false << true << 1;
        QTest::newRow("hidden, asked twice") << true << false << 2;
    }
    void styleSheetWhenShown()
    {
        QFETCH(bool, hidden);
        QFETCH(bool, parentHidden);
        QFETCH(int, calls);
        QWidget window;
        auto* parent = new QWidget(&window);
        auto* widget = new QLabel(parent);
        parent->setVisible(!parentHidden);
        widget->setVisible(!hidden);
        QString rule;
        for (int i = 1; i <= calls; ++i) {
            rule = QStringLiteral("QLabel{color: rgb(%1, 0, 0);}").arg(i);
            SetStyleSheetWhenShown(widget, rule);
        }
        const bool atOnce = !hidden && !parentHidden;
        QCOMPARE(widget->styleSheet(), atOnce ? rule : QString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, DefaultTestLimit()));
        QCOMPARE(widget->styleSheet(), atOnce ? rule : QString());
        parent->show();
        widget->show();
        QCOMPARE(widget->styleSheet(), rule);
        // Once shown, a new one is set at once.
        const QString later = QStringLiteral("QLabel{color: rgb(0, 9, 0);}");
        SetStyleSheetWhenShown(widget, later);
        QCOMPARE(widget->styleSheet(), later);
    }

    // A hidden widget made ready to show: polished, laid out, and the
    // geometry events its first show would send sent to it and to the
    // children it shows; nothing is shown.
    void readyToShow()
    {
        QWidget window;
        auto* hidden = new QWidget(&window);
        hidden->hide();
        auto* layout = new QVBoxLayout(hidden);
        auto* shown = new EventCounter(QEvent::Resize);
        auto* waiting = new EventCounter(QEvent::Resize);
        layout->addWidget(shown);
        layout->addWidget(waiting);
        waiting->hide();
        hidden->resize(200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, DefaultTestLimit()));
        QVERIFY(shown->testAttribute(Qt::WA_PendingResizeEvent));
        MakeReadyToShow(hidden);
        QVERIFY(!hidden->isVisible());
        QVERIFY(shown->testAttribute(Qt::WA_WState_Polished));
        QVERIFY(!shown->testAttribute(Qt::WA_PendingResizeEvent));
        QCOMPARE(shown->count, 1);
        QCOMPARE(shown->width(), 200 - layout->contentsMargins().left() - layout->contentsMargins().right());
        QVERIFY(!waiting->isVisibleTo(hidden));
        // The show itself sends no second round.
        hidden->show();
        QCOMPARE(shown->count, 1);
    }

    void toolButtonActsOnThePress_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("button");
        QTest::addColumn<QVariantList>("clicks");
        QTest::newRow("left press") << int(QEvent::MouseButtonPress) << int(Qt::LeftButton)
                                    << QVariantList{false};
        QTest::newRow("left double click") << int(QEvent::MouseButtonDblClick) << int(Qt::LeftButton)
                                           << QVariantList{true};
        QTest::newRow("right press") << int(QEvent::MouseButtonPress) << int(Qt::RightButton) << QVariantList{};
        QTest::newRow("right double click") << int(QEvent::MouseButtonDblClick) << int(Qt::RightButton)
                                            << QVariantList{};
        QTest::newRow("middle press") << int(QEvent::MouseButtonPress) << int(Qt::MiddleButton)
                                      << QVariantList{};
    }
    void toolButtonActsOnThePress()
    {
        QFETCH(int, type);
        QFETCH(int, button);
        QFETCH(QVariantList, clicks);
        MyToolButton tool;
        tool.setCheckable(true);
        tool.resize(60, 30);
        QSignalSpy clicked(&tool, &QToolButton::clicked);
        const auto mouseButton = static_cast<Qt::MouseButton>(button);
        SendMouse(&tool, static_cast<QEvent::Type>(type), mouseButton, QPoint(5, 5));
        SendMouse(&tool, QEvent::MouseButtonRelease, mouseButton, QPoint(5, 5));
        QCOMPARE(clicked.size(), clicks.size());
        for (int i = 0; i < clicks.size(); ++i)
            QCOMPARE(clicked.at(i).first(), clicks.at(i));
        QCOMPARE(tool.isChecked(), !clicks.isEmpty());
    }

    void toolButtonKeepsItsCheckedStateOnOtherButtons()
    {
        MyToolButton tool;
        tool.setCheckable(true);
        tool.setChecked(true);
        QSignalSpy clicked(&tool, &QToolButton::clicked);
        SendMouse(&tool, QEvent::MouseButtonPress, Qt::RightButton, QPoint(5, 5));
        QVERIFY(tool.isChecked());
        QVERIFY(clicked.isEmpty());
    }

    void buttonShowsTheHandWhileTheMouseIsOver()
    {
        MyButton button;
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&button, &enter);
        QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
    }

    void progressBarStages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<int>>("targets");
        QTest::newRow("4 stages") << 4 << QVector<int>{0, 25, 50, 75, 100};
        QTest::newRow("3 stages") << 3 << QVector<int>{0, 33, 66, 100};
        QTest::newRow("1 stage") << 1 << QVector<int>{0, 100};
        // Without stages it still has one to go through.
        QTest::newRow("0 stages") << 0 << QVector<int>{0, 100};
        QTest::newRow("negative") << -3 << QVector<int>{0, 100};
    }
    void progressBarStages()
    {
        QFETCH(int, count);
        QFETCH(QVector<int>, targets);
        MyProgressBar bar;
        bar.Start(count, 100000);
        QCOMPARE(bar.Targets(), targets);
        QCOMPARE(bar.value(), 0);
        QCOMPARE(bar.text(), QStringLiteral("0.0%"));
    }

    void progressBarCreepsAndCatchesUp()
    {
        MyProgressBar bar;
        QCOMPARE(bar.text(), QStringLiteral("0.0%"));
        bar.Start(4, 1);
        // Creeps toward the first stage and stops just short of it.
        TRY_COMPARE(bar.value(), 24);
        QTest::qWait(30);
        QCOMPARE(bar.value(), 24);
        QCOMPARE(bar.text(), QStringLiteral("24.0%"));
        bar.mUpdate();
        TRY_COMPARE(bar.value(), 25);
        QCOMPARE(bar.text(), QStringLiteral("25.0%"));
        TRY_COMPARE(bar.value(), 49);
        bar.mUpdate();
        bar.mUpdate();
        bar.mUpdate();
        QCOMPARE(bar.Stage(), 4);
        TRY_COMPARE(bar.value(), 100);
        QCOMPARE(bar.text(), QStringLiteral("100.0%"));
        // At the last stage nothing moves any more.
        bar.mUpdate();
        QCOMPARE(bar.Stage(), 4);
        QTest::qWait(20);
        QCOMPARE(bar.value(), 100);
    }

    void progressBarBeforeStartDoesNothing()
    {
        MyProgressBar bar;
        bar.mUpdate();
        QCOMPARE(bar.Stage(), 0);
        QCOMPARE(bar.value(), 0);
    }
};

TALVIRE_TEST_MAIN(TestWidgets)
#include "test_widgets.moc"
