// The key entry dialogs, driven by key events through the key source as the
// window system delivers them.
#include "core/PostMsg.h"
#include "dialogs/AddDelayTime.h"
#include "dialogs/addKey.h"
#include "dialogs/FireKey.h"
#include "dialogs/GroupKey.h"
#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"
#include "tests/keys/KeyInput.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

struct KeyStroke {
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode; // X keycode
};

// The keys the scripts below name.
KeyStroke Stroke(const QString& name)
{
    static const QHash<QString, KeyStroke> keys{
        {"A", {Qt::Key_A, Qt::NoModifier, 38}},       {"B", {Qt::Key_B, Qt::NoModifier, 56}},
        {"C", {Qt::Key_C, Qt::NoModifier, 54}},       {"D", {Qt::Key_D, Qt::NoModifier, 40}},
        {"E", {Qt::Key_E, Qt::NoModifier, 26}},       {"N", {Qt::Key_N, Qt::NoModifier, 57}},
        {"F1", {Qt::Key_F1, Qt::NoModifier, 67}},     {"F10", {Qt::Key_F10, Qt::NoModifier, 76}},
        {"F12", {Qt::Key_F12, Qt::NoModifier, 96}},   {"Esc", {Qt::Key_Escape, Qt::NoModifier, 9}},
        {"Enter", {Qt::Key_Return, Qt::NoModifier, 36}}, {"Tab", {Qt::Key_Tab, Qt::NoModifier, 23}}, {"Space", {Qt::Key_Space, Qt::NoModifier, 65}},
        {"Num1", {Qt::Key_1, Qt::KeypadModifier, 87}}, {"NumPlus", {Qt::Key_Plus, Qt::KeypadModifier, 86}},
        {"Shift", {Qt::Key_Shift, Qt::NoModifier, 50}}, {"RShift", {Qt::Key_Shift, Qt::NoModifier, 62}},
        {"Alt", {Qt::Key_Alt, Qt::NoModifier, 64}},   {"RAlt", {Qt::Key_Alt, Qt::NoModifier, 108}},
    };
    Q_ASSERT_X(keys.contains(name), "Stroke", qPrintable(name));
    return keys.value(name);
}

qint64 fakeNow = 0;

// Plays a key script on a window: "A" presses and releases A, "+A" presses it,
// "-A" releases it, "*A" is an auto-repeated press, "@1500" moves the entry
// clock to 1500 ms. Keys still held at the end are released.
void Play(QWindow* window, const QString& script)
{
    QStringList held;
    for (const QString& token : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QChar kind = token.at(0);
        if (kind == QLatin1Char('@')) {
            fakeNow = token.mid(1).toLongLong();
            continue;
        }
        const bool prefixed = kind == QLatin1Char('+') || kind == QLatin1Char('-') || kind == QLatin1Char('*');
        const QString name = prefixed ? token.mid(1) : token;
        const KeyStroke k = Stroke(name);
        if (kind == QLatin1Char('+') || kind == QLatin1Char('*') || !prefixed)
            KeyInput::Press(window, k.key, k.modifiers, k.scanCode, kind == QLatin1Char('*'));
        if (kind == QLatin1Char('-') || !prefixed) {
            KeyInput::Release(window, k.key, k.modifiers, k.scanCode);
            held.removeAll(name);
        } else if (kind == QLatin1Char('+')) {
            held.append(name);
        }
    }
    for (const QString& name : held) {
        const KeyStroke k = Stroke(name);
        KeyInput::Release(window, k.key, k.modifiers, k.scanCode);
    }
}

template <class T>
T* Child(QWidget* dialog, const char* name)
{
    T* child = dialog->findChild<T*>(QLatin1String(name));
    Q_ASSERT_X(child, "Child", name);
    return child;
}

// Shows a dialog without running it, active like a dialog that runs.
bool ShowActive(QWidget* dialog)
{
    dialog->show();
    dialog->activateWindow();
    return QTest::qWaitForWindowActive(dialog, DefaultTestLimit());
}

