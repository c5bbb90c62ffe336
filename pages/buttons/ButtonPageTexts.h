#pragma once

#include "core/LanguageTexts.h"

#include <QVector>

namespace Ui {
class Buttoninterface;
}
class ButtonFunctionTable;
class QString;
class QToolButton;

// The button page's language texts: its page buttons, the six row labels,
// the function list, the consumer keys and the named panel buttons by object
// name, the macro and profile prefixes kept in the strings given, and the
// debounce list's unit texts.
class ButtonPageTexts {
public:
    static QVector<LanguageTexts::Child> Children(Ui::Buttoninterface* ui, const QVector<QToolButton*>& labels,
                                                  const ButtonFunctionTable& functions, QString* macroPrefix,
                                                  QString* profilePrefix);
};
