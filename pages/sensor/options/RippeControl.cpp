#include "pages/sensor/options/RippeControl.h"

#include "core/ParameterSetters.h"
#include "ui_RippeControl.h"

RippeControl::RippeControl(QWidget* parent)
    : SwitchOptionFrame(parent, SetRippleControl)
    , ui(new Ui::RippeControl)
{
    ui->setupUi(this);
    Attach(ui->RippeControl_2, ui->label);
}

RippeControl::~RippeControl()
{
    delete ui;
}

void RippeControl::on_RippeControl_2_clicked(bool on)
{
    ToggleClicked(on);
}
