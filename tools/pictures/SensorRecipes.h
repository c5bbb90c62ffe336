#pragma once

#include "PictureTable.h"

// The drawing recipes of the sensor page and its option frames.
namespace Recipes {
// An on/off switch: a pill-shaped track with a round knob, the knob left on
// a dark track when off (Normal), right on an accent track when on (Checked).
void Switch(QPainter& p, const QRectF& r, State state);
// The handle of a thin slider: a light upright bar with a dark outline, in
// the middle of the picture (the slider shows only its middle part).
void SliderHandle(QPainter& p, const QRectF& r, State state);
// Step buttons: a minus bar and a plus sign in the icon colour.
void IconMinus(QPainter& p, const QRectF& r, State state);
void IconPlus(QPainter& p, const QRectF& r, State state);
// The indicator of one choice among several: an empty ring (Normal) or an
// accent ring with a dot (Checked).
void ChoiceMark(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
