#pragma once

#include "dialogs/MacroKeyHook.h"

#include <QWidget>

namespace Ui {
class Macro;
}

// The macro editor, the second page built by the configuration frame. While it
// records keystrokes MacroRecording is set (the top window then ignores every
// key) and the frame's page buttons are disabled (SigStartRecord 0, then 1).
class Macro : public QWidget {
    Q_OBJECT
public:
    explicit Macro(QWidget* parent = nullptr);
    ~Macro() override;

public slots:
    // The frame goes back to the device list: a running recording ends
    // (SigStartRecord(1), the recorder's keyboard hook removed) and the editor
    // returns to its resting state.
    void SlotSetMacroPage();

private:
    Ui::Macro* ui;
    MacroKeyHook recorder_;
};
