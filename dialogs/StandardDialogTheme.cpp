#include "dialogs/StandardDialogTheme.h"

#include "core/StyleSheet.h"

#include <QDialog>

void StandardDialogTheme::Apply(QDialog* dialog)
{
    // The palette paints what the rules leave open (icons' disabled tint,
    // the colour dialog's drawn parts); the rules come before the style
    // sheets of the page the dialog opens from.
    dialog->setPalette(StyleSheet::DarkPalette());
    dialog->setStyleSheet(StyleSheet::StandardDialogRule(StyleSheet::PictureFolder(QStringLiteral("WarningDialog"))));
}
