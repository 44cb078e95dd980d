// Shows the wait pointer for as long as it lives; the normal pointer comes back on every path out.
#pragma once

class WaitPointer
{
  public:
    WaitPointer();
    ~WaitPointer();
    WaitPointer(const WaitPointer &) = delete;
    WaitPointer &operator=(const WaitPointer &) = delete;
};
