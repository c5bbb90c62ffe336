#pragma once

#include "dialogs/MacroKeyHook.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace Ui {
class Macro;
}

// Recording a macro in the macro editor: the keyboard hook's key events
// become key rows of the shown macro, with the delays between them (measured,
// or the default delay), up to the most key rows a mouse keeps. While it runs
// MacroRecording is set, the frame's page buttons are disabled (SigStartRecord
// 0, then 1) and the macro list and the delay and count fields are put away.
// The rows themselves are the page's: the recorder names them, the page makes
// them. GUI thread; part of the page, which makes it after its form.
class MacroRecorder : public QObject {
    Q_OBJECT
public:
    // Places one of the recorder's notices over the page.
    using Place = std::function<void(QWidget* notice)>;

    MacroRecorder(Ui::Macro* ui, Place place, QObject* parent = nullptr);

    // Starts recording into the current macro (its rows are cleared); with no
    // current macro, the "choose a macro" notice.
    void Start();
    // Stops recording; the rows can be saved.
    void Stop();
    // A key event of the hook: a virtual key pressed or released. A held
    // key's repeats are one press; a key the recorder has no name for only
    // ends the delay.
    void KeyEvent(int vk, bool down);
    // The page as it is when no recording runs.
    void EndLook();
    // Whether the keyboard hook is installed.
    bool Hooked() const { return hook_.IsHooked(); }

signals:
    // A recording began on emptied rows: they differ from the saved ones.
    void Started();
    // A recorded key row, and the delay row before it.
    void KeyRecorded(const QString& name, bool press);
    void DelayRecorded(qint64 ms);
    // The recording was stopped: its rows can be saved.
    void Stopped();

private:
    Ui::Macro* ui;
    Place place_;
    MacroKeyHook hook_;
    // The last key reported (0 after its release): a held key's repeats are
    // left out.
    int LastVirtualKey = 0;
    // Since the last recorded event.
    QElapsedTimer KeyTimer;
    // The next key row has no delay row before it.
    bool FirstKeyPending = false;
    int RecordedKeyRows = 0;
};
