#pragma once

#include "core/FlashDataMap.h"
#include "core/SensorDefineFile.h"

#include <QString>
#include <QStringList>
#include <QWidget>

namespace Ui {
class Sensor;
}

// The sensor page, the third page built by the configuration frame. It takes
// the whole images and the partial device updates the worker sends: while it
// fills its widgets from an image, SensorPageLoading keeps the setters quiet,
// and SensorPageFilled tells the apply dialog that the page has taken it.
class Sensor : public QWidget {
    Q_OBJECT
public:
    explicit Sensor(QWidget* parent = nullptr);
    ~Sensor() override;

    // Reads driver_sensor.h: appends its definitions to SensorDefineNames and
    // SensorDefineValues and takes the six feature lists. A missing file
    // leaves everything empty.
    void ReadSensorDefines(const QString& path = SensorDefineFile::DefaultPath());
    // Takes the items of the current model's "DPIRange" into the DPI segment
    // tables and the two range texts. A missing or empty range, or one of
    // more than four segments, gives mode 0 and no segments (the texts stay).
    void ReadDpiRange(const QStringList& items);

    // The sensor models of each feature, as driver_sensor.h lists them
    // (SensorFeatureSupported tells whether the current one is among them).
    QString ModeSelectSensors;     // the sensor-mode list
    QString LodCalSensors;         // the lift-off distance list
    QString RippleSensors;         // ripple control
    QString FixLineSensors;        // angle snapping
    QString MotionSyncSensors;
    QString MousepadCalSensors;
    // The lowest and the highest DPI of the current model's range, as written.
    QString DpiRangeMinText;
    QString DpiRangeMaxText;

public slots:
    // A whole image read from the device (blocking: the sender waits): clears
    // SensorPageFilled, fills the page, then sets it.
    void SlotUpDataSenSorUISensor(FlashDataMap image);
    // An imported image: fills the page, SensorPageFilled untouched.
    void SlotUpDataSenSorUIB(FlashDataMap image);
    // The report-rate code the device reported (1, 2, 4, 8, 16, 32, 64).
    void SlotUpDataReportRate(int code);
    // The current DPI stage the device reported (0 to 7).
    void SlotUpDataDPI(int stage);
    // The DPI light bytes (image 0x3F to 0x42) the device reported.
    void SlotUpDataDPILed(FlashDataMap image);
    // Neither device data nor a stored image: the default settings.
    void SlotFormReset();

private:
    // Fills the page's widgets from the image, with SensorPageLoading set.
    void ShowImage(const FlashDataMap& image);

    Ui::Sensor* ui;
};
