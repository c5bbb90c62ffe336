#include "LightRecipes.h"

#include "Palette.h"

#include <QLinearGradient>

namespace Recipes {

void ColourSwatch(QPainter& p, const QRectF& r, const QColor& colour)
{
    p.setPen(QPen(Palette::LineStrong(), 1));
    p.setBrush(colour);
    p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 4, 4);
}

void ColourBoard(QPainter& p, const QRectF& r, State)
{
    // Hard edges: every pixel of the board is a colour a person can pick.
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient hues(r.topLeft(), r.topRight());
    for (int step = 0; step <= 6; ++step)
        hues.setColorAt(step / 6.0, QColor::fromHsv((step * 60) % 360, 255, 255));
    p.fillRect(r, hues);
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(0, 0, 0, 150));
    p.fillRect(r, shade);
}

void PreviewGround(QPainter& p, const QRectF& r, State)
{
    p.setPen(QPen(QColor(220, 220, 220), 2));
    p.setBrush(Palette::Panel());
    p.drawRect(r.adjusted(1, 1, -1, -1));
}

} // namespace Recipes
