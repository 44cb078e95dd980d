// The entries of an MW_Cache, held in blocks that double in size.
#include "mwlib/MW_CacheSlab.h"

#include "mwlib/MW_Allocator.h"

#include <bit>
#include <new>

namespace
{
constexpr uint32_t First = 1u << 4; // entries of block 0

// Handle h lives in block k at offset o, where h + First = First × 2^k + o.
struct Place {
    int block;
    uint32_t offset;
};

Place PlaceOf(uint32_t handle)
{
    const uint64_t shifted = uint64_t{handle} + First;
    const int block = static_cast<int>(std::bit_width(shifted)) - 5;
    return {block, static_cast<uint32_t>(shifted - (uint64_t{First} << block))};
}
} // namespace

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
    freeHead = None;
}

uint32_t MW_CacheSlab::Acquire(bool &allocated) noexcept
{
    allocated = false;
    uint32_t handle = freeHead;
    if (handle != None) {
        freeHead = At(handle).next;
    } else {
        const Place place = PlaceOf(used);
        if (place.block >= MaxBlocks)
            return None;
        if (!blocks[place.block]) {
            const std::size_t entries = std::size_t{First} << place.block;
            blocks[place.block] = static_cast<MW_CacheEntry *>(
                MW_Allocator::Allocate(entries * sizeof(MW_CacheEntry)));
            if (!blocks[place.block])
                return None;
            allocated = true;
        }
        handle = used++;
    }
    const Place place = PlaceOf(handle);
    ::new (&blocks[place.block][place.offset]) MW_CacheEntry();
    return handle;
}

void MW_CacheSlab::Release(uint32_t handle) noexcept
{
    MW_CacheEntry &entry = At(handle);
    entry.prev = MW_CacheEntry::Free;
    entry.next = freeHead;
    freeHead = handle;
}

MW_CacheEntry &MW_CacheSlab::At(uint32_t handle) const noexcept
{
    const Place place = PlaceOf(handle);
    return blocks[place.block][place.offset];
}

MW_CacheEntry *MW_CacheSlab::Find(uint32_t handle) const noexcept
{
    if (handle >= used)
        return nullptr;
    MW_CacheEntry &entry = At(handle);
    return entry.prev == MW_CacheEntry::Free ? nullptr : &entry;
}
