// The light-off time list of the settings and lighting pages.
#include "Recipes.h"

static const PictureTable::Add light{{
    QStringLiteral("Light"),
    {
        // The list's field, its open list and its arrow.
        {QStringLiteral("ComboboxBack"), 131, 34, Recipes::Panel, State::Normal},
        {QStringLiteral("ComboboxTextBack"), 131, 34, Recipes::FlatPanel, State::Normal},
        {QStringLiteral("Menu"), 14, 14, Recipes::IconArrowDown, State::Normal},
        {QStringLiteral("MenuClicked"), 14, 14, Recipes::IconArrowDown, State::Checked},
    },
}};
