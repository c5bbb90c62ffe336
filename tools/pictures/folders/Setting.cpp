// The pairing dialog.
#include "Recipes.h"

static const PictureTable::Add setting{{
    QStringLiteral("Setting"),
    {
        {QStringLiteral("BackSecondPage"), 458, 242, Recipes::DialogBackground, State::Normal},
        {QStringLiteral("Picture"), 112, 112, Recipes::PairingPicture, State::Normal},
        {QStringLiteral("CloseSecondPage"), 20, 20, Recipes::IconClose, State::Normal},
        {QStringLiteral("CloseSecondPageHover"), 20, 20, Recipes::IconClose, State::Hover},
        {QStringLiteral("CloseSecondPageClick"), 20, 20, Recipes::IconClose, State::Pressed},
        // The start button: ready, not possible (wired mouse), paired, failed.
        {QStringLiteral("Pair"), 200, 40, Recipes::Button, State::Checked},
        {QStringLiteral("PairDisabled"), 200, 40, Recipes::Button, State::Disabled},
        {QStringLiteral("PairSuccess"), 200, 40, Recipes::ButtonSuccess, State::Normal},
        {QStringLiteral("PairFail"), 200, 40, Recipes::ButtonFailure, State::Normal},
    },
}};
