#pragma once

#include "PictureTable.h"

// The drawing recipes of the settings page.
namespace Recipes {
// The marker before a section title: a short accent bar with a fainter tail.
void SectionMarker(QPainter& p, const QRectF& r, State state);
// Something needs the user's attention (an update could not run): an amber
// disc with an exclamation mark.
void WarningMark(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
