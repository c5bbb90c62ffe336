#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

struct DeviceEvent;

// The key names of macro rows and their device codes: one vocabulary for the
// macro editor, the macro files and the button page.
//
// A name stands for an event of one kind: 1 a keyboard key (its USB HID
// usage), 0 a modifier (a bit of the modifier byte), 4 a mouse button (a bit
// of the button byte). Keyboard keys: "A"-"Z", "0"-"9", "Enter", "Esc",
// "BackSpace", "Tab", "Space", "-", "=", "[", "]", "\", ";", "'", "`", ",",
// ".", "/", "CapsLock", "F1"-"F12", "Screen", "Scroll", "Pause", "Insert",
// "Home", "PgUp", "Del", "End", "PgDn", the four arrows, "NumLock", "Num/",
// "Num*", "Num-", "Num+", "Num0"-"Num9", "Num.", "APPs", and the empty name
// (usage 0). Modifiers: "LCtrl" ... "RWin". Mouse buttons: the current
// language's MouseButtonNames.
//
// Names compare exactly. Where a text could match twice the first of these
// wins: keyboard names other than F1-F12 and the modifiers, the empty name,
// the mouse names (left, right, middle, back, forward), F1-F12.
//
// In files a code is written "0x" and two upper-case hex digits, the kind as
// its number. GUI thread (the mouse names are the GUI thread's).
class MacroKeyCodes {
public:
    enum Kind { Modifier = 0, Key = 1, Mouse = 4 };

    struct Entry {
        QString name;
        int kind = Key;
        int code = 0;
    };
    // The fixed part of the vocabulary: the keyboard names, the empty name
    // and the modifiers, in table order.
    static const QVector<Entry>& Entries();

    // The kind and code of a name; false for a name outside the vocabulary.
    static bool CodeOf(const QString& name, int* kind, int* code);
    // [code text, kind text] of a name, or an empty list.
    static QStringList KeyCodeFromName(const QString& name);
    // The name of a file code ("0x04") in a kind; the empty name for a code
    // text of another form, an unknown code or another kind.
    static QString NameFromHidCode(const QString& code, int kind);
    // Whether a file code ("0x04") is one of the vocabulary in the kind (the
    // mouse bits whatever their names); *value gets the code when given.
    static bool KnownCode(const QString& code, int kind, int* value);
    // The name of an event read from a device block (a key or a modifier):
    // codes that are both a key usage and a modifier bit go by the kind;
    // 0x58 (keypad Enter) is "Enter".
    static QString NameFromDeviceCode(int code, int kind);
    // The mouse name of button bit 1, 2, 4, 8 or 16; empty otherwise.
    static QString MouseNameFromMask(int bit);
    // "0x" and two upper-case hex digits.
    static QString CodeText(int code);
    // Sets the kind and code of an event from a name: a name outside the
    // vocabulary gives kind 1 and leaves the code as it was.
    static void FillDeviceEvent(const QString& name, DeviceEvent* event);
};

// The name of a macro file's key code in a kind (MacroKeyCodes::NameFromHidCode).
QString KeyNameFromHidCode(const QString& code, int kind);
