#include "pages/sensor/options/LiftOffFrame.h"

#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"

#include <QLabel>

LiftOffFrame::LiftOffFrame(QWidget* parent)
    : QFrame(parent)
{
}

void LiftOffFrame::AttachLabel(QLabel* label)
{
    // The frame itself draws no panel: only its controls show on the page.
    setStyleSheet(QLatin1String(metaObject()->className()) + QStringLiteral("{border:0px;}"));
    label_ = label;
    PictureFolder = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    label_->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor")));
}

void LiftOffFrame::SetText(const QString& text)
{
    label_->setText(text);
}

void LiftOffFrame::SetToolTip(const QString& text)
{
    label_->setToolTip(text);
}

void LiftOffFrame::WriteDistance(int code)
{
    if (!UiReady || SensorPageLoading)
        return;
    SetLiftOffDistance(code);
}
