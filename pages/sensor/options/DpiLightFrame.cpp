#include "pages/sensor/options/DpiLightFrame.h"

#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"

#include <QLabel>
#include <QSlider>
#include <QSpinBox>

constexpr int DpiLightFrame::BrightnessSteps[10];

DpiLightFrame::DpiLightFrame(QWidget* parent)
    : QFrame(parent)
{
}

int DpiLightFrame::BrightnessOfPosition(int position)
{
    return BrightnessSteps[qBound(1, position, 10) - 1];
}

void DpiLightFrame::Attach(const Rows& rows)
{
    // The frame itself draws no panel: only its controls show on the page.
    setStyleSheet(QLatin1String(metaObject()->className()) + QStringLiteral("{border:0px;}"));
    rows_ = rows;
    PictureFolder = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    const QString label = StyleSheet::ColourRule(QStringLiteral("QLabel"), QStringLiteral("LabelColor"));
    for (QLabel* text : {rows_.title, rows_.brightnessCaption, rows_.speedCaption})
        text->setStyleSheet(label);
    const QString slider = StyleSheet::HandleSliderRule(PictureFolder, 6);
    rows_.speed->setStyleSheet(slider);
    rows_.brightness->setStyleSheet(slider);
    const QString value = QStringLiteral("QSpinBox{color: rgb(") + StyleSheet::ColourText(QStringLiteral("LabelColor"))
        + QStringLiteral(";);background-color: transparent;border: 0px;}");
    rows_.speedValue->setStyleSheet(value);
    rows_.brightnessValue->setStyleSheet(value);
}

void DpiLightFrame::ShowRowsOfMode(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    const bool speed = mode == 2;
    const bool brightness = mode == 1;
    rows_.speed->setVisible(speed);
    rows_.speedValue->setVisible(speed);
    rows_.speedLine->setVisible(!speed);
    rows_.brightness->setVisible(brightness);
    rows_.brightnessValue->setVisible(brightness);
    rows_.brightnessLine->setVisible(!brightness);
}

void DpiLightFrame::ModeChosen(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    ShowRowsOfMode(mode);
    if (ChangeMayWrite())
        SetDpiLightMode(mode);
}

bool DpiLightFrame::ChangeMayWrite()
{
    return UiReady && !SensorPageLoading;
}

void DpiLightFrame::SetSpeed(int speed)
{
    rows_.speed->setValue(speed);
}

void DpiLightFrame::SetBrightness(int position)
{
    rows_.brightness->setValue(position);
}

void DpiLightFrame::SetSlidersEnabled(bool enabled)
{
    rows_.speed->setEnabled(enabled);
    rows_.brightness->setEnabled(enabled);
}

void DpiLightFrame::SetTitleText(const QString& text)
{
    rows_.title->setText(text);
}

void DpiLightFrame::SetSpeedText(const QString& text)
{
    rows_.speedCaption->setText(text);
}

void DpiLightFrame::SetBrightnessText(const QString& text)
{
    rows_.brightnessCaption->setText(text);
}

void DpiLightFrame::SpeedMoved(int position)
{
    rows_.speedValue->setValue(position);
}

void DpiLightFrame::SpeedChanged(int speed)
{
    rows_.speedValue->setValue(speed);
    if (ChangeMayWrite())
        SetDpiLightSpeed(speed);
}

void DpiLightFrame::BrightnessMoved(int position)
{
    rows_.brightnessValue->setValue(position);
}

void DpiLightFrame::BrightnessChanged(int position)
{
    rows_.brightnessValue->setValue(position);
    if (ChangeMayWrite())
        SetDpiLightBrightness(BrightnessOfPosition(position));
}
