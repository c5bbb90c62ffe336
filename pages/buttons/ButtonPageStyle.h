#pragma once

#include <QString>
#include <QVector>

namespace Ui {
class Buttoninterface;
}
class ButtonFunctionTable;
class QToolButton;

// The style sheets of the button page, from the pictures of its folder and
// the product's button colour ("r,g,b"). GUI thread.
class ButtonPageStyle {
public:
    // The page's lists (an entry that opens a panel of its own, as the
    // function table says, shows its arrow), panels, rows, markers (the six
    // row markers), the profile choice and the page's buttons.
    static void Apply(Ui::Buttoninterface* ui, const ButtonFunctionTable& functions, const QString& pictureDir,
                      const QString& buttonColour, const QVector<QToolButton*>& markers);
    // The title ground and the borderless frames and scroll areas; applied
    // once the page's texts are loaded.
    static void ApplyFrames(Ui::Buttoninterface* ui, const QString& pictureDir);
    // A button of the macro list.
    static QString MacroButtonRule(const QString& pictureDir, const QString& buttonColour);
    // The mouse picture behind the row markers.
    static QString MouseRule(const QString& pictureDir);
    // The width of a list's scroll bar.
    static QString ScrollBarWidth(int pixels);
};
