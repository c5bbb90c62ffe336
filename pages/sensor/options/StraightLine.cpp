#include "pages/sensor/options/StraightLine.h"

#include "core/ParameterSetters.h"
#include "ui_StraightLine.h"

StraightLine::StraightLine(QWidget* parent)
    : SwitchOptionFrame(parent, SetAngleSnapping)
    , ui(new Ui::StraightLine)
{
    ui->setupUi(this);
    Attach(ui->StraightLine_2, ui->label);
}

StraightLine::~StraightLine()
{
    delete ui;
}

void StraightLine::on_StraightLine_2_clicked(bool on)
{
    ToggleClicked(on);
}
