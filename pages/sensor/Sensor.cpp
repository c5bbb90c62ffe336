#include "pages/sensor/Sensor.h"

#include "core/PostMsg.h"
#include "core/ScopedFlag.h"
#include "core/SharedState.h"
#include "ui_Sensor.h"

Sensor::Sensor(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Sensor)
{
    ui->setupUi(this);

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
