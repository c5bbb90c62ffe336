// The sensor page, its DPI panel and its option frames.
#include "Recipes.h"
#include "SensorRecipes.h"
#include "SettingRecipes.h"

static const PictureTable::Add sensor{{
    QStringLiteral("Sensor"),
    {
        // Slider handle and the step buttons of the DPI value.
        {QStringLiteral("HuaKuai"), 5, 50, Recipes::SliderHandle, State::Normal},
        {QStringLiteral("Reduce"), 14, 4, Recipes::IconMinus, State::Normal},
        {QStringLiteral("Add"), 14, 14, Recipes::IconPlus, State::Normal},
        // The on/off toggles of the switch options.
        {QStringLiteral("Close"), 36, 18, Recipes::Switch, State::Normal},
        {QStringLiteral("Open"), 36, 18, Recipes::Switch, State::Checked},
        // Drop-down lists: the field, the open list and the arrow.
        {QStringLiteral("ComboboxBack"), 130, 30, Recipes::Panel, State::Normal},
        {QStringLiteral("ComboboxTextBack"), 130, 50, Recipes::FlatPanel, State::Normal},
        {QStringLiteral("Menu"), 14, 14, Recipes::IconArrowDown, State::Normal},
        {QStringLiteral("MenuClicked"), 14, 14, Recipes::IconArrowDown, State::Checked},
        // One choice among several (lift-off distance, light mode).
        {QStringLiteral("LOD"), 16, 16, Recipes::ChoiceMark, State::Normal},
        {QStringLiteral("LODCheck"), 16, 16, Recipes::ChoiceMark, State::Checked},
        // The DPI stage panel: the stage marker, the stage buttons and the
        // frames over the colour swatches, each at rest and selected.
        {QStringLiteral("Level"), 30, 30, Recipes::StageMarker, State::Normal},
        {QStringLiteral("LevelHover"), 30, 30, Recipes::StageMarker, State::Hover},
        {QStringLiteral("MinA"), 54, 56, Recipes::StageButton, State::Normal},
        {QStringLiteral("MaxA"), 68, 70, Recipes::StageButton, State::Checked},
        {QStringLiteral("MinB"), 50, 12, Recipes::SwatchFrame, State::Normal},
        {QStringLiteral("MaxB"), 66, 14, Recipes::SwatchFrame, State::Checked},
        // The report-rate buttons, the checked rate in the accent.
        {QStringLiteral("ReportRate"), 74, 26, Recipes::Button, State::Normal},
        {QStringLiteral("ReportRateClick"), 74, 26, Recipes::Button, State::Checked},
        // The page: the performance switch's box and the section markers.
        {QStringLiteral("CheckBox"), 16, 16, Recipes::CheckBox, State::Normal},
        {QStringLiteral("CheckBoxChecked"), 16, 16, Recipes::CheckBox, State::Checked},
        {QStringLiteral("Title"), 16, 10, Recipes::SectionMarker, State::Normal},
    },
}};
