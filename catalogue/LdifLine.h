// One logical line of an LDIF entry taken apart: "description: value", "description:: base64"
// or "description:< url". The reader of whole entries and the scanner of dumps both take lines
// apart here, so that they accept the same text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct LdifLine {
    std::string_view description; // attribute type with any options, as written
    std::string_view value;       // as written: base64 still encoded
    bool base64 = false;

    // Nothing when the line is not an attribute line, or gives its value by URL (a dump never
    // does).
    static std::optional<LdifLine> Split(std::string_view line);
    // The value's bytes; nothing when base64 does not decode.
    std::optional<std::string> Decoded() const;
    bool Names(std::string_view name) const; // the description is this name, in any case
};
