// Reading the objects of a run.
#include "cli/ObjectList.h"

namespace
{
constexpr const char *kBlanks = " \t\r";
}

std::optional<std::vector<ObjectSpec>>
ObjectList::Read(std::istream &lines, const std::string &sourceName, std::string &fault)
{
    std::vector<ObjectSpec> specs;
    std::string line;
    for (std::size_t number = 1; std::getline(lines, line); ++number) {
        const std::size_t first = line.find_first_not_of(kBlanks);
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        const std::size_t last = line.find_last_not_of(kBlanks);
        std::string reason;
        std::optional<ObjectSpec> spec =
            ObjectSpec::Parse(std::string_view(line).substr(first, last + 1 - first), reason);
        if (!spec) {
            fault = sourceName + ":" + std::to_string(number) + ": " + reason;
            return std::nullopt;
        }
        specs.push_back(std::move(*spec));
    }
    if (lines.bad()) {
        fault = sourceName + ": cannot be read";
        return std::nullopt;
    }
    return specs;
}

std::optional<std::vector<ObjectSpec>> ObjectList::FromWords(const std::vector<std::string> &words,
                                                             std::string &fault)
{
    std::vector<ObjectSpec> specs;
    for (const std::string &word : words) {
        std::optional<ObjectSpec> spec = ObjectSpec::Parse(word, fault);
        if (!spec) {
            return std::nullopt;
        }
        specs.push_back(std::move(*spec));
    }
    return specs;
}
