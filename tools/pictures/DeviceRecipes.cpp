// The device pictures: cards with the top view of a mouse, the receiver and
// cable icons, the offline marker and the report-rate badges.
#include "Recipes.h"

#include "Palette.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {
// The outline of a mouse seen from above, in a box of 100 x 170 units scaled
// into `box` (front at the top).
QPainterPath MouseOutline(const QRectF& box)
{
    QPainterPath path(QPointF(50, 0));
    path.cubicTo(78, 0, 96, 22, 97, 58);
    path.cubicTo(98, 95, 100, 128, 92, 150);
    path.cubicTo(84, 166, 66, 170, 50, 170);
    path.cubicTo(34, 170, 16, 166, 8, 150);
    path.cubicTo(0, 128, 2, 95, 3, 58);
    path.cubicTo(4, 22, 22, 0, 50, 0);
    path.closeSubpath();
    QTransform scale;
    scale.translate(box.left(), box.top());
    scale.scale(box.width() / 100.0, box.height() / 170.0);
    return scale.map(path);
}

// The box of the mouse inside a card: centred, with room below for its shadow.
QRectF MouseBox(const QRectF& card)
{
    const qreal height = card.height() * 0.56;
    const qreal width = height * 100.0 / 170.0;
    return QRectF(card.center().x() - width / 2, card.top() + card.height() * 0.2, width, height);
}

// A point of the mouse's 100 x 170 unit box.
QPointF At(const QRectF& box, qreal x, qreal y)
{
    return QPointF(box.left() + box.width() * x / 100.0, box.top() + box.height() * y / 170.0);
}

QPen RoundPen(const QColor& colour, qreal width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// The card every device picture sits on.
void Card(QPainter& p, const QRectF& r)
{
    const QRectF card = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0, Palette::Panel());
    fill.setColorAt(1, Palette::Window().lighter(108));
    p.setBrush(fill);
    p.setPen(QPen(Palette::Line(), 1));
    p.drawRoundedRect(card, 16, 16);
}

// The mouse on its card; `lit` while it answers.
void Mouse(QPainter& p, const QRectF& r, bool lit)
{
    const QRectF box = MouseBox(r);
    const QPainterPath outline = MouseOutline(box);

    // The pool of light (or shadow) it stands in.
    const QRectF pool(box.left() - box.width() * 0.35, box.bottom() - box.height() * 0.06,
                      box.width() * 1.7, box.height() * 0.16);
    QRadialGradient under(pool.center(), pool.width() / 2);
    QColor inner = lit ? Palette::Accent() : QColor(0, 0, 0);
    inner.setAlpha(lit ? 70 : 110);
    QColor outer = inner;
    outer.setAlpha(0);
    under.setColorAt(0, inner);
    under.setColorAt(1, outer);
    p.save();
    p.translate(pool.center());
    p.scale(1, pool.height() / pool.width());
    p.translate(-pool.center());
    p.setPen(Qt::NoPen);
    p.setBrush(under);
    p.drawEllipse(QRectF(pool.left(), pool.center().y() - pool.width() / 2, pool.width(), pool.width()));
    p.restore();

    // Side buttons on the left flank.
    const qreal unit = box.width() / 100.0;
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? Palette::LineStrong() : Palette::Line());
    p.drawRoundedRect(QRectF(At(box, -2, 72), QSizeF(6 * unit, 15 * unit)), 2 * unit, 2 * unit);
    p.drawRoundedRect(QRectF(At(box, -2, 90), QSizeF(6 * unit, 15 * unit)), 2 * unit, 2 * unit);

    // The shell, lit from the upper left.
    QLinearGradient shell(At(box, 0, 0), At(box, 100, 170));
    if (lit) {
        shell.setColorAt(0, QColor(0x45, 0x4B, 0x56));
        shell.setColorAt(0.55, QColor(0x2A, 0x2E, 0x36));
        shell.setColorAt(1, QColor(0x1C, 0x1F, 0x24));
    } else {
        shell.setColorAt(0, QColor(0x2E, 0x32, 0x39));
        shell.setColorAt(1, QColor(0x1B, 0x1D, 0x22));
    }
    p.setBrush(shell);
    p.setPen(QPen(lit ? Palette::LineStrong() : Palette::Line(), 1.2));
    p.drawPath(outline);
    if (lit) {
        QRadialGradient sheen(At(box, 34, 40), box.width() * 0.6);
        sheen.setColorAt(0, QColor(255, 255, 255, 34));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(sheen);
        p.drawPath(outline);
        // An accent rim along the right flank.
        p.save();
        p.setClipPath(outline);
        p.setBrush(Qt::NoBrush);
        QColor rim = Palette::Accent();
        rim.setAlpha(150);
        p.setPen(QPen(rim, 2.2 * unit));
        p.drawPath(outline.translated(-1.2 * unit, 0));
        p.restore();
    }

    // The two main buttons and the split between them.
    const QColor seam = lit ? QColor(0x12, 0x14, 0x18) : QColor(0x14, 0x16, 0x1A);
    p.setBrush(Qt::NoBrush);
    p.setPen(RoundPen(seam, 1.6 * unit));
    QPainterPath buttons(At(box, 4, 62));
    buttons.quadTo(At(box, 50, 78), At(box, 96, 62));
    p.drawPath(buttons);
    p.drawLine(At(box, 50, 1.5), At(box, 50, 69));

    // Scroll wheel.
    const QRectF wheel(At(box, 44, 16), At(box, 56, 44));
    p.setPen(QPen(seam, 1.2 * unit));
    p.setBrush(lit ? Palette::Accent() : Palette::TextDisabled());
    p.drawRoundedRect(wheel, 6 * unit, 6 * unit);
    p.setPen(QPen(QColor(0, 0, 0, lit ? 70 : 40), 1.0 * unit));
    for (int i = 1; i < 5; ++i) {
        const qreal y = wheel.top() + wheel.height() * i / 5.0;
        p.drawLine(QPointF(wheel.left() + 2 * unit, y), QPointF(wheel.right() - 2 * unit, y));
    }

    // A thin light strip near the back.
    p.setPen(RoundPen(lit ? Palette::AccentLight() : Palette::TextDisabled(), 2.4 * unit));
    p.drawLine(At(box, 40, 150), At(box, 60, 150));
}

