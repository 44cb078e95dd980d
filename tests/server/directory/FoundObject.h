// A match of a search as a test expects it: its full name, its kind and whether it is present,
// printed readably when an expectation fails.
#pragma once

#include <ostream>
#include <string>
#include <utility>

struct Found {
    std::string fullName;
    bool container;
    bool present;
    bool operator==(const Found &) const = default;
};

inline std::ostream &operator<<(std::ostream &out, const Found &found)
{
    return out << found.fullName << (found.container ? " (container" : " (leaf")
               << (found.present ? ", present)" : ", deleted)");
}

inline Found Live(std::string name, bool container = false)
{
    return {std::move(name), container, true};
}

inline Found Gone(std::string name, bool container = false)
{
    return {std::move(name), container, false};
}
