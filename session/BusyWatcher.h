// What the window hears of the session's work: when the session turns busy or free, and when a
// command of the user's was turned away because the server was at work.
#pragma once

class BusyWatcher
{
  public:
    virtual ~BusyWatcher() = default;
    virtual void BusyChanged(bool busy) = 0;
    virtual void TurnedAway() = 0;
};
