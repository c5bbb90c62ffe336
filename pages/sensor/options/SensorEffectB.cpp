#include "pages/sensor/options/SensorEffectB.h"

#include "core/StyleSheet.h"
#include "ui_SensorEffectB.h"

#include <QButtonGroup>

SensorEffectB::SensorEffectB(QWidget* parent)
    : DpiLightFrame(parent)
    , ui(new Ui::SensorEffectB)
    , Group(new QButtonGroup(this))
{
    ui->setupUi(this);
    Attach({ui->label, ui->label_14, ui->label_15, ui->SpeedH, ui->LightH, ui->line, ui->line_2, ui->SpeedSpinBox,
            ui->LightSpinBox});
    Group->setExclusive(true);
    const QString rule = StyleSheet::ChoiceBoxRule(PictureFolder);
    for (QAbstractButton* box : {static_cast<QAbstractButton*>(ui->MM1), static_cast<QAbstractButton*>(ui->MM2),
                                 static_cast<QAbstractButton*>(ui->MM3)}) {
        Group->addButton(box);
        box->setStyleSheet(rule);
    }
}

SensorEffectB::~SensorEffectB()
{
    delete ui;
}

QAbstractButton* SensorEffectB::BoxOfMode(int mode) const
{
    switch (mode) {
    case 0: return ui->MM3;
    case 1: return ui->MM1;
    case 2: return ui->MM2;
    default: return nullptr;
    }
}

void SensorEffectB::SetMode(int mode)
{
    QAbstractButton* box = BoxOfMode(mode);
    if (!box)
        return;
    box->setChecked(true);
    ShowRowsOfMode(mode);
}

void SensorEffectB::SetModeItemText(int index, const QString& text)
{
    if (QAbstractButton* box = BoxOfMode(index))
        box->setText(text);
}

void SensorEffectB::on_MM1_clicked(bool checked)
{
    if (checked)
        ModeChosen(1);
}

void SensorEffectB::on_MM2_clicked(bool checked)
{
    if (checked)
        ModeChosen(2);
}

void SensorEffectB::on_MM3_clicked(bool checked)
{
    if (checked)
        ModeChosen(0);
}

void SensorEffectB::on_SpeedH_valueChanged(int value)
{
    SpeedChanged(value);
}

void SensorEffectB::on_SpeedH_sliderMoved(int position)
{
    SpeedMoved(position);
}

void SensorEffectB::on_LightH_valueChanged(int value)
{
    BrightnessChanged(value);
}

void SensorEffectB::on_LightH_sliderMoved(int position)
{
    BrightnessMoved(position);
}
