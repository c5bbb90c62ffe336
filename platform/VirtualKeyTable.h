#pragma once

#include <QtGlobal>
#include <qnamespace.h>

// The Windows virtual-key codes the program names or treats apart.
namespace Vk {
enum : int {
    Back = 0x08, Tab = 0x09, Clear = 0x0C, Return = 0x0D,
    Shift = 0x10, Control = 0x11, Menu = 0x12, Pause = 0x13, Capital = 0x14,
    Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24,
    Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Snapshot = 0x2C, Insert = 0x2D, Delete = 0x2E,
    Key0 = 0x30, KeyA = 0x41, LWin = 0x5B, RWin = 0x5C, Apps = 0x5D, Sleep = 0x5F,
    Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Separator = 0x6C, Subtract = 0x6D,
    Decimal = 0x6E, Divide = 0x6F, F1 = 0x70, F10 = 0x79, F12 = 0x7B, F13 = 0x7C, F24 = 0x87,
    NumLock = 0x90, Scroll = 0x91,
    LShift = 0xA0, RShift = 0xA1, LControl = 0xA2, RControl = 0xA3, LMenu = 0xA4, RMenu = 0xA5,
    BrowserBack = 0xA6, BrowserForward = 0xA7, BrowserRefresh = 0xA8, BrowserStop = 0xA9,
    BrowserSearch = 0xAA, BrowserFavorites = 0xAB, BrowserHome = 0xAC,
    VolumeMute = 0xAD, VolumeDown = 0xAE, VolumeUp = 0xAF,
    MediaNextTrack = 0xB0, MediaPrevTrack = 0xB1, MediaStop = 0xB2, MediaPlayPause = 0xB3,
    LaunchMail = 0xB4, LaunchMediaSelect = 0xB5, LaunchApp1 = 0xB6, LaunchApp2 = 0xB7,
    Oem1 = 0xBA, OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD, OemPeriod = 0xBE, Oem2 = 0xBF,
    Oem3 = 0xC0, Oem4 = 0xDB, Oem5 = 0xDC, Oem6 = 0xDD, Oem7 = 0xDE, Oem102 = 0xE2,
};
} // namespace Vk

// Windows virtual-key codes for the program's key events. The key entry dialogs
// and the macro recorder work with these codes (and the device expects keys named
// the way they name them), so every key event is turned into one.
//
// A key event that comes from X11 (or Wayland) carries the X keycode, which is the
// Linux input code + 8 and names a physical key: it is read through a US-layout
// table, so left and right modifiers stay apart and a key keeps its code whatever
// the layout or the modifiers. Events without a scan code (synthetic events, the
// offscreen platform) are read from their Qt::Key.
class VirtualKeyTable {
public:
    // The code for an event; 0 when the key has none.
    static int FromEvent(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

    // The code of a physical key by its Linux input code (X keycode - 8), for a
    // US layout; keypad digits and the keypad point read as with Num Lock on.
    // 0 when the key has none.
    static int FromInputCode(quint32 inputCode);

    // The code for a Qt key; keypad keys are told by Qt::KeypadModifier. Modifier
    // keys read as their left key (Qt does not tell left from right).
    static int FromQtKey(int qtKey, Qt::KeyboardModifiers modifiers);
};
