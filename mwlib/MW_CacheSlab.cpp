// The entries of an MW_Cache, held in blocks that double in size.
#include "mwlib/MW_CacheSlab.h"

#include "mwlib/MW_Allocator.h"

#include <cstring>
#include <new>

MW_CacheSlab::~MW_CacheSlab()
{
    Clear();
}

void MW_CacheSlab::Clear() noexcept
{
    for (MW_CacheEntry *&block : blocks) {
        MW_Allocator::Free(block);
        block = nullptr;
    }
    used = 0;
    freeCount = 0;
    lowestFree = 0;
}

uint32_t MW_CacheSlab::FirstHandleOf(int block)
{
    return static_cast<uint32_t>(EntriesOf(block) - EntriesOf(0));
}

bool MW_CacheSlab::IsFree(uint32_t handle) const
{
    const Place place = PlaceOf(handle);
    return (FreeBitsOf(place.block)[place.offset / 64] >> (place.offset % 64)) & 1u;
}

uint32_t MW_CacheSlab::Acquire() noexcept
{
    uint32_t handle;
    if (freeCount > 0) {
        handle = TakeLowestFree();
    } else {
        const Place place = PlaceOf(used);
        if (place.block >= MaxBlocks)
            return None;
        if (!blocks[place.block]) {
            const std::size_t entries = EntriesOf(place.block);
            const std::size_t words = (entries + 63) / 64;
            void *memory =
                MW_Allocator::Allocate(entries * sizeof(MW_CacheEntry) + words * sizeof(uint64_t));
            if (!memory)
                return None;
            blocks[place.block] = static_cast<MW_CacheEntry *>(memory);
            std::memset(FreeBitsOf(place.block), 0, words * sizeof(uint64_t));
        }
        handle = used++;
    }
    const Place place = PlaceOf(handle);
    ::new (&blocks[place.block][place.offset]) MW_CacheEntry();
    return handle;
}

// The free entry with the lowest handle; the search goes on from where the last one stopped.
uint32_t MW_CacheSlab::TakeLowestFree() noexcept
{
    for (int block = PlaceOf(lowestFree).block;; ++block) {
        uint64_t *bits = FreeBitsOf(block);
        const std::size_t words = (EntriesOf(block) + 63) / 64;
        const uint32_t first = FirstHandleOf(block);
        const std::size_t from = block == PlaceOf(lowestFree).block ? (lowestFree - first) / 64 : 0;
        for (std::size_t word = from; word < words; ++word) {
            if (bits[word] != 0) {
                const int bit = std::countr_zero(bits[word]);
                bits[word] &= bits[word] - 1;
                --freeCount;
                lowestFree = first + static_cast<uint32_t>(word * 64) + static_cast<uint32_t>(bit);
                return lowestFree;
            }
        }
    }
}

void MW_CacheSlab::Release(uint32_t handle) noexcept
{
    const Place place = PlaceOf(handle);
    FreeBitsOf(place.block)[place.offset / 64] |= uint64_t{1} << (place.offset % 64);
    ++freeCount;
    if (handle < lowestFree)
        lowestFree = handle;
}

MW_CacheEntry *MW_CacheSlab::Find(uint32_t handle) const noexcept
{
    if (handle >= used || IsFree(handle))
        return nullptr;
    return &At(handle);
}
