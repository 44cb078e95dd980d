// The program's thread in miniature for tests of the server worker: calls posted from the worker
// wait here until the test runs them, as the window's event loop would.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class HomeQueue
{
  public:
    void Post(std::function<void()> call)
    {
        const std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
        posted_.notify_all();
    }
    // Waits until `count` calls are waiting (false after five seconds).
    bool WaitFor(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        return posted_.wait_for(lock, std::chrono::seconds(5),
                                [&] { return calls_.size() >= count; });
    }
    void RunAll()
    {
        std::deque<std::function<void()>> due;
        {
            const std::lock_guard lock(mutex_);
            due.swap(calls_);
        }
        for (auto &call : due) {
            call();
        }
    }

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> calls_;
};
