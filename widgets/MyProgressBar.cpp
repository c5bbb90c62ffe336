#include "widgets/MyProgressBar.h"

MyProgressBar::MyProgressBar(QWidget* parent)
    : QProgressBar(parent)
    , creepTimer_(new QTimer(this))
    , stepTimer_(new QTimer(this))
{
    setOrientation(Qt::Horizontal);
    setRange(0, 100);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetValueText(0);
    connect(creepTimer_, &QTimer::timeout, this, &MyProgressBar::Creep);
    connect(stepTimer_, &QTimer::timeout, this, &MyProgressBar::CatchUp);
}

void MyProgressBar::SetValueText(int value)
{
    setValue(value);
    const int span = maximum() - minimum();
    const double percent = span > 0 ? double(value - minimum()) * 100.0 / span : 0.0;
    setFormat(QStringLiteral("%1%").arg(percent, 0, 'f', 1));
}

void MyProgressBar::Start(int count, int intervalMs)
{
    // No stage at all would leave nothing to move to: one stage is the least.
    count = qMax(count, 1);
    targets_.clear();
    stage_ = 0;
    SetValueText(0);
    targets_.append(0);
    const int step = 100 / count;
    for (int i = 1; i < count; ++i)
        targets_.append(targets_.last() + step);
    targets_.append(100);
    creepTimer_->start(intervalMs);
}

void MyProgressBar::Creep()
{
    if (stage_ + 1 >= targets_.size())
        return;
    if (value() <= targets_.at(stage_ + 1) - 2)
        SetValueText(value() + 1);
}

void MyProgressBar::mUpdate()
{
    if (stage_ + 1 >= targets_.size())
        return;
    ++stage_;
    stepTimer_->start(5);
    if (targets_.at(stage_) == targets_.last())
        creepTimer_->stop();
}

void MyProgressBar::CatchUp()
{
    if (stage_ < targets_.size() && value() < targets_.at(stage_)) {
        SetValueText(value() + 1);
        return;
    }
    stepTimer_->stop();
}
