// The objects a search found, in the formats of a restore's results: aligned text with a summary
// line "N found, N of them deleted", CSV with the header object,kind,state, or a JSON array of
// records with the keys "object", "kind" and "state". A kind is "container" or "leaf", a state
// "present" or "deleted".
#pragma once

#include <string>
#include <vector>

#include "cli/RestoreOptions.h"
#include "server/ServerClient.h"

class FoundReport
{
  public:
    static std::string Render(OutputFormat format, const std::vector<FoundObject> &found);
    static std::string Summary(const std::vector<FoundObject> &found);
};
