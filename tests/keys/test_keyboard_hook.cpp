// The hook instances: what each reports to its callback for the key stream.
#include "dialogs/AddKeyHook.h"
#include "dialogs/GroupKeyHook.h"
#include "dialogs/MacroKeyHook.h"
#include "tests/common/TestEnvironment.h"
#include "tests/keys/KeyInput.h"

#include <QApplication>
#include <QtTest>

#include <memory>

namespace {
struct Report {
    int vk;
    bool down;
    bool repeat;
    bool operator==(const Report& other) const
    {
        return vk == other.vk && down == other.down && repeat == other.repeat;
    }
};
constexpr int A = 0x41, B = 0x42, Alt = 0xA4;
} // namespace

Q_DECLARE_METATYPE(Report)
namespace QTest {
template <> char* toString(const Report& r)
{
    return qstrdup(QByteArray("(0x" + QByteArray::number(r.vk, 16) + (r.down ? ", down" : ", up")
                              + (r.repeat ? ", repeat)" : ")")).constData());
}
} // namespace QTest

class KeyboardHookTest : public QObject {
    Q_OBJECT

    QWidget window_;
    QWindow* win() { return window_.windowHandle(); }

    // A hook of each class, installed, with a callback that records.
    struct Recorder {
        std::unique_ptr<KeyboardHook> hook;
        QList<Report> reports;
    };
    Recorder macro_, add_, group_;

    static void Attach(Recorder& recorder, KeyboardHook* hook)
    {
        recorder.hook.reset(hook);
        recorder.reports.clear();
        hook->SetHook();
        hook->SetCallback([&recorder](int vk, bool down, bool repeat) {
            recorder.reports.append({vk, down, repeat});
        });
    }

