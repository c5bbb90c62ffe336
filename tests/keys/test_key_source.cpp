// The key source: Qt key events of the program's windows become Windows
// keyboard messages with virtual-key codes.
#include "platform/KeySource.h"
#include "platform/VirtualKeyTable.h"
#include "tests/common/TestEnvironment.h"
#include "tests/keys/KeyInput.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

namespace {
// X keycodes of a US keyboard (Linux input code + 8).
enum X11 : quint32 {
    X_1 = 10, X_Minus = 20, X_Equal = 21, X_A = 38, X_LCtrl = 37, X_Grave = 49, X_LShift = 50,
    X_Backslash = 51, X_Slash = 61, X_RShift = 62, X_KpMultiply = 63, X_LAlt = 64, X_Space = 65,
    X_F1 = 67, X_F10 = 76, X_NumLock = 77, X_Kp7 = 79, X_KpMinus = 82, X_Kp5 = 84, X_KpPlus = 86,
    X_Kp1 = 87, X_KpDot = 91, X_Less = 94, X_F12 = 96, X_KpEnter = 104, X_RCtrl = 105, X_KpSlash = 106,
    X_Print = 107, X_RAlt = 108, X_Left = 113, X_Pause = 127, X_LWin = 133, X_RWin = 134, X_Menu = 135,
    X_F13 = 191, X_Unknown = 255,
};

struct Seen {
    int vk;
    KeySource::Message message;
    bool operator==(const Seen& other) const { return vk == other.vk && message == other.message; }
};
} // namespace

Q_DECLARE_METATYPE(Seen)
namespace QTest {
template <> char* toString(const Seen& seen)
{
    return qstrdup(QByteArray("(0x" + QByteArray::number(seen.vk, 16) + ", 0x"
                              + QByteArray::number(int(seen.message), 16) + ")").constData());
}
} // namespace QTest

class KeySourceTest : public QObject {
    Q_OBJECT

    QWidget window_;
    QLineEdit* field_ = nullptr;
    int handle_ = 0;
    QList<Seen> seen_;

