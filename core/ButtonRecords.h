#pragma once

#include "core/KeyRecord.h"
#include "core/MacroBlock.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The records behind the button page's labels: key combinations and consumer
// keys as key records, the key names a stored record shows, and the page's
// fixed tables. Pure functions; the page hands what they build to the setters.
class ButtonRecords {
public:
    // A key record holds three pressed keys (six events).
    static constexpr int MaxComboItems = KeyRecord::MaxEvents / 2;
    // The device buttons the page shows, and the records the image holds.
    static constexpr int ShownButtons = 6;
    static constexpr int ImageButtons = 16;

    // The items of a combination text: split at "+" keeping empty parts
    // ("Ctrl+" gives "Ctrl" and ""), with "Num+" one item as the combination
    // dialog counts it. An empty text is one empty item.
    static QStringList ComboItems(const QString& text);
    // The key record of a combination: its keys pressed in order, then
    // released in reverse, 10 ms after each event. False (record untouched)
    // when the text has more items than a record holds.
    static bool ComboKeyRecord(const QString& text, KeyRecord* record);
    // Fills the press (event index) and the release (event 2 * count - 1 -
    // index) of one key into the record.
    static KeyRecord FillComboKeyEvent(const QString& keyName, int index, int count, KeyRecord record);
    // Kind and code of a combination key name; unknown names and "" are
    // keyboard code 0.
    static void ComboKeyCode(const QString& keyName, int* kind, int* code);

    // The record of one consumer key: a press and a release, 10 ms each.
    static KeyRecord ConsumerKeyRecord(int usage);

    // The name a label shows for one key event of a stored record (the low
    // byte of its code and its kind); empty when it has none.
    static QString KeyNameFromDeviceCode(int code, int kind);
    // The text of a stored combination: the names of its pressed keys (count
    // / 2 events) joined by "+".
    static QString ComboText(const KeyRecord& record);

    // A macro's name as bytes on the mouse and back, losing nothing: UTF-8,
    // where a byte that is no part of UTF-8 (a name another program or
    // locale wrote) reads as the private-use character U+F700 + byte and is
    // written back as that byte. Distinct bytes give distinct names; a name
    // that does not come back from its bytes (NameOfBytes(NameBytes(name))
    // differs) cannot name a macro (MacroFile::NameAllowed).
    static QByteArray NameBytes(const QString& name);
    static QString NameOfBytes(const QByteArray& bytes);
    // The longest leading part of whole characters of a macro's name whose
    // bytes fit a block's 30-byte name field: the name as the mouse keeps it.
    static QString BlockName(const QString& name);
    // A macro's name in a block: the bytes of BlockName, the field's rest
    // zero, the length byte the number of bytes written.
    static void SetMacroName(MacroBlock* block, const QString& name);
    // The name a block holds: the bytes its length byte counts (at most the
    // field's 30), up to the first zero byte among them (NameOfBytes). The one
    // reading of a name from the mouse.
    static QString MacroName(const MacroBlock& block);

    // What a model's key parameter ("KeyParam1" ... of its group, as a list
    // of items) gives a button whose macro is deleted: a consumer key
    // ("0x05", _, "CD"), a combination ("0x05", _, _, "Ctrl+C") of at most
    // three items, else the button's default function.
    struct KeyParameter {
        enum Kind { Default, Consumer, Combination };
        Kind kind = Default;
        int code = 0;      // the consumer key's low byte (any value the text gives)
        QString text;      // the combination
    };
    static KeyParameter KeyParameterOf(const QStringList& items);

    // The defaults of the six shown buttons, by device button: left, right,
    // middle, back and forward click, DPI cycle.
    static const int DefaultTypes[ShownButtons];
    static const int DefaultValues1[ShownButtons];
};
