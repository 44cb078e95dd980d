// Exact-key hash index of an MW_Cache, so that registries of many entries stay fast.
#pragma once

#include <cstddef>
#include <cstdint>

class MW_CacheSlab;

// Open addressing with linear probing over entry handles, each slot carrying the key's 32-bit
// hash so that probing past other keys touches no entry. Entries with equal keys have slots of
// their own, in insertion order along the probe sequence (inserting takes the first free slot
// after them, and removal shifts later slots back in order), so the first match is the entry
// stored first. Only exact key bytes are indexed: the cache asks here only while every stored
// key has the size of the search key, where a prefix match and an exact match are the same.
class MW_CacheIndex
{
  public:
    static constexpr uint32_t None = 0xFFFFFFFFu;

    explicit MW_CacheIndex(const MW_CacheSlab &slab) : slab(slab) {}
    ~MW_CacheIndex();
    MW_CacheIndex(const MW_CacheIndex &) = delete;
    MW_CacheIndex &operator=(const MW_CacheIndex &) = delete;

    // False when the table could not grow; the entry is then not indexed.
    bool Insert(uint32_t handle) noexcept;
    // The entry stored first whose key is exactly these bytes, or None.
    uint32_t Find(const void *key, uint32_t size) const noexcept;
    void Remove(uint32_t handle) noexcept;
    // Forgets every entry and gives the table back.
    void Clear() noexcept;

  private:
    struct Slot {
        uint32_t handle; // None: empty
        uint32_t hash;
    };

    bool Matches(const Slot &slot, uint32_t hash, const void *key, uint32_t size) const noexcept;
    bool Grow() noexcept;
    void Vacate(std::size_t slot) noexcept;

    const MW_CacheSlab &slab;
    Slot *slots = nullptr;
    std::size_t capacity = 0; // a power of two, or 0
    std::size_t used = 0;     // occupied slots
};
