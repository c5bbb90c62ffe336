#include "platform/VirtualKeyTable.h"

#include <linux/input-event-codes.h>

#include <array>

namespace {

// Linux input code -> virtual-key code, US layout.
constexpr std::array<quint8, KEY_MEDIA + 1> InputCodeTable()
{
    std::array<quint8, KEY_MEDIA + 1> t{};
    t[KEY_ESC] = Vk::Escape;
    const int digitRow[] = {KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
    for (int n = 0; n < 9; ++n)
        t[digitRow[n]] = quint8(Vk::Key0 + 1 + n);
    t[KEY_0] = Vk::Key0;
    t[KEY_MINUS] = Vk::OemMinus;
    t[KEY_EQUAL] = Vk::OemPlus;
    t[KEY_BACKSPACE] = Vk::Back;
    t[KEY_TAB] = Vk::Tab;
    const int letters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                           KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                           KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    for (int n = 0; n < 26; ++n)
        t[letters[n]] = quint8(Vk::KeyA + n);
    t[KEY_LEFTBRACE] = Vk::Oem4;
    t[KEY_RIGHTBRACE] = Vk::Oem6;
    t[KEY_ENTER] = Vk::Return;
    t[KEY_LEFTCTRL] = Vk::LControl;
    t[KEY_SEMICOLON] = Vk::Oem1;
    t[KEY_APOSTROPHE] = Vk::Oem7;
    t[KEY_GRAVE] = Vk::Oem3;
    t[KEY_LEFTSHIFT] = Vk::LShift;
    t[KEY_BACKSLASH] = Vk::Oem5;
    t[KEY_COMMA] = Vk::OemComma;
    t[KEY_DOT] = Vk::OemPeriod;
    t[KEY_SLASH] = Vk::Oem2;
    t[KEY_RIGHTSHIFT] = Vk::RShift;
    t[KEY_KPASTERISK] = Vk::Multiply;
    t[KEY_LEFTALT] = Vk::LMenu;
    t[KEY_SPACE] = Vk::Space;
    t[KEY_CAPSLOCK] = Vk::Capital;
    const int functionKeys[] = {KEY_F1, KEY_F2, KEY_F3, KEY_F4, KEY_F5, KEY_F6,
                                KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12};
    for (int n = 0; n < 12; ++n)
        t[functionKeys[n]] = quint8(Vk::F1 + n);
    for (int n = 0; n < 12; ++n)
        t[KEY_F13 + n] = quint8(Vk::F13 + n);
    t[KEY_NUMLOCK] = Vk::NumLock;
    t[KEY_SCROLLLOCK] = Vk::Scroll;
    const int keypadDigits[] = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4,
                                KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9};
    for (int n = 0; n < 10; ++n)
        t[keypadDigits[n]] = quint8(Vk::Numpad0 + n);
    t[KEY_KPMINUS] = Vk::Subtract;
    t[KEY_KPPLUS] = Vk::Add;
    t[KEY_KPDOT] = Vk::Decimal;
    t[KEY_102ND] = Vk::Oem102;
    t[KEY_KPENTER] = Vk::Return;
    t[KEY_RIGHTCTRL] = Vk::RControl;
    t[KEY_KPSLASH] = Vk::Divide;
    t[KEY_SYSRQ] = Vk::Snapshot;
    t[KEY_RIGHTALT] = Vk::RMenu;
    t[KEY_HOME] = Vk::Home;
    t[KEY_UP] = Vk::Up;
    t[KEY_PAGEUP] = Vk::Prior;
    t[KEY_LEFT] = Vk::Left;
    t[KEY_RIGHT] = Vk::Right;
    t[KEY_END] = Vk::End;
    t[KEY_DOWN] = Vk::Down;
    t[KEY_PAGEDOWN] = Vk::Next;
    t[KEY_INSERT] = Vk::Insert;
    t[KEY_DELETE] = Vk::Delete;
    t[KEY_MUTE] = Vk::VolumeMute;
    t[KEY_VOLUMEDOWN] = Vk::VolumeDown;
    t[KEY_VOLUMEUP] = Vk::VolumeUp;
    t[KEY_PAUSE] = Vk::Pause;
    t[KEY_KPCOMMA] = Vk::Separator;
    t[KEY_LEFTMETA] = Vk::LWin;
    t[KEY_RIGHTMETA] = Vk::RWin;
    t[KEY_COMPOSE] = Vk::Apps;
    t[KEY_STOP] = Vk::BrowserStop;
    t[KEY_CALC] = Vk::LaunchApp2;
    t[KEY_SLEEP] = Vk::Sleep;
    t[KEY_MAIL] = Vk::LaunchMail;
    t[KEY_BOOKMARKS] = Vk::BrowserFavorites;
    t[KEY_COMPUTER] = Vk::LaunchApp1;
    t[KEY_BACK] = Vk::BrowserBack;
    t[KEY_FORWARD] = Vk::BrowserForward;
    t[KEY_NEXTSONG] = Vk::MediaNextTrack;
    t[KEY_PLAYPAUSE] = Vk::MediaPlayPause;
    t[KEY_PREVIOUSSONG] = Vk::MediaPrevTrack;
    t[KEY_STOPCD] = Vk::MediaStop;
    t[KEY_HOMEPAGE] = Vk::BrowserHome;
    t[KEY_REFRESH] = Vk::BrowserRefresh;
    t[KEY_SEARCH] = Vk::BrowserSearch;
    t[KEY_MEDIA] = Vk::LaunchMediaSelect;
    return t;
}

constexpr std::array<quint8, KEY_MEDIA + 1> InputCodes = InputCodeTable();

bool IsKeypadDigitOrPoint(quint32 inputCode)
{
    switch (inputCode) {
    case KEY_KP0: case KEY_KP1: case KEY_KP2: case KEY_KP3: case KEY_KP4:
    case KEY_KP5: case KEY_KP6: case KEY_KP7: case KEY_KP8: case KEY_KP9:
    case KEY_KPDOT:
        return true;
    default:
        return false;
    }
}

int KeypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return Vk::Numpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return Vk::Multiply;
    case Qt::Key_Plus: return Vk::Add;
    case Qt::Key_Minus: return Vk::Subtract;
    case Qt::Key_Period: return Vk::Decimal;
    case Qt::Key_Comma: return Vk::Separator;
    case Qt::Key_Slash: return Vk::Divide;
    case Qt::Key_Enter: case Qt::Key_Return: return Vk::Return;
    default: return 0;
    }
}

} // namespace

