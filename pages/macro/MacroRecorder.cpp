#include "pages/macro/MacroRecorder.h"

#include "core/MacroBlock.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/KeyNames.h"
#include "dialogs/KeyNumberLimit.h"
#include "ui_Macro.h"

MacroRecorder::MacroRecorder(Ui::Macro* ui, Place place, QObject* parent)
    : QObject(parent)
    , ui(ui)
    , place_(std::move(place))
{
}

void MacroRecorder::EndLook()
{
    hook_.UnHook();
    ui->StopRecord->hide();
    ui->StartRecord->show();
    ui->DelayTime->show();
    ui->NumberEdit->show();
    ui->listWidgetHong->setEnabled(true);
    MacroRecording = false;
    LastVirtualKey = -1;
}

void MacroRecorder::Start()
{
    if (ui->listWidgetHong->currentRow() < 0) {
        ExeIsRun notice;
        notice.ShowSecondText();
        place_(&notice);
        notice.exec();
        return;
    }
    PostMsg::Instance()->PostStartRecord(0);
    RecordedKeyRows = 0;
    ui->ChooseEvent->setEnabled(false);
    emit Started();
    if (!hook_.IsHooked())
        hook_.SetHook();
    hook_.SetCallback([this](int vk, bool down, bool) { KeyEvent(vk, down); });
    ui->StartRecord->hide();
    ui->StopRecord->show();
    MacroRecording = true;
    FirstKeyPending = true;
    ui->listWidgetKey->clear();
    ui->DelayTime->hide();
    ui->NumberEdit->hide();
    ui->listWidgetHong->setEnabled(false);
    LastVirtualKey = -1;
}

void MacroRecorder::Stop()
{
    PostMsg::Instance()->PostStartRecord(1);
    RecordedKeyRows = 0;
    EndLook();
    ui->ChooseEvent->setEnabled(true);
    emit Stopped();
}

void MacroRecorder::KeyEvent(int vk, bool down)
{
    if (!MacroRecording) {
        KeyTimer.restart();
        return;
    }
    if (vk == LastVirtualKey) {
        if (down)
            return;
        LastVirtualKey = 0;
    } else {
        LastVirtualKey = vk;
    }
    if (FirstKeyPending) {
        KeyTimer.restart();
        FirstKeyPending = false;
    } else {
        emit DelayRecorded(ui->DefaultDelay->isChecked() ? qint64(ui->DelayTime->value()) : KeyTimer.elapsed());
        KeyTimer.restart();
    }
    if (!KeyNames::Known(vk, KeyNames::Recorder)) {
        FirstKeyPending = true;
        return;
    }
    ++RecordedKeyRows;
    emit KeyRecorded(KeyNames::Name(vk, KeyNames::Recorder), down);
    if (RecordedKeyRows >= MacroBlock::MaxEvents) {
        MacroRecording = false;
        RecordedKeyRows = 0;
        hook_.UnHook();
        KeyNumberLimit notice;
        place_(&notice);
        notice.exec();
    }
}
