#include "pages/sensor/options/MotionSync.h"

#include "core/ParameterSetters.h"
#include "ui_MotionSync.h"

MotionSync::MotionSync(QWidget* parent)
    : SwitchOptionFrame(parent, SetMotionSync)
    , ui(new Ui::MotionSync)
{
    ui->setupUi(this);
    Attach(ui->MotionSync_2, ui->label);
}

MotionSync::~MotionSync()
{
    delete ui;
}

void MotionSync::on_MotionSync_2_clicked(bool on)
{
    ToggleClicked(on);
}
