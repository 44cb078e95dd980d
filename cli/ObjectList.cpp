// Reading the objects of a run.
#include "cli/ObjectList.h"

namespace
{
constexpr const char *kBlanks = " \t\r";
}

std::optional<std::vector<WantedObject>>
ObjectList::Read(std::istream &lines, const std::string &sourceName, std::string &fault)
{
    std::vector<WantedObject> objects;
    std::string line;
    for (std::size_t number = 1; std::getline(lines, line); ++number) {
        const std::size_t first = line.find_first_not_of(kBlanks);
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        const std::size_t last = line.find_last_not_of(kBlanks);
        std::string reason;
        std::optional<WantedObject> object =
            WantedObject::Parse(std::string_view(line).substr(first, last + 1 - first), reason);
        if (!object) {
            fault = sourceName + ":" + std::to_string(number) + ": " + reason;
            return std::nullopt;
        }
        objects.push_back(std::move(*object));
    }
    if (lines.bad()) {
        fault = sourceName + ": cannot be read";
        return std::nullopt;
    }
    return objects;
}

std::optional<std::vector<WantedObject>>
ObjectList::FromWords(const std::vector<std::string> &words, std::string &fault)
{
    std::vector<WantedObject> objects;
    for (const std::string &word : words) {
        std::optional<WantedObject> object = WantedObject::Parse(word, fault);
        if (!object) {
            return std::nullopt;
        }
        objects.push_back(std::move(*object));
    }
    return objects;
}
