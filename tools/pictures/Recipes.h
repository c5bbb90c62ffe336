#pragma once

#include "PictureTable.h"

// The drawing recipes shared by every picture folder.
namespace Recipes {
// Window and dialog backgrounds: the window colour with a hair-line border.
void DialogBackground(QPainter& p, const QRectF& r, State state);
// A rounded panel on a transparent ground.
void Panel(QPainter& p, const QRectF& r, State state);
// Rounded push button: border at rest, lighter on hover, accent when pressed
// or checked.
void Button(QPainter& p, const QRectF& r, State state);
// Line icons in the three states (secondary text, light text, accent).
void IconClose(QPainter& p, const QRectF& r, State state);
void IconMinimise(QPainter& p, const QRectF& r, State state);
void IconArrowLeft(QPainter& p, const QRectF& r, State state);
void IconArrowRight(QPainter& p, const QRectF& r, State state);
void IconArrowDown(QPainter& p, const QRectF& r, State state);
// Check box indicator: an empty box (Normal) or an accent box with a tick
// (Checked).
void CheckBox(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
