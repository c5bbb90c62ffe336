#pragma once

#include "core/FlashDataMap.h"
#include "core/LanguageTexts.h"
#include "core/SensorDefineFile.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class ProductDescription;
class QListView;

namespace Ui {
class Sensor;
}

// The sensor page, the third page built by the configuration frame: the DPI
// stage panel, the report-rate frame, the sensor mode, the performance
// switch with its sleep time, ripple control, angle snapping and the DPI
// light. It takes the whole images and the partial device updates the
// worker sends: while it fills its widgets from an image, SensorPageLoading
// keeps the widgets' own handlers and the setters quiet, and
// SensorPageFilled tells the apply dialog that the page has taken a device
// read. The page writes the sensor mode, the performance switch and the
// sleep time itself; its frames write the rest. GUI thread.
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
    // tables and the two range texts. A missing or empty range, one of more
    // than four segments, or one that a stage register cannot hold, gives
    // mode 0 and no segments (the texts stay).
    void ReadDpiRange(const QStringList& items);
    // The first line of "Level.ini" in UserSettingDir as the DPI panel's
    // stage count: 1 for a missing file, an empty line or one that is not a
    // number, else the number held to 1-8. Returns the count handed on.
    // The page never writes the file.
    int LoadLevelIni();
    // The product description the refreshes read the current model from
    // (the one beside the program unless another, a test's, is given; it
    // must outlive the page).
    void UseProductDescription(const ProductDescription* description);

    // Per-user folder of the page: <user data>/usersetting/SensorPage.
    QString UserSettingDir;
    // The lowest and the highest DPI of the current model's range, as written.
    QString DpiRangeMinText;
    QString DpiRangeMaxText;
    // <program folder>/Picture/Sensor/.
    QString PictureDir;
    // The pop-up list of ModelChoose; its row 2 (Corded) is shown only while
    // the mouse runs corded or above 1000 Hz.
    QListView* ModeListView = nullptr;
    // The sensor models of each feature, as driver_sensor.h lists them
    // (SensorFeatureSupported tells whether the current one is among them).
    QString ModeSelectSensors;     // the sensor-mode list
    QString LodCalSensors;         // the lift-off distance list
    QString RippleSensors;         // ripple control
    QString FixLineSensors;        // angle snapping
    QString MotionSyncSensors;
    QString MousepadCalSensors;

    // The brightness position (1-10) of a DPI light brightness byte: its
    // step of the table, or the nearest step for a byte between steps (the
    // lower one at equal distance).
    static int BrightnessPositionOfByte(int value);
    // The sleep-list item of a sleep byte (tens of seconds: 3, 6, 12, 30, 60,
    // 90), -1 for another byte; and the byte of an item, -1 for another item.
    static int SleepItemOfByte(int value);
    static int SleepByteOfItem(int item);

protected:
    // Every change of the page keeps the sleep list enabled exactly while
    // the performance switch is on.
    void changeEvent(QEvent* event) override;

public slots:
    void on_Performance_toggled(bool checked);
    // A whole image read from the device (blocking: the sender waits): clears
    // SensorPageFilled, fills the page, then sets it.
    void SlotUpDataSenSorUISensor(FlashDataMap image);
    // Neither device data nor a stored image: the default settings.
    void SlotFormReset();
    // The report-rate code the device reported (1, 2, 4, 8, 16, 32, 64).
    void SlotUpDataReportRate(int code);
    // The current DPI stage the device reported (0 to 7).
    void SlotUpDataDPI(int stage);
    // The DPI light bytes (image 0x3F to 0x42) the device reported.
    void SlotUpDataDPILed(FlashDataMap image);
    // An applied or imported image: fills the page, SensorPageFilled untouched.
    void SlotUpDataSenSorUIB(FlashDataMap image);
    void on_ModelChoose_currentIndexChanged(int item);
    void on_Performance_clicked(bool checked);
    void on_PerformanceOpen_currentIndexChanged(int item);
    void SlotChangeLanguage(int index);
    // The rate the user chose lies above 1000 Hz (1) or not (0).
    void SlotHideModel(int aboveThousand);

private:
    // The whole page from an image, with SensorPageLoading set; the compact
    // layout moves the light frame up only for a device read.
    void ShowImage(const FlashDataMap& image, bool fromDevice);
    // The DPI light frame from image bytes 0x3F-0x42.
    void ShowDpiLight(const FlashDataMap& image);
    // The full layout, or the compact one ("XIn1" 2) with the light frame
    // moved up when moveLight is set.
    void ShowLayout(bool compact, bool moveLight);
    // The sensor-mode list as the rate shows it: the mode held in the live
    // image with Corded hidden, or Corded chosen and the list disabled. The
    // list's signals are blocked: nothing is written.
    void ShowModeOfImage();
    void ShowCorded();
    void ApplyStyles();
    const ProductDescription& Description() const;

    Ui::Sensor* ui;
    const ProductDescription* description_ = nullptr;
    LanguageTexts language_;
};
