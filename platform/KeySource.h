#pragma once

#include <QHash>
#include <QObject>
#include <QSet>

#include <functional>
#include <vector>

class QKeyEvent;

// The program's keyboard, seen as a stream of Windows keyboard messages: every
// key press and release that reaches a window of the program becomes a
// virtual-key code (VirtualKeyTable) with the message the Windows keyboard would
// send for it, before any widget sees the key. The key entry dialogs and the
// macro recorder install handlers here (through their hook classes).
//
// What the stream follows:
// - auto-repeat: a held key gives repeated presses and one release at the end;
// - a release has the code of its press (paired by scan code), even when the
//   modifiers changed in between;
// - system keys: pressing Alt or F10, and pressing or releasing a key while Alt
//   is held (without Ctrl), come as system-key messages.
//
// Handlers only observe: the key goes on to the focused widget afterwards. The
// stream sees keys only while a window of the program has the keyboard focus.
// GUI thread only.
class KeySource : public QObject {
    Q_OBJECT
public:
    enum Message {
        KeyDown = 0x0100,
        KeyUp = 0x0101,
        SysKeyDown = 0x0104,
        SysKeyUp = 0x0105,
    };
    using Handler = std::function<void(int vk, Message message)>;

    // The source of the running application (made on first use; null without an
    // application object).
    static KeySource* Instance();

    // Adds a handler; the newest handler is called first. Returns its handle
    // (never 0).
    int Install(Handler handler);
    // Removes a handler; an unknown handle or 0 is ignored. A handler may remove
    // itself or others while it runs.
    void Remove(int handle);
    bool IsInstalled(int handle) const;

    // Hands one key event to the handlers, as the application-wide filter does
    // for the key events that reach a window of the program.
    void Deliver(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit KeySource(QObject* parent);
    void Forget();
    bool Held(int vk) const;

    std::vector<std::pair<int, Handler>> handlers_;
    int nextHandle_ = 1;
    QHash<quint32, int> pressedByScanCode_;
    QSet<int> held_;
};
