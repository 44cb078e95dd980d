// What an object holds at one of its versions beside what its live entry holds, as plain values:
// a backend describes an object with it and the client hands it to its callers.
#pragma once

#include <string>
#include <vector>

struct DescribedAttribute {
    std::string name;                // its description as the server gives it
    std::vector<std::string> values; // raw bytes, in the server's order
    bool operator==(const DescribedAttribute &) const = default;
};

struct ObjectDescription {
    bool inBackup = false;      // the version asked for holds the object
    bool live = false;          // the object is in the live directory
    bool parentMissing = false; // its parent is not in the live directory
    bool parentAddable = false; // a restore would put the missing parents back first
    std::vector<DescribedAttribute> backup;
    std::vector<DescribedAttribute> current; // the live entry's
    // What a restore would not bring back: it would be a restore in part. Empty: nothing.
    std::string lacks;
};

// Another entry that a restore of an object writes: a missing parent it puts back first, or an
// entry of the object's subtree.
struct WrittenEntry {
    std::string fullName;
    bool parent = false; // a missing parent, put back before the object
    ObjectDescription description;
};
