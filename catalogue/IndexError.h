// What goes wrong with the index file itself (it cannot be read or written, or SQLite finds it
// damaged). The catalogue's classes throw it among themselves; what they offer outside catches it
// and says why in words.
#pragma once

#include <stdexcept>
#include <string>

class IndexError : public std::runtime_error
{
  public:
    IndexError(const std::string &what, bool damaged) : std::runtime_error(what), damaged_(damaged)
    {
    }
    // SQLite found the file is not an index it can trust: it is to be built again.
    bool Damaged() const { return damaged_; }

  private:
    bool damaged_;
};
