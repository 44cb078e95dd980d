// Exact-key hash index of an MW_Cache, so that registries of many entries stay fast.
#pragma once

#include <cstddef>
#include <cstdint>

struct MW_CacheEntry;

// Open addressing with linear probing over the first entry of each distinct key; later entries
// with an equal key hang behind it in insertion order. Only exact key bytes are indexed: the
// cache asks here only while every stored key has the size of the search key, where a prefix
// match and an exact match are the same thing.
class MW_CacheIndex
{
  public:
    MW_CacheIndex() = default;
    ~MW_CacheIndex();
    MW_CacheIndex(const MW_CacheIndex &) = delete;
    MW_CacheIndex &operator=(const MW_CacheIndex &) = delete;

    // False when the table could not grow; the entry is then not indexed.
    bool Insert(MW_CacheEntry *entry) noexcept;
    // The first entry, in insertion order, whose key is exactly these bytes.
    MW_CacheEntry *Find(const void *key, uint32_t size) const noexcept;
    void Remove(MW_CacheEntry *entry) noexcept;
    // Forgets every entry and gives the table back.
    void Clear() noexcept;

  private:
    // The hash sits beside the entry pointer so that probing past other keys touches no entry.
    struct Slot {
        std::size_t hash;
        MW_CacheEntry *head; // null: empty slot
    };

    std::size_t SlotOf(std::size_t hash, const void *key, uint32_t size) const noexcept;
    bool Grow() noexcept;
    void Vacate(std::size_t slot) noexcept;

    Slot *slots = nullptr;
    std::size_t capacity = 0; // a power of two, or 0
    std::size_t heads = 0;    // occupied slots
};
