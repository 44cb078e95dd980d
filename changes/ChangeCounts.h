// How many rows of each kind a change report holds, as its first line says them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "server/ObjectChange.h"

struct ChangeCounts {
    std::size_t deleted = 0;
    std::size_t added = 0;
    std::size_t modified = 0;
    std::size_t moved = 0;

    void Count(const ObjectChange &change);
    std::size_t Total() const { return deleted + added + modified + moved; }
    // "4 changes: 2 deleted, 1 added, 1 modified, 0 moved" ("1 change: ..." for one).
    std::string Summary() const;

    static ChangeCounts Of(const std::vector<ObjectChange> &rows);
};