    QWindow* win() { return window_.windowHandle(); }

private slots:
    void initTestCase()
    {
        auto* layout = new QVBoxLayout(&window_);
        field_ = new QLineEdit(&window_);
        layout->addWidget(field_);
        window_.show();
        window_.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window_, DefaultTestLimit()));
        field_->setFocus();
    }

    void init()
    {
        seen_.clear();
        handle_ = KeySource::Instance()->Install([this](int vk, KeySource::Message message) {
            seen_.append({vk, message});
        });
    }

    void cleanup()
    {
        KeySource::Instance()->Remove(handle_);
        // Leave no key held for the next test.
        for (int key : {Qt::Key_Alt, Qt::Key_Control, Qt::Key_Shift})
            KeyInput::Release(win(), key);
    }

    void virtualKeyCodes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<int>("vk");
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
        const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;

        QTest::newRow("A") << int(Qt::Key_A) << none << quint32(0) << 0x41;
        QTest::newRow("A, scan code") << int(Qt::Key_A) << none << quint32(X_A) << 0x41;
        QTest::newRow("A key of another layout, scan code") << int(Qt::Key_Q) << none << quint32(X_A) << 0x41;
        QTest::newRow("1") << int(Qt::Key_1) << none << quint32(0) << 0x31;
        QTest::newRow("!") << int(Qt::Key_Exclam) << shift << quint32(0) << 0x31;
        QTest::newRow("!, scan code") << int(Qt::Key_Exclam) << shift << quint32(X_1) << 0x31;
        QTest::newRow("+ of the = key") << int(Qt::Key_Plus) << shift << quint32(0) << 0xBB;
        QTest::newRow("=, scan code") << int(Qt::Key_Equal) << none << quint32(X_Equal) << 0xBB;
        QTest::newRow("-") << int(Qt::Key_Minus) << none << quint32(X_Minus) << 0xBD;
        QTest::newRow("`") << int(Qt::Key_QuoteLeft) << none << quint32(X_Grave) << 0xC0;
        QTest::newRow("~") << int(Qt::Key_AsciiTilde) << shift << quint32(0) << 0xC0;
        QTest::newRow("backslash") << int(Qt::Key_Backslash) << none << quint32(X_Backslash) << 0xDC;
        QTest::newRow("?") << int(Qt::Key_Question) << shift << quint32(X_Slash) << 0xBF;
        QTest::newRow("102nd key") << int(Qt::Key_Less) << none << quint32(X_Less) << 0xE2;
        QTest::newRow("space") << int(Qt::Key_Space) << none << quint32(X_Space) << 0x20;

        QTest::newRow("left Shift") << int(Qt::Key_Shift) << shift << quint32(X_LShift) << 0xA0;
        QTest::newRow("right Shift") << int(Qt::Key_Shift) << shift << quint32(X_RShift) << 0xA1;
        QTest::newRow("left Ctrl") << int(Qt::Key_Control) << none << quint32(X_LCtrl) << 0xA2;
        QTest::newRow("right Ctrl") << int(Qt::Key_Control) << none << quint32(X_RCtrl) << 0xA3;
        QTest::newRow("left Alt") << int(Qt::Key_Alt) << none << quint32(X_LAlt) << 0xA4;
        QTest::newRow("right Alt") << int(Qt::Key_Alt) << none << quint32(X_RAlt) << 0xA5;
        QTest::newRow("AltGr") << int(Qt::Key_AltGr) << none << quint32(X_RAlt) << 0xA5;
        QTest::newRow("left Win") << int(Qt::Key_Super_L) << none << quint32(X_LWin) << 0x5B;
        QTest::newRow("right Win") << int(Qt::Key_Super_R) << none << quint32(X_RWin) << 0x5C;
        QTest::newRow("Shift, no scan code") << int(Qt::Key_Shift) << shift << quint32(0) << 0xA0;
        QTest::newRow("Ctrl, no scan code") << int(Qt::Key_Control) << none << quint32(0) << 0xA2;
        QTest::newRow("Alt, no scan code") << int(Qt::Key_Alt) << none << quint32(0) << 0xA4;
        QTest::newRow("AltGr, no scan code") << int(Qt::Key_AltGr) << none << quint32(0) << 0xA5;
        QTest::newRow("Meta, no scan code") << int(Qt::Key_Meta) << none << quint32(0) << 0x5B;
        QTest::newRow("Super_R, no scan code") << int(Qt::Key_Super_R) << none << quint32(0) << 0x5C;
        QTest::newRow("menu key") << int(Qt::Key_Menu) << none << quint32(X_Menu) << 0x5D;

        QTest::newRow("keypad 1, Num Lock on") << int(Qt::Key_1) << keypad << quint32(X_Kp1) << 0x61;
        QTest::newRow("keypad 1, Num Lock off") << int(Qt::Key_End) << keypad << quint32(X_Kp1) << 0x23;
        QTest::newRow("keypad 7, Num Lock off") << int(Qt::Key_Home) << keypad << quint32(X_Kp7) << 0x24;
        QTest::newRow("keypad 5, Num Lock off") << int(Qt::Key_Clear) << keypad << quint32(X_Kp5) << 0x0C;
        QTest::newRow("keypad point, Num Lock on") << int(Qt::Key_Period) << keypad << quint32(X_KpDot) << 0x6E;
        QTest::newRow("keypad point, Num Lock off") << int(Qt::Key_Delete) << keypad << quint32(X_KpDot) << 0x2E;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << keypad << quint32(X_KpPlus) << 0x6B;
        QTest::newRow("keypad -") << int(Qt::Key_Minus) << keypad << quint32(X_KpMinus) << 0x6D;
        QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << keypad << quint32(X_KpMultiply) << 0x6A;
        QTest::newRow("keypad /") << int(Qt::Key_Slash) << keypad << quint32(X_KpSlash) << 0x6F;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << quint32(X_KpEnter) << 0x0D;
        QTest::newRow("Num Lock") << int(Qt::Key_NumLock) << none << quint32(X_NumLock) << 0x90;
        QTest::newRow("keypad 1, no scan code") << int(Qt::Key_1) << keypad << quint32(0) << 0x61;
        QTest::newRow("keypad +, no scan code") << int(Qt::Key_Plus) << keypad << quint32(0) << 0x6B;
        QTest::newRow("keypad *, no scan code") << int(Qt::Key_Asterisk) << keypad << quint32(0) << 0x6A;
        QTest::newRow("keypad point, no scan code") << int(Qt::Key_Period) << keypad << quint32(0) << 0x6E;
        QTest::newRow("keypad Home, no scan code") << int(Qt::Key_Home) << keypad << quint32(0) << 0x24;

        QTest::newRow("F1") << int(Qt::Key_F1) << none << quint32(X_F1) << 0x70;
        QTest::newRow("F10") << int(Qt::Key_F10) << none << quint32(0) << 0x79;
        QTest::newRow("F12") << int(Qt::Key_F12) << none << quint32(X_F12) << 0x7B;
        QTest::newRow("F13") << int(Qt::Key_F13) << none << quint32(X_F13) << 0x7C;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << none << quint32(0) << 0x1B;
        QTest::newRow("Return") << int(Qt::Key_Return) << none << quint32(0) << 0x0D;
        QTest::newRow("Backtab") << int(Qt::Key_Backtab) << shift << quint32(0) << 0x09;
        QTest::newRow("Print") << int(Qt::Key_Print) << none << quint32(X_Print) << 0x2C;
        QTest::newRow("Pause") << int(Qt::Key_Pause) << none << quint32(X_Pause) << 0x13;
        QTest::newRow("left arrow") << int(Qt::Key_Left) << none << quint32(X_Left) << 0x25;
        QTest::newRow("volume up") << int(Qt::Key_VolumeUp) << none << quint32(0) << 0xAF;
        QTest::newRow("unknown key") << int(Qt::Key_unknown) << none << quint32(0) << 0;
        QTest::newRow("unknown scan code, known key") << int(Qt::Key_B) << none << quint32(X_Unknown) << 0x42;
        QTest::newRow("unknown scan code and key") << int(Qt::Key_unknown) << none << quint32(X_Unknown) << 0;
    }

    // Each key once through the source, pressed and released.
    void virtualKeyCodes()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(quint32, scanCode);
        QFETCH(int, vk);
        KeyInput::Press(win(), key, modifiers, scanCode);
        KeyInput::Release(win(), key, modifiers, scanCode);
        if (vk == 0) {
            QVERIFY(seen_.isEmpty());
            return;
        }
        QCOMPARE(seen_.size(), 2);
        QCOMPARE(seen_.at(0).vk, vk);
        QCOMPARE(seen_.at(1).vk, vk);
        QVERIFY(seen_.at(1).message == KeySource::KeyUp || seen_.at(1).message == KeySource::SysKeyUp);
    }

    // X11 reports a held key as release + press pairs marked auto-repeat; the
    // stream has only the repeated presses and the final release.
    void autoRepeat()
    {
        KeyInput::Press(win(), Qt::Key_A, Qt::NoModifier, X_A);
        for (int n = 0; n < 2; ++n) {
            KeyInput::Release(win(), Qt::Key_A, Qt::NoModifier, X_A, true);
            KeyInput::Press(win(), Qt::Key_A, Qt::NoModifier, X_A, true);
        }
        KeyInput::Release(win(), Qt::Key_A, Qt::NoModifier, X_A);
        const QList<Seen> expected{{0x41, KeySource::KeyDown}, {0x41, KeySource::KeyDown},
                                   {0x41, KeySource::KeyDown}, {0x41, KeySource::KeyUp}};
        QCOMPARE(seen_, expected);
    }

    // The release has its press's code, whatever changed meanwhile: here Num
    // Lock turns the released keypad 1 into End.
    void releasePairedWithPress()
    {
        KeyInput::Press(win(), Qt::Key_1, Qt::KeypadModifier, X_Kp1);
        KeyInput::Click(win(), Qt::Key_NumLock, Qt::NoModifier, X_NumLock);
        KeyInput::Release(win(), Qt::Key_End, Qt::KeypadModifier, X_Kp1);
        KeyInput::Press(win(), Qt::Key_B, Qt::NoModifier, X_Unknown);
        KeyInput::Release(win(), Qt::Key_unknown, Qt::NoModifier, X_Unknown);
        const QList<Seen> expected{{0x61, KeySource::KeyDown}, {0x90, KeySource::KeyDown},
                                   {0x90, KeySource::KeyUp}, {0x61, KeySource::KeyUp},
                                   {0x42, KeySource::KeyDown}, {0x42, KeySource::KeyUp}};
        QCOMPARE(seen_, expected);
    }

    void systemKeys_data()
    {
        QTest::addColumn<QList<int>>("keys"); // Qt keys; negative = release
        QTest::addColumn<QList<Seen>>("expected");
        const int alt = Qt::Key_Alt, a = Qt::Key_A, ctrl = Qt::Key_Control, f10 = Qt::Key_F10;
        using K = KeySource;
        QTest::newRow("Alt alone") << QList<int>{alt, -alt}
                                   << QList<Seen>{{0xA4, K::SysKeyDown}, {0xA4, K::KeyUp}};
        QTest::newRow("Alt+A") << QList<int>{alt, a, -a, -alt}
                               << QList<Seen>{{0xA4, K::SysKeyDown}, {0x41, K::SysKeyDown},
                                              {0x41, K::SysKeyUp}, {0xA4, K::KeyUp}};
        QTest::newRow("A held, then Alt") << QList<int>{a, alt, -a, -alt}
                                          << QList<Seen>{{0x41, K::KeyDown}, {0xA4, K::SysKeyDown},
                                                         {0x41, K::SysKeyUp}, {0xA4, K::KeyUp}};
        QTest::newRow("F10") << QList<int>{f10, -f10}
                             << QList<Seen>{{0x79, K::SysKeyDown}, {0x79, K::SysKeyUp}};
        QTest::newRow("Ctrl+Alt+A") << QList<int>{ctrl, alt, a, -a, -alt, -ctrl}
                                    << QList<Seen>{{0xA2, K::KeyDown}, {0xA4, K::KeyDown},
                                                   {0x41, K::KeyDown}, {0x41, K::KeyUp},
                                                   {0xA4, K::KeyUp}, {0xA2, K::KeyUp}};
        QTest::newRow("A") << QList<int>{a, -a} << QList<Seen>{{0x41, K::KeyDown}, {0x41, K::KeyUp}};
    }

    // Alt, F10 and keys with Alt come as the system-key messages of Windows.
    void systemKeys()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QList<Seen>, expected);
        for (int key : keys) {
            if (key > 0)
                KeyInput::Press(win(), key);
            else
                KeyInput::Release(win(), -key);
        }
        QCOMPARE(seen_, expected);
    }

    // A key event travels from the window to the focus widget and its parents;
    // the stream has it once.
    void eachEventOnce()
    {
        QVERIFY(field_->hasFocus());
        field_->clear();
        KeyInput::Click(win(), Qt::Key_B);
        QCOMPARE(seen_.size(), 2);
        QCOMPARE(field_->text(), QStringLiteral("b")); // and the key still reaches the widget
        field_->clear();
        // Events sent straight to a widget do not come from the window system.
        QTest::keyClick(field_, Qt::Key_C);
        QCOMPARE(seen_.size(), 2);
        field_->clear();
    }

    // Newest handler first; a handler that removes itself or another while the
    // event is handed round does not disturb the others.
    void handlers()
    {
        KeySource* source = KeySource::Instance();
        QStringList calls;
        int second = 0;
        int third = 0;
        const int first = source->Install([&](int, KeySource::Message) { calls << "first"; });
        second = source->Install([&](int, KeySource::Message) {
            calls << "second";
            source->Remove(second);
        });
        third = source->Install([&](int, KeySource::Message) {
            calls << "third";
            source->Remove(first);
        });
        QVERIFY(first != 0 && second != 0 && third != 0);
        KeyInput::Press(win(), Qt::Key_D);
        QCOMPARE(calls, (QStringList{"third", "second"}));
        QVERIFY(!source->IsInstalled(first));
        QVERIFY(!source->IsInstalled(second));
        QVERIFY(source->IsInstalled(third));
        source->Remove(third);
        source->Remove(third); // twice is harmless
        source->Remove(0);
        KeyInput::Release(win(), Qt::Key_D);
        QCOMPARE(seen_.size(), 2);
    }

    // Keys released while the program lost the keyboard are not held any more
    // when it gets it back: Alt does not stick.
    void focusLossForgetsHeldKeys()
    {
        KeyInput::Press(win(), Qt::Key_Alt);
        QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
        QCoreApplication::sendEvent(qApp, &inactive);
        QApplicationStateChangeEvent active(Qt::ApplicationActive);
        QCoreApplication::sendEvent(qApp, &active);
        seen_.clear();
        KeyInput::Click(win(), Qt::Key_A);
        const QList<Seen> expected{{0x41, KeySource::KeyDown}, {0x41, KeySource::KeyUp}};
        QCOMPARE(seen_, expected);
    }
};

TALVIRE_TEST_MAIN(KeySourceTest)
#include "test_key_source.moc"
