#include "ButtonRecipes.h"

#include "Palette.h"
#include "Recipes.h"

#include <QPainter>
#include <QPainterPath>

namespace Recipes {

void MarkerDisc(QPainter& p, const QRectF& r, State state)
{
    const qreal side = qMin(r.width(), r.height()) - 2;
    const QRectF disc(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    QColor fill = Palette::Text();
    QColor ring = Palette::LineStrong();
    if (state == State::Hover) {
        ring = Palette::Accent();
    } else if (state == State::Pressed || state == State::Checked) {
        fill = Palette::AccentLight();
        ring = Palette::Accent();
    }
    p.setPen(QPen(ring, 2));
    p.setBrush(fill);
    p.drawEllipse(disc.adjusted(1, 1, -1, -1));
}

void CategoryButton(QPainter& p, const QRectF& r, State state)
{
    Button(p, r, state);
    const qreal h = r.height() * 0.28;
    const QPointF tip(r.right() - 9, r.center().y());
    QPainterPath chevron;
    chevron.moveTo(tip.x() - h * 0.7, tip.y() - h);
    chevron.lineTo(tip);
    chevron.lineTo(tip.x() - h * 0.7, tip.y() + h);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(state == State::Checked ? Palette::Text() : IconColour(state), 1.5, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPath(chevron);
}

void ProfileIcon(QPainter& p, const QRectF& r, State state)
{
    p.setBrush(Qt::NoBrush);
    const qreal w = r.width() - 6;
    for (int layer = 0; layer < 3; ++layer) {
        const QColor colour = layer == 0 ? Palette::Accent() : IconColour(state);
        p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const qreal y = r.top() + 2 + layer * (r.height() - 4) / 2.5;
        p.drawRoundedRect(QRectF(r.left() + 3, y, w, (r.height() - 4) / 3), 1.5, 1.5);
    }
}

} // namespace Recipes
