// One stored item of an MW_Cache. Kept small: the termination registry holds one per object item
// of the tree, a million of them in a large directory.
#pragma once

#include <cstdint>

struct MW_CacheEntry {
    static constexpr uint32_t None = 0xFFFFFFFFu; // no entry
    // Short keys (pointers, running numbers) live in the entry itself: no heap block of their own.
    static constexpr uint32_t InlineKeySize = 8;

    uint32_t next = None; // insertion order, by handle
    uint32_t prev = None;
    uint32_t SKS = 0;
    uint32_t DS = 0;
    union {
        unsigned char inlineKey[InlineKeySize];
        void *heapKey; // the cache's own copy, SKS bytes
    };
    void *Data = nullptr; // the cache's own copy, null when DS is 0

    bool HasInlineKey() const { return SKS <= InlineKeySize; }
    const void *SearchKey() const { return HasInlineKey() ? inlineKey : heapKey; }
    void *SearchKey() { return HasInlineKey() ? inlineKey : heapKey; }
};
