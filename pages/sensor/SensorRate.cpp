#include "pages/sensor/SensorRate.h"

#include "core/StyleSheet.h"
#include "ui_SensorRate.h"

#include <QAbstractButton>

SensorRate::SensorRate(QWidget* parent)
    : ReportRateFrame(parent)
    , ui(new Ui::SensorRate)
{
    ui->setupUi(this);
    Attach(ui->label);
    const QString rule = QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;"
                                        "color: rgb(")
        + StyleSheet::ColourText(QStringLiteral("ButtonColor"))
        + QStringLiteral(";);padding-left:0px;background-image: url(") + PictureFolder
        + QStringLiteral("ReportRate.png);}QToolButton:checked{padding-left:0px;background-image: url(")
        + PictureFolder + QStringLiteral("ReportRateClick.png); }");
    for (int index = 0; index < RateCount; ++index)
        RateButton(index)->setStyleSheet(rule);
}

SensorRate::~SensorRate()
{
    delete ui;
}
