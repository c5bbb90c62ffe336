#include "pages/sensor/options/SensorEffect.h"

#include "core/StyleSheet.h"
#include "ui_SensorEffect.h"

#include <QListView>

SensorEffect::SensorEffect(QWidget* parent)
    : DpiLightFrame(parent)
    , ui(new Ui::SensorEffect)
{
    ui->setupUi(this);
    Attach({ui->label, ui->label_14, ui->label_15, ui->SpeedH, ui->LightH, ui->line, ui->line_2, ui->SpeedSpinBox,
            ui->LightSpinBox});
    ui->Model->setStyleSheet(StyleSheet::ComboBoxRule(PictureFolder));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->Model->setView(view);
}

SensorEffect::~SensorEffect()
{
    delete ui;
}

void SensorEffect::SetMode(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    ui->Model->setCurrentIndex(mode);
    ShowRowsOfMode(mode);
}

void SensorEffect::SetModeEnabled(bool enabled)
{
    ui->Model->setEnabled(enabled);
}

void SensorEffect::SetModeItemText(int index, const QString& text)
{
    ui->Model->setItemText(index, text);
}

void SensorEffect::on_Model_currentIndexChanged(int index)
{
    ModeChosen(index);
}

void SensorEffect::on_SpeedH_valueChanged(int value)
{
    SpeedChanged(value);
}

void SensorEffect::on_SpeedH_sliderMoved(int position)
{
    SpeedMoved(position);
}

void SensorEffect::on_LightH_valueChanged(int value)
{
    BrightnessChanged(value);
}

void SensorEffect::on_LightH_sliderMoved(int position)
{
    BrightnessMoved(position);
}
