#include "pages/sensor/options/RippeControlB.h"

#include "core/ParameterSetters.h"
#include "ui_RippeControlB.h"

RippeControlB::RippeControlB(QWidget* parent)
    : SwitchOptionFrame(parent, SetRippleControl)
    , ui(new Ui::RippeControlB)
{
    ui->setupUi(this);
    Attach(ui->RippeControl_2, ui->label);
}

RippeControlB::~RippeControlB()
{
    delete ui;
}

void RippeControlB::on_RippeControl_2_clicked(bool on)
{
    ToggleClicked(on);
}
