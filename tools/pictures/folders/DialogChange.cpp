// The device chooser: its window, its buttons and the device pictures.
#include "Recipes.h"

static const PictureTable::Add dialogChange{{
    QStringLiteral("DialogChange"),
    {
        {QStringLiteral("MainBack"), 1020, 700, Recipes::MainWindowBackground, State::Normal},
        {QStringLiteral("Close"), 20, 20, Recipes::IconClose, State::Normal},
        {QStringLiteral("CloseHover"), 20, 20, Recipes::IconClose, State::Hover},
        {QStringLiteral("CloseClick"), 20, 20, Recipes::IconClose, State::Pressed},
        {QStringLiteral("Min"), 20, 20, Recipes::IconMinimise, State::Normal},
        {QStringLiteral("MinHover"), 20, 20, Recipes::IconMinimise, State::Hover},
        {QStringLiteral("MinClick"), 20, 20, Recipes::IconMinimise, State::Pressed},
        {QStringLiteral("Repair"), 36, 33, Recipes::IconRepair, State::Normal},
        {QStringLiteral("RepairHover"), 36, 33, Recipes::IconRepair, State::Hover},
        {QStringLiteral("RepairClick"), 36, 33, Recipes::IconRepair, State::Pressed},
        // The page arrows; the "Click" pictures show while the pointer is over them.
        {QStringLiteral("Right"), 46, 46, Recipes::PageArrowRight, State::Normal},
        {QStringLiteral("RightClick"), 46, 46, Recipes::PageArrowRight, State::Hover},
        {QStringLiteral("Left"), 46, 46, Recipes::PageArrowLeft, State::Normal},
        {QStringLiteral("LeftClick"), 46, 46, Recipes::PageArrowLeft, State::Hover},
        // The language list: its field, its drop-down list and its arrow.
        {QStringLiteral("ComboboxBack"), 142, 25, Recipes::Panel, State::Normal},
        {QStringLiteral("ComboboxTextBack"), 142, 50, Recipes::FlatPanel, State::Normal},
        {QStringLiteral("Menu"), 14, 14, Recipes::IconArrowDown, State::Normal},
        {QStringLiteral("MenuClicked"), 14, 14, Recipes::IconArrowDown, State::Checked},
        // The device buttons: "OnLine" / "DisOnlin" + "0" while the device
        // answers or not, "Unknow" for a device of no known model.
        {QStringLiteral("OnLine0"), 284, 360, Recipes::DeviceMouse, State::Normal},
        {QStringLiteral("DisOnlin0"), 284, 360, Recipes::DeviceMouse, State::Disabled},
        {QStringLiteral("Unknow"), 284, 360, Recipes::DeviceUnknown, State::Normal},
        // Markers in the button's corner: offline, on a receiver, on the cable.
        {QStringLiteral("DisOnline"), 32, 32, Recipes::IconOffline, State::Normal},
        {QStringLiteral("OnLineWifi"), 32, 32, Recipes::Receiver, State::Normal},
        {QStringLiteral("OnLineUsb"), 32, 32, Recipes::IconCable, State::Normal},
        // The report-rate badges of the receiver kinds.
        {QStringLiteral("1KHz"), 42, 26, Recipes::Badge1K, State::Normal},
        {QStringLiteral("2KHz"), 42, 26, Recipes::Badge2K, State::Normal},
        {QStringLiteral("4KHz"), 42, 26, Recipes::Badge4K, State::Normal},
        {QStringLiteral("8KHz"), 42, 26, Recipes::Badge8K, State::Normal},
    },
}};
