// What the index answers with: its dumps, the entries they hold and the versions that tell them
// apart. The change report compares versions by their fingerprints, reads the texts only of what
// differs, and recognises a moved or renamed entry by its identity.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/TextBlocks.h"

struct IndexedDump {
    int64_t seq = 0; // its place in time among the dumps
    uint32_t time = 0;
    std::string file;
    uint64_t entries = 0;
};

// An entry as one dump holds it.
struct ArchivedEntry {
    std::string dn; // as the newest dump that holds the entry writes it
    std::string canonical;
    int64_t seq = 0; // of the dump
    uint32_t time = 0;
    TextPlace text;
};

// An entry that some dump holds.
struct ArchivedName {
    std::string dn; // as the newest dump that holds it writes it
    std::string canonical;
    std::string own;             // its own name's values, joined by "+"
    bool containerClass = false; // some version has one of the container classes
};

// An entry as one dump holds it, with what tells its versions apart.
struct HeldVersion {
    ArchivedEntry entry;      // its name, the dump, and where its text is kept
    uint64_t fingerprint = 0; // of its lines as the dump writes them: equal, the entry is the same
    std::string identity;     // entryUUID or objectGUID, 16 bytes; empty when it has neither
    bool containerClass = false; // it has one of the container classes
    int64_t first = 0;           // the first and last dump holding this version (0: up to the
    int64_t last = 0;            // newest); dumps removed since may lie between
};

// An entry whose version in one dump differs from its version in another.
struct EntryChange {
    std::optional<HeldVersion> before; // in the dump compared from; nothing: it did not hold it
    std::optional<HeldVersion> after;  // in the dump compared to; nothing: it does not hold it
};
