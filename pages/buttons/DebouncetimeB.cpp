#include "pages/buttons/DebouncetimeB.h"

#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "ui_DebouncetimeB.h"

#include <QSignalBlocker>

DebouncetimeB::DebouncetimeB(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::DebouncetimeB)
{
    ui->setupUi(this);
    const QString folder = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    ui->spinBoxA->setStyleSheet(QStringLiteral("QSpinBox{border:none;background:transparent;color: rgb(")
                                + StyleSheet::ColourText(QStringLiteral("LinEditColorSecond")) + QStringLiteral(");}"));
    ui->Debunce->setStyleSheet(
        QStringLiteral("QSlider::groove:horizontal{height:4px;background:rgb(51,55,63);}"
                       "QSlider::sub-page:horizontal{background:rgb(")
        + StyleSheet::ColourText(QStringLiteral("SliderColor"))
        + QStringLiteral(");}QSlider::handle:horizontal{width:5px;margin:-8px 0px;image: url(") + folder
        + QStringLiteral("HuaKuai.png);}"));
}

DebouncetimeB::~DebouncetimeB()
{
    delete ui;
}

void DebouncetimeB::SetDebounce(int value)
{
    const QSignalBlocker quiet(ui->Debunce);
    ui->Debunce->setValue(value);
    ui->spinBoxA->setValue(value);
}

void DebouncetimeB::SetSuffix(int index, const QString& text)
{
    Q_UNUSED(index)
    ui->spinBoxA->setSuffix(text);
}

void DebouncetimeB::on_Debunce_valueChanged(int value)
{
    ui->spinBoxA->setValue(value);
    if (UiReady)
        SetDebounceTime(value);
}

void DebouncetimeB::on_Debunce_sliderMoved(int value)
{
    ui->spinBoxA->setValue(value);
}
