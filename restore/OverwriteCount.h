// What a run will overwrite in the live directory: a present container marked with its subtree
// is written back, every present object below it included (what the mark means). Counted over
// the loaded objects only: what is not loaded is not known here.
#pragma once

#include <cstdint>

class NodeList;

struct OverwriteCount {
    uint64_t presentContainers = 0; // marked with their subtrees, enabled
    uint64_t loadedPresentBelow = 0;

    // Over the forest, as the run will restore it.
    static OverwriteCount Of(const NodeList &forest);
};
