#include "SensorRecipes.h"

#include "Palette.h"
#include "Recipes.h"

#include <QPainter>
#include <QPainterPath>

namespace Recipes {

void Switch(QPainter& p, const QRectF& r, State state)
{
    const bool on = state == State::Checked;
    const QRectF track = r.adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = track.height() / 2;
    p.setPen(QPen(on ? Palette::Accent() : Palette::LineStrong(), 1));
    p.setBrush(on ? Palette::AccentDark() : Palette::Panel());
    p.drawRoundedRect(track, radius, radius);
    const qreal knob = r.height() - 6;
    const qreal x = on ? r.right() - 3 - knob : r.left() + 3;
    p.setPen(Qt::NoPen);
    p.setBrush(on ? Palette::Text() : Palette::TextSecondary());
    p.drawEllipse(QRectF(x, r.top() + 3, knob, knob));
}

void SliderHandle(QPainter& p, const QRectF& r, State)
{
    const qreal height = qMin<qreal>(r.height(), 16);
    const QRectF bar(r.left() + 0.5, r.center().y() - height / 2 + 0.5, r.width() - 1, height - 1);
    p.setPen(QPen(Palette::Window(), 1));
    p.setBrush(Palette::Text());
    p.drawRoundedRect(bar, 1.5, 1.5);
}

void IconMinus(QPainter& p, const QRectF& r, State state)
{
    const qreal thickness = qMin<qreal>(r.height(), 2.4);
    p.setPen(Qt::NoPen);
    p.setBrush(IconColour(state));
    p.drawRoundedRect(QRectF(r.left() + 1, r.center().y() - thickness / 2, r.width() - 2, thickness),
                      thickness / 2, thickness / 2);
}

void IconPlus(QPainter& p, const QRectF& r, State state)
{
    IconMinus(p, r, state);
    const qreal thickness = 2.4;
    p.drawRoundedRect(QRectF(r.center().x() - thickness / 2, r.top() + 1, thickness, r.height() - 2),
                      thickness / 2, thickness / 2);
}

void ChoiceMark(QPainter& p, const QRectF& r, State state)
{
    const qreal side = qMin(r.width(), r.height()) - 3;
    const QRectF ring(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    const bool checked = state == State::Checked;
    p.setPen(QPen(checked ? Palette::Accent() : Palette::TextSecondary(), 1.4));
    p.setBrush(Palette::Panel());
    p.drawEllipse(ring);
    if (!checked)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Accent());
    p.drawEllipse(ring.center(), side * 0.24, side * 0.24);
}

void StageMarker(QPainter& p, const QRectF& r, State state)
{
    const QColor colour = state == State::Hover ? Palette::AccentLight() : Palette::TextSecondary();
    const qreal half = 7;
    const QPointF apex(r.center().x(), r.top() + 8);
    QPainterPath pointer(apex);
    pointer.lineTo(apex.x() + half, apex.y() + 9);
    pointer.lineTo(apex.x() - half, apex.y() + 9);
    pointer.closeSubpath();
    p.setPen(QPen(colour, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour);
    p.drawPath(pointer);
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(apex.x() - 4, apex.y() + 13), QPointF(apex.x() + 4, apex.y() + 13));
}

void StageButton(QPainter& p, const QRectF& r, State state)
{
    const bool selected = state == State::Checked;
    p.setPen(QPen(selected ? Palette::Accent() : Palette::Line(), selected ? 1.5 : 1));
    p.setBrush(selected ? Palette::AccentDark() : Palette::Panel());
    const QRectF plate = selected ? r.adjusted(0.75, 0.75, -0.75, -0.75) : r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawRoundedRect(plate, 6, 6);
}

void SwatchFrame(QPainter& p, const QRectF& r, State state)
{
    p.setBrush(Qt::NoBrush);
    if (state == State::Checked) {
        p.setPen(QPen(Palette::Text(), 2));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 3, 3);
        p.setPen(QPen(QColor(0, 0, 0, 110), 1));
        p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 1.5, 1.5);
        return;
    }
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

} // namespace Recipes
