// A call made once at the next pass of the event loop, however often it was asked for until then:
// views gather the changes of one event and catch up with all of them together.
#pragma once

#include <functional>
#include <memory>

class QObject;

class PostedCall
{
  public:
    explicit PostedCall(std::function<void()> call);
    PostedCall(const PostedCall &) = delete;
    PostedCall &operator=(const PostedCall &) = delete;
    ~PostedCall(); // a call still pending is dropped

    void Post();
    bool IsPending() const { return pending_; }
    // Makes the pending call now (nothing when none is pending).
    void RunNow();

  private:
    std::function<void()> call_;
    std::unique_ptr<QObject> context_; // the queued call goes with it
    bool pending_ = false;
};
