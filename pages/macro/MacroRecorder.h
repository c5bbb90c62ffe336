#pragma once

class Macro;

// Recording a macro in the macro editor: the keyboard hook's key events
// become key rows of the shown macro, with the delays between them (measured,
// or the default delay), up to the most key rows a mouse keeps. While it runs
// MacroRecording is set, the frame's page buttons are disabled (SigStartRecord
// 0, then 1) and the macro list and the delay and count fields are put away.
// GUI thread; part of the page, which makes it.
class MacroRecorder {
public:
    explicit MacroRecorder(Macro* page);

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

private:
    Macro* page_;
};
