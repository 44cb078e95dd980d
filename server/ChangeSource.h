// How a backend finds the changes of a report: a part at a time, each part a bounded amount of
// work, so that the requests that hand the changes out come back often enough to show progress
// and to be stopped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/ObjectChange.h"

class ChangeSource
{
  public:
    ChangeSource() = default;
    ChangeSource(const ChangeSource &) = delete;
    ChangeSource &operator=(const ChangeSource &) = delete;
    virtual ~ChangeSource() = default;

    // Adds the changes of the next part to `found` (possibly none); false, with the reason in
    // `fault`, when the report cannot go on.
    virtual bool Next(std::vector<ObjectChange> &found, std::string &fault) = 0;
    virtual bool Done() const = 0;
    // Objects looked at so far, and how many there are to look at (0: not known).
    virtual uint32_t Examined() const = 0;
    virtual uint32_t Total() const = 0;
};
