// The results as JSON: one array with one object per result, always with the keys "object",
// "version", "scope", "outcome" and "message", in that order. Texts go through the program's
// shared JSON writer, so a byte that is not part of valid UTF-8 (a server may send Latin-1)
// becomes U+FFFD and the document always parses.
#pragma once

#include <string>
#include <vector>

#include "cli/ObjectReport.h"

class JsonReport
{
  public:
    static std::string Render(const std::vector<ObjectReport> &reports);
};