// Acts on the modal dialog that is about to run, once it has the keyboard.
[[nodiscard]] ModalAnswer Answer(std::function<void(QWidget*)> action, const char* file = __builtin_FILE(),
                                 int line = __builtin_LINE())
{
    return ModalAnswer(
        [action](QWidget* modal) {
            if (!QTest::qWaitForWindowActive(modal, DefaultTestLimit()))
                qWarning("the dialog did not become active");
            action(modal);
        },
        file, line);
}

} // namespace

class KeyDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        GroupKey::SetEntryClock([] { return fakeNow; });
    }

    void init()
    {
        fakeNow = 0;
    }

    // ---- GroupKey ----

    void groupKeyEntry_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("field");
        QTest::newRow("three keys") << "A B C" << "A+B+C";
        QTest::newRow("a fourth key starts anew") << "A B C D" << "D";
        QTest::newRow("entry older than 2000 ms") << "A @1500 B @2500 C" << "C";
        QTest::newRow("held key added once") << "+A *A *A" << "A";
        QTest::newRow("held key within the entry") << "B +A @1900 *A" << "B+A";
        QTest::newRow("held key past the entry") << "B +A @2100 *A" << "A";
        QTest::newRow("repetition of the third key") << "A B +C *C" << "C";
        QTest::newRow("third key again") << "A B C C" << "C";
        QTest::newRow("key already there") << "A B A" << "A+B";
        QTest::newRow("unnamed key on a full entry") << "A B C Shift" << "";
        QTest::newRow("modifier keys are not named") << "Shift RShift A" << "A";
        QTest::newRow("space and right Alt") << "Space RAlt" << "";
        QTest::newRow("key with Alt held") << "+Alt A -Alt" << "";
        QTest::newRow("F1 after F10") << "+A F10 F1" << "A+F10+F1";
        QTest::newRow("E after Esc") << "Esc E" << "Esc+E";
        QTest::newRow("N after Num1") << "Num1 N" << "Num1+N";
        QTest::newRow("keypad + is one item") << "NumPlus A B" << "Num++A+B";
        QTest::newRow("keypad + and three more") << "NumPlus A B C" << "C";
        QTest::newRow("Escape, F12 and Enter") << "Esc F12 Enter" << "Esc+F12+Enter";
    }

    void groupKeyEntry()
    {
        QFETCH(QString, script);
        QFETCH(QString, field);
        GroupKey dialog;
        QVERIFY(ShowActive(&dialog));
        Play(dialog.windowHandle(), script);
        QCOMPARE(Child<QLineEdit>(&dialog, "lineEdit")->text(), field);
        QVERIFY(dialog.isVisible()); // Escape and F12 did not close it
        QVERIFY(!dialog.Confirmed);
    }

    // Typing does not edit the key field; text pasted into it is capitalised.
    void groupKeyFieldEdits()
    {
        GroupKey dialog;
        QVERIFY(ShowActive(&dialog));
        auto* field = Child<QLineEdit>(&dialog, "lineEdit");
        QVERIFY(field->hasFocus());
        QTest::keyClicks(field, "xyz");
        QCOMPARE(field->text(), QString());
        QApplication::clipboard()->setText(QStringLiteral("abc"));
        field->paste();
        QCOMPARE(field->text(), QStringLiteral("ABC"));
        // Tab is a key like the others and stays in the field.
        Play(dialog.windowHandle(), "Tab");
        QCOMPARE(field->text(), QStringLiteral("ABC+Tab"));
        QVERIFY(field->hasFocus());
    }

    void groupKeyOk_data()
    {
        QTest::addColumn<QString>("ticked"); // initials of Shift, Ctrl, Alt, Win
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("combination");
        QTest::newRow("nothing") << "" << "" << false << "";
        QTest::newRow("one key") << "" << "A" << false << "A";
        QTest::newRow("two modifiers and a key") << "SC" << "A" << false << "Shift+Ctrl+A";
        QTest::newRow("modifiers in their order") << "WAS" << "" << false << "Shift+Alt+Win";
        QTest::newRow("Win alone") << "W" << "" << false << "Win";
        QTest::newRow("keypad + with a modifier") << "C" << "NumPlus A" << false << "Ctrl+Num++A";
        QTest::newRow("two modifiers and two keys") << "SC" << "A B" << true << "";
        QTest::newRow("four modifiers") << "SCAW" << "" << true << "";
        QTest::newRow("keypad + and two modifiers and a key") << "SC" << "NumPlus A" << true << "";
    }

    // OK hands over at most three items; more show the GroupMaxThree notice,
    // empty the key field and leave the dialog open.
    void groupKeyOk()
    {
        QFETCH(QString, ticked);
        QFETCH(QString, script);
        QFETCH(bool, refused);
        QFETCH(QString, combination);
        GroupKey dialog;
        QVERIFY(ShowActive(&dialog));
        const QList<QPair<QChar, const char*>> boxes{{'S', "Shift"}, {'C', "Ctrl"}, {'A', "Alt"}, {'W', "Win"}};
        for (const auto& box : boxes)
            Child<QCheckBox>(&dialog, box.second)->setChecked(ticked.contains(box.first));
        Play(dialog.windowHandle(), script);

        // A notice that should not come is answered too, so that the test ends.
        auto* field = Child<QLineEdit>(&dialog, "lineEdit");
        QString fieldUnderNotice;
        ModalAnswer answer([field, &fieldUnderNotice](QWidget* notice) {
            // Keys typed over the notice still reach the key field, and are
            // dropped with it.
            if (QTest::qWaitForWindowActive(notice, DefaultTestLimit()))
                Play(notice->windowHandle(), "E");
            fieldUnderNotice = field->text();
            Child<QAbstractButton>(notice, "NewHong")->click();
        });
        Child<QToolButton>(&dialog, "NewHong")->click();
        if (refused) {
            QCOMPARE(answer.DialogClass(), QStringLiteral("GroupMaxThree"));
            QVERIFY(dialog.isVisible());
            QVERIFY(!dialog.Confirmed);
            QVERIFY2(fieldUnderNotice.endsWith(QLatin1Char('E')), qPrintable(fieldUnderNotice));
            QCOMPARE(field->text(), QString());
            QCOMPARE(Child<QCheckBox>(&dialog, "Shift")->isChecked(), ticked.contains('S'));
            // Still listening: a new entry starts.
            QVERIFY(ShowActive(&dialog));
            Play(dialog.windowHandle(), "D");
            QCOMPARE(field->text(), QStringLiteral("D"));
        } else {
            // The notice would have run inside the click.
            QCOMPARE(answer.DialogClass(), QString());
            answer.Cancel();
            QVERIFY(!dialog.isVisible());
            QVERIFY(dialog.Confirmed);
            QCOMPARE(dialog.Combination, combination);
        }
    }

    // Close and Cancel clear the flag and stop listening, whatever the field holds.
    void groupKeyCancel_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Close") << "CloseButton";
        QTest::newRow("Cancel") << "NewHong_2";
    }

    void groupKeyCancel()
    {
        QFETCH(QString, button);
        GroupKey dialog;
        const ModalAnswer answer = Answer([button](QWidget* modal) {
            Play(modal->windowHandle(), "A B");
            modal->findChild<QAbstractButton*>(button)->click();
        });
        dialog.exec();
        QVERIFY(!dialog.Confirmed);
        QVERIFY(dialog.Combination.isEmpty());
        QWidget other;
        QVERIFY(ShowActive(&other));
        Play(other.windowHandle(), "C");
        QCOMPARE(Child<QLineEdit>(&dialog, "lineEdit")->text(), QStringLiteral("A+B"));
    }

    // The whole run as the button page does it.
    void groupKeyExec()
    {
        GroupKey dialog;
        const ModalAnswer answer = Answer([](QWidget* modal) {
            Child<QCheckBox>(modal, "Ctrl")->setChecked(true);
            Play(modal->windowHandle(), "+A Esc");
            Child<QToolButton>(modal, "NewHong")->click();
        });
        dialog.exec();
        QVERIFY(dialog.Confirmed);
        QCOMPARE(dialog.Combination, QStringLiteral("Ctrl+A+Esc"));
    }

    // A dialog that ends without its buttons takes its hook with it.
    void groupKeyDestroyedWhileListening()
    {
        auto dialog = std::make_unique<GroupKey>();
        QVERIFY(ShowActive(dialog.get()));
        Play(dialog->windowHandle(), "A");
        dialog.reset();
        QWidget other;
        QVERIFY(ShowActive(&other));
        Play(other.windowHandle(), "B"); // would reach the dead dialog
    }

    // ---- addKey ----

    void addKeyName_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << "A" << "A";
        QTest::newRow("held A") << "+A *A *A" << "A";
        QTest::newRow("left Shift") << "Shift" << "LShift";
        QTest::newRow("right Shift") << "RShift" << "RShift";
        QTest::newRow("left Alt") << "Alt" << "LAlt";
        QTest::newRow("release of Shift last") << "+Shift A -Shift" << "LShift";
        QTest::newRow("release of A last") << "+Shift +A -Shift -A" << "A";
        QTest::newRow("keypad 1") << "Num1" << "Num1";
        QTest::newRow("keypad +") << "NumPlus" << "Num+";
        QTest::newRow("space") << "A Space" << "";
        QTest::newRow("right Alt") << "A RAlt" << "";
        QTest::newRow("Escape") << "Esc" << "Esc";
        QTest::newRow("F12") << "F12" << "F12";
        QTest::newRow("Enter") << "Enter" << "Enter";
        QTest::newRow("F10") << "F10" << "F10";
    }

    // The last key message wins, press or release, and the field shows it.
    // Escape, F12 and Enter do not close the dialog.
    void addKeyName()
    {
        QFETCH(QString, script);
        QFETCH(QString, name);
        addKey dialog;
        QVERIFY(ShowActive(&dialog));
        Play(dialog.windowHandle(), script);
        QCOMPARE(dialog.KeyName, name);
        QCOMPARE(Child<QLineEdit>(&dialog, "lineEdit")->text(), name);
        QVERIFY(dialog.isVisible());
    }

    void addKeyExec_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("name");
        QTest::newRow("OK") << "A" << "NewHong" << int(QDialog::Accepted) << "A";
        QTest::newRow("OK after Escape") << "B Esc" << "NewHong" << int(QDialog::Accepted) << "Esc";
        QTest::newRow("OK without a key") << "" << "NewHong" << int(QDialog::Accepted) << "";
        QTest::newRow("Cancel") << "A" << "NewHong_2" << int(QDialog::Rejected) << "A";
        QTest::newRow("Close") << "A" << "CloseButton" << int(QDialog::Rejected) << "A";
    }

    // exec() tells the outcome, and so does Confirmed; the hook goes with the
    // button.
    void addKeyExec()
    {
        QFETCH(QString, script);
        QFETCH(QString, button);
        QFETCH(int, result);
        QFETCH(QString, name);
        addKey dialog;
        const ModalAnswer answer = Answer([script, button](QWidget* modal) {
            Play(modal->windowHandle(), script);
            Child<QAbstractButton>(modal, qPrintable(button))->click();
        });
        QCOMPARE(dialog.exec(), result);
        QCOMPARE(dialog.Confirmed, result == QDialog::Accepted);
        QCOMPARE(dialog.KeyName, name);
        QWidget other;
        QVERIFY(ShowActive(&other));
        Play(other.windowHandle(), "D");
        QCOMPARE(dialog.KeyName, name);
    }

    void addKeyDestroyedWhileListening()
    {
        auto dialog = std::make_unique<addKey>();
        QVERIFY(ShowActive(dialog.get()));
        dialog.reset();
        QWidget other;
        QVERIFY(ShowActive(&other));
        Play(other.windowHandle(), "B");
    }

    // ---- FireKey ----

    void fireKey_data()
    {
        QTest::addColumn<int>("presetInterval"); // -1: no preset
        QTest::addColumn<int>("presetCount");
        QTest::addColumn<QString>("typedInterval"); // typed into "Time"; "" types nothing
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("count");
        QTest::newRow("defaults") << -1 << -1 << "" << 10 << 3;
        QTest::newRow("presets") << 50 << 0 << "" << 50 << 0;
        QTest::newRow("presets below the ranges") << 5 << -2 << "" << 10 << 0;
        QTest::newRow("presets above the ranges") << 300 << 9 << "" << 255 << 3;
        QTest::newRow("typed interval") << -1 << -1 << "200" << 200 << 3;
        QTest::newRow("typed interval too large") << -1 << -1 << "999" << 99 << 3;
    }

    void fireKey()
    {
        QFETCH(int, presetInterval);
        QFETCH(int, presetCount);
        QFETCH(QString, typedInterval);
        QFETCH(int, interval);
        QFETCH(int, count);
        FireKey dialog;
        if (presetInterval >= 0 || presetCount != -1) {
            dialog.SetInterval(presetInterval);
            dialog.SetCount(presetCount);
        }
        QCOMPARE(dialog.Interval, 10);
        QCOMPARE(dialog.Count, 3);
        const ModalAnswer answer = Answer([typedInterval](QWidget* modal) {
            if (!typedInterval.isEmpty()) {
                auto* time = Child<QSpinBox>(modal, "Time");
                time->selectAll();
                QTest::keyClicks(time, typedInterval);
            }
            Child<QAbstractButton>(modal, "NewHong")->click();
        });
        dialog.exec();
        QVERIFY(dialog.Confirmed);
        QCOMPARE(dialog.Interval, interval);
        QCOMPARE(dialog.Count, count);
    }

    // ---- Close, Cancel, Escape and Enter of FireKey and AddDelayTime ----

    void questionEndings_data()
    {
        QTest::addColumn<QString>("dialogClass");
        QTest::addColumn<QString>("ending"); // a button, or "Escape"
        for (const char* dialogClass : {"FireKey", "AddDelayTime"}) {
            for (const char* ending : {"CloseButton", "NewHong_2", "Escape"})
                QTest::addRow("%s %s", dialogClass, ending) << dialogClass << ending;
        }
    }

    // They leave the flag false and the values as they were; Enter closes
    // nothing.
    void questionEndings()
    {
        QFETCH(QString, dialogClass);
        QFETCH(QString, ending);
        std::unique_ptr<MessageQuestion> dialog;
        if (dialogClass == QLatin1String("FireKey"))
            dialog = std::make_unique<FireKey>();
        else
            dialog = std::make_unique<AddDelayTime>();
        const ModalAnswer answer = Answer([ending](QWidget* modal) {
            auto* spin = modal->findChild<QSpinBox*>();
            spin->setFocus();
            spin->setValue(123);
            QTest::keyClick(spin, Qt::Key_Return);
            QVERIFY(modal->isVisible());
            if (ending == QLatin1String("Escape"))
                QTest::keyClick(spin, Qt::Key_Escape);
            else
                Child<QAbstractButton>(modal, qPrintable(ending))->click();
        });
        dialog->exec();
        QVERIFY(!dialog->Confirmed);
        if (auto* fire = qobject_cast<FireKey*>(dialog.get())) {
            QCOMPARE(fire->Interval, 10);
            QCOMPARE(fire->Count, 3);
        } else {
            QCOMPARE(static_cast<AddDelayTime*>(dialog.get())->Delay, 0);
        }
    }

    // ---- AddDelayTime ----

    void addDelayTime_data()
    {
        QTest::addColumn<QString>("typed"); // "" types nothing
        QTest::addColumn<int>("delay");
        QTest::newRow("unchanged") << "" << 10;
        QTest::newRow("largest") << "65535" << 65535;
        QTest::newRow("too large") << "70000" << 7000;
        QTest::newRow("too small") << "5" << 10;
    }

    void addDelayTime()
    {
        QFETCH(QString, typed);
        QFETCH(int, delay);
        AddDelayTime dialog;
        QCOMPARE(dialog.Delay, 0);
        const ModalAnswer answer = Answer([typed](QWidget* modal) {
            auto* spin = Child<QSpinBox>(modal, "spinBox");
            QVERIFY(spin->hasFocus());
            if (!typed.isEmpty()) {
                spin->selectAll();
                QTest::keyClicks(spin, typed);
            }
            Child<QAbstractButton>(modal, "NewHong")->click();
        });
        dialog.exec();
        QVERIFY(dialog.Confirmed);
        QCOMPARE(dialog.Delay, delay);
    }

    // ---- texts and looks ----

    void texts_data()
    {
        QTest::addColumn<QString>("dialogClass");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("text");
        QTest::newRow("GroupKey English") << "GroupKey" << 0 << "label" << "Press the keys";
        QTest::newRow("GroupKey Chinese") << "GroupKey" << 1 << "NewHong_2" << "取消";
        QTest::newRow("GroupKey check box") << "GroupKey" << 1 << "Shift" << "shift";
        QTest::newRow("FireKey English") << "FireKey" << 0 << "label_2" << "Interval (10-255)";
        QTest::newRow("FireKey Chinese") << "FireKey" << 1 << "NewHong" << "确认";
        QTest::newRow("AddDelayTime Korean") << "AddDelayTime" << 3 << "label" << "지연 시간을 입력하세요";
        QTest::newRow("addKey Japanese") << "addKey" << 5 << "NewHong_2" << "キャンセル";
        QTest::newRow("addKey Russian") << "addKey" << 4 << "label" << "Нажмите клавишу";
    }

    // Each dialog reads its own element of the language files, and follows a
    // change of language while it is open.
    void texts()
    {
        QFETCH(QString, dialogClass);
        QFETCH(int, language);
        QFETCH(QString, child);
        QFETCH(QString, text);
        const std::unique_ptr<QWidget> dialog = Make(dialogClass);
        PostMsg::Instance()->PostChangeLanguage(language);
        auto* widget = dialog->findChild<QWidget*>(child);
        QVERIFY(widget);
        const QString shown = widget->property("text").toString();
        PostMsg::Instance()->PostChangeLanguage(0);
        QCOMPARE(shown, text);
    }

    void screenshots()
    {
        GroupKey group;
        Child<QCheckBox>(&group, "Ctrl")->setChecked(true);
        QVERIFY(ShowActive(&group));
        Play(group.windowHandle(), "A F1");
        QVERIFY(!SaveScreenshot(&group, QStringLiteral("GroupKey")).isEmpty());
        addKey key;
        QVERIFY(ShowActive(&key));
        Play(key.windowHandle(), "RShift");
        QVERIFY(!SaveScreenshot(&key, QStringLiteral("addKey")).isEmpty());
        FireKey fire;
        fire.SetInterval(50);
        fire.SetCount(0);
        QVERIFY(!SaveScreenshot(&fire, QStringLiteral("FireKey")).isEmpty());
        AddDelayTime delay;
        QVERIFY(!SaveScreenshot(&delay, QStringLiteral("AddDelayTime")).isEmpty());
        PostMsg::Instance()->PostChangeLanguage(1);
        QVERIFY(!SaveScreenshot(&group, QStringLiteral("GroupKey-zh")).isEmpty());
        QVERIFY(!SaveScreenshot(&fire, QStringLiteral("FireKey-zh")).isEmpty());
        QVERIFY(!SaveScreenshot(&delay, QStringLiteral("AddDelayTime-zh")).isEmpty());
        QVERIFY(!SaveScreenshot(&key, QStringLiteral("addKey-zh")).isEmpty());
        PostMsg::Instance()->PostChangeLanguage(0);
    }

private:
    static std::unique_ptr<QWidget> Make(const QString& dialogClass)
    {
        if (dialogClass == QLatin1String("GroupKey"))
            return std::make_unique<GroupKey>();
        if (dialogClass == QLatin1String("FireKey"))
            return std::make_unique<FireKey>();
        if (dialogClass == QLatin1String("AddDelayTime"))
            return std::make_unique<AddDelayTime>();
        return std::make_unique<addKey>();
    }
};

TALVIRE_TEST_MAIN(KeyDialogsTest)
#include "test_key_dialogs.moc"
