#pragma once

#include <QString>
#include <QStringList>

// The names of keys as the key entry dialogs show them and hand them on: the
// button page and the macro editor turn these exact texts into device key events,
// so every character counts.
//
// One table in two variants: Full (macro keys) names the modifier keys too;
// Combination (key combinations) leaves out "LWin", "RWin", "LShift", "RShift",
// "LCtrl", "RCtrl" and "LAlt", which the combination dialog takes from check
// boxes. Recorder (the macro recorder) is Full with "Space", "RAlt" and the
// key Clear (keypad 5 without Num Lock), whose name is empty. A key named in
// several variants has the same name in each.
class KeyNames {
public:
    enum Variant { Full, Combination, Recorder };

    // The name of a virtual-key code; empty when the key has none.
    static QString Name(int vk, Variant variant);
    // Whether the variant names the key (its name may be empty).
    static bool Known(int vk, Variant variant);

    // The items of a combination text ("Ctrl+Num++A" -> "Ctrl", "Num+", "A"):
    // items are joined by "+", and "Num+", which holds the separator itself,
    // is one item. Separators with nothing between them give no item.
    static QStringList SplitCombination(const QString& text);
};
