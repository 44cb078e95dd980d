// The objects of a run, from the command line or from a list with one object a line (a ticket's
// list, a nightly check's). Blank lines and lines starting with "#" are skipped; blanks around a
// line and a line end of CR LF are not part of the object.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "cli/WantedObject.h"

class ObjectList
{
  public:
    // Every object, or nothing and the first fault ("<source>:<line>: ...").
    static std::optional<std::vector<WantedObject>>
    Read(std::istream &lines, const std::string &sourceName, std::string &fault);
    static std::optional<std::vector<WantedObject>> FromWords(const std::vector<std::string> &words,
                                                              std::string &fault);
};
