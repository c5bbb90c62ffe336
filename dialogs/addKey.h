#pragma once

#include "dialogs/MessageQuestion.h"

#include <QString>

#include <memory>

class AddKeyHook;
class QKeyEvent;

namespace Ui {
class addKey;
}

// Asks for one key of a macro: the user presses a key and the dialog shows its
// name (the full table of KeyNames, modifier keys included). Keys come through
// the dialog's keyboard hook; the last key message wins, press or release, and a
// key without a name leaves the name empty.
//
// exec() returns Accepted after OK (Confirmed set, KeyName the name, possibly
// empty) and Rejected after Close or Cancel (Confirmed false). Escape, F12 and
// Enter do not close the dialog.
class addKey : public MessageQuestion {
    Q_OBJECT
public:
    explicit addKey(QWidget* parent = nullptr);
    ~addKey() override;

    QString KeyName;

public slots:
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();
    // The hook callback: one key message.
    void UpdateCapslockTip(int vk, bool down, bool repeat);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void Dismiss() override;

private:
    Ui::addKey* ui;
    std::unique_ptr<AddKeyHook> hook_;
};