void Badge(QPainter& p, const QRectF& r, const QString& text)
{
    const QRectF pill = r.adjusted(1, 2, -1, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Accent());
    p.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pill.height() * 0.62));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Palette::Window());
    p.drawText(pill, Qt::AlignCenter, text);
}

// Radio waves above a point, opening upward.
void Waves(QPainter& p, const QPointF& origin, qreal step, int count)
{
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= count; ++i) {
        const qreal radius = step * i;
        p.drawArc(QRectF(origin.x() - radius, origin.y() - radius, 2 * radius, 2 * radius), 45 * 16, 90 * 16);
    }
}
} // namespace

namespace Recipes {

void DeviceMouse(QPainter& p, const QRectF& r, State state)
{
    Card(p, r);
    Mouse(p, r, state != State::Disabled);
}

void MouseTopView(QPainter& p, const QRectF& r, State state)
{
    Mouse(p, r, state != State::Disabled);
}

void DeviceUnknown(QPainter& p, const QRectF& r, State)
{
    Card(p, r);
    const QRectF box = MouseBox(r);
    QPen dashed(Palette::TextDisabled(), 1.6);
    dashed.setStyle(Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawPath(MouseOutline(box));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(box.width() * 0.55));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Palette::TextSecondary());
    p.drawText(box.adjusted(0, box.height() * 0.12, 0, 0), Qt::AlignCenter, QStringLiteral("?"));
}

void Receiver(QPainter& p, const QRectF& r, State state)
{
    const QColor colour = state == State::Disabled ? Palette::TextDisabled() : Palette::Accent();
    const qreal s = qMin(r.width(), r.height());
    const QPointF c = r.center();
    // The dongle: a body with its plug below.
    const QRectF body(c.x() - s * 0.16, c.y() - s * 0.02, s * 0.32, s * 0.30);
    const QRectF plug(c.x() - s * 0.10, body.bottom(), s * 0.20, s * 0.16);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(body, s * 0.06, s * 0.06);
    p.setBrush(colour.darker(160));
    p.drawRect(plug);
    p.setPen(RoundPen(colour, qMax<qreal>(1.6, s / 14)));
    Waves(p, QPointF(c.x(), body.top() - s * 0.02), s * 0.15, 2);
}

void IconCable(QPainter& p, const QRectF& r, State state)
{
    const QColor colour = state == State::Disabled ? Palette::TextDisabled() : Palette::Accent();
    const qreal s = qMin(r.width(), r.height());
    const QPointF c = r.center();
    const qreal w = qMax<qreal>(1.6, s / 14);
    p.setPen(RoundPen(colour, w));
    p.setBrush(Qt::NoBrush);
    // The USB symbol: a stem with an arrow head, a round and a square branch.
    const QPointF top(c.x(), c.y() - s * 0.38);
    const QPointF bottom(c.x(), c.y() + s * 0.28);
    p.drawLine(QPointF(top.x(), top.y() + s * 0.08), bottom);
    QPainterPath head(QPointF(top.x() - s * 0.09, top.y() + s * 0.12));
    head.lineTo(top);
    head.lineTo(top.x() + s * 0.09, top.y() + s * 0.12);
    head.closeSubpath();
    p.setBrush(colour);
    p.drawPath(head);
    QPainterPath left(QPointF(c.x(), c.y() + s * 0.12));
    left.lineTo(c.x() - s * 0.22, c.y() - s * 0.02);
    left.lineTo(c.x() - s * 0.22, c.y() - s * 0.12);
    QPainterPath right(QPointF(c.x(), c.y() + s * 0.04));
    right.lineTo(c.x() + s * 0.22, c.y() - s * 0.10);
    right.lineTo(c.x() + s * 0.22, c.y() - s * 0.18);
    p.setBrush(Qt::NoBrush);
    p.drawPath(left);
    p.drawPath(right);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(c.x() - s * 0.22, c.y() - s * 0.16), s * 0.06, s * 0.06);
    p.drawRect(QRectF(c.x() + s * 0.16, c.y() - s * 0.30, s * 0.12, s * 0.12));
    p.drawEllipse(bottom, s * 0.09, s * 0.09);
}

