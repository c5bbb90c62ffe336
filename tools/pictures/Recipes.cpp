#include "Recipes.h"

#include "Palette.h"

#include <QPainter>
#include <QPainterPath>

namespace {
QColor IconColour(State state)
{
    switch (state) {
    case State::Hover:
        return Palette::Text();
    case State::Pressed:
    case State::Checked:
        return Palette::Accent();
    case State::Disabled:
        return Palette::TextDisabled();
    case State::Normal:
        break;
    }
    return Palette::TextSecondary();
}

// A soft round plate behind an icon while the pointer is over it or it is pressed.
void IconPlate(QPainter& p, const QRectF& r, State state)
{
    if (state != State::Hover && state != State::Pressed)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(state == State::Hover ? Palette::PanelHover() : Palette::Panel());
    const qreal side = qMin(r.width(), r.height());
    p.drawRoundedRect(QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side), 4, 4);
}

QPen IconPen(State state, qreal width = 1.6)
{
    QPen pen(IconColour(state), width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// The square of side s centred in r, where icons are drawn.
QRectF IconBox(const QRectF& r, qreal fraction)
{
    const qreal s = qMin(r.width(), r.height()) * fraction;
    return QRectF(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
}

void Chevron(QPainter& p, const QRectF& r, State state, qreal dx, qreal dy)
{
    IconPlate(p, r, state);
    p.setPen(IconPen(state, qMax<qreal>(1.6, qMin(r.width(), r.height()) / 14)));
    const QRectF b = IconBox(r, 0.42);
    const QPointF c = b.center();
    const qreal h = b.width() / 2;
    // Tip toward (dx, dy); the two arms go back from it.
    const QPointF tip(c.x() + dx * h / 2, c.y() + dy * h / 2);
    const QPointF arm1(tip.x() - dx * h - dy * h, tip.y() - dy * h - dx * h);
    const QPointF arm2(tip.x() - dx * h + dy * h, tip.y() - dy * h + dx * h);
    QPainterPath path(arm1);
    path.lineTo(tip);
    path.lineTo(arm2);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}
} // namespace

namespace Recipes {

void DialogBackground(QPainter& p, const QRectF& r, State)
{
    p.fillRect(r, Palette::Window());
    // A slightly lighter band along the top edge gives the window a title area.
    QLinearGradient band(r.topLeft(), QPointF(r.left(), r.top() + 32));
    band.setColorAt(0, Palette::Panel());
    band.setColorAt(1, Palette::Window());
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 32), band);
    p.setPen(QPen(Palette::Line(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void Panel(QPainter& p, const QRectF& r, State)
{
    p.setPen(QPen(Palette::Line(), 1));
    p.setBrush(Palette::Panel());
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

void Button(QPainter& p, const QRectF& r, State state)
{
    QColor fill = Palette::Panel();
    QColor border = Palette::LineStrong();
    switch (state) {
    case State::Hover:
        fill = Palette::PanelHover();
        border = Palette::AccentLight();
        break;
    case State::Pressed:
        fill = Palette::AccentDark();
        border = Palette::Accent();
        break;
    case State::Checked:
        fill = Palette::AccentDark();
        border = Palette::AccentLight();
        break;
    case State::Disabled:
        border = Palette::Line();
        break;
    case State::Normal:
        break;
    }
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    const qreal radius = qMin<qreal>(5, r.height() / 2 - 1);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void IconClose(QPainter& p, const QRectF& r, State state)
{
    IconPlate(p, r, state);
    p.setPen(IconPen(state));
    const QRectF b = IconBox(r, 0.45);
    p.drawLine(b.topLeft(), b.bottomRight());
    p.drawLine(b.topRight(), b.bottomLeft());
}

void IconMinimise(QPainter& p, const QRectF& r, State state)
{
    IconPlate(p, r, state);
    p.setPen(IconPen(state));
    const QRectF b = IconBox(r, 0.45);
    p.drawLine(QPointF(b.left(), b.center().y()), QPointF(b.right(), b.center().y()));
}

void IconArrowLeft(QPainter& p, const QRectF& r, State state)
{
    Chevron(p, r, state, -1, 0);
}

void IconArrowRight(QPainter& p, const QRectF& r, State state)
{
    Chevron(p, r, state, 1, 0);
}

void IconArrowDown(QPainter& p, const QRectF& r, State state)
{
    Chevron(p, r, state, 0, 1);
}

void CheckBox(QPainter& p, const QRectF& r, State state)
{
    const QRectF box = IconBox(r, 0.86).adjusted(0.5, 0.5, -0.5, -0.5);
    if (state == State::Checked) {
        p.setPen(QPen(Palette::Accent(), 1));
        p.setBrush(Palette::Accent());
        p.drawRoundedRect(box, 3, 3);
        QPen tick(Palette::Window(), qMax<qreal>(1.8, box.width() / 7));
        tick.setCapStyle(Qt::RoundCap);
        tick.setJoinStyle(Qt::RoundJoin);
        p.setPen(tick);
        QPainterPath path(QPointF(box.left() + box.width() * 0.24, box.top() + box.height() * 0.52));
        path.lineTo(box.left() + box.width() * 0.43, box.top() + box.height() * 0.72);
        path.lineTo(box.left() + box.width() * 0.77, box.top() + box.height() * 0.30);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        return;
    }
    p.setPen(QPen(state == State::Hover ? Palette::AccentLight() : Palette::TextSecondary(), 1));
    p.setBrush(Palette::Panel());
    p.drawRoundedRect(box, 3, 3);
}

} // namespace Recipes
