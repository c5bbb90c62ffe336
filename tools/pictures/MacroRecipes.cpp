#include "MacroRecipes.h"

#include "Palette.h"
#include "Recipes.h"

#include <QPainter>
#include <QPainterPath>

namespace {
QPen LinePen(const QColor& colour, qreal width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void ScrollChevron(QPainter& p, const QRectF& r, State state, qreal dy)
{
    p.setPen(LinePen(Recipes::IconColour(state), 1.6));
    p.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    const qreal h = r.width() * 0.26;
    QPainterPath path(QPointF(c.x() - h, c.y() - dy * h / 2));
    path.lineTo(c.x(), c.y() + dy * h / 2);
    path.lineTo(c.x() + h, c.y() - dy * h / 2);
    p.drawPath(path);
}

// An arrow along the icon's middle, its head at `tip`, and the bar the key
// is pressed onto or released from.
void RowArrow(QPainter& p, const QRectF& r, const QColor& colour, bool down)
{
    const qreal w = r.width();
    const qreal h = r.height();
    const qreal barY = down ? r.top() + h * 0.84 : r.top() + h * 0.16;
    const qreal tailY = down ? r.top() + h * 0.14 : r.top() + h * 0.86;
    const qreal tipY = down ? r.top() + h * 0.62 : r.top() + h * 0.38;
    const qreal cx = r.left() + w / 2;
    p.setBrush(Qt::NoBrush);
    p.setPen(LinePen(colour, 1.7));
    p.drawLine(QPointF(cx, tailY), QPointF(cx, tipY));
    const qreal arm = w * 0.24;
    const qreal back = down ? -arm : arm;
    QPainterPath head(QPointF(cx - arm, tipY + back));
    head.lineTo(cx, tipY);
    head.lineTo(cx + arm, tipY + back);
    p.drawPath(head);
    p.drawLine(QPointF(r.left() + w * 0.18, barY), QPointF(r.right() - w * 0.18, barY));
}
} // namespace

namespace Recipes {

void ScrollArrowUp(QPainter& p, const QRectF& r, State state)
{
    ScrollChevron(p, r, state, -1);
}

void ScrollArrowDown(QPainter& p, const QRectF& r, State state)
{
    ScrollChevron(p, r, state, 1);
}

void RecordButton(QPainter& p, const QRectF& r, State state)
{
    Button(p, r, state);
    const qreal d = r.height() * 0.34;
    const QRectF dot(r.left() + 16, r.center().y() - d / 2, d, d);
    p.setPen(Qt::NoPen);
    p.setBrush(state == State::Hover ? Palette::Danger().lighter(115) : Palette::Danger());
    p.drawEllipse(dot);
}

void StopButton(QPainter& p, const QRectF& r, State state)
{
    QColor fill = Palette::Danger().darker(state == State::Hover ? 230 : 290);
    p.setPen(QPen(state == State::Hover ? Palette::Danger().lighter(115) : Palette::Danger(), 1));
    p.setBrush(fill);
    const qreal radius = qMin<qreal>(5, r.height() / 2 - 1);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    const qreal s = r.height() * 0.30;
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Text());
    p.drawRoundedRect(QRectF(r.left() + 16, r.center().y() - s / 2, s, s), 1.5, 1.5);
}

void RowPress(QPainter& p, const QRectF& r, State)
{
    RowArrow(p, r, Palette::Accent(), true);
}

void RowRelease(QPainter& p, const QRectF& r, State)
{
    RowArrow(p, r, Palette::TextSecondary(), false);
}

void RowDelay(QPainter& p, const QRectF& r, State)
{
    const QRectF face = r.adjusted(r.width() * 0.1 + 0.5, r.height() * 0.1 + 0.5, -r.width() * 0.1 - 0.5,
                                   -r.height() * 0.1 - 0.5);
    p.setPen(LinePen(Palette::Warning(), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(face);
    const QPointF c = face.center();
    p.drawLine(c, QPointF(c.x(), face.top() + face.height() * 0.22));
    p.drawLine(c, QPointF(c.x() + face.width() * 0.24, c.y() + face.height() * 0.1));
}

} // namespace Recipes
