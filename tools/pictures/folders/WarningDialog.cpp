// The small modal dialogs and the key-entry dialogs.
#include "Recipes.h"

static const PictureTable::Add warningDialog{{
    QStringLiteral("WarningDialog"),
    {
        {QStringLiteral("BackGround"), 300, 140, Recipes::DialogBackground, State::Normal},
        {QStringLiteral("Close"), 20, 20, Recipes::IconClose, State::Normal},
        {QStringLiteral("CloseHover"), 20, 20, Recipes::IconClose, State::Hover},
        {QStringLiteral("CloseClick"), 20, 20, Recipes::IconClose, State::Pressed},
        {QStringLiteral("Confirm"), 90, 24, Recipes::Button, State::Normal},
        {QStringLiteral("ConfirmClick"), 90, 24, Recipes::Button, State::Pressed},
        // The offline notice names its button pictures with another case.
        {QStringLiteral("ConFirm"), 90, 24, Recipes::Button, State::Normal},
        {QStringLiteral("ConFirmClick"), 90, 24, Recipes::Button, State::Pressed},
        // The start and cancel buttons of the update and repair dialog.
        {QStringLiteral("ok_nr"), 120, 24, Recipes::Button, State::Normal},
        {QStringLiteral("ok_enter"), 120, 24, Recipes::Button, State::Hover},
        {QStringLiteral("CheckBox"), 16, 16, Recipes::CheckBox, State::Normal},
        {QStringLiteral("CheckBoxCheck"), 16, 16, Recipes::CheckBox, State::Checked},
        // The arrows of the number fields and drop-down lists in Qt's own
        // dialogs (file chooser, colour dialog).
        {QStringLiteral("ArrowUp"), 12, 12, Recipes::IconArrowUp, State::Normal},
        {QStringLiteral("ArrowDown"), 12, 12, Recipes::IconArrowDown, State::Normal},
    },
}};
