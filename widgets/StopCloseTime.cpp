#include "widgets/StopCloseTime.h"

#include "core/ParameterSetters.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "ui_StopCloseTime.h"

#include <QListView>
#include <QSignalBlocker>

namespace {
// Entry 0 to 10: 10 s, 30 s, 1, 5, 10 ... 40 min, in tens of seconds.
const int Codes[StopCloseTime::EntryCount] = {1, 3, 6, 30, 60, 90, 120, 150, 180, 210, 240};
} // namespace

int StopCloseTime::CodeOf(int index)
{
    return index >= 0 && index < EntryCount ? Codes[index] : 0;
}

int StopCloseTime::IndexOfSeconds(int seconds)
{
    for (int index = 0; index < EntryCount; ++index) {
        if (Codes[index] * 10 == seconds)
            return index;
    }
    return -1;
}

StopCloseTime::StopCloseTime(QWidget* parent)
    : QFrame(parent)
    , ui(new Ui::StopCloseTime)
    , PictureFolder(StyleSheet::PictureFolder(QStringLiteral("Light")))
{
    ui->setupUi(this);
    // The frame only holds the list: no panel edge of its own around it.
    setStyleSheet(QStringLiteral("StopCloseTime{border: 0px;}"));
    ui->StopClose->setStyleSheet(StyleSheet::ComboBoxRule(PictureFolder));
    auto* view = new QListView;
    view->setStyleSheet(StyleSheet::ComboListRule());
    ui->StopClose->setView(view);
    ui->StopClose->setMaxVisibleItems(15);
}

StopCloseTime::~StopCloseTime()
{
    delete ui;
}

void StopCloseTime::SetIndex(int index)
{
    if (index < 0 || index >= EntryCount)
        return;
    const QSignalBlocker blocker(ui->StopClose);
    ui->StopClose->setCurrentIndex(index);
}

void StopCloseTime::SetItemText(int index, const QString& text)
{
    if (index >= 0 && index < ui->StopClose->count())
        ui->StopClose->setItemText(index, text);
}

void StopCloseTime::on_StopClose_activated(int index)
{
    if (!UiReady)
        return;
    const int code = CodeOf(index);
    if (code == 0 || ButtonPageLoading)
        return;
    SetLightOffTime(code);
}
