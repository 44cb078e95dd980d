#include "tests/support/core/RequestGate.h"

bool RequestGate::Hold(const std::function<bool()> &giveUp)
{
    std::unique_lock lock(mutex_);
    ++holding_;
    ++held_;
    changed_.notify_all();
    // A backend that gives up looks at its flag between short waits, as a real one does.
    while (!released_ && !(giveUp && giveUp())) {
        changed_.wait_for(lock, std::chrono::milliseconds(5));
    }
    --holding_;
    changed_.notify_all();
    return released_;
}

RequestGate::~RequestGate()
{
    std::unique_lock lock(mutex_);
    released_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return holding_ == 0; });
}

bool RequestGate::WaitUntilHeld(std::chrono::milliseconds limit)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return holding_ > 0; });
}

void RequestGate::Release()
{
    const std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
}

bool RequestGate::Held() const
{
    const std::lock_guard lock(mutex_);
    return holding_ > 0;
}

int RequestGate::HeldCount() const
{
    const std::lock_guard lock(mutex_);
    return held_;
}
