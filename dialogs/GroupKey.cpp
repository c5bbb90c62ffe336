#include "dialogs/GroupKey.h"

#include "core/StyleSheet.h"
#include "core/Timing.h"
#include "dialogs/GroupKeyHook.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/KeyNames.h"
#include "ui_GroupKey.h"

#include <QElapsedTimer>
#include <QKeyEvent>

namespace {
std::function<qint64()>& EntryClock()
{
    static std::function<qint64()> clock;
    return clock;
}
} // namespace

GroupKey::GroupKey(QWidget* parent)
    : MessageQuestion(parent)
    , ui(new Ui::GroupKey)
    , hook_(new GroupKeyHook)
{
    ui->setupUi(this);
    hook_->SetHook();
    hook_->SetCallback([this](int vk, bool down, bool repeat) { UpdateCapslockTip(vk, down, repeat); });
    ui->lineEdit->setAttribute(Qt::WA_InputMethodEnabled, false);

    for (QCheckBox* box : {ui->Shift, ui->Ctrl, ui->Alt, ui->Win})
        box->setStyleSheet(StyleSheet::CheckBoxRule(PictureFolder(), QStringLiteral("LabelColor")));
    ui->lineEdit->setStyleSheet(StyleSheet::ColourRule(QStringLiteral("QLineEdit"), QStringLiteral("LinEditColor")));

    // The check boxes keep their texts in every language.
    SetUpFrame(NewHongCancelFrame(ui, ui->groupKeyA, QStringLiteral("groupKey")));
    // After the window flags: setting them drops the focus.
    ui->lineEdit->setFocus(Qt::OtherFocusReason);
}

// The hook goes with its object: no key reaches a dialog that is gone, however
// the dialog ended.
GroupKey::~GroupKey()
{
    hook_.reset();
    delete ui;
}

void GroupKey::SetEntryClock(std::function<qint64()> clock)
{
    EntryClock() = std::move(clock);
}

qint64 GroupKey::Now()
{
    if (EntryClock())
        return EntryClock()();
    static QElapsedTimer monotonic;
    if (!monotonic.isValid())
        monotonic.start();
    return monotonic.elapsed();
}

void GroupKey::UpdateCapslockTip(int vk, bool down, bool)
{
    if (!down)
        return;

    const qint64 now = Now();
    if (firstKeyPending_) {
        entryStart_ = now;
        firstKeyPending_ = false;
    } else if (now - entryStart_ > Timing::Ms(EntryMs)) {
        ui->lineEdit->clear();
        lastKey_ = -1;
        entryStart_ = now;
    }

    // A held key's repetitions, or the same key twice in a row, add nothing.
    if (vk == lastKey_)
        return;
    lastKey_ = vk;

    const QString name = KeyNames::Name(vk, KeyNames::Combination);
    const QStringList items = KeyNames::SplitCombination(ui->lineEdit->text());
    if (items.size() >= MaxItems) {
        // The entry is full: this key starts the next one.
        ui->lineEdit->setText(name);
        return;
    }
    // Whole items count: "F1" may follow "F10", "E" may follow "Esc".
    if (name.isEmpty() || items.contains(name))
        return;
    ui->lineEdit->setText(items.isEmpty() ? name : ui->lineEdit->text() + QLatin1Char('+') + name);
    // The third item: whatever comes next, the same key too, starts a new entry.
    if (items.size() == MaxItems - 1)
        lastKey_ = -1;
}

void GroupKey::on_lineEdit_textEdited(const QString& text)
{
    ui->lineEdit->setText(text.toUpper());
}

void GroupKey::on_NewHong_clicked()
{
    QStringList modifiers;
    const QCheckBox* boxes[] = {ui->Shift, ui->Ctrl, ui->Alt, ui->Win};
    const char* words[] = {"Shift", "Ctrl", "Alt", "Win"};
    for (int n = 0; n < 4; ++n) {
        if (boxes[n]->isChecked())
            modifiers << QLatin1String(words[n]);
    }
    const QStringList keys = KeyNames::SplitCombination(ui->lineEdit->text());

    if (modifiers.size() + keys.size() > MaxItems) {
        GroupMaxThree notice;
        notice.move(pos());
        notice.exec();
        // Keys pressed while the notice was open are dropped with the rest.
        lastKey_ = -1;
        ui->lineEdit->clear();
        return;
    }

    hook_->UnHook();
    Combination = (modifiers + keys).join(QLatin1Char('+'));
    Confirm();
}

void GroupKey::on_NewHong_2_clicked()
{
    Dismiss();
}

void GroupKey::Dismiss()
{
    hook_->UnHook();
    MessageQuestion::Dismiss();
}

void GroupKey::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    MessageQuestion::keyPressEvent(event);
}
