// What a restore wrote besides its reply: entries added on the way (missing parents), and how
// many entries of the object itself, with its subtree when asked, were added and changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RestoreReport {
    // Full names of the missing parents that were added before the object, top down: each is
    // the parent of the next, the last one the parent of the object.
    std::vector<std::string> parentsAdded;
    // Full names of every entry that was added, parents included, as far as the backend knows
    // them by name (entries it has never listed are only counted).
    std::vector<std::string> added;
    // Entries of the object's own restore (the object and its subtree) that were added or
    // changed; unchanged entries count as neither.
    uint64_t addedCount = 0;
    uint64_t changedCount = 0;
    bool subtree = false; // the object was restored with its subtree
    // The counts above hold every change the restore made, so that zero means nothing differed
    // (a backend that counts only what it added leaves it false).
    bool changesCounted = false;
};
