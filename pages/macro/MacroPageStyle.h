#pragma once

#include <QString>

namespace Ui {
class Macro;
}

// The style sheets of the macro editor page, from the pictures of its folder
// and the product's colours. GUI thread.
class MacroPageStyle {
public:
    // The lists, the insert list, labels, check boxes, buttons, the record
    // buttons and the number fields; the buttons' text in buttonColour.
    static void Apply(Ui::Macro* ui, const QString& pictureFolder, const QString& buttonColour);
    // A page button that can be pressed: Button.png with its hover and
    // pressed pictures, its text in textColour ("r,g,b").
    static QString ButtonRule(const QString& pictureFolder, const QString& textColour);
    // Save while there is nothing to save: Button.png, the text grey.
    static QString InactiveButtonRule(const QString& pictureFolder);
};
