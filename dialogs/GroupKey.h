#pragma once

#include "dialogs/MessageQuestion.h"

#include <QString>

#include <functional>
#include <memory>

class GroupKeyHook;
class QKeyEvent;

namespace Ui {
class GroupKey;
}

// Asks for the key combination of a mouse button: at most three items, the
// modifiers ticked in the check boxes (Shift, Ctrl, Alt, Win) and keys pressed
// while the dialog is open. Keys come through the dialog's keyboard hook, named
// by the combination table of KeyNames; typing does not edit the key field.
//
// A key entry lasts 2000 ms from its first key: a key pressed later starts a new
// entry, and so does any key after the third. A key already in the field is not
// added again.
//
// Confirmed and Combination are read once exec() has returned. OK refuses more
// than three items with the GroupMaxThree notice and stays open; otherwise it
// sets Confirmed and Combination ("Shift+Ctrl+A": the ticked modifiers in that
// order, then the keys in the order pressed; empty when nothing was entered).
// Close and Cancel clear Confirmed. Escape and F12 do not close the dialog.
class GroupKey : public MessageQuestion {
    Q_OBJECT
public:
    explicit GroupKey(QWidget* parent = nullptr);
    ~GroupKey() override;

    QString Combination;

    static constexpr int MaxItems = 3;
    static constexpr int EntryMs = 2000;

    // The clock that measures the age of an entry, in ms; tests replace it. An
    // empty function restores the monotonic clock.
    static void SetEntryClock(std::function<qint64()> clock);

public slots:
    void on_NewHong_2_clicked();
    void on_NewHong_clicked();
    // The hook callback: one key message (releases are ignored).
    void UpdateCapslockTip(int vk, bool down, bool repeat);
    void on_lineEdit_textEdited(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void Dismiss() override;

private:
    static qint64 Now();

    Ui::GroupKey* ui;
    std::unique_ptr<GroupKeyHook> hook_;
    int lastKey_ = -1;
    bool firstKeyPending_ = true;
    qint64 entryStart_ = 0;
};
