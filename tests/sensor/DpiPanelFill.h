#pragma once

#include "core/FlashDataMap.h"
#include "core/ProductDescription.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "pages/sensor/SensorTables.h"

#include <QString>

// Drives the DPI stage panel the way the sensor page does, in its three
// orders: the refresh from a device image, the reset to the product's
// defaults, and the stage the mouse reports.
namespace DpiPanelFill {

inline QString HexColour(const DpiStage& record)
{
    return QStringLiteral("#%1%2%3")
        .arg(record.red, 2, 16, QLatin1Char('0'))
        .arg(record.green, 2, 16, QLatin1Char('0'))
        .arg(record.blue, 2, 16, QLatin1Char('0'));
}

inline int StageDpi(const FlashDataMap& image, int stage)
{
    return StageDpiFromRegisters(image.dpiStages[stage].x, image.dpiStages[stage].bits);
}

// The refresh from a whole image, for a model of `stages` stage records.
template <typename Panel>
void Refresh(Panel& panel, const FlashDataMap& image, int stages, int lowest, int highest)
{
    const int count = image.dpiStageCount;
    const int current = image.currentDpiStage;
    panel.ClearChooseEvent();
    panel.BlockSliderSignals(true);
    panel.SetSliderEnabled(true);
    const ScopedFlag loading(SensorPageLoading);
    panel.SetStageCount(count);
    panel.SetCurrentStage(current);
    panel.BlockChooseEventSignals(true);
    for (int i = 0; i < stages; ++i) {
        panel.SetStageColor(i, HexColour(image.dpiStages[i]));
        panel.InsertChooseEventItem(i, QString::number(i + 1));
    }
    panel.BlockChooseEventSignals(false);
    panel.HighlightStage(current);
    panel.SetDpiMaximum(highest);
    panel.SetDpiMinimum(lowest);
    for (int i = 0; i < stages; ++i) {
        const int dpi = StageDpi(image, i);
        panel.SetStageText(i, QString::number(dpi));
        if (i == current) {
            panel.SetDpiValue(dpi);
            panel.SetSpinValue(dpi);
        }
    }
    panel.ShowStages(count - 1);
    panel.SetChooseEventIndex(count - 1);
    panel.MoveMarkerToStage(current + 1);
    panel.CheckStage(current);
    panel.BlockSliderSignals(false);
}

// The reset to the defaults, inside an apply of the whole configuration.
template <typename Panel>
void Reset(Panel& panel)
{
    const ScopedFlag loading(SensorPageLoading);
    const ScopedFlag applying(ApplyInProgress);
    panel.SetDpiMaximum(12000);
    panel.SetDpiMinimum(50);
    panel.LoadDefaultStages();
    panel.ClearChooseEvent();
    for (int i = 0; i < 6; ++i)
        panel.InsertChooseEventItem(i, QString::number(i + 1));
    panel.BlockChooseEventSignals(false);
    panel.ShowStages(5);
    panel.SetChooseEventIndex(5);
    panel.MoveMarkerToStage(2);
    panel.CheckStage(1);
    panel.SetDpiValue(800);
    panel.SetSpinValue(800);
}

// The current stage the mouse reported.
template <typename Panel>
void StageReport(Panel& panel, int stage)
{
    const ScopedFlag notReady(UiReady, false);
    panel.MoveMarkerToStage(stage + 1);
    if (stage >= 0 && stage < FlashDataMap::StageCount) {
        panel.CheckStage(stage);
        panel.SetCurrentStage(stage);
    }
}

} // namespace DpiPanelFill
