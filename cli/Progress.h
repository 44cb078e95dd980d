// How far a run has come, on standard error, for the person watching: "[count/total] object",
// rewritten in place. Shown only when standard error is a terminal, so that logs of scripts and
// the results never carry it.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

class Progress
{
  public:
    // shown: standard error is a terminal; width: its columns (0: unknown).
    Progress(std::ostream &out, bool shown, std::size_t width = 0);
    ~Progress(); // clears the line

    void Show(const std::string &stage, std::size_t count, std::size_t total,
              const std::string &object);
    void Clear();

  private:
    std::ostream &out_;
    bool shown_;
    std::size_t width_;
    bool showing_ = false;
};
