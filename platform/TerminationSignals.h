#pragma once

#include <QObject>

class QSocketNotifier;

// The system's requests to end the program (SIGTERM, SIGINT, SIGHUP: a session
// that ends, a kill, Ctrl+C in the terminal) as a signal on the thread of the
// object, so the program can close in order instead of dying in the middle of
// a device exchange. The handler itself only writes the signal's number into a
// pipe. One object at a time; the default handlers come back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // The signals watched.
    static const int Watched[3];

signals:
    void Requested(int signal);

private slots:
    void ReadPipe();

private:
    static void Handler(int signal);
    QSocketNotifier* notifier_ = nullptr;
};
