// A one-shot timer: after its time-out it calls its handler once per start.
#pragma once

#include <memory>

#include "toolkit/Link.h"

class QTimer;

class Timer
{
  public:
    Timer();
    ~Timer();
    Timer(const Timer &) = delete;
    Timer &operator=(const Timer &) = delete;

    void SetTimeout(int milliseconds);
    int GetTimeout() const;
    void SetTimeoutHdl(Link<Timer> link) { timeoutHdl_ = std::move(link); }
    void Start();
    void Stop();
    bool IsActive() const;

  private:
    std::unique_ptr<QTimer> timer_;
    Link<Timer> timeoutHdl_;
};
