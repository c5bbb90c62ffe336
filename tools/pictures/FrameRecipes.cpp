#include "FrameRecipes.h"

#include "Palette.h"
#include "Recipes.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr qreal ColumnWidth = 137;


QPen GlyphPen(State state, qreal width)
{
    QPen pen(Recipes::IconColour(state), width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// The square of the glyph, centred in r.
QRectF GlyphBox(const QRectF& r, qreal side)
{
    return QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
}

// The ground of a page button; returns the box its glyph is drawn in.
QRectF PageTile(QPainter& p, const QRectF& r, State state)
{
    const QRectF tile = r.adjusted(10, 8, -10, -8);
    if (state == State::Hover || state == State::Checked || state == State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(state == State::Hover ? Palette::PanelHover() : Palette::Panel());
        p.drawRoundedRect(tile, 8, 8);
    }
    if (state == State::Checked || state == State::Pressed) {
        p.setBrush(Palette::Accent());
        p.drawRoundedRect(QRectF(r.left() + 2, tile.top() + 12, 4, tile.height() - 24), 2, 2);
        p.setPen(QPen(Palette::AccentDark(), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(GlyphPen(state, 2));
    return GlyphBox(r, 34);
}

// A plate behind an icon button while the pointer is over it or it is pressed.
void IconPlate(QPainter& p, const QRectF& r, State state)
{
    if (state != State::Hover && state != State::Pressed)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(state == State::Hover ? Palette::PanelHover() : Palette::Panel());
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
    p.setBrush(Qt::NoBrush);
}

// The top view of a mouse in b: body, the split between the two buttons and
// the wheel.
void MouseGlyph(QPainter& p, const QRectF& b)
{
    const QRectF body(b.left() + b.width() * 0.2, b.top(), b.width() * 0.6, b.height());
    p.drawRoundedRect(body, body.width() / 2, body.width() / 2);
    const qreal split = body.top() + body.height() * 0.42;
    p.drawLine(QPointF(body.left(), split), QPointF(body.right(), split));
    p.drawLine(QPointF(body.center().x(), body.top()), QPointF(body.center().x(), split));
}

void Gear(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    const qreal outer = b.width() / 2;
    const qreal inner = outer * 0.74;
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal angle = (i - 0.5) * M_PI / (teeth * 2);
        const qreal radius = (i % 4 == 1 || i % 4 == 2) ? outer : inner;
        const QPointF point(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    p.drawPath(path);
    const qreal hole = outer * 0.32;
    p.drawEllipse(c, hole, hole);
}
} // namespace

namespace Recipes {

void FrameBackground(QPainter& p, const QRectF& r, State)
{
    p.fillRect(r, Palette::Window());
    // The column of page buttons.
    const QRectF column(r.left(), r.top() + TitleBandHeight, ColumnWidth, r.height() - TitleBandHeight);
    QLinearGradient side(column.topLeft(), column.topRight());
    side.setColorAt(0, Palette::Panel().darker(112));
    side.setColorAt(1, Palette::Window().lighter(108));
    p.fillRect(column, side);
    p.setPen(QPen(Palette::Line(), 1));
    p.drawLine(QPointF(column.right() - 0.5, column.top()), QPointF(column.right() - 0.5, column.bottom()));

    // The title band, its word mark right of the back arrow.
    TitleBand(p, r, 62);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Palette::Line(), 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void PageButtons(QPainter& p, const QRectF& r, State state)
{
    const QRectF b = PageTile(p, r, state);
    MouseGlyph(p, b.adjusted(2, 0, -2, 0));
}

void PageSensor(QPainter& p, const QRectF& r, State state)
{
    const QRectF b = PageTile(p, r, state).adjusted(2, 2, -2, -2);
    const QPointF c = b.center();
    const qreal radius = b.width() / 2 - 3;
    p.drawEllipse(c, radius, radius);
    p.drawEllipse(c, radius * 0.38, radius * 0.38);
    const qreal gap = radius * 0.55;
    p.drawLine(QPointF(b.left(), c.y()), QPointF(c.x() - gap, c.y()));
    p.drawLine(QPointF(c.x() + gap, c.y()), QPointF(b.right(), c.y()));
    p.drawLine(QPointF(c.x(), b.top()), QPointF(c.x(), c.y() - gap));
    p.drawLine(QPointF(c.x(), c.y() + gap), QPointF(c.x(), b.bottom()));
}

void PageMacro(QPainter& p, const QRectF& r, State state)
{
    const QRectF b = PageTile(p, r, state);
    // A keyboard: three rows of keys, the space bar in the last.
    const QRectF board(b.left(), b.top() + b.height() * 0.2, b.width(), b.height() * 0.6);
    p.drawRoundedRect(board, 4, 4);
    const QPen pen = p.pen();
    QPen key = pen;
    key.setWidthF(2.6);
    p.setPen(key);
    const qreal step = board.width() / 6;
    for (int row = 0; row < 2; ++row) {
        const qreal y = board.top() + board.height() * (0.3 + row * 0.22);
        for (int column = 1; column <= 5; ++column)
            p.drawPoint(QPointF(board.left() + column * step, y));
    }
    p.setPen(pen);
    const qreal y = board.top() + board.height() * 0.76;
    p.drawLine(QPointF(board.left() + step * 1.6, y), QPointF(board.right() - step * 1.6, y));
}

void PageSettings(QPainter& p, const QRectF& r, State state)
{
    Gear(p, PageTile(p, r, state).adjusted(3, 3, -3, -3));
}

void PageLight(QPainter& p, const QRectF& r, State state)
{
    const QRectF b = PageTile(p, r, state);
    const QPointF c(b.center().x(), b.top() + b.height() * 0.38);
    const qreal radius = b.width() * 0.28;
    QPainterPath bulb;
    bulb.moveTo(c.x() - radius * 0.55, c.y() + radius * 0.85);
    bulb.arcTo(QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), 238, -296);
    bulb.lineTo(c.x() + radius * 0.55, c.y() + radius * 1.3);
    bulb.lineTo(c.x() - radius * 0.55, c.y() + radius * 1.3);
    bulb.closeSubpath();
    p.drawPath(bulb);
    const qreal base = c.y() + radius * 1.3;
    p.drawLine(QPointF(c.x() - radius * 0.45, base + 4), QPointF(c.x() + radius * 0.45, base + 4));
    p.drawLine(QPointF(c.x() - radius * 0.3, base + 8), QPointF(c.x() + radius * 0.3, base + 8));
}

void IconBack(QPainter& p, const QRectF& r, State state)
{
    IconPlate(p, r, state);
    p.setPen(GlyphPen(state, 2));
    const QRectF b = GlyphBox(r, qMin(r.width(), r.height()) * 0.5);
    const qreal y = b.center().y();
    p.drawLine(QPointF(b.left(), y), QPointF(b.right(), y));
    QPainterPath head(QPointF(b.left() + b.width() * 0.42, b.top() + b.height() * 0.08));
    head.lineTo(b.left(), y);
    head.lineTo(b.left() + b.width() * 0.42, b.bottom() - b.height() * 0.08);
    p.drawPath(head);
}

void BatteryOutline(QPainter& p, const QRectF& r, State)
{
    // The body leaves the bar's place (4, 4, 32 x 12) free inside a dark well.
    const QRectF body(r.left() + 1.5, r.top() + 1.5, 37, 17);
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Window());
    p.drawRoundedRect(body, 3, 3);
    p.setPen(QPen(Palette::TextSecondary(), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::TextSecondary());
    p.drawRoundedRect(QRectF(body.right() + 1.5, r.center().y() - 3.5, 3, 7), 1, 1);
}

void ChargingBolt(QPainter& p, const QRectF& r, State)
{
    const qreal w = r.width();
    const qreal h = r.height();
    QPainterPath bolt(QPointF(r.left() + w * 0.62, r.top() + h * 0.05));
    bolt.lineTo(r.left() + w * 0.12, r.top() + h * 0.56);
    bolt.lineTo(r.left() + w * 0.48, r.top() + h * 0.56);
    bolt.lineTo(r.left() + w * 0.36, r.top() + h * 0.95);
    bolt.lineTo(r.left() + w * 0.88, r.top() + h * 0.42);
    bolt.lineTo(r.left() + w * 0.52, r.top() + h * 0.42);
    bolt.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Accent());
    p.drawPath(bolt);
}

void Logo(QPainter& p, const QRectF& r, State)
{
    const qreal side = qMin(r.width(), r.height());
    const QRectF tile = GlyphBox(r, side);
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Accent());
    p.drawRoundedRect(tile.adjusted(1, 1, -1, -1), side * 0.22, side * 0.22);
    QPen pen(Palette::Window(), qMax<qreal>(1.5, side / 16));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    MouseGlyph(p, GlyphBox(r, side * 0.62));
}

} // namespace Recipes
