#include "dialogs/addKey.h"

#include "core/StyleSheet.h"
#include "dialogs/AddKeyHook.h"
#include "dialogs/KeyNames.h"
#include "ui_addKey.h"

#include <QKeyEvent>

addKey::addKey(QWidget* parent)
    : MessageQuestion(parent)
    , ui(new Ui::addKey)
    , hook_(new AddKeyHook)
{
    ui->setupUi(this);
    hook_->SetHook();
    hook_->SetCallback([this](int vk, bool down, bool repeat) { UpdateCapslockTip(vk, down, repeat); });
    ui->lineEdit->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLineEdit"), QStringLiteral("LinEditColor")));

    SetUpFrame(NewHongCancelFrame(ui, ui->addKeyA, QStringLiteral("AddKey")));
    // After the window flags: setting them drops the focus.
    ui->lineEdit->setFocus(Qt::ActiveWindowFocusReason);
}

// The hook goes with its object: no key reaches a dialog that is gone, however
// the dialog ended.
addKey::~addKey()
{
    hook_.reset();
    delete ui;
}

void addKey::UpdateCapslockTip(int vk, bool, bool)
{
    KeyName = KeyNames::Name(vk, KeyNames::Full);
    ui->lineEdit->setText(KeyName);
}

void addKey::on_NewHong_clicked()
{
    Confirmed = true;
    hook_->UnHook();
    accept();
}

void addKey::on_NewHong_2_clicked()
{
    Dismiss();
}

void addKey::Dismiss()
{
    Confirmed = false;
    hook_->UnHook();
    reject();
}

void addKey::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    MessageQuestion::keyPressEvent(event);
}
