// What a run will overwrite in the live directory: a present container marked with its subtree
// is written back, every present object below it included (what the mark means). Counted over
// the loaded objects only: what a container not opened holds is not known here, and such
// containers are counted apart.
#pragma once

#include <cstdint>

class NodeList;

struct OverwriteCount {
    uint64_t presentContainers = 0; // marked with their subtrees, enabled
    uint64_t loadedPresentBelow = 0;
    // Present containers among them and below them whose children are not loaded.
    uint64_t notOpened = 0;

    // Over the forest, as the run will restore it.
    static OverwriteCount Of(const NodeList &forest);
};
