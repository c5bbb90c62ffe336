#include "pages/sensor/options/SensorLODB.h"

#include "core/StyleSheet.h"
#include "ui_SensorLODB.h"

#include <QButtonGroup>

SensorLODB::SensorLODB(QWidget* parent)
    : LiftOffFrame(parent)
    , ui(new Ui::SensorLODB)
    , Group(new QButtonGroup(this))
{
    ui->setupUi(this);
    AttachLabel(ui->label);
    Group->setExclusive(true);
    Group->addButton(ui->MM0);
    Group->addButton(ui->MM1);
    Group->addButton(ui->MM2);
    const QString rule = StyleSheet::ChoiceBoxRule(PictureFolder);
    ui->MM1->setStyleSheet(rule);
    ui->MM2->setStyleSheet(rule);
    ui->MM0->setStyleSheet(rule);
    ui->MM0->hide();
}

SensorLODB::~SensorLODB()
{
    delete ui;
}

void SensorLODB::AddLowLodItem()
{
    ui->MM0->show();
    ui->MM0->move(80, 0);
    ui->MM1->move(165, 0);
    ui->MM2->move(250, 0);
}

void SensorLODB::RemoveLowLodItem()
{
    ui->MM0->hide();
    ui->MM1->move(80, 0);
    ui->MM2->move(165, 0);
}

void SensorLODB::SetLodEnabled(bool enabled)
{
    ui->MM2->setEnabled(enabled);
    ui->MM1->setEnabled(enabled);
}

void SensorLODB::SetLod(int value)
{
    // "Shown" as the frame lays it out, also while the frame itself is hidden.
    if (value == 2 && !ui->MM0->isHidden())
        ui->MM0->setChecked(true);
    else if (value == 0)
        ui->MM1->setChecked(true);
    else if (value == 1)
        ui->MM2->setChecked(true);
}

void SensorLODB::on_MM0_clicked(bool)
{
    WriteDistance(3);
}

void SensorLODB::on_MM1_clicked(bool)
{
    WriteDistance(1);
}

void SensorLODB::on_MM2_clicked(bool)
{
    WriteDistance(2);
}
