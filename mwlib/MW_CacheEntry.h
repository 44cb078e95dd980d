// One stored item of an MW_Cache, with the links that keep lookups and unlinking cheap.
#pragma once

#include <cstddef>
#include <cstdint>

struct MW_CacheEntry {
    MW_CacheEntry *next = nullptr; // insertion order
    MW_CacheEntry *prev = nullptr;
    uint32_t SKS = 0;
    void *SearchKey = nullptr; // the cache's own copy, SKS bytes
    uint32_t DS = 0;
    void *Data = nullptr; // the cache's own copy, null when DS is 0
    uint32_t handle = 0;  // what an iterator holds to designate this entry

    // Exact-key index: entries with equal keys are chained in insertion order behind the first
    // one, which alone sits in the index and knows the chain's tail.
    std::size_t hash = 0;
    MW_CacheEntry *sameKeyNext = nullptr;
    MW_CacheEntry *sameKeyTail = nullptr;

    // Short keys (pointers, running numbers, profile key descriptors) live in the entry itself,
    // which saves a heap block and a cache miss per entry in large registries.
    static constexpr uint32_t InlineKeySize = 16;
    alignas(8) unsigned char inlineKey[InlineKeySize];
};
