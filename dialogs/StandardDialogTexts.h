#pragma once

#include <QString>

// Qt's own dialogs (the file chooser, the colour dialog) in the program's
// language: Qt's translation of that language from Qt's translations folder,
// where the system has one (Debian: qttranslations5-l10n); Qt's English texts
// where it has none. The program's own windows take their texts from the
// language files: they are not told of the change, only Qt's dialogs are,
// also those already made. GUI thread.
class StandardDialogTexts {
public:
    // Installs the translation of the language index (the indices of
    // LanguageTexts), in place of the one before. False when the system has
    // none for it; English needs none.
    static bool Load(int index);
    // Qt's name of the language of an index ("zh_CN"); "" for English.
    static QString LocaleName(int index);
};
