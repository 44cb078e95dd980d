#include "toolkit/CrossThreadPost.h"

#include <QMetaObject>
#include <QObject>

CrossThreadPost::CrossThreadPost() : context_(std::make_unique<QObject>()) {}

CrossThreadPost::~CrossThreadPost() = default;

void CrossThreadPost::Post(std::function<void()> call) const
{
    QMetaObject::invokeMethod(context_.get(), std::move(call), Qt::QueuedConnection);
}
