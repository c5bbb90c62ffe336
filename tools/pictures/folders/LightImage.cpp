// The lighting page's pictures, compiled into the program.
#include "LightRecipes.h"
#include "Recipes.h"
#include "SensorRecipes.h"

static const PictureTable::Add lightImage{{
    QStringLiteral(":/Light/Source/LightImage"),
    {
        // The fourteen preset colours, A to N.
        {QStringLiteral("ColorA"), 28, 28, Recipes::Swatch<255, 0, 0>, State::Normal},
        {QStringLiteral("ColorB"), 28, 28, Recipes::Swatch<0, 255, 255>, State::Normal},
        {QStringLiteral("ColorC"), 28, 28, Recipes::Swatch<0, 255, 0>, State::Normal},
        {QStringLiteral("ColorD"), 28, 28, Recipes::Swatch<255, 0, 255>, State::Normal},
        {QStringLiteral("ColorE"), 28, 28, Recipes::Swatch<255, 255, 0>, State::Normal},
        {QStringLiteral("ColorF"), 28, 28, Recipes::Swatch<255, 80, 0>, State::Normal},
        {QStringLiteral("ColorG"), 28, 28, Recipes::Swatch<0, 0, 255>, State::Normal},
        {QStringLiteral("ColorH"), 28, 28, Recipes::Swatch<227, 0, 127>, State::Normal},
        {QStringLiteral("ColorI"), 28, 28, Recipes::Swatch<46, 166, 223>, State::Normal},
        {QStringLiteral("ColorJ"), 28, 28, Recipes::Swatch<96, 25, 133>, State::Normal},
        {QStringLiteral("ColorK"), 28, 28, Recipes::Swatch<255, 255, 255>, State::Normal},
        {QStringLiteral("ColorL"), 28, 28, Recipes::Swatch<139, 178, 36>, State::Normal},
        {QStringLiteral("ColorM"), 28, 28, Recipes::Swatch<255, 155, 51>, State::Normal},
        {QStringLiteral("ColorN"), 28, 28, Recipes::Swatch<208, 113, 173>, State::Normal},
        // The picking board, the preview's ground, the move-light-off switch.
        {QStringLiteral("ColorBoard"), 308, 34, Recipes::ColourBoard, State::Normal},
        {QStringLiteral("PreviewColor"), 60, 60, Recipes::PreviewGround, State::Normal},
        {QStringLiteral("OKScroll"), 36, 18, Recipes::Switch, State::Checked},
        {QStringLiteral("NoScroll"), 36, 18, Recipes::Switch, State::Normal},
    },
}};
