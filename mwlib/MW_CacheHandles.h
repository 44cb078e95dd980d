// Maps the 32-bit iterator handles of an MW_Cache to its entries.
#pragma once

#include <cstdint>

struct MW_CacheEntry;

// An iterator is a 32-bit number, so it cannot hold an entry's address; it holds the number of a
// slot here instead. A handle whose entry is gone designates nothing (it is never dereferenced).
// Free slots are chained through the table itself, tagged with the lowest bit.
class MW_CacheHandles
{
  public:
    static constexpr uint32_t None = 0xFFFFFFFFu;

    MW_CacheHandles() noexcept;
    ~MW_CacheHandles();
    MW_CacheHandles(const MW_CacheHandles &) = delete;
    MW_CacheHandles &operator=(const MW_CacheHandles &) = delete;

    // A free handle now designating the entry, or None when the table cannot grow.
    uint32_t Acquire(MW_CacheEntry *entry) noexcept;
    void Release(uint32_t handle) noexcept;
    MW_CacheEntry *Find(uint32_t handle) const noexcept;

  private:
    bool Grow() noexcept;

    uintptr_t *slots = nullptr;
    uint32_t capacity = 0;
    uint32_t used = 0; // slots ever handed out: [0, used)
    uint32_t freeHead = None;
};
