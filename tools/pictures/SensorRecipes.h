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
// The marker under the selected DPI stage: an upward pointer with a grip
// line, secondary text at rest and the accent while the pointer is over it.
void StageMarker(QPainter& p, const QRectF& r, State state);
// The ground of a DPI stage button: a panel at rest (Normal), the accent's
// dark shade with an accent border for the selected stage (Checked).
void StageButton(QPainter& p, const QRectF& r, State state);
// The frame laid over a stage's colour swatch, transparent inside so the
// colour shows: a dark hair line (Normal), a light ring with a dark inner
// line for the selected stage (Checked).
void SwatchFrame(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
