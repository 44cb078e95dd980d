// Posted to the event loop as a queued call on an object of its own.
#include "toolkit/PostedCall.h"

#include <QMetaObject>
#include <QObject>

PostedCall::PostedCall(std::function<void()> call)
    : call_(std::move(call)), context_(std::make_unique<QObject>())
{
}

PostedCall::~PostedCall() = default;

void PostedCall::Post()
{
    if (pending_) {
        return;
    }
    pending_ = true;
    QMetaObject::invokeMethod(
        context_.get(), [this] { RunNow(); }, Qt::QueuedConnection);
}

void PostedCall::RunNow()
{
    if (!pending_) {
        return;
    }
    pending_ = false;
    call_();
}
