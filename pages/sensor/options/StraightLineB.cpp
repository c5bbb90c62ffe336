#include "pages/sensor/options/StraightLineB.h"

#include "core/ParameterSetters.h"
#include "ui_StraightLineB.h"

StraightLineB::StraightLineB(QWidget* parent)
    : SwitchOptionFrame(parent, SetAngleSnapping)
    , ui(new Ui::StraightLineB)
{
    ui->setupUi(this);
    Attach(ui->StraightLine_2, ui->label);
}

StraightLineB::~StraightLineB()
{
    delete ui;
}

void StraightLineB::on_StraightLine_2_clicked(bool on)
{
    ToggleClicked(on);
}
