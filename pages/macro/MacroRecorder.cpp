#include "pages/macro/MacroRecorder.h"

#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/ExeIsRun.h"
#include "dialogs/KeyNames.h"
#include "dialogs/KeyNumberLimit.h"
#include "pages/macro/Macro.h"
#include "ui_Macro.h"

MacroRecorder::MacroRecorder(Macro* page)
    : page_(page)
{
}

void MacroRecorder::EndLook()
{
    page_->recorder_.UnHook();
    page_->ui->StopRecord->hide();
    page_->ui->StartRecord->show();
    page_->ui->DelayTime->show();
    page_->ui->NumberEdit->show();
    page_->ui->listWidgetHong->setEnabled(true);
    MacroRecording = false;
    page_->LastVirtualKey = -1;
}

void MacroRecorder::Start()
{
    if (page_->ui->listWidgetHong->currentRow() < 0) {
        ExeIsRun notice;
        notice.ShowSecondText();
        DialogPlacement::CentreOver(&notice, page_, Macro::DialogDx, Macro::DialogDy);
        notice.exec();
        return;
    }
    PostMsg::Instance()->PostStartRecord(0);
    page_->RecordedKeyRows = 0;
    page_->ui->ChooseEvent->setEnabled(false);
    page_->EventsModified = true;
    if (!page_->recorder_.IsHooked())
        page_->recorder_.SetHook();
    page_->recorder_.SetCallback([this](int vk, bool down, bool repeat) { page_->UpdateCapslockTip(vk, down, repeat); });
    page_->ui->StartRecord->hide();
    page_->ui->StopRecord->show();
    MacroRecording = true;
    page_->FirstKeyPending = true;
    page_->ui->listWidgetKey->clear();
    page_->ui->DelayTime->hide();
    page_->ui->NumberEdit->hide();
    page_->ui->listWidgetHong->setEnabled(false);
    page_->LastVirtualKey = -1;
}

void MacroRecorder::Stop()
{
    PostMsg::Instance()->PostStartRecord(1);
    page_->RecordedKeyRows = 0;
    EndLook();
    page_->ui->ChooseEvent->setEnabled(true);
    page_->SetSaveActive(true);
}

void MacroRecorder::KeyEvent(int vk, bool down)
{
    if (!MacroRecording) {
        page_->KeyTimer.restart();
        return;
    }
    if (vk == page_->LastVirtualKey) {
        if (down)
            return;
        page_->LastVirtualKey = 0;
    } else {
        page_->LastVirtualKey = vk;
    }
    if (page_->FirstKeyPending) {
        page_->KeyTimer.restart();
        page_->FirstKeyPending = false;
    } else {
        page_->AppendDelayRow(page_->ui->DefaultDelay->isChecked() ? qint64(page_->ui->DelayTime->value()) : page_->KeyTimer.elapsed());
        page_->KeyTimer.restart();
    }
    if (!KeyNames::Known(vk, KeyNames::Recorder)) {
        page_->FirstKeyPending = true;
        return;
    }
    ++page_->RecordedKeyRows;
    page_->AppendKeyRow(KeyNames::Name(vk, KeyNames::Recorder), down);
    if (page_->RecordedKeyRows >= Macro::MaxKeyRows) {
        MacroRecording = false;
        page_->RecordedKeyRows = 0;
        page_->recorder_.UnHook();
        KeyNumberLimit notice;
        DialogPlacement::CentreOver(&notice, page_, Macro::DialogDx, Macro::DialogDy);
        notice.exec();
    }
}
