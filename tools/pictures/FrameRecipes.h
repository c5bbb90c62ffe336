#pragma once

#include "PictureTable.h"

// The drawing recipes of the top window and the configuration frame.
namespace Recipes {
// The frame's ground: the title band with the word mark (right of the back
// arrow), the column of page buttons on the left and the page area.
void FrameBackground(QPainter& p, const QRectF& r, State state);
// The page buttons of the column: a line glyph, lit on hover, on an accent
// tile with an accent bar when checked.
void PageButtons(QPainter& p, const QRectF& r, State state);
void PageSensor(QPainter& p, const QRectF& r, State state);
void PageMacro(QPainter& p, const QRectF& r, State state);
void PageSettings(QPainter& p, const QRectF& r, State state);
void PageLight(QPainter& p, const QRectF& r, State state);
// Back to the device list: an arrow pointing left, with its shaft.
void IconBack(QPainter& p, const QRectF& r, State state);
// The battery outline; the level bar sits inside it (4, 4, 32 x 12).
void BatteryOutline(QPainter& p, const QRectF& r, State state);
// The charging sign: a lightning bolt.
void ChargingBolt(QPainter& p, const QRectF& r, State state);
// The program's icon (tray): a mouse on an accent tile.
void Logo(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
