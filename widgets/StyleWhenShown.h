#pragma once

#include <QString>

class QWidget;

// Gives a widget its style sheet now when it would be seen with its window,
// else the first time it is shown. The pictures of a style sheet are decoded
// when the style sheet is set; a widget that starts hidden (a popup, an arrow
// with nothing to page to, an offline marker of a device that is online) does
// not make its window's start pay for them.
void SetStyleSheetWhenShown(QWidget* widget, const QString& styleSheet);
