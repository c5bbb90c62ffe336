#include "core/Timing.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <atomic>
#include <cmath>

namespace {
std::atomic<double> scaleFactor{1.0};
}

int Timing::Ms(int ms)
{
    if (ms <= 0)
        return ms;
    const int scaled = static_cast<int>(std::lround(ms * scaleFactor.load()));
    return scaled < 1 ? 1 : scaled;
}

void Timing::SetScale(double scale)
{
    scaleFactor = scale > 0 ? scale : 1.0;
}

double Timing::Scale()
{
    return scaleFactor.load();
}

void Timing::WaitMs(int ms)
{
    QDeadlineTimer deadline(Ms(ms));
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(qMax<qint64>(1, deadline.remainingTime())));
        QThread::msleep(1);
    }
}
