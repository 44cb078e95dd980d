#include "toolkit/PostedCallQueue.h"

#include <QMetaObject>

void PostedCallQueue::Push(std::function<void()> call)
{
    {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }
    // By name, so that the event that carries the request is made and freed inside Qt alone.
    QMetaObject::invokeMethod(this, "RunNext", Qt::QueuedConnection);
}

void PostedCallQueue::RunNext()
{
    std::function<void()> call;
    {
        const std::lock_guard lock(mutex_);
        if (calls_.empty()) {
            return;
        }
        call = std::move(calls_.front());
        calls_.pop_front();
    }
    call();
}
