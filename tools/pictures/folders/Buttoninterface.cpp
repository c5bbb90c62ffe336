// The button assignment page.
#include "ButtonRecipes.h"
#include "Recipes.h"

static const PictureTable::Add buttoninterface{{
    QStringLiteral("Buttoninterface"),
    {
        // The mouse behind the page's button markers (every model).
        {QStringLiteral("mouse0"), 432, 356, Recipes::MouseTopView, State::Normal},
        // The markers on the mouse: light discs under their dark digits.
        {QStringLiteral("NumberOrigin"), 38, 38, Recipes::MarkerDisc, State::Normal},
        {QStringLiteral("NumberHover"), 38, 38, Recipes::MarkerDisc, State::Hover},
        {QStringLiteral("NumberClick"), 38, 38, Recipes::MarkerDisc, State::Pressed},
        // The button rows and their numbers.
        {QStringLiteral("AMenuTitle"), 262, 26, Recipes::Button, State::Normal},
        {QStringLiteral("AMenuTitleChecked"), 262, 26, Recipes::Button, State::Checked},
        {QStringLiteral("LabelNumber"), 24, 24, Recipes::MarkerDisc, State::Normal},
        // The function list: functions, and categories that open a panel.
        {QStringLiteral("BMenuTitle"), 164, 22, Recipes::Button, State::Normal},
        {QStringLiteral("BMenuTitleChecked"), 164, 22, Recipes::Button, State::Checked},
        {QStringLiteral("BMenuTitleB"), 164, 22, Recipes::CategoryButton, State::Normal},
        {QStringLiteral("BMenuTitleCheckedB"), 164, 22, Recipes::CategoryButton, State::Checked},
        // The panel's choices and the macro list.
        {QStringLiteral("CMenuTitle"), 174, 22, Recipes::Button, State::Normal},
        {QStringLiteral("CMenuTitleChecked"), 174, 22, Recipes::Button, State::Checked},
        // Reset, import and export.
        {QStringLiteral("Reset"), 90, 26, Recipes::Button, State::Normal},
        {QStringLiteral("ResetHover"), 90, 26, Recipes::Button, State::Hover},
        {QStringLiteral("ResetClick"), 90, 26, Recipes::Button, State::Pressed},
        // The onboard configuration choice and its icon.
        {QStringLiteral("Config"), 20, 14, Recipes::ProfileIcon, State::Normal},
        {QStringLiteral("ComboboxBack"), 128, 24, Recipes::Panel, State::Normal},
        {QStringLiteral("ComboboxTextBack"), 128, 50, Recipes::FlatPanel, State::Normal},
        {QStringLiteral("Menu"), 14, 14, Recipes::IconArrowDown, State::Normal},
        {QStringLiteral("MenuClicked"), 14, 14, Recipes::IconArrowDown, State::Checked},
        // The lower panel's ground.
        {QStringLiteral("TiltleBack"), 862, 216, Recipes::Panel, State::Normal},
    },
}};
