#pragma once

#include "core/LanguageTexts.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace Ui {
class Macro;
}

// The macro editor's language texts: its labels and buttons by object name,
// the insert list's entries (the mouse ones also name MouseButtonNames), the
// recording text kept in realText and the five macro list menu entries kept
// in menuTexts (which holds five).
class MacroPageTexts {
public:
    static QVector<LanguageTexts::Child> Children(Ui::Macro* ui, QString* realText, QStringList* menuTexts);
};
