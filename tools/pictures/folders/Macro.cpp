// The macro editor.
#include "MacroRecipes.h"
#include "Recipes.h"

static const PictureTable::Add macro{{
    QStringLiteral("Macro"),
    {
        // Scroll-bar arrows of the two lists.
        {QStringLiteral("Up"), 15, 15, Recipes::ScrollArrowUp, State::Normal},
        {QStringLiteral("Down"), 15, 15, Recipes::ScrollArrowDown, State::Normal},
        // The event drop-down list: the field, the open list and the arrow.
        {QStringLiteral("ComboboxBack"), 181, 30, Recipes::Panel, State::Normal},
        {QStringLiteral("ComboboxTextBack"), 181, 30, Recipes::FlatPanel, State::Normal},
        {QStringLiteral("Menu"), 14, 14, Recipes::IconArrowDown, State::Normal},
        {QStringLiteral("MenuClicked"), 14, 14, Recipes::IconArrowDown, State::Checked},
        // The page's buttons (New, Delete, Change, Save).
        {QStringLiteral("Button"), 116, 30, Recipes::Button, State::Normal},
        {QStringLiteral("ButtonHover"), 116, 30, Recipes::Button, State::Hover},
        {QStringLiteral("ButtonClick"), 116, 30, Recipes::Button, State::Pressed},
        // Check boxes of the delay and repeat modes.
        {QStringLiteral("CheckBox"), 16, 16, Recipes::CheckBox, State::Normal},
        {QStringLiteral("CheckBoxCheck"), 16, 16, Recipes::CheckBox, State::Checked},
        // Start and stop of a recording.
        {QStringLiteral("Record"), 190, 32, Recipes::RecordButton, State::Normal},
        {QStringLiteral("RecordHover"), 190, 32, Recipes::RecordButton, State::Hover},
        {QStringLiteral("Stop"), 190, 32, Recipes::StopButton, State::Normal},
        {QStringLiteral("StopHover"), 190, 32, Recipes::StopButton, State::Hover},
        // Row icons: key pressed, key released, delay.
        {QStringLiteral("MacroDown"), 16, 16, Recipes::RowPress, State::Normal},
        {QStringLiteral("MacroUp"), 16, 16, Recipes::RowRelease, State::Normal},
        {QStringLiteral("MacroTime"), 16, 16, Recipes::RowDelay, State::Normal},
    },
}};
