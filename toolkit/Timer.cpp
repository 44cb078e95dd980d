#include "toolkit/Timer.h"

#include <QTimer>

Timer::Timer() : timer_(std::make_unique<QTimer>())
{
    timer_->setSingleShot(true);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { CallLink(timeoutHdl_, *this); });
}

Timer::~Timer() = default;

void Timer::SetTimeout(int milliseconds)
{
    timer_->setInterval(milliseconds);
}
int Timer::GetTimeout() const
{
    return timer_->interval();
}
void Timer::Start()
{
    timer_->start();
}
void Timer::Stop()
{
    timer_->stop();
}
bool Timer::IsActive() const
{
    return timer_->isActive();
}
