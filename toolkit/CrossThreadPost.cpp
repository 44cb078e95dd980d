#include "toolkit/CrossThreadPost.h"

#include "toolkit/PostedCallQueue.h"

CrossThreadPost::CrossThreadPost() : queue_(std::make_unique<PostedCallQueue>()) {}

CrossThreadPost::~CrossThreadPost() = default;

void CrossThreadPost::Post(std::function<void()> call) const
{
    queue_->Push(std::move(call));
}
