#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What the sensor page knows about the sensor of the mouse in use: the
// definition table of driver_sensor.h (filled once by Sensor::ReadSensorDefines),
// the current model's sensor and DPI segments (rewritten at every refresh by
// Sensor::ReadDpiRange), and the conversion between a DPI and the register
// bytes of a DPI stage record. GUI thread only.

// The definitions of driver_sensor.h in file order; SensorDefineValues[i] is
// the value of SensorDefineNames[i].
extern QStringList SensorDefineNames;
extern QVector<int> SensorDefineValues;

// "Sensor" of the current model's group: "3395", "3950"; empty before the
// first refresh.
extern QString CurrentSensorModel;

// The current model's "DPIRange": one to four segments of (minimum, maximum,
// step), then the range mode 0x11, 0x22 or 0x33 (the bank flags of a DPI
// above the first segment, or per segment). Mode 0 and no segments before the
// first refresh and for a model without a usable range.
constexpr int MaxDpiSegments = 4;
extern int DpiRangeMode;
extern int DpiSegmentCount;
extern QVector<int> DpiSegmentMinima;
extern QVector<int> DpiSegmentMaxima;
// The items of each segment as written; the DPI panel snaps to StepText.
struct DpiSegmentText {
    QString MinText;
    QString MaxText;
    QString StepText;
};
extern DpiSegmentText DpiSegmentTexts[MaxDpiSegments];

// Whether every item (a minimum, maximum or step of "DPIRange") is a decimal
// number that a stage record can hold: 0 to SensorDefineFile::MaxStageDpi.
// A range with any other item counts as absent.
bool DpiRangeHoldable(const QStringList& numbers);

// Whether the current sensor has a feature: its model list (a switch text of
// driver_sensor.h) contains CurrentSensorModel. An empty model has every
// feature.
bool SensorFeatureSupported(const QString& models);

// Writes stage 0-7 of the DPI stages as dpi: its register and bank flags go
// into the stage record through SetDpiStageValue (which checks that the mouse
// answers). A DPI the register cannot hold is written as the nearest one it
// can; a model with a register table takes its entry for the DPI, or the entry
// nearest to it. Returns the DPI written, which is what the page shows;
// -1 and nothing written for stage -1 (no stage chosen) or another stage
// outside 0-7.
int WriteDpiStage(int stage, int dpi);

// The DPI a stage record stands for, from its X register byte and its
// high-bits byte; 0 when the model's register table has no entry for it.
int StageDpiFromRegisters(int x, int bits);
