// The button page: the key records it stores, its mirror, the press rules of
// its background, its texts and the debounce frame, on the simulated mouse.
#include "tests/buttons/ButtonPageTesting.h"

#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "pages/buttons/DebouncetimeB.h"
#include "pages/buttons/DebouncetimeC.h"
#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QApplication>
#include <QButtonGroup>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>

using namespace ButtonPageTesting;

namespace {
const char* const Unchanged = "unchanged";

// Chooses a debounce entry as the user does and tells whether the notice came.
bool ChooseDebounce(QComboBox* list, int index)
{
    ModalAnswer answer = ModalAnswer::Click(QStringLiteral("NewHong"));
    list->setCurrentIndex(index);
    const bool answered = answer.Answered();
    if (!answered)
        answer.Cancel();
    return answered;
}
} // namespace

class ButtonPageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The program's waits (the pick's among them), twenty times faster.
        Timing::SetScale(0.05);
    }

    // Combinations and consumer keys reach the stored block, the label and
    // the mirror; what does not fit is not stored.
    void records_data()
    {
        QTest::addColumn<QString>("combination");   // "" with a code: a consumer key
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("button");
        QTest::addColumn<QByteArray>("record");     // Unchanged: nothing stored
        const QByteArray d = "0A000000";   // 10 ms after each event
        QTest::newRow("Ctrl+A") << "Ctrl+A" << -1 << 0
                                << RecordHex("04000000|00000100" + d + "|00010400" + d + "|01010400" + d
                                             + "|01000100" + d);
        QTest::newRow("Shift+Ctrl+Z: released in reverse")
            << "Shift+Ctrl+Z" << -1 << 1
            << RecordHex("06000000|00000200" + d + "|00000100" + d + "|00011D00" + d + "|01011D00" + d + "|01000100"
                         + d + "|01000200" + d);
        QTest::newRow("empty text: one key of code 0") << "" << -1 << 2
                                                       << RecordHex("02000000|00010000" + d + "|01010000" + d);
        QTest::newRow("trailing plus: an empty item") << "Ctrl+" << -1 << 4
                                                      << RecordHex("04000000|00000100" + d + "|00010000" + d
                                                                   + "|01010000" + d + "|01000100" + d);
        QTest::newRow("Num+ is one item") << "Ctrl+Num+" << -1 << 3
                                          << RecordHex("04000000|00000100" + d + "|00015700" + d + "|01015700" + d
                                                       + "|01000100" + d);
        QTest::newRow("four items are refused") << "Shift+Ctrl+Alt+A" << -1 << 0 << QByteArray(Unchanged);
        QTest::newRow("play/pause") << "" << 0xCD << 5 << RecordHex("02000000|0002CD00" + d + "|0102CD00" + d);
        QTest::newRow("media player: usage 0x0183") << "" << 0x83 << 1
                                                    << RecordHex("02000000|00028301" + d + "|01028301" + d);
        QTest::newRow("the full usage is no code") << "" << 0x0183 << 1 << QByteArray(Unchanged);
        QTest::newRow("button 6 is not shown") << "" << 0xCD << 6 << QByteArray(Unchanged);
    }

    void records()
    {
        QFETCH(QString, combination);
        QFETCH(int, code);
        QFETCH(int, button);
        QFETCH(QByteArray, record);
        Session session;
        QVERIFY2(session.Open(), qPrintable(session.mouse.Missing()));
        Buttoninterface& page = *session.page;
        const FlashDataMap before = session.mouse.Stored();
        const QVector<int> types = page.ButtonTypes;
        QToolButton* label = page.LabelOf(button);
        const QString labelBefore = label ? label->text() : QString();

        if (code < 0)
            page.SetButtonComboKey(button, combination);
        else
            page.SetButtonMediaKey(button, code);

        const FlashDataMap after = session.mouse.Stored();
        QCOMPARE(Hex(after.reserved7A, 2), Hex(before.reserved7A, 2));
        if (record == Unchanged) {
            QCOMPARE(session.mouse.Writes(), 0);
            QCOMPARE(page.ButtonTypes, types);
            if (label)
                QCOMPARE(label->text(), labelBefore);
            return;
        }
        QCOMPARE(FunctionHex(after, button), QByteArray("050000"));
        QCOMPARE(KeyRecordHex(after, button), record);
        QCOMPARE(page.ButtonTypes.at(button), 5);
        QCOMPARE(label->text(), code < 0 ? combination
                                         : Child(page, code == 0xCD ? "StartPause_2" : "Player")->text());
        // Only the record's own button changed.
        for (int other = 0; other < FlashDataMap::ButtonCount; ++other) {
            if (other != button)
                QCOMPARE(FunctionHex(after, other), FunctionHex(before, other));
        }
    }

    // A mouse that is off takes nothing: block, label and mirror stay, the
    // panels still switch.
    void recordsWhileOff()
    {
        Session session;
        QVERIFY(session.Open());
        Buttoninterface& page = *session.page;
        const QByteArray block = session.mouse.StoredBlock();
        const QString text = page.LabelOf(0)->text();
        const QVector<int> types = page.ButtonTypes;
        SimDevice_SetPower("mouse", 0);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        page.SetButtonComboKey(0, QStringLiteral("Ctrl+A"));
        page.SetButtonMediaKey(0, 0xCD);

        QCOMPARE(session.mouse.StoredBlock(), block);
        QCOMPARE(page.LabelOf(0)->text(), text);
        QCOMPARE(page.ButtonTypes, types);
        QVERIFY(offline.count() >= 2);
        QCOMPARE(Current(page, "stackedWidget"), QStringLiteral("page_2"));
        QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_9"));
    }

    // The mirror is written within its length only; unchecking leaves the
    // panel's group exclusive.
    void mirrorAndUnchecking()
    {
        Session session;
        Buttoninterface& page = *session.page;
        page.SetButtonState(0, 5, 0, 0);
        QVERIFY(page.ButtonTypes.isEmpty());
        page.SlotFormResetButton();
        page.SetButtonState(6, 4, 10, 3);
        page.SetButtonState(5, 4, 10, 3);
        QCOMPARE(page.ButtonTypes, (QVector<int>{1, 1, 1, 1, 1, 4}));
        QCOMPARE(page.ButtonValue2, (QVector<int>{0, 0, 0, 0, 0, 3}));

        Child(page, "VolumeUp_5")->setChecked(true);
        page.UncheckFunctionButtons();
        for (QAbstractButton* button : page.PanelGroup->buttons())
            QVERIFY2(!button->isChecked(), qPrintable(button->objectName()));
        QVERIFY(page.PanelGroup->exclusive());
        QCOMPARE(page.PanelGroup->buttons().size(), 41);
    }

    // Presses on the page's background close the panels by the form's
    // rectangles.
    void backgroundPresses_data()
    {
        QTest::addColumn<bool>("listOpen");
        QTest::addColumn<int>("button");    // Qt::MouseButton
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("labelChecked");
        QTest::addColumn<QString>("list");
        QTest::newRow("on the mouse picture") << true << int(Qt::LeftButton) << QPoint(400, 150) << false << "page";
        QTest::newRow("right button: nothing") << true << int(Qt::RightButton) << QPoint(400, 150) << true << "page_2";
        QTest::newRow("over the function list") << true << int(Qt::LeftButton) << QPoint(500, 450) << true << "page_2";
        QTest::newRow("in the panel, left of the rows") << true << int(Qt::LeftButton) << QPoint(50, 500) << false
                                                        << "page";
        QTest::newRow("list closed, beside the picture") << false << int(Qt::LeftButton) << QPoint(200, 100) << true
                                                         << "page";
        QTest::newRow("list closed, beside the rows") << false << int(Qt::LeftButton) << QPoint(50, 500) << false
                                                      << "page";
    }

    void backgroundPresses()
    {
        QFETCH(bool, listOpen);
        QFETCH(int, button);
        QFETCH(QPoint, at);
        QFETCH(bool, labelChecked);
        QFETCH(QString, list);
        Session session;
        Buttoninterface& page = *session.page;
        page.LabelOf(1)->setChecked(true);
        if (listOpen)
            Child<QStackedWidget>(page, "stackedWidget")->setCurrentIndex(1);
        QTest::mousePress(&page, Qt::MouseButton(button), {}, at);
        QCOMPARE(page.LabelOf(1)->isChecked(), labelChecked);
        QCOMPARE(Current(page, "stackedWidget"), list);
        QCOMPARE(Current(page, "stackedWidget_2"), QStringLiteral("page_9"));
    }

    // A language change event puts the form's texts back and keeps the
    // chosen configuration without a signal.
    void languageChangeEvent()
    {
        Session session;
        Buttoninterface& page = *session.page;
        page.SlotUpDataConfigUI(3, 1, true);
        auto* profiles = Child<QComboBox>(page, "ProjectChoose");
        QSignalSpy changed(profiles, SIGNAL(currentIndexChanged(int)));
        QEvent event(QEvent::LanguageChange);
        QApplication::sendEvent(&page, &event);
        QCOMPARE(profiles->currentIndex(), 1);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(page.LabelOf(0)->text(), QStringLiteral("左键"));
    }

    // Choosing a debounce time writes it at once; short ones show the notice.
    void debounceChoice_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<int>("stored");     // -1: nothing written
        QTest::addColumn<bool>("notice");
        QTest::newRow("7 ms: notice") << 7 << true << 7 << true;
        QTest::newRow("4 ms: notice") << 4 << true << 4 << true;
        QTest::newRow("8 ms: no notice") << 8 << true << 8 << false;
        QTest::newRow("0 ms: notice") << 0 << true << 0 << true;
        QTest::newRow("interface not ready") << 2 << false << -1 << false;
    }

    void debounceChoice()
    {
        QFETCH(int, entry);
        QFETCH(bool, ready);
        QFETCH(int, stored);
        QFETCH(bool, notice);
        Session session;
        QVERIFY(session.Open());
        const int before = session.mouse.Stored().debounceTime;
        QComboBox* list = DebounceList(*session.page);
        {
            const QSignalBlocker quiet(list);
            list->setCurrentIndex(entry == 1 ? 2 : 1);
        }
        UiReady = ready;
        QCOMPARE(ChooseDebounce(list, entry), notice);
        QCOMPARE(int(session.mouse.Stored().debounceTime), stored < 0 ? before : stored);
        QCOMPARE(session.mouse.Writes(), stored < 0 ? 0 : 1);
    }

    // A refresh shows the device's value and never writes it back; a value
    // without an entry shows none.
    void debounceRefresh_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("shown");
        QTest::newRow("short value") << 3 << 3;
        QTest::newRow("longest") << 20 << 20;
        QTest::newRow("above the list") << 21 << -1;
    }

    void debounceRefresh()
    {
        QFETCH(int, value);
        QFETCH(int, shown);
        Session session;
        QVERIFY(session.Open());
        FlashDataMap image = LiveFlashData.get();
        image.debounceTime = quint8(value);
        ModalAnswer answer = ModalAnswer::Click(QStringLiteral("NewHong"));
        session.page->SlotUpDataButtonUIB(image);
        QVERIFY(!answer.Answered());
        answer.Cancel();
        QCOMPARE(Child<DebounceTime>(*session.page, "DebunceButton")->Value(), shown);
        QCOMPARE(session.mouse.Writes(), 0);
        QVERIFY(!ButtonPageLoading);
    }

    // The two other layouts write only while the interface is ready, and
    // never when the device's value is shown.
    void debounceVariants()
    {
        Session session;
        QVERIFY(session.Open());
        DebouncetimeB slider;
        DebouncetimeC steps;
        auto* bar = slider.findChild<QSlider*>(QStringLiteral("Debunce"));
        auto* plus = steps.findChild<QToolButton*>(QStringLiteral("AddLevelA"));
        auto* minus = steps.findChild<QToolButton*>(QStringLiteral("ReduceLevelA"));
        const auto stored = [&] { return int(session.mouse.Stored().debounceTime); };

        slider.SetDebounce(9);
        steps.SetDebounce(9);
        QCOMPARE(session.mouse.Writes(), 0);
        bar->setValue(5);
        QCOMPARE(stored(), 5);
        QCOMPARE(slider.findChild<QSpinBox*>()->value(), 5);
        plus->click();
        QCOMPARE(stored(), 10);
        steps.SetDebounce(20);
        plus->click();
        steps.SetDebounce(1);
        minus->click();
        QCOMPARE(session.mouse.Writes(), 2);
        UiReady = false;
        bar->setValue(6);
        steps.SetDebounce(4);
        plus->click();
        QCOMPARE(steps.Value(), 4);
        QCOMPARE(session.mouse.Writes(), 2);
    }

    // The texts of a language: the function buttons' font, tool tips at the
    // Japanese index only, the words kept for macros and configurations.
    void texts_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("index");     // loaded after construction; -1: none
        QTest::addColumn<QString>("leftClick");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("toolTips");
        QTest::addColumn<QString>("profile");
        QTest::newRow("English") << 0 << -1 << "Left click" << 9 << false << "Profile 1";
        QTest::newRow("Russian at start") << 4 << -1 << "Левая кнопка" << 7 << false << "Профиль 1";
        QTest::newRow("Japanese: tool tips") << 5 << -1 << "左クリック" << 9 << true << "プロファイル1";
        QTest::newRow("changed to Russian") << 0 << 4 << "Левая кнопка" << 7 << false << "Профиль 1";
        QTest::newRow("index 7 reads English") << 1 << 7 << "Left click" << 9 << false << "Profile 1";
    }

    void texts()
    {
        QFETCH(int, stored);
        QFETCH(int, index);
        QFETCH(QString, leftClick);
        QFETCH(int, points);
        QFETCH(bool, toolTips);
        QFETCH(QString, profile);
        Session session(stored);
        Buttoninterface& page = *session.page;
        if (index >= 0)
            page.SlotChangeLanguage(index);
        page.SlotUpDataConfigUI(2, 0, true);
        QCOMPARE(Child(page, "LeftKey_3")->text(), leftClick);
        QCOMPARE(Child(page, "DPI_10")->font().pointSize(), points);
        QCOMPARE(Child(page, "MidKey")->font().pointSize(), points);
        QCOMPARE(Child(page, "ImportData")->toolTip().isEmpty(), !toolTips);
        QCOMPARE(Child<QComboBox>(page, "ProjectChoose")->itemText(0), profile);
        QComboBox* debounce = DebounceList(page);
        QCOMPARE(debounce->count(), 21);
        QVERIFY(debounce->itemText(0).startsWith(QLatin1String("0")));
        QVERIFY(debounce->itemText(20).startsWith(QLatin1String("20")));
        QCOMPARE(debounce->itemText(20).mid(2), debounce->itemText(19).mid(2));
    }

    // A language change rebuilds the configuration list with the new word,
    // keeping its length and choice without a signal; an empty list stays.
    void profilesRebuilt()
    {
        Session session;
        Buttoninterface& page = *session.page;
        auto* profiles = Child<QComboBox>(page, "ProjectChoose");
        page.SlotChangeLanguage(1);
        QCOMPARE(profiles->count(), 0);
        page.SlotUpDataConfigUI(3, 1, true);
        QSignalSpy changed(profiles, SIGNAL(currentIndexChanged(int)));
        page.SlotChangeLanguage(0);
        QCOMPARE(profiles->count(), 3);
        QCOMPARE(profiles->itemText(2), QStringLiteral("Profile 3"));
        QCOMPARE(profiles->currentIndex(), 1);
        QCOMPARE(changed.count(), 0);
    }

    // The page on the mouse as a person sees it.
    void screenshots_data()
    {
        ScreenshotLanguages();
    }

    void screenshots()
    {
        QFETCH(int, language);
        Session session(language);
        QVERIFY(session.Open());
        ShowOnDarkGround(*session.page);
        QVERIFY(Screenshot(*session.page, QStringLiteral("button_page"), language));
    }
};

TALVIRE_TEST_MAIN(ButtonPageTest)
#include "test_button_page.moc"
