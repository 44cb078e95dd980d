// The entries of an MW_Cache, held in blocks that double in size.
#include "mwlib/MW_CacheSlab.h"

#include "mwlib/MW_Allocator.h"

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
    freeHead = None;
}

uint32_t MW_CacheSlab::Acquire() noexcept
{
    uint32_t handle = freeHead;
    if (handle != None) {
        freeHead = At(handle).next;
    } else {
        const Place place = PlaceOf(used);
        if (place.block >= MaxBlocks)
            return None;
        if (!blocks[place.block]) {
            const std::size_t entries = std::size_t{1} << (place.block + FirstBlockBits);
            blocks[place.block] = static_cast<MW_CacheEntry *>(
                MW_Allocator::Allocate(entries * sizeof(MW_CacheEntry)));
            if (!blocks[place.block])
                return None;
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

MW_CacheEntry *MW_CacheSlab::Find(uint32_t handle) const noexcept
{
    if (handle >= used)
        return nullptr;
    MW_CacheEntry &entry = At(handle);
    return entry.prev == MW_CacheEntry::Free ? nullptr : &entry;
}
