#include "pages/sensor/SensorRateB.h"

#include "core/StyleSheet.h"
#include "ui_SensorRateB.h"

#include <QAbstractButton>

SensorRateB::SensorRateB(QWidget* parent)
    : ReportRateFrame(parent)
    , ui(new Ui::SensorRateB)
{
    ui->setupUi(this);
    Attach(ui->label);
    const QString rule = StyleSheet::ChoiceBoxRule(PictureFolder);
    for (int index = 0; index < RateCount; ++index)
        RateButton(index)->setStyleSheet(rule);
}

SensorRateB::~SensorRateB()
{
    delete ui;
}