    void pressA(bool autoRepeat = false) { KeyInput::Press(win(), Qt::Key_A, Qt::NoModifier, 0, autoRepeat); }
    void releaseA() { KeyInput::Release(win(), Qt::Key_A); }

private slots:
    void initTestCase()
    {
        window_.show();
        window_.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window_, DefaultTestLimit()));
    }

    void init()
    {
        Attach(macro_, new MacroKeyHook);
        Attach(add_, new AddKeyHook);
        Attach(group_, new GroupKeyHook);
        // The key state of a hook class lives as long as the process: start every
        // test from a release.
        KeyInput::Click(win(), Qt::Key_F5);
        macro_.reports.clear();
        add_.reports.clear();
        group_.reports.clear();
    }

    void cleanup()
    {
        KeyboardHook::SetForegroundTest(nullptr);
        macro_.hook.reset();
        add_.hook.reset();
        group_.hook.reset();
    }

    void keySequences_data()
    {
        QTest::addColumn<QList<int>>("keys"); // Qt keys; negative = release; +1000 = auto-repeat
        QTest::addColumn<QList<Report>>("expected");
        const int a = Qt::Key_A, b = Qt::Key_B, repeatA = 1000 + Qt::Key_A;
        QTest::newRow("hold A") << QList<int>{a, repeatA, repeatA, -a}
                                << QList<Report>{{A, true, false}, {A, true, true}, {A, true, true}, {A, false, false}};
        QTest::newRow("A twice") << QList<int>{a, -a, a, -a}
                                 << QList<Report>{{A, true, false}, {A, false, false}, {A, true, false}, {A, false, false}};
        QTest::newRow("A then B") << QList<int>{a, b, -b, -a}
                                  << QList<Report>{{A, true, false}, {B, true, false}, {B, false, false}, {A, false, false}};
        QTest::newRow("B released, A repeats") << QList<int>{a, b, -b, repeatA, -a}
                                               << QList<Report>{{A, true, false}, {B, true, false}, {B, false, false},
                                                                {A, true, false}, {A, false, false}};
    }

    // Presses, repetitions and releases, the same for every instance.
    void keySequences()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QList<Report>, expected);
        for (int key : keys) {
            if (key < 0)
                KeyInput::Release(win(), -key);
            else if (key > 1000)
                KeyInput::Press(win(), key - 1000, Qt::NoModifier, 0, true);
            else
                KeyInput::Press(win(), key);
        }
        QCOMPARE(macro_.reports, expected);
        QCOMPARE(add_.reports, expected);
        QCOMPARE(group_.reports, expected);
    }

    // The dialogs' instances keep the down state of the message before a system
    // key; the recorder takes system keys as ordinary presses and releases.
    void systemKeys()
    {
        KeyInput::Press(win(), Qt::Key_Alt);
        KeyInput::Press(win(), Qt::Key_A, Qt::AltModifier);
        KeyInput::Release(win(), Qt::Key_A, Qt::AltModifier);
        KeyInput::Release(win(), Qt::Key_Alt);
        const QList<Report> dialog{{Alt, false, false}, {A, false, false}, {A, false, true}, {Alt, false, false}};
        const QList<Report> recorder{{Alt, true, false}, {A, true, false}, {A, false, false}, {Alt, false, false}};
        QCOMPARE(add_.reports, dialog);
        QCOMPARE(group_.reports, dialog);
        QCOMPARE(macro_.reports, recorder);
        // After a press, F10 (a system key) reports that press's down state.
        add_.reports.clear();
        pressA();
        KeyInput::Press(win(), Qt::Key_F10);
        QCOMPARE(add_.reports.last(), (Report{0x79, true, false}));
        KeyInput::Release(win(), Qt::Key_F10);
        releaseA();
    }

    // With another program's window in front nothing is examined: no callback,
    // and the state is as it was (the release in between is not seen).
    void otherProgramInFront()
    {
        pressA();
        bool ours = false;
        KeyboardHook::SetForegroundTest([&ours] { return ours; });
        releaseA();
        KeyInput::Click(win(), Qt::Key_B);
        QCOMPARE(add_.reports.size(), 1);
        ours = true;
        pressA(true);
        QCOMPARE(add_.reports.last(), (Report{A, true, true}));
        releaseA();
    }

    // Without a callback the event still moves the state.
    void emptyCallback()
    {
        add_.hook->ClearCallback();
        pressA();
        QVERIFY(add_.reports.isEmpty());
        add_.hook->SetCallback([this](int vk, bool down, bool repeat) { add_.reports.append({vk, down, repeat}); });
        pressA(true);
        QCOMPARE(add_.reports, (QList<Report>{{A, true, true}}));
        releaseA();
    }

    // Each instance has its own state: removing one leaves the others reporting.
    void instancesIndependent()
    {
        pressA();
        group_.hook->UnHook();
        QVERIFY(!group_.hook->IsHooked());
        releaseA();
        group_.hook->SetHook();
        pressA(true); // the group instance missed the release: for it this repeats A
        QCOMPARE(add_.reports.last(), (Report{A, true, false}));
        QCOMPARE(group_.reports.last(), (Report{A, true, true}));
        QCOMPARE(group_.reports.size(), 2);
        releaseA();
        // A second object of a class acts on the same instance.
        GroupKeyHook other;
        QVERIFY(other.IsHooked());
    }

    // A hook object that goes away takes its hook and callback with it, so
    // nothing calls into an owner that is gone; a later object starts unhooked.
    void destroyedOwner()
    {
        add_.hook.reset();
        AddKeyHook fresh;
        QVERIFY(!fresh.IsHooked());
        KeyInput::Click(win(), Qt::Key_B);
        QVERIFY(add_.reports.isEmpty());
        QCOMPARE(group_.reports.size(), 2);
        // Installed again without a callback: events pass without a call.
        fresh.SetHook();
        KeyInput::Click(win(), Qt::Key_B);
        QVERIFY(add_.reports.isEmpty());
    }

    // UnHook twice and SetHook while installed change nothing.
    void installAndRemove()
    {
        KeyboardHook& hook = *macro_.hook;
        hook.SetHook();
        KeyInput::Click(win(), Qt::Key_B);
        QCOMPARE(macro_.reports.size(), 2);
        hook.UnHook();
        hook.UnHook();
        KeyInput::Click(win(), Qt::Key_B);
        QCOMPARE(macro_.reports.size(), 2);
    }
};

TALVIRE_TEST_MAIN(KeyboardHookTest)
#include "test_keyboard_hook.moc"
