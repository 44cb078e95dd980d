// One object asked for: its full name as the window shows it (its name and its ancestors' up to
// the top context, joined by "."), whether a container goes alone or with its whole subtree, and
// the version wanted. Written NAME, NAME/ (a container alone), either followed by @TIME.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/VersionPick.h"

struct WantedObject {
    std::string fullName;
    bool alone = false; // a container without its subtree
    VersionPick version;

    // The object written as above; nothing, with the reason, when it is not. The text after the
    // last "@" is the time; a name holding "@" itself is written with "@newest" (or another
    // time) after it.
    static std::optional<WantedObject> Parse(std::string_view text, std::string &fault);

    // As it would be written again.
    std::string Text() const;
};
