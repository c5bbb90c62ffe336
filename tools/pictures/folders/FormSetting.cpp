// The settings page.
#include "Recipes.h"
#include "SensorRecipes.h"
#include "SettingRecipes.h"

static const PictureTable::Add formSetting{{
    QStringLiteral("FormSetting"),
    {
        {QStringLiteral("PariButton"), 112, 26, Recipes::Button, State::Normal},
        {QStringLiteral("Title"), 16, 10, Recipes::SectionMarker, State::Normal},
        {QStringLiteral("Mouse"), 14, 20, Recipes::MouseTopView, State::Normal},
        // The language list: the field, the open list and the arrow.
        {QStringLiteral("ComboboxBack"), 142, 30, Recipes::Panel, State::Normal},
        {QStringLiteral("ComboboxTextBack"), 142, 30, Recipes::FlatPanel, State::Normal},
        {QStringLiteral("Menu"), 14, 14, Recipes::IconArrowDown, State::Normal},
        {QStringLiteral("MenuClicked"), 14, 14, Recipes::IconArrowDown, State::Checked},
        // The on/off boxes (session start, long range) and the receiver
        // light options, one of three.
        {QStringLiteral("CheckBox"), 16, 16, Recipes::CheckBox, State::Normal},
        {QStringLiteral("CheckBoxChecked"), 16, 16, Recipes::CheckBox, State::Checked},
        {QStringLiteral("CheckBox2"), 16, 16, Recipes::ChoiceMark, State::Normal},
        {QStringLiteral("CheckBoxCheck"), 16, 16, Recipes::ChoiceMark, State::Checked},
        // The marker beside a version whose update could not run.
        {QStringLiteral("Picture"), 14, 14, Recipes::WarningMark, State::Normal},
        // The update button: other firmware exists, or nothing to update.
        {QStringLiteral("WaitUpdate"), 128, 26, Recipes::Button, State::Checked},
        {QStringLiteral("WaitUpdateHover"), 128, 26, Recipes::Button, State::Hover},
        {QStringLiteral("Confirm"), 128, 26, Recipes::Button, State::Normal},
    },
}};
