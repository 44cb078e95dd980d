// An object's attributes at a version set against its live ones, attribute by attribute: only in
// the backup, only live, changed, or the same. Values are compared as sets of bytes (a
// multi-valued attribute in another order is the same; binary values are compared exactly);
// attribute names ignore case. What a restore changes is every attribute that is not the same.
// The values of a secret attribute (a password, its hash) are compared but never shown.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "server/ObjectDescription.h"

enum class AttributeDifference { OnlyInBackup, OnlyLive, Changed, Same };

struct ComparedAttribute {
    std::string name;
    AttributeDifference difference = AttributeDifference::Same;
    std::vector<std::string> backup;
    std::vector<std::string> live;
    bool secret = false; // its values are never shown
};

// One value of an attribute: only in the backup, only live, or in both (Same).
struct ComparedValue {
    std::string value;
    AttributeDifference place = AttributeDifference::Same;
};

class AttributeComparison
{
  public:
    // In the backup's order, then the attributes only the live entry has, in its order.
    static std::vector<ComparedAttribute> Of(const ObjectDescription &description);
    // The attributes a restore would change.
    static std::size_t Changes(const std::vector<ComparedAttribute> &compared);

    // Not text to show: not UTF-8, or holding control characters other than tab and line ends.
    static bool IsBinary(std::string_view value);
    // A value as a person reads it: the text itself, or for a binary value its size and a short
    // hash of its bytes ("2,048 bytes, #1a2b3c4d").
    static std::string Shown(std::string_view value);
    // A secret side as it may be shown: its size only ("secret, 12 bytes"); empty when none.
    static std::string ShownSecret(const std::vector<std::string> &values);
    // Each value of the attribute once: the backup's in its order, then those only live.
    static std::vector<ComparedValue> Values(const ComparedAttribute &attribute);
    static const char *Text(AttributeDifference difference);
    // Where one value is: "only in backup", "only live", "in both".
    static const char *PlaceText(AttributeDifference place);
};
