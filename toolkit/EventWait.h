// Lets the program's thread go on with its event loop (painting, scrolling, the user's input)
// until a condition holds, instead of blocking while something else does the work.
#pragma once

#include <functional>

class EventWait
{
  public:
    // Handles events, sleeping while there are none, until `done` says so; `done` is asked
    // after every pass, so whatever sets it must also wake the loop (a posted call does).
    static void Until(const std::function<bool()> &done);
    // Handles the events that are waiting, and returns at once.
    static void Pass();
};
