#include "platform/ScreenPixels.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {
class PrimaryScreen : public ScreenPixels {
public:
    QPoint CursorPosition() const override { return QCursor::pos(); }

    qreal Scale() const override
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->devicePixelRatio() : 1.0;
    }

    QPixmap Grab(const QPoint& at, const QSize& size) const override
    {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen)
            return QPixmap();
        // The screen's grab takes logical pixels and scales them itself.
        const qreal scale = screen->devicePixelRatio();
        if (qFuzzyCompare(scale, 1.0))
            return screen->grabWindow(0, at.x(), at.y(), size.width(), size.height());
        const QPoint logical = (QPointF(at) / scale).toPoint();
        return screen->grabWindow(0, logical.x(), logical.y(), qMax(1, qRound(size.width() / scale)),
                                  qMax(1, qRound(size.height() / scale)));
    }
};

const PrimaryScreen RealSource;
const ScreenPixels* Source = nullptr;
} // namespace

const ScreenPixels& ScreenPixels::Current()
{
    return Source ? *Source : RealSource;
}

void ScreenPixels::Replace(const ScreenPixels* source)
{
    Source = source;
}
