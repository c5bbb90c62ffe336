#pragma once

#include "PictureTable.h"

#include <QColor>

// The drawing recipes shared by every picture folder.
namespace Recipes {
// The colour of a line icon or glyph in a state: secondary text at rest, light
// text on hover, the accent when pressed or checked.
QColor IconColour(State state);
// Window and dialog backgrounds: the window colour with a hair-line border.
void DialogBackground(QPainter& p, const QRectF& r, State state);
// A rounded panel on a transparent ground.
void Panel(QPainter& p, const QRectF& r, State state);
// Rounded push button: border at rest, lighter on hover, accent when pressed
// or checked.
void Button(QPainter& p, const QRectF& r, State state);
// Line icons in the three states (secondary text, light text, accent).
void IconClose(QPainter& p, const QRectF& r, State state);
void IconMinimise(QPainter& p, const QRectF& r, State state);
void IconArrowLeft(QPainter& p, const QRectF& r, State state);
void IconArrowRight(QPainter& p, const QRectF& r, State state);
void IconArrowDown(QPainter& p, const QRectF& r, State state);
void IconArrowUp(QPainter& p, const QRectF& r, State state);
// Check box indicator: an empty box (Normal) or an accent box with a tick
// (Checked).
void CheckBox(QPainter& p, const QRectF& r, State state);

// Height of the title band of the top-level windows.
constexpr qreal TitleBandHeight = 48;
// The title band: a shaded strip with a hair line below it and the product's
// word mark starting markLeft pixels from the left.
void TitleBand(QPainter& p, const QRectF& r, qreal markLeft);
// The ground of a top-level window: title band with the product's word mark,
// a faint accent glow in the middle and a hair-line border.
void MainWindowBackground(QPainter& p, const QRectF& r, State state);
// Round page-turning arrows: an outlined disc with a chevron; accent on hover.
void PageArrowLeft(QPainter& p, const QRectF& r, State state);
void PageArrowRight(QPainter& p, const QRectF& r, State state);
// A wrench in the warning colour: something waits to be repaired.
void IconRepair(QPainter& p, const QRectF& r, State state);
// Flat panel without border or corners, for grounds that are stretched.
void FlatPanel(QPainter& p, const QRectF& r, State state);
// The outcome of an action on a wide button: a tinted ground with a tick in
// the accent (success) or a cross in the danger colour (failure) at its left.
void ButtonSuccess(QPainter& p, const QRectF& r, State state);
void ButtonFailure(QPainter& p, const QRectF& r, State state);

// Device pictures. A card with the top view of a mouse: Normal lit (the
// device answers), Disabled dimmed (it does not).
void DeviceMouse(QPainter& p, const QRectF& r, State state);
// The same mouse without its card, on a transparent ground (the button page).
void MouseTopView(QPainter& p, const QRectF& r, State state);
// A card with a dashed mouse outline and a question mark: a device of no
// known model.
void DeviceUnknown(QPainter& p, const QRectF& r, State state);
// Small link icons: the receiver (a USB dongle with radio waves), the cable
// (the USB symbol), and the offline marker (waves crossed out).
void Receiver(QPainter& p, const QRectF& r, State state);
void IconCable(QPainter& p, const QRectF& r, State state);
void IconOffline(QPainter& p, const QRectF& r, State state);
// The report-rate badges of the receiver kinds: accent pills.
void Badge1K(QPainter& p, const QRectF& r, State state);
void Badge2K(QPainter& p, const QRectF& r, State state);
void Badge4K(QPainter& p, const QRectF& r, State state);
void Badge8K(QPainter& p, const QRectF& r, State state);
// A mouse and a receiver joined by a dotted arc: pairing.
void PairingPicture(QPainter& p, const QRectF& r, State state);
} // namespace Recipes
