#include "pages/sensor/options/SensorLOD.h"

#include "core/StyleSheet.h"
#include "ui_SensorLOD.h"

#include <QListView>

namespace {
// With three entries the list starts with 0.7 mm (code 3).
const int ThreeEntryCodes[] = {3, 1, 2};
} // namespace

SensorLOD::SensorLOD(QWidget* parent)
    : LiftOffFrame(parent)
    , ui(new Ui::SensorLOD)
{
    ui->setupUi(this);
    AttachLabel(ui->label);
    // Its text grey while it is disabled (the sensor does not offer the setting).
    ui->LOD->setStyleSheet(StyleSheet::ComboBoxRule(PictureFolder));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->LOD->setView(view);
}

SensorLOD::~SensorLOD()
{
    delete ui;
}

void SensorLOD::AddLowLodItem()
{
    if (ui->LOD->count() == 2)
        ui->LOD->insertItem(0, QStringLiteral("0.7mm"));
}

void SensorLOD::RemoveLowLodItem()
{
    if (ui->LOD->count() == 3)
        ui->LOD->removeItem(0);
}

void SensorLOD::SetLodEnabled(bool enabled)
{
    ui->LOD->setEnabled(enabled);
}

void SensorLOD::SetLod(int value)
{
    if (ui->LOD->count() != 3) {
        ui->LOD->setCurrentIndex(value);
        return;
    }
    for (int index = 0; index < 3; ++index) {
        if (ThreeEntryCodes[index] == value + 1)
            ui->LOD->setCurrentIndex(index);
    }
}

void SensorLOD::on_LOD_currentIndexChanged(int index)
{
    // No entry chosen (-1) writes nothing.
    if (ui->LOD->count() == 3) {
        if (index >= 0 && index < 3)
            WriteDistance(ThreeEntryCodes[index]);
    } else if (index == 0 || index == 1) {
        WriteDistance(index + 1);
    }
}
