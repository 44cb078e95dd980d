// A server request that waits until the test lets it go: the test can look at the window, stop
// the work or signal termination while the worker is in the middle of a request.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

class RequestGate
{
  public:
    RequestGate() = default;
    // Lets go what it holds, and waits until the worker has left: a test may end while the
    // worker is still on its way out of a request it gave up.
    ~RequestGate();
    RequestGate(const RequestGate &) = delete;
    RequestGate &operator=(const RequestGate &) = delete;

    // Called from the server's side (the worker): waits until Release, or until `giveUp` says
    // so (a backend that abandons its request). True when released.
    bool Hold(const std::function<bool()> &giveUp = {});
    // From the test: waits until a request is held (false after the time limit).
    bool WaitUntilHeld(std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Lets the request held now, and every later one, go on.
    void Release();
    bool Held() const;
    int HeldCount() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
    int holding_ = 0;
    int held_ = 0; // requests that waited here, in all
};
