#include "platform/KeySource.h"

#include "platform/VirtualKeyTable.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>

KeySource* KeySource::Instance()
{
    static QPointer<KeySource> source;
    if (!source && QCoreApplication::instance())
        source = new KeySource(QCoreApplication::instance());
    return source;
}

KeySource::KeySource(QObject* parent)
    : QObject(parent)
{
    parent->installEventFilter(this);
}

int KeySource::Install(Handler handler)
{
    const int handle = nextHandle_++;
    handlers_.emplace_back(handle, std::move(handler));
    return handle;
}

void KeySource::Remove(int handle)
{
    handlers_.erase(std::remove_if(handlers_.begin(), handlers_.end(),
                                   [handle](const auto& entry) { return entry.first == handle; }),
                    handlers_.end());
}

bool KeySource::IsInstalled(int handle) const
{
    return std::any_of(handlers_.begin(), handlers_.end(),
                       [handle](const auto& entry) { return entry.first == handle; });
}

bool KeySource::eventFilter(QObject* watched, QEvent* event)
{
    // Keys released while another program has the keyboard never reach us:
    // start afresh when the program loses it.
    if (event->type() == QEvent::ApplicationStateChange
        && static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive)
        Forget();
    // A key event reaches the window first and is then passed on to the focus
    // widget and its parents; taking it at the window sees it once.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        && watched->isWindowType())
        Deliver(*static_cast<QKeyEvent*>(event));
    return false;
}

bool KeySource::Held(int vk) const
{
    return held_.contains(vk);
}

void KeySource::Forget()
{
    pressedByScanCode_.clear();
    held_.clear();
}

void KeySource::Deliver(const QKeyEvent& event)
{
    const bool press = event.type() == QEvent::KeyPress;
    if (!press && event.type() != QEvent::KeyRelease)
        return;
    // X11 reports a held key as release + press pairs; the keyboard this stream
    // stands for reports only the repeated presses.
    if (!press && event.isAutoRepeat())
        return;

    const quint32 scanCode = event.nativeScanCode();
    int vk = 0;
    if (!press && scanCode != 0 && pressedByScanCode_.contains(scanCode))
        vk = pressedByScanCode_.take(scanCode);
    else
        vk = VirtualKeyTable::FromEvent(event.key(), event.modifiers(), scanCode);
    if (press && scanCode != 0)
        pressedByScanCode_.insert(scanCode, vk);
    if (vk == 0)
        return;

    const bool isAlt = vk == Vk::LMenu || vk == Vk::RMenu || vk == Vk::Menu;
    const bool ctrlHeld = Held(Vk::LControl) || Held(Vk::RControl) || Held(Vk::Control);
    bool otherAltHeld = false;
    for (int alt : {int(Vk::LMenu), int(Vk::RMenu), int(Vk::Menu)})
        otherAltHeld = otherAltHeld || (alt != vk && Held(alt));
    Message message;
    if (press) {
        const bool system = !ctrlHeld && (isAlt || vk == Vk::F10 || otherAltHeld);
        message = system ? SysKeyDown : KeyDown;
        held_.insert(vk);
    } else {
        const bool system = !ctrlHeld && (vk == Vk::F10 || otherAltHeld);
        message = system ? SysKeyUp : KeyUp;
        held_.remove(vk);
    }

    // Newest first; a handler may install or remove handlers while it runs.
    std::vector<int> order;
    order.reserve(handlers_.size());
    for (auto it = handlers_.rbegin(); it != handlers_.rend(); ++it)
        order.push_back(it->first);
    for (int handle : order) {
        const auto found = std::find_if(handlers_.begin(), handlers_.end(),
                                        [handle](const auto& entry) { return entry.first == handle; });
        if (found == handlers_.end())
            continue;
        const Handler handler = found->second;
        handler(vk, message);
    }
}
