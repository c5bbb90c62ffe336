// The top window and the configuration frame: ground, page buttons, window
// buttons, battery and the program's icon.
#include "FrameRecipes.h"
#include "Recipes.h"

static const PictureTable::Add dialog{{
    QStringLiteral("Dialog"),
    {
        {QStringLiteral("BackGround"), 1020, 700, Recipes::FrameBackground, State::Normal},
        {QStringLiteral("Logo"), 64, 64, Recipes::Logo, State::Normal},
        {QStringLiteral("Battery"), 44, 20, Recipes::BatteryOutline, State::Normal},
        {QStringLiteral("Charg"), 14, 20, Recipes::ChargingBolt, State::Normal},
        // Page buttons: normal, hover, checked.
        {QStringLiteral("Home"), 137, 84, Recipes::PageButtons, State::Normal},
        {QStringLiteral("HomeHover"), 137, 84, Recipes::PageButtons, State::Hover},
        {QStringLiteral("HomeChecked"), 137, 84, Recipes::PageButtons, State::Checked},
        {QStringLiteral("Sensor"), 137, 84, Recipes::PageSensor, State::Normal},
        {QStringLiteral("SensorHover"), 137, 84, Recipes::PageSensor, State::Hover},
        {QStringLiteral("SensorChecked"), 137, 84, Recipes::PageSensor, State::Checked},
        {QStringLiteral("Macro"), 137, 84, Recipes::PageMacro, State::Normal},
        {QStringLiteral("MacroHover"), 137, 84, Recipes::PageMacro, State::Hover},
        {QStringLiteral("MacroChecked"), 137, 84, Recipes::PageMacro, State::Checked},
        {QStringLiteral("Light"), 137, 84, Recipes::PageLight, State::Normal},
        {QStringLiteral("LightHover"), 137, 84, Recipes::PageLight, State::Hover},
        {QStringLiteral("LightChecked"), 137, 84, Recipes::PageLight, State::Checked},
        // The settings page button; the hidden settings button of the same
        // names is never shown.
        {QStringLiteral("Setting"), 137, 84, Recipes::PageSettings, State::Normal},
        {QStringLiteral("SettingHover"), 137, 84, Recipes::PageSettings, State::Hover},
        {QStringLiteral("SettingClick"), 137, 84, Recipes::PageSettings, State::Checked},
        // Window buttons: normal, hover, pressed.
        {QStringLiteral("Close"), 20, 20, Recipes::IconClose, State::Normal},
        {QStringLiteral("CloseHover"), 20, 20, Recipes::IconClose, State::Hover},
        {QStringLiteral("CloseClick"), 20, 20, Recipes::IconClose, State::Pressed},
        {QStringLiteral("Min"), 20, 20, Recipes::IconMinimise, State::Normal},
        {QStringLiteral("MinHover"), 20, 20, Recipes::IconMinimise, State::Hover},
        {QStringLiteral("MinClick"), 20, 20, Recipes::IconMinimise, State::Pressed},
        {QStringLiteral("PageChange"), 32, 32, Recipes::IconBack, State::Normal},
        {QStringLiteral("PageChangeHover"), 32, 32, Recipes::IconBack, State::Hover},
        {QStringLiteral("PageChangeClick"), 32, 32, Recipes::IconBack, State::Pressed},
    },
}};
