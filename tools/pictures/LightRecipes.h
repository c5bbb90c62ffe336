#pragma once

#include "PictureTable.h"

#include <QPainter>
#include <QRectF>

// The drawing recipes of the lighting page.
namespace Recipes {
// A preset colour: a rounded swatch of that colour with a hair-line edge.
void ColourSwatch(QPainter& p, const QRectF& r, const QColor& colour);
template <int Red, int Green, int Blue>
void Swatch(QPainter& p, const QRectF& r, State)
{
    ColourSwatch(p, r, QColor(Red, Green, Blue));
}
// The board the colour picker reads: the hues from left to right, bright at
// the top and darker towards the bottom.
void ColourBoard(QPainter& p, const QRectF& r, State state);
// The ground of the preview swatch: a neutral panel with a light edge.
void PreviewGround(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
