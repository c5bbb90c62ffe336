#pragma once

#include "PictureTable.h"

// The drawing recipes of the button assignment page.
namespace Recipes {
// A light disc under a dark digit: the markers on the mouse picture (accent
// ring on hover, accent fill when pressed) and the row numbers.
void MarkerDisc(QPainter& p, const QRectF& r, State state);
// A function category that opens a panel: a button with a chevron at its
// right end.
void CategoryButton(QPainter& p, const QRectF& r, State state);
// A small stack of layers: the onboard configurations.
void ProfileIcon(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
