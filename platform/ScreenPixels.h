#pragma once

#include <QPixmap>
#include <QPoint>
#include <QSize>

// The screen as the colour picker reads it: where the cursor is, how many
// screen pixels one logical pixel covers, and a small area of the primary
// screen. The real source asks the primary screen (an X11 root-window grab;
// other window systems may give nothing); tests put their own in place.
// GUI thread.
class ScreenPixels {
public:
    virtual ~ScreenPixels() = default;

    // The cursor's global position in logical pixels.
    virtual QPoint CursorPosition() const = 0;
    // Screen pixels per logical pixel of the primary screen (its device
    // pixel ratio), 1 without scaling.
    virtual qreal Scale() const = 0;
    // The area of the primary screen at `at`, in screen pixels; a null pixmap
    // when the screen cannot be read.
    virtual QPixmap Grab(const QPoint& at, const QSize& size) const = 0;

    // The source in use: the real one unless a test put another in place.
    static const ScreenPixels& Current();
    // A test's source (not owned); nullptr brings the real one back.
    static void Replace(const ScreenPixels* source);
};
