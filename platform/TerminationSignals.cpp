#include "platform/TerminationSignals.h"

#include <QDebug>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Written by the handler, read on the object's thread.
int Pipe[2] = {-1, -1};
} // namespace

const int TerminationSignals::Watched[3] = {SIGTERM, SIGINT, SIGHUP};

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (Pipe[0] != -1) {
        qWarning() << "termination signals: already watched";
        return;
    }
    if (::pipe2(Pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning() << "termination signals: no pipe, the default handling stays";
        Pipe[0] = Pipe[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);

    struct sigaction action {};
    action.sa_handler = &TerminationSignals::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Watched)
        sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_)
        return;
    for (int signal : Watched)
        std::signal(signal, SIG_DFL);
    delete notifier_;
    ::close(Pipe[0]);
    ::close(Pipe[1]);
    Pipe[0] = Pipe[1] = -1;
}

void TerminationSignals::Handler(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a request; nothing is lost.
    ssize_t written = ::write(Pipe[1], &number, 1);
    (void)written;
    errno = saved;
}

void TerminationSignals::ReadPipe()
{
    unsigned char number = 0;
    while (::read(Pipe[0], &number, 1) == 1)
        emit Requested(number);
}
