#include "pages/sensor/Sensor.h"

#include "core/PostMsg.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "pages/sensor/SensorTables.h"
#include "ui_Sensor.h"

Sensor::Sensor(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Sensor)
{
    ui->setupUi(this);
    ReadSensorDefines();

    const Qt::ConnectionType blocking = Qt::BlockingQueuedConnection;
    PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(SlotUpDataSenSorUISensor(FlashDataMap)),
                     blocking);
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotUpDataReportRate(int)), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotUpDataDPI(int)), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotUpDataDPILed(FlashDataMap)), blocking);
    PostMsg::Connect(SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
}

Sensor::~Sensor()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    delete ui;
}

void Sensor::ReadSensorDefines(const QString& path)
{
    SensorDefineFile defines;
    if (!defines.Read(path))
        return;
    SensorDefineNames += defines.Names();
    SensorDefineValues += defines.Values();
    ModeSelectSensors = defines.SwitchText(SensorDefineFile::ModeSelect);
    LodCalSensors = defines.SwitchText(SensorDefineFile::LodCal);
    RippleSensors = defines.SwitchText(SensorDefineFile::Ripple);
    FixLineSensors = defines.SwitchText(SensorDefineFile::FixLine);
    MotionSyncSensors = defines.SwitchText(SensorDefineFile::MotionSync);
    MousepadCalSensors = defines.SwitchText(SensorDefineFile::MousepadCal);
}

void Sensor::ReadDpiRange(const QStringList& items)
{
    DpiSegmentMinima.clear();
    DpiSegmentMaxima.clear();
    const int count = items.isEmpty() ? 0 : (items.size() - 1) / 3;
    if (count < 1 || count > MaxDpiSegments) {
        DpiRangeMode = 0;
        DpiSegmentCount = 0;
    } else {
        DpiRangeMode = items.last().trimmed().toInt(nullptr, 16);
        DpiSegmentCount = count;
        DpiRangeMinText = items.at(0);
        DpiRangeMaxText = items.at(3 * count - 2);
    }
    for (int s = 0; s < MaxDpiSegments; ++s) {
        if (s >= DpiSegmentCount) {
            DpiSegmentTexts[s] = DpiSegmentText();
            continue;
        }
        DpiSegmentTexts[s] = {items.at(3 * s), items.at(3 * s + 1), items.at(3 * s + 2)};
        DpiSegmentMinima.append(items.at(3 * s).trimmed().toInt());
        DpiSegmentMaxima.append(items.at(3 * s + 1).trimmed().toInt());
    }
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap image)
{
    SensorPageFilled = false;
    ShowImage(image);
    SensorPageFilled = true;
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap image)
{
    ShowImage(image);
}

void Sensor::ShowImage(const FlashDataMap& image)
{
    const ScopedFlag loading(SensorPageLoading);
    // Report rate, DPI stages, options, sleep time and DPI light are drawn
    // from the image once the page has its controls.
    Q_UNUSED(image)
}

void Sensor::SlotUpDataReportRate(int code)
{
    Q_UNUSED(code)
}

void Sensor::SlotUpDataDPI(int stage)
{
    Q_UNUSED(stage)
}

void Sensor::SlotUpDataDPILed(FlashDataMap image)
{
    Q_UNUSED(image)
}

void Sensor::SlotFormReset()
{
}
