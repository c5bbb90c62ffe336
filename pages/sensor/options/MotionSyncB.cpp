#include "pages/sensor/options/MotionSyncB.h"

#include "core/ParameterSetters.h"
#include "ui_MotionSyncB.h"

MotionSyncB::MotionSyncB(QWidget* parent)
    : SwitchOptionFrame(parent, SetMotionSync)
    , ui(new Ui::MotionSyncB)
{
    ui->setupUi(this);
    Attach(ui->MotionSync_2, ui->label);
}

MotionSyncB::~MotionSyncB()
{
    delete ui;
}

void MotionSyncB::on_MotionSync_2_clicked(bool on)
{
    ToggleClicked(on);
}
