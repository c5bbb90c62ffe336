#include "core/Timing.h"

#include <QEventLoop>
#include <QTimer>

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
    QEventLoop loop;
    QTimer::singleShot(qMax(0, Ms(ms)), &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
