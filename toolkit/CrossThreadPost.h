// Calls handed over from any thread and made on the program's thread at its next pass of the
// event loop, in the order they were handed over. Calls still pending when it goes are dropped;
// whoever hands calls over must be stopped before it goes.
#pragma once

#include <functional>
#include <memory>

class PostedCallQueue;

class CrossThreadPost
{
  public:
    CrossThreadPost(); // on the program's thread
    CrossThreadPost(const CrossThreadPost &) = delete;
    CrossThreadPost &operator=(const CrossThreadPost &) = delete;
    ~CrossThreadPost();

    void Post(std::function<void()> call) const; // from any thread

  private:
    std::unique_ptr<PostedCallQueue> queue_;
};
