#include "pages/macro/Macro.h"

#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "ui_Macro.h"

Macro::Macro(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::Macro)
{
    ui->setupUi(this);
    PostMsg::Connect(SIGNAL(SigSetMacroPage()), this, SLOT(SlotSetMacroPage()));
}

Macro::~Macro()
{
    disconnect(PostMsg::Instance(), nullptr, this, nullptr);
    delete ui;
}

void Macro::SlotSetMacroPage()
{
    PostMsg::Instance()->PostStartRecord(1);
    recorder_.UnHook();
    MacroRecording = false;
}
