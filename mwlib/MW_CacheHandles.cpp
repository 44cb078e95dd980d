// Maps the 32-bit iterator handles of an MW_Cache to its entries.
#include "mwlib/MW_CacheHandles.h"

#include "mwlib/MW_Allocator.h"

#include <cstring>

namespace
{
constexpr uint32_t FirstCapacity = 8;
constexpr uint32_t MostSlots = 0xFFFFFFFEu; // None itself is never a handle

bool IsFree(uintptr_t slot)
{
    return (slot & 1u) != 0;
}
} // namespace

MW_CacheHandles::MW_CacheHandles() noexcept
{
    Grow(); // small caches then never allocate here again; failing now only defers it
}

MW_CacheHandles::~MW_CacheHandles()
{
    MW_Allocator::Free(slots);
}

bool MW_CacheHandles::Grow() noexcept
{
    if (capacity == MostSlots)
        return false;
    const uint32_t grown =
        capacity == 0 ? FirstCapacity : (capacity > MostSlots / 2 ? MostSlots : capacity * 2);
    auto *bigger = static_cast<uintptr_t *>(MW_Allocator::Allocate(grown * sizeof(uintptr_t)));
    if (!bigger)
        return false;
    if (slots)
        std::memcpy(bigger, slots, used * sizeof(uintptr_t));
    MW_Allocator::Free(slots);
    slots = bigger;
    capacity = grown;
    return true;
}

uint32_t MW_CacheHandles::Acquire(MW_CacheEntry *entry) noexcept
{
    uint32_t handle;
    if (freeHead != None) {
        handle = freeHead;
        freeHead = static_cast<uint32_t>(slots[handle] >> 1);
    } else {
        if (used == capacity && !Grow())
            return None;
        handle = used++;
    }
    slots[handle] = reinterpret_cast<uintptr_t>(entry);
    return handle;
}

void MW_CacheHandles::Release(uint32_t handle) noexcept
{
    if (handle >= used || IsFree(slots[handle]))
        return;
    slots[handle] = (static_cast<uintptr_t>(freeHead) << 1) | 1u;
    freeHead = handle;
}

MW_CacheEntry *MW_CacheHandles::Find(uint32_t handle) const noexcept
{
    if (handle >= used || IsFree(slots[handle]))
        return nullptr;
    return reinterpret_cast<MW_CacheEntry *>(slots[handle]);
}
