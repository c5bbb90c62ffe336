#include "pages/sensor/DpiStageEditing.h"

#include "core/DeviceAllInfo.h"
#include "core/DpiStage.h"
#include "core/ParameterSetters.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "core/SensorDefineFile.h"
#include "pages/sensor/SensorTables.h"

#include <QColor>
#include <QSlider>

#include <cctype>
#include <limits>

namespace DpiStageEditing {
namespace {
struct Segment {
    int minimum;
    int maximum;
    int step;
};

// The segments as numbers; none when the count is outside 1-4 or a number
// is one a stage register cannot hold. A step that is not a positive number
// counts as 1, so that no value is divided by 0.
QVector<Segment> Segments()
{
    QVector<Segment> segments;
    if (DpiSegmentCount < 1 || DpiSegmentCount > MaxDpiSegments)
        return segments;
    for (int k = 0; k < DpiSegmentCount; ++k) {
        const DpiSegmentText& texts = DpiSegmentTexts[k];
        if (!DpiRangeHoldable({texts.MinText, texts.MaxText}))
            return {};
        segments.append({texts.MinText.trimmed().toInt(), texts.MaxText.trimmed().toInt(),
                         qBound(1, texts.StepText.trimmed().toInt(), SensorDefineFile::MaxStageDpi)});
    }
    return segments;
}

// value moved by step, held within int: a value the panel did not make may
// lie at either end.
int Moved(int value, int step)
{
    return int(qBound<qint64>(std::numeric_limits<int>::min(), qint64(value) + step,
                              std::numeric_limits<int>::max()));
}

void SetPageStep(QSlider* slider, int step)
{
    if (slider)
        slider->setPageStep(step);
}
} // namespace

int SnapToDpiSegment(int value, QSlider* slider)
{
    const QVector<Segment> segments = Segments();
    for (int k = 0; k < segments.size(); ++k) {
        const Segment& segment = segments.at(k);
        if (value >= segment.minimum && value <= segment.maximum) {
            SetPageStep(slider, segment.step);
            return value - value % segment.step;
        }
        if (k + 1 < segments.size() && value > segment.maximum && value < segments.at(k + 1).minimum) {
            SetPageStep(slider, segments.at(k + 1).step);
            return segments.at(k + 1).minimum;
        }
    }
    return value;
}

int FitToDpiSegments(int value, QSlider* slider)
{
    const QVector<Segment> segments = Segments();
    if (segments.isEmpty())
        return value;
    if (value < segments.first().minimum)
        return segments.first().minimum;
    if (value > segments.last().maximum)
        return segments.last().maximum;
    const int snapped = SnapToDpiSegment(value, slider);
    // The grid is counted from 0: a segment that starts off the grid would
    // lose its lowest values.
    for (const Segment& segment : segments) {
        if (value >= segment.minimum && value <= segment.maximum)
            return qMax(snapped, segment.minimum);
    }
    return snapped;
}

int StepUp(int value)
{
    const QVector<Segment> segments = Segments();
    const int n = segments.size();
    for (int k = 0; k + 1 < n; ++k) {
        const Segment& segment = segments.at(k);
        if (value >= segment.minimum && value < segment.maximum)
            return Moved(value, segment.step);
        if (value >= segment.maximum && value < segments.at(k + 1).minimum)
            return segments.at(k + 1).minimum;
    }
    if (n > 0 && value >= segments.last().minimum && value <= segments.last().maximum)
        return Moved(value, segments.last().step);
    return value;
}

int StepDown(int value)
{
    const QVector<Segment> segments = Segments();
    for (int k = 0; k < segments.size(); ++k) {
        const Segment& segment = segments.at(k);
        if (value >= segment.minimum && value <= segment.maximum)
            return Moved(value, -segment.step);
        if (k + 1 < segments.size() && value > segment.maximum && value < segments.at(k + 1).minimum)
            return segments.at(k + 1).minimum;
    }
    return value;
}

bool DeviceAnswersOrNotify()
{
    if (DeviceAllInfo::Answers(CurrentDevicePath.get()))
        return true;
    PostMsg::Instance()->PostMouseOffLineo(PostMsg::MouseOffLine);
    return false;
}

bool ExchangeStages(int last, int previous)
{
    const FlashDataMap image = LiveFlashData.get();
    if (last < 0 || last >= FlashDataMap::StageCount || previous < 0 || previous >= FlashDataMap::StageCount)
        return false;
    // The record of `last` goes to `previous` and the other way round.
    return SetDpiStages(image.dpiStages[last], image.dpiStages[previous], last, previous, last);
}

QString HexColour(const QColor& colour)
{
    return QStringLiteral("#%1%2%3")
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .arg(colour.blue(), 2, 16, QLatin1Char('0'));
}

bool HexColourParts(const QString& text, int* red, int* green, int* blue)
{
    if (text.size() != 7 || !text.startsWith(QLatin1Char('#')))
        return false;
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const QStringRef digits = text.midRef(1 + 2 * i, 2);
        // toInt accepts a sign; a colour has two hexadecimal digits only.
        for (const QChar c : digits) {
            if (!std::isxdigit(static_cast<unsigned char>(c.toLatin1())))
                return false;
        }
        parts[i] = digits.toInt(&ok, 16);
        if (!ok)
            return false;
    }
    *red = parts[0];
    *green = parts[1];
    *blue = parts[2];
    return true;
}

QString SliderRule(const QString& pictureFolder)
{
    return StyleSheet::HandleSliderRule(pictureFolder, 0);
}

QString SpinBoxRule()
{
    return StyleSheet::ValueBoxRule();
}

} // namespace DpiStageEditing