void IconOffline(QPainter& p, const QRectF& r, State)
{
    const qreal s = qMin(r.width(), r.height());
    const QPointF c = r.center();
    const QPointF origin(c.x(), c.y() + s * 0.24);
    p.setPen(RoundPen(Palette::TextSecondary(), qMax<qreal>(1.6, s / 14)));
    Waves(p, origin, s * 0.17, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::TextSecondary());
    p.drawEllipse(origin, s * 0.05, s * 0.05);
    // Crossed out in the warning colour, with a gap against the waves.
    const QPointF a(c.x() - s * 0.34, c.y() - s * 0.30);
    const QPointF b(c.x() + s * 0.34, c.y() + s * 0.34);
    p.setPen(RoundPen(Palette::Panel(), qMax<qreal>(1.6, s / 14) * 2.6));
    p.drawLine(a, b);
    p.setPen(RoundPen(Palette::Warning(), qMax<qreal>(1.6, s / 14)));
    p.drawLine(a, b);
}

void Badge1K(QPainter& p, const QRectF& r, State)
{
    Badge(p, r, QStringLiteral("1K"));
}

void Badge2K(QPainter& p, const QRectF& r, State)
{
    Badge(p, r, QStringLiteral("2K"));
}

void Badge4K(QPainter& p, const QRectF& r, State)
{
    Badge(p, r, QStringLiteral("4K"));
}

void Badge8K(QPainter& p, const QRectF& r, State)
{
    Badge(p, r, QStringLiteral("8K"));
}

void PairingPicture(QPainter& p, const QRectF& r, State)
{
    const qreal s = qMin(r.width(), r.height());
    const QPointF c = r.center();
    // A faint round glow under both.
    QRadialGradient plate(c, s / 2);
    QColor inner = Palette::Accent();
    inner.setAlpha(40);
    QColor outer = Palette::Accent();
    outer.setAlpha(0);
    plate.setColorAt(0, inner);
    plate.setColorAt(1, outer);
    p.setPen(Qt::NoPen);
    p.setBrush(plate);
    p.drawEllipse(c, s / 2, s / 2);

    // The mouse on the left, lit.
    const QRectF mouse(c.x() - s * 0.38, c.y() - s * 0.2, s * 0.3, s * 0.51);
    QLinearGradient shell(mouse.topLeft(), mouse.bottomRight());
    shell.setColorAt(0, QColor(0x55, 0x5C, 0x68));
    shell.setColorAt(0.55, QColor(0x2F, 0x34, 0x3C));
    shell.setColorAt(1, QColor(0x20, 0x23, 0x29));
    p.setBrush(shell);
    p.setPen(QPen(Palette::TextSecondary(), 1));
    p.drawPath(MouseOutline(mouse));
    p.setPen(RoundPen(QColor(0x12, 0x14, 0x18), 1.2));
    QPainterPath buttons(At(mouse, 4, 62));
    buttons.quadTo(At(mouse, 50, 78), At(mouse, 96, 62));
    p.setBrush(Qt::NoBrush);
    p.drawPath(buttons);
    p.drawLine(At(mouse, 50, 2), At(mouse, 50, 69));
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Accent());
    p.drawRoundedRect(QRectF(At(mouse, 42, 16), At(mouse, 58, 44)), s * 0.015, s * 0.015);

    // The receiver on the right, smaller, with its waves.
    const QRectF body(c.x() + s * 0.2, c.y() + s * 0.08, s * 0.14, s * 0.15);
    const QRectF plug(body.center().x() - s * 0.045, body.bottom(), s * 0.09, s * 0.08);
    p.setBrush(Palette::Accent());
    p.drawRoundedRect(body, s * 0.025, s * 0.025);
    p.setBrush(Palette::AccentDark());
    p.drawRect(plug);
    p.setPen(RoundPen(Palette::Accent(), s * 0.022));
    Waves(p, QPointF(body.center().x(), body.top() - s * 0.01), s * 0.06, 2);

    // A dotted arc from the mouse's nose over to the receiver.
    QPen dots(Palette::AccentLight(), s * 0.028);
    dots.setCapStyle(Qt::RoundCap);
    dots.setStyle(Qt::CustomDashLine);
    dots.setDashPattern({0.01, 2.4});
    p.setPen(dots);
    p.setBrush(Qt::NoBrush);
    const QPointF from(mouse.center().x(), mouse.top() - s * 0.06);
    const QPointF to(body.center().x(), body.top() - s * 0.16);
    QPainterPath arc(from);
    arc.cubicTo(QPointF(from.x() + s * 0.05, c.y() - s * 0.46), QPointF(to.x() - s * 0.05, c.y() - s * 0.4), to);
    p.drawPath(arc);
}

} // namespace Recipes
