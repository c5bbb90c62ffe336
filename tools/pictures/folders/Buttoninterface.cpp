// The button assignment page.
#include "Recipes.h"

static const PictureTable::Add buttoninterface{{
    QStringLiteral("Buttoninterface"),
    {
        // The mouse behind the page's button markers (every model).
        {QStringLiteral("mouse0"), 432, 356, Recipes::MouseTopView, State::Normal},
    },
}};
