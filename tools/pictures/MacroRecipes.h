#pragma once

#include "PictureTable.h"

// The drawing recipes of the macro editor.
namespace Recipes {
// Small scroll-bar arrows: a chevron up or down in the icon colour.
void ScrollArrowUp(QPainter& p, const QRectF& r, State state);
void ScrollArrowDown(QPainter& p, const QRectF& r, State state);
// The wide record buttons: a rounded button with a round record mark at its
// left (Normal, Hover), and the stop button of a running recording, tinted
// in the danger colour with a square stop mark.
void RecordButton(QPainter& p, const QRectF& r, State state);
void StopButton(QPainter& p, const QRectF& r, State state);
// The row icons of a macro: a key pressed (an arrow down onto a bar, in the
// accent), released (an arrow up from the bar, secondary colour), a delay
// (a clock face).
void RowPress(QPainter& p, const QRectF& r, State state);
void RowRelease(QPainter& p, const QRectF& r, State state);
void RowDelay(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
