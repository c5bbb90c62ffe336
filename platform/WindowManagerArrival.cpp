#include "platform/WindowManagerArrival.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {
// How often and how long lost windows are mapped again once a manager has
// announced itself: its start may take a while on a busy machine.
constexpr int AgainMs = 500;
constexpr int Tries = 240;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}
} // namespace

WindowManagerArrival::WindowManagerArrival(QObject* parent)
    : QObject(parent)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    // A connection of its own: its event mask on the root window is its own,
    // and Qt's connection is left alone.
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem <= 0) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    root_ = screens.data->root;
    managerCheck_ = Atom(connection_, "_NET_SUPPORTING_WM_CHECK");
    wmState_ = Atom(connection_, "WM_STATE");
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
    notifier_ = new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &WindowManagerArrival::ReadEvents);
    again_ = new QTimer(this);
    again_->setInterval(AgainMs);
    connect(again_, &QTimer::timeout, this, &WindowManagerArrival::MapAgain);
}

WindowManagerArrival::~WindowManagerArrival()
{
    delete again_;
    delete notifier_;
    if (connection_)
        xcb_disconnect(connection_);
}

void WindowManagerArrival::ReadEvents()
{
    bool arrived = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
            const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            arrived = arrived
                || (change->window == root_ && change->atom == managerCheck_
                    && change->state == XCB_PROPERTY_NEW_VALUE);
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection_)) {
        // The server went: nothing more to watch.
        notifier_->setEnabled(false);
        return;
    }
    if (!arrived)
        return;
    const int lost = MapLostWindows();
    if (lost > 0) {
        triesLeft_ = Tries;
        again_->start();
    }
    emit Arrived(lost);
}

void WindowManagerArrival::MapAgain()
{
    if (--triesLeft_ <= 0 || MapLostWindows() == 0)
        again_->stop();
}

int WindowManagerArrival::MapLostWindows()
{
    int mapped = 0;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* widget : windows) {
        // Shown for Qt, not minimised (a minimised window is unmapped too,
        // but managed), and not kept off the screen on purpose.
        if (!widget->isVisible() || widget->isMinimized() || widget->testAttribute(Qt::WA_DontShowOnScreen)
            || !widget->internalWinId())
            continue;
        const auto window = xcb_window_t(widget->internalWinId());
        xcb_get_window_attributes_reply_t* attributes
            = xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr);
        const bool unmapped
            = attributes && !attributes->override_redirect && attributes->map_state == XCB_MAP_STATE_UNMAPPED;
        std::free(attributes);
        if (!unmapped)
            continue;
        // A manager that ever handled the window set its state.
        xcb_get_property_reply_t* state = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, wmState_, XCB_ATOM_ANY, 0, 2), nullptr);
        const bool managed = state && state->type != xcb_atom_t(XCB_ATOM_NONE);
        std::free(state);
        if (managed)
            continue;
        xcb_map_window(connection_, window);
        ++mapped;
    }
    xcb_flush(connection_);
    return mapped;
}
