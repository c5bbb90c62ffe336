#include "Recipes.h"

#include "Palette.h"

#include <cmath>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

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
    QPen pen(Recipes::IconColour(state), width);
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
// A round glow of the accent over the window colour, strongest (`strength`,
// 0 to 1) at the centre and gone at the radius; each pixel rounded with a
// little noise, so the gradient has no visible steps.
QImage Glow(const QSize& size, const QPointF& centre, qreal radius, qreal strength)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const QColor ground = Palette::Window();
    const QColor accent = Palette::Accent();
    quint32 seed = 0x9E3779B9u;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const qreal distance = std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y()) / radius;
            const qreal t = distance >= 1 ? 0 : strength * (1 - distance) * (1 - distance);
            int channel[3];
            const int from[3] = {ground.red(), ground.green(), ground.blue()};
            const int to[3] = {accent.red(), accent.green(), accent.blue()};
            for (int c = 0; c < 3; ++c) {
                seed = seed * 1664525u + 1013904223u;
                const qreal noise = (seed >> 8) / qreal(1 << 24) - 0.5;
                channel[c] = qBound(0, int(std::floor(from[c] + (to[c] - from[c]) * t + 0.5 + noise)), 255);
            }
            line[x] = qRgb(channel[0], channel[1], channel[2]);
        }
    }
    return image;
}

// A round page-turning arrow pointing left (-1) or right (1).
void PageArrow(QPainter& p, const QRectF& r, State state, qreal dx)
{
    const bool lit = state == State::Hover || state == State::Pressed;
    const qreal side = qMin(r.width(), r.height()) - 2;
    const QRectF disc(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    QColor fill = lit ? Palette::PanelHover() : Palette::Panel();
    fill.setAlpha(lit ? 255 : 200);
    p.setBrush(fill);
    p.setPen(QPen(lit ? Palette::Accent() : Palette::LineStrong(), 1.2));
    p.drawEllipse(disc);
    QPen pen(lit ? Palette::Accent() : Palette::Text(), side / 16);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c = disc.center();
    const qreal h = side * 0.14;
    const QPointF tip(c.x() + dx * h * 0.6, c.y());
    QPainterPath path(QPointF(tip.x() - dx * h, tip.y() - h * 1.1));
    path.lineTo(tip);
    path.lineTo(tip.x() - dx * h, tip.y() + h * 1.1);
    p.drawPath(path);
}
// A wide button tinted with a colour, with a mark drawn at its left end.
void OutcomeButton(QPainter& p, const QRectF& r, const QColor& colour, bool tick)
{
    const QRectF box = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = Palette::Panel();
    fill = QColor((fill.red() * 3 + colour.red()) / 4, (fill.green() * 3 + colour.green()) / 4,
                  (fill.blue() * 3 + colour.blue()) / 4);
    p.setPen(QPen(colour, 1));
    p.setBrush(fill);
    const qreal radius = qMin<qreal>(5, r.height() / 2 - 1);
    p.drawRoundedRect(box, radius, radius);
    const qreal s = r.height() * 0.36;
    const QRectF mark(r.left() + r.height() * 0.4, r.center().y() - s / 2, s, s);
    QPen pen(colour, qMax<qreal>(1.8, s / 7));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (tick) {
        QPainterPath path(QPointF(mark.left(), mark.top() + s * 0.55));
        path.lineTo(mark.left() + s * 0.38, mark.bottom() - s * 0.08);
        path.lineTo(mark.right(), mark.top() + s * 0.1);
        p.drawPath(path);
    } else {
        const QRectF cross = mark.adjusted(s * 0.1, s * 0.1, -s * 0.1, -s * 0.1);
        p.drawLine(cross.topLeft(), cross.bottomRight());
        p.drawLine(cross.topRight(), cross.bottomLeft());
    }
}
} // namespace

namespace Recipes {

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


void ButtonSuccess(QPainter& p, const QRectF& r, State)
{
    OutcomeButton(p, r, Palette::Accent(), true);
}

void ButtonFailure(QPainter& p, const QRectF& r, State)
{
    OutcomeButton(p, r, Palette::Danger(), false);
}

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

void IconArrowUp(QPainter& p, const QRectF& r, State state)
{
    Chevron(p, r, state, 0, -1);
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

void TitleBand(QPainter& p, const QRectF& r, qreal markLeft)
{
    const qreal band = TitleBandHeight;
    QLinearGradient shade(r.topLeft(), QPointF(r.left(), r.top() + band));
    shade.setColorAt(0, Palette::Panel());
    shade.setColorAt(1, Palette::Window());
    p.fillRect(QRectF(r.left(), r.top(), r.width(), band), shade);
    p.setPen(QPen(Palette::Line(), 1));
    p.drawLine(QPointF(r.left(), r.top() + band - 0.5), QPointF(r.right(), r.top() + band - 0.5));
    // Word mark: an accent bar, then the product name.
    p.setPen(Qt::NoPen);
    p.setBrush(Palette::Accent());
    p.drawRoundedRect(QRectF(r.left() + markLeft, r.top() + 15, 4, 18), 2, 2);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(font);
    p.setPen(Palette::Text());
    p.drawText(QRectF(r.left() + markLeft + 14, r.top(), 300, band), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("TALVIRE"));
    font.setBold(false);
    font.setPixelSize(13);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(font);
    p.setPen(Palette::TextSecondary());
    p.drawText(QRectF(r.left() + markLeft + 124, r.top(), 300, band), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("CONTROL"));
}

void MainWindowBackground(QPainter& p, const QRectF& r, State)
{
    p.fillRect(r, Palette::Window());
    // A faint accent glow where the window's content sits, dithered so that
    // its few colour steps show no rings.
    p.drawImage(r.topLeft(), Glow(r.size().toSize(), QPointF(r.width() / 2, r.height() * 0.55),
                                  r.width() * 0.45, 0.07));
    TitleBand(p, r, 22);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Palette::Line(), 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

void PageArrowLeft(QPainter& p, const QRectF& r, State state)
{
    PageArrow(p, r, state, -1);
}

void PageArrowRight(QPainter& p, const QRectF& r, State state)
{
    PageArrow(p, r, state, 1);
}

void IconRepair(QPainter& p, const QRectF& r, State state)
{
    IconPlate(p, r, state);
    const qreal s = qMin(r.width(), r.height()) * 0.72;
    const QPointF c = r.center();
    // Drawn pointing up, then turned to lie from the lower left to the upper
    // right: an open-ended head on a straight handle.
    const qreal head = s * 0.26;
    const QPointF headCentre(0, -s * 0.5 + head);
    QPainterPath ring;
    ring.addEllipse(headCentre, head, head);
    QPainterPath jaw;
    jaw.addRect(QRectF(-head * 0.36, headCentre.y() - head * 1.2, head * 0.72, head * 1.2));
    QPainterPath handle;
    handle.addRoundedRect(QRectF(-s * 0.09, headCentre.y() + head * 0.5, s * 0.18, s * 0.5 + s * 0.5 - head * 1.5 - s * 0.02),
                          s * 0.09, s * 0.09);
    QPainterPath wrench = ring.subtracted(jaw).united(handle);
    QTransform turn;
    turn.translate(c.x(), c.y());
    turn.rotate(45);
    p.setPen(Qt::NoPen);
    p.setBrush(state == State::Disabled ? Palette::TextDisabled() : Palette::Warning());
    p.drawPath(turn.map(wrench));
}

void FlatPanel(QPainter& p, const QRectF& r, State)
{
    p.fillRect(r, Palette::Panel());
}

} // namespace Recipes
