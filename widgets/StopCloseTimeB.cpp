#include "widgets/StopCloseTimeB.h"

#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "widgets/StopCloseTime.h"
#include "ui_StopCloseTimeB.h"

#include <QSignalBlocker>

namespace {
const int Numbers[StopCloseTime::EntryCount] = {10, 30, 1, 5, 10, 15, 20, 25, 30, 35, 40};
// Positions 1 and 2 are seconds, the others minutes.
constexpr int LastSecondsPosition = 2;
} // namespace

StopCloseTimeB::StopCloseTimeB(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::StopCloseTimeB)
    , PictureFolder(StyleSheet::PictureFolder(QStringLiteral("Sensor")))
{
    ui->setupUi(this);
    ui->spinBoxA->setStyleSheet(StyleSheet::ValueBoxRule());
    ui->StopClose->setStyleSheet(StyleSheet::HandleSliderRule(PictureFolder, 6));
}

StopCloseTimeB::~StopCloseTimeB()
{
    delete ui;
}

int StopCloseTimeB::PositionToNumber(int position)
{
    return position >= 1 && position <= StopCloseTime::EntryCount ? Numbers[position - 1] : 0;
}

void StopCloseTimeB::SetIndex(int index)
{
    if (index < 0 || index >= StopCloseTime::EntryCount)
        return;
    const QSignalBlocker blocker(ui->StopClose);
    ui->StopClose->setValue(index + 1);
    ShowPosition(index + 1);
}

void StopCloseTimeB::SetItemText(int index, const QString& text)
{
    if (index == 0)
        secondsUnit_ = QString(text).remove(QStringLiteral("10"));
    else if (index == 5)
        minutesUnit_ = QString(text).remove(QStringLiteral("15"));
    else
        return;
    ShowPosition(ui->StopClose->value());
}

void StopCloseTimeB::ShowPosition(int position)
{
    ui->spinBoxA->setValue(PositionToNumber(position));
    ui->spinBoxA->setSuffix(position <= LastSecondsPosition ? secondsUnit_ : minutesUnit_);
}

void StopCloseTimeB::on_StopClose_sliderMoved(int position)
{
    ShowPosition(position);
}

void StopCloseTimeB::on_StopClose_valueChanged(int position)
{
    ShowPosition(position);
    if (!UiReady)
        return;
    const int code = StopCloseTime::CodeOf(position - 1);
    if (code == 0 || LightPageLoading)
        return;
    SetLightOffTime(code);
}
