#include "pages/buttons/DebouncetimeC.h"

#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "ui_DebouncetimeC.h"

namespace {
constexpr int Highest = 20;
// The minus button stops at 1: 0 is reached only from the device.
constexpr int LowestStep = 1;
} // namespace

DebouncetimeC::DebouncetimeC(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::DebouncetimeC)
{
    ui->setupUi(this);
    const QString folder = StyleSheet::PictureFolder(QStringLiteral("Sensor"));
    ui->spinBoxA->setStyleSheet(QStringLiteral("QSpinBox{border:none;background:transparent;color: rgb(")
                                + StyleSheet::ColourText(QStringLiteral("LinEditColorSecond")) + QStringLiteral(");}"));
    ui->ReduceLevelA->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("QToolButton"), folder,
                                                            QStringLiteral("Reduce.png")));
    ui->AddLevelA->setStyleSheet(StyleSheet::PictureRule(QStringLiteral("QToolButton"), folder, QStringLiteral("Add.png")));
}

DebouncetimeC::~DebouncetimeC()
{
    delete ui;
}

void DebouncetimeC::SetDebounce(int value)
{
    ui->spinBoxA->setValue(value);
}

void DebouncetimeC::SetSuffix(int index, const QString& text)
{
    Q_UNUSED(index)
    ui->spinBoxA->setSuffix(text);
}

int DebouncetimeC::Value() const
{
    return ui->spinBoxA->value();
}

void DebouncetimeC::on_AddLevelA_clicked()
{
    Step(1, Highest);
}

void DebouncetimeC::on_ReduceLevelA_clicked()
{
    Step(-1, LowestStep);
}

void DebouncetimeC::Step(int delta, int stop)
{
    if (!UiReady || ui->spinBoxA->value() == stop)
        return;
    ui->spinBoxA->setValue(ui->spinBoxA->value() + delta);
    SetDebounceTime(ui->spinBoxA->value());
}
