#include "toolkit/EventWait.h"

#include <QEventLoop>

void EventWait::Until(const std::function<bool()> &done)
{
    QEventLoop loop;
    while (!done()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void EventWait::Pass()
{
    QEventLoop loop;
    loop.processEvents(QEventLoop::AllEvents);
}
