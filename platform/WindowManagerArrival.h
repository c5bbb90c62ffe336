#pragma once

#include <QObject>

class QSocketNotifier;
class QTimer;
struct xcb_connection_t;

// On X11, a window manager that comes up while the program maps a window can
// lose that request (openbox does for a map that arrives during its own start,
// which goes on after it has announced itself): the window then stays
// unmapped and unmanaged, shown for Qt and invisible for the user. This
// watches the root window for a manager's announcement; from then on it maps
// again every shown top-level window of the program that is still unmapped
// and was never managed, every half second until the manager has taken them
// (or for two minutes at most). Elsewhere (offscreen, no X) it does nothing.
class WindowManagerArrival : public QObject {
    Q_OBJECT
public:
    explicit WindowManagerArrival(QObject* parent = nullptr);
    ~WindowManagerArrival() override;

    // Whether it watches an X server's root window.
    bool Watching() const { return connection_ != nullptr; }

signals:
    // A manager announced itself; the windows it had lost at that moment.
    void Arrived(int windowsLost);

private slots:
    void ReadEvents();
    void MapAgain();

private:
    int MapLostWindows();

    xcb_connection_t* connection_ = nullptr;
    quint32 root_ = 0;
    quint32 managerCheck_ = 0;
    quint32 wmState_ = 0;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* again_ = nullptr;
    int triesLeft_ = 0;
};
