#pragma once

#include "core/PostMsg.h"
#include "pages/lighting/LampLight.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

// The lighting page connected to the bus as whoever creates it connects it:
// the two images (a copy each, queued when they come from another thread),
// the defaults (blocking, as at the other pages) and the language.
inline bool ConnectLightingPage(LampLight* page)
{
    return PostMsg::Connect(SIGNAL(SigUpDataLightLight(FlashDataMap)), page,
                            SLOT(SlotUpDataLightUILight(FlashDataMap)))
        && PostMsg::Connect(SIGNAL(SigUpDataLightUIA(FlashDataMap)), page, SLOT(SlotUpDataLightUIA(FlashDataMap)))
        && PostMsg::Connect(SIGNAL(SigFormReset()), page, SLOT(SlotFormResetLight()),
                            Qt::BlockingQueuedConnection)
        && PostMsg::Connect(SIGNAL(SigChangeLanguage(int)), page, SLOT(SlotChangeLanguage(int)));
}

template <class Widget>
Widget* PageChild(QWidget* page, const QString& name)
{
    auto* child = page->findChild<Widget*>(name);
    if (!child)
        qFatal("no child %s", qPrintable(name));
    return child;
}

// The page's controls by their form names.
struct LightingControls {
    explicit LightingControls(QWidget* page)
        : mode(PageChild<QComboBox>(page, QStringLiteral("LightMod")))
        , brightness(PageChild<QSlider>(page, QStringLiteral("horizontalLight")))
        , speed(PageChild<QSlider>(page, QStringLiteral("horizontalSpeed")))
        , brightnessBox(PageChild<QSpinBox>(page, QStringLiteral("LightSpinBox_2")))
        , speedBox(PageChild<QSpinBox>(page, QStringLiteral("SpeedSpinBox_2")))
        , red(PageChild<QSpinBox>(page, QStringLiteral("RSpinBox")))
        , green(PageChild<QSpinBox>(page, QStringLiteral("GSpinBox")))
        , blue(PageChild<QSpinBox>(page, QStringLiteral("BSpinBox")))
        , moveLightOff(PageChild<QToolButton>(page, QStringLiteral("RippeControl")))
        , lightOff(PageChild<QComboBox>(page, QStringLiteral("StopClose")))
        , board(PageChild<QLabel>(page, QStringLiteral("label_7")))
        , preview(PageChild<QLabel>(page, QStringLiteral("labelPreView")))
    {
    }
    QToolButton* Preset(char letter) const
    {
        return PageChild<QToolButton>(mode->window(), QStringLiteral("toolButtonColor") + QLatin1Char(letter));
    }

    QComboBox* mode;
    QSlider* brightness;
    QSlider* speed;
    QSpinBox* brightnessBox;
    QSpinBox* speedBox;
    QSpinBox* red;
    QSpinBox* green;
    QSpinBox* blue;
    QToolButton* moveLightOff;
    QComboBox* lightOff;
    QLabel* board;
    QLabel* preview;
};

// A person moves a slider's handle to value and lets it go.
inline void DragSlider(QSlider* slider, int value)
{
    slider->setSliderDown(true);
    slider->setSliderPosition(value);
    slider->setSliderDown(false);
}
