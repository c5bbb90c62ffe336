#include "SettingRecipes.h"

#include "Palette.h"

#include <QPainter>

namespace Recipes {

void SectionMarker(QPainter& p, const QRectF& r, State)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Accent());
    p.drawRoundedRect(QRectF(r.left(), r.top(), 4, r.height()), 1.5, 1.5);
    QColor tail = Palette::Accent();
    tail.setAlpha(90);
    p.setBrush(tail);
    p.drawRoundedRect(QRectF(r.left() + 6, r.top() + 2, 3, r.height() - 4), 1, 1);
}

void WarningMark(QPainter& p, const QRectF& r, State)
{
    const qreal side = qMin(r.width(), r.height()) - 1;
    const QRectF disc(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Warning());
    p.drawEllipse(disc);
    p.setBrush(Palette::Window());
    const qreal width = side / 7 + 0.6;
    p.drawRoundedRect(QRectF(disc.center().x() - width / 2, disc.top() + side * 0.2, width, side * 0.38),
                      width / 2, width / 2);
    p.drawEllipse(QRectF(disc.center().x() - width / 2 - 0.2, disc.top() + side * 0.66, width + 0.4, width + 0.4));
}

} // namespace Recipes
