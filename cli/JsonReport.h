// The results as JSON: one array with one object per result, always with the keys "object",
// "version", "scope", "outcome" and "message", in that order. Texts are UTF-8; a byte that is
// not part of valid UTF-8 (a server may send Latin-1) becomes U+FFFD, so that the document
// always parses.
// ### A shared writer of JSON text is on its way into the program; this one goes then.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/ObjectReport.h"

class JsonReport
{
  public:
    static std::string Render(const std::vector<ObjectReport> &reports);
    // The text as a JSON string, quotes included.
    static std::string String(std::string_view text);
};
