// The entries of an MW_Cache, held in blocks rather than one heap block each.
#pragma once

#include "mwlib/MW_CacheEntry.h"

#include <bit>
#include <cstddef>
#include <cstdint>

// An entry's number here is its handle: what the cache's links and its iterators hold (an
// iterator is 32 bits, too small for an address). Block k holds 16 × 2^k entries, so a handle
// finds its entry with a little arithmetic and a registry of a million entries needs 17 blocks.
// Freed entries are handed out again first, lowest handle first: however they were freed (a
// closed container's items go in name order), they are reused walking forwards through memory.
// A handle whose entry is freed designates nothing until the entry is reused.
class MW_CacheSlab
{
  public:
    static constexpr uint32_t None = MW_CacheEntry::None;

    MW_CacheSlab() = default;
    ~MW_CacheSlab();
    MW_CacheSlab(const MW_CacheSlab &) = delete;
    MW_CacheSlab &operator=(const MW_CacheSlab &) = delete;

    // A cleared entry, or None when no block could be obtained.
    uint32_t Acquire() noexcept;
    void Release(uint32_t handle) noexcept;
    // An entry in use.
    MW_CacheEntry &At(uint32_t handle) const noexcept
    {
        const Place place = PlaceOf(handle);
        return blocks[place.block][place.offset];
    }
    // The entry in use that the handle designates, or null.
    MW_CacheEntry *Find(uint32_t handle) const noexcept;
    // Gives every block back; only while no entry is in use.
    void Clear() noexcept;

  private:
    static constexpr int FirstBlockBits = 4;
    static constexpr int MaxBlocks = 28; // 16 × (2^28 − 1) entries: every handle below None

    struct Place {
        int block;
        uint64_t offset;
    };
    // Handle h lives in block k at offset o, where h + 16 = 16 × 2^k + o.
    static Place PlaceOf(uint32_t handle) noexcept
    {
        const uint64_t shifted = uint64_t{handle} + (uint64_t{1} << FirstBlockBits);
        const int block = static_cast<int>(std::bit_width(shifted)) - 1 - FirstBlockBits;
        return {block, shifted - (uint64_t{1} << (block + FirstBlockBits))};
    }

    static std::size_t EntriesOf(int block) { return std::size_t{1} << (block + FirstBlockBits); }
    static uint32_t FirstHandleOf(int block);
    // Behind each block's entries: one bit per entry, set while the entry is free.
    uint64_t *FreeBitsOf(int block) const
    {
        return reinterpret_cast<uint64_t *>(blocks[block] + EntriesOf(block));
    }
    bool IsFree(uint32_t handle) const;
    uint32_t TakeLowestFree() noexcept;

    MW_CacheEntry *blocks[MaxBlocks] = {};
    uint32_t used = 0; // handles handed out since the last Clear: [0, used)
    uint32_t freeCount = 0;
    uint32_t lowestFree = 0; // no free entry has a lower handle
};