int VirtualKeyTable::FromInputCode(quint32 inputCode)
{
    return inputCode < InputCodes.size() ? InputCodes[inputCode] : 0;
}

int VirtualKeyTable::FromEvent(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode)
{
    if (nativeScanCode > 8) {
        const quint32 inputCode = nativeScanCode - 8;
        // The keypad digits and point follow Num Lock: Qt has already read the
        // lock, so its key tells a digit from Home, End, Clear, Delete...
        if (IsKeypadDigitOrPoint(inputCode)) {
            const int navigation = FromQtKey(qtKey, modifiers & ~Qt::KeypadModifier);
            const bool digitOrPoint = (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
                || qtKey == Qt::Key_Period || qtKey == Qt::Key_Comma;
            if (!digitOrPoint && navigation != 0)
                return navigation;
        }
        if (const int vk = FromInputCode(inputCode))
            return vk;
    }
    return FromQtKey(qtKey, modifiers);
}

int VirtualKeyTable::FromQtKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (const int vk = KeypadKey(qtKey))
            return vk;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return Vk::Key0 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return Vk::KeyA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return Vk::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Escape: return Vk::Escape;
    case Qt::Key_Tab: case Qt::Key_Backtab: return Vk::Tab;
    case Qt::Key_Backspace: return Vk::Back;
    case Qt::Key_Return: case Qt::Key_Enter: return Vk::Return;
    case Qt::Key_Insert: return Vk::Insert;
    case Qt::Key_Delete: return Vk::Delete;
    case Qt::Key_Pause: return Vk::Pause;
    case Qt::Key_Print: case Qt::Key_SysReq: return Vk::Snapshot;
    case Qt::Key_Clear: return Vk::Clear;
    case Qt::Key_Home: return Vk::Home;
    case Qt::Key_End: return Vk::End;
    case Qt::Key_Left: return Vk::Left;
    case Qt::Key_Up: return Vk::Up;
    case Qt::Key_Right: return Vk::Right;
    case Qt::Key_Down: return Vk::Down;
    case Qt::Key_PageUp: return Vk::Prior;
    case Qt::Key_PageDown: return Vk::Next;
    case Qt::Key_Shift: return Vk::LShift;
    case Qt::Key_Control: return Vk::LControl;
    case Qt::Key_Alt: return Vk::LMenu;
    case Qt::Key_AltGr: return Vk::RMenu;
    case Qt::Key_Meta: case Qt::Key_Super_L: return Vk::LWin;
    case Qt::Key_Super_R: return Vk::RWin;
    case Qt::Key_Menu: return Vk::Apps;
    case Qt::Key_CapsLock: return Vk::Capital;
    case Qt::Key_NumLock: return Vk::NumLock;
    case Qt::Key_ScrollLock: return Vk::Scroll;
    case Qt::Key_Space: return Vk::Space;
    // The US layout's shifted digits and punctuation.
    case Qt::Key_ParenRight: return Vk::Key0;
    case Qt::Key_Exclam: return Vk::Key0 + 1;
    case Qt::Key_At: return Vk::Key0 + 2;
    case Qt::Key_NumberSign: return Vk::Key0 + 3;
    case Qt::Key_Dollar: return Vk::Key0 + 4;
    case Qt::Key_Percent: return Vk::Key0 + 5;
    case Qt::Key_AsciiCircum: return Vk::Key0 + 6;
    case Qt::Key_Ampersand: return Vk::Key0 + 7;
    case Qt::Key_Asterisk: return Vk::Key0 + 8;
    case Qt::Key_ParenLeft: return Vk::Key0 + 9;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return Vk::Oem1;
    case Qt::Key_Equal: case Qt::Key_Plus: return Vk::OemPlus;
    case Qt::Key_Comma: case Qt::Key_Less: return Vk::OemComma;
    case Qt::Key_Minus: case Qt::Key_Underscore: return Vk::OemMinus;
    case Qt::Key_Period: case Qt::Key_Greater: return Vk::OemPeriod;
    case Qt::Key_Slash: case Qt::Key_Question: return Vk::Oem2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return Vk::Oem3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return Vk::Oem4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return Vk::Oem5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return Vk::Oem6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return Vk::Oem7;
    case Qt::Key_Sleep: return Vk::Sleep;
    case Qt::Key_Back: return Vk::BrowserBack;
    case Qt::Key_Forward: return Vk::BrowserForward;
    case Qt::Key_Refresh: return Vk::BrowserRefresh;
    case Qt::Key_Stop: return Vk::BrowserStop;
    case Qt::Key_Search: return Vk::BrowserSearch;
    case Qt::Key_Favorites: return Vk::BrowserFavorites;
    case Qt::Key_HomePage: return Vk::BrowserHome;
    case Qt::Key_VolumeMute: return Vk::VolumeMute;
    case Qt::Key_VolumeDown: return Vk::VolumeDown;
    case Qt::Key_VolumeUp: return Vk::VolumeUp;
    case Qt::Key_MediaNext: return Vk::MediaNextTrack;
    case Qt::Key_MediaPrevious: return Vk::MediaPrevTrack;
    case Qt::Key_MediaStop: return Vk::MediaStop;
    case Qt::Key_MediaPlay: case Qt::Key_MediaTogglePlayPause: return Vk::MediaPlayPause;
    case Qt::Key_LaunchMail: return Vk::LaunchMail;
    case Qt::Key_LaunchMedia: return Vk::LaunchMediaSelect;
    case Qt::Key_Launch0: return Vk::LaunchApp1;
    case Qt::Key_Launch1: case Qt::Key_Calculator: return Vk::LaunchApp2;
    default: return 0;
    }
}
