#pragma once

#include <QtTest>

#include <cstdlib>
#include <xcb/xcb.h>

// Stands in for a window manager in its start that loses the map requests it
// gets (openbox may, for one that comes during its start): on a connection of
// its own it takes the root window's map requests and drops them, until it is
// released (or goes), when a real manager can take the screen. Needs X and
// xcb (link PkgConfig::XCB).
class StartingWindowManager {
public:
    StartingWindowManager()
        : x_(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(x_))
            return;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x_)).data->root;
        const uint32_t redirect = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        xcb_generic_error_t* error
            = xcb_request_check(x_, xcb_change_window_attributes_checked(x_, root, XCB_CW_EVENT_MASK, &redirect));
        taken_ = !error;
        std::free(error);
    }
    StartingWindowManager(const StartingWindowManager&) = delete;
    StartingWindowManager& operator=(const StartingWindowManager&) = delete;
    ~StartingWindowManager() { Release(); }

    // Whether it has the screen's map requests (no other manager runs).
    bool Taken() const { return taken_; }

    // Waits, serving this thread's events, until a map request came (of the
    // window, or of any when window is 0), and drops it; false after timeoutMs.
    bool WaitForMapRequest(int timeoutMs, quint32 window = 0)
    {
        bool requested = false;
        return QTest::qWaitFor(
            [&] {
                while (xcb_generic_event_t* event = xcb_poll_for_event(x_)) {
                    const auto* request = reinterpret_cast<const xcb_map_request_event_t*>(event);
                    requested = requested
                        || ((event->response_type & 0x7F) == XCB_MAP_REQUEST && (!window || request->window == window));
                    std::free(event);
                }
                return requested;
            },
            timeoutMs);
    }

    // Lets the screen go, the dropped requests with it.
    void Release()
    {
        if (x_)
            xcb_disconnect(x_);
        x_ = nullptr;
        taken_ = false;
    }

private:
    xcb_connection_t* x_ = nullptr;
    bool taken_ = false;
};
