#pragma once

#include <QString>

class QColor;
class QSlider;

// What the two DPI stage panels (SensorDPI and its per-stage variant
// SensorDPIB) share: fitting a DPI to the current model's segments
// (DpiSegmentTexts), the steps of the step buttons, the exchange of two stage
// records when the stage count shrinks, and the style sheets of their slider,
// spin box and stage-count list. GUI thread.
namespace DpiStageEditing {

// The segment rule: a value within a segment goes down to a multiple of the
// segment's step (counted from 0) and the slider's page step becomes that
// step; a value in the gap below a segment goes up to its minimum and the
// page step becomes its step. Any other value, or a model without segments,
// is left as it is, and so is the page step. slider may be null.
int SnapToDpiSegment(int value, QSlider* slider);
// The value the panels show and write: snapped, then held within the model's
// ranges (a snap below its segment's minimum gives the minimum; a value below
// the first segment or above the last gives that limit). Unchanged for a
// model without segments.
int FitToDpiSegments(int value, QSlider* slider);
// The step buttons: the next value up or down from value, by the segment
// that holds it (the maximum of a segment that another follows steps to the
// next one's minimum); unchanged outside the segments or without any.
int StepUp(int value);
int StepDown(int value);

// Whether the current device answers; when it does not, the offline notice
// (SigMouseOffLineo(0)). For the panels' own checks before they act.
bool DeviceAnswersOrNotify();

// The stage-count change that leaves the current stage `previous` beyond
// the new last stage `last`: the two stage records of the live image change
// places, `last` becomes the current stage and last + 1 the count, in one
// write (the setter checks that the mouse answers).
bool ExchangeStages(int last, int previous);

// A colour as the panels hand it on: "#rrggbb", lower case.
QString HexColour(const QColor& colour);
// The three numbers of a "#rrggbb" text (either case); false, and nothing
// set, for a text of another form.
bool HexColourParts(const QString& text, int* red, int* green, int* blue);

// Style sheets: the DPI slider (the "HuaKuai.png" handle on a thin groove in
// "SliderColor"), the read-only value box ("LinEditColorSecond"), and the
// stage-count list with its list view.
QString SliderRule(const QString& pictureFolder);
QString SpinBoxRule();

} // namespace DpiStageEditing
