// Exact-key hash index of an MW_Cache, so that registries of many entries stay fast.
#include "mwlib/MW_CacheIndex.h"

#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_CacheSlab.h"

#include <cstring>
#include <functional>
#include <string_view>

namespace
{
constexpr std::size_t FirstCapacity = 16;

uint32_t HashOf(const void *key, uint32_t size)
{
    if (size == sizeof(uint64_t)) {
        // Addresses differ in a few middle bits only: mix them all into the low ones.
        uint64_t h;
        std::memcpy(&h, key, sizeof h);
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdull;
        h ^= h >> 33;
        h *= 0xc4ceb9fe1a85ec53ull;
        h ^= h >> 33;
        return static_cast<uint32_t>(h);
    }
    return static_cast<uint32_t>(
        std::hash<std::string_view>{}(std::string_view(static_cast<const char *>(key), size)));
}

uint32_t HashOf(const MW_CacheEntry &entry)
{
    return HashOf(entry.SearchKey(), entry.SKS);
}
} // namespace

MW_CacheIndex::~MW_CacheIndex()
{
    Clear();
}

void MW_CacheIndex::Clear() noexcept
{
    MW_Allocator::Free(slots);
    slots = nullptr;
    capacity = 0;
    used = 0;
}

bool MW_CacheIndex::Matches(const Slot &slot, uint32_t hash, const void *key,
                            uint32_t size) const noexcept
{
    if (slot.hash != hash)
        return false;
    const MW_CacheEntry &entry = slab.At(slot.handle);
    return entry.SKS == size && (size == 0 || std::memcmp(entry.SearchKey(), key, size) == 0);
}

bool MW_CacheIndex::Grow() noexcept
{
    const std::size_t grown = capacity ? capacity * 2 : FirstCapacity;
    if (grown > SIZE_MAX / sizeof(Slot) || grown > (std::size_t{1} << 32))
        return false;
    auto *bigger = static_cast<Slot *>(MW_Allocator::Allocate(grown * sizeof(Slot)));
    if (!bigger)
        return false;
    std::memset(static_cast<void *>(bigger), 0xFF, grown * sizeof(Slot)); // every handle None
    Slot *old = slots;
    const std::size_t oldCapacity = capacity;
    slots = bigger;
    capacity = grown;
    // In the old order, so that equal keys keep their order along the new probe sequences.
    const std::size_t mask = capacity - 1;
    std::size_t start = 0;
    while (start < oldCapacity && old[start].handle != None)
        ++start; // begin behind an empty slot: no probe run wraps around into the walk's start
    for (std::size_t i = 0; i < oldCapacity; ++i) {
        const Slot &moving = old[(start + i) % oldCapacity];
        if (moving.handle == None)
            continue;
        std::size_t slot = moving.hash & mask;
        while (slots[slot].handle != None)
            slot = (slot + 1) & mask;
        slots[slot] = moving;
    }
    MW_Allocator::Free(old);
    return true;
}

bool MW_CacheIndex::Insert(uint32_t handle) noexcept
{
    // At most three quarters full, so that probe runs stay short.
    if ((used + 1) * 4 > capacity * 3 && !Grow())
        return false;
    const uint32_t hash = HashOf(slab.At(handle));
    const std::size_t mask = capacity - 1;
    std::size_t slot = hash & mask;
    while (slots[slot].handle != None)
        slot = (slot + 1) & mask;
    slots[slot] = Slot{handle, hash};
    ++used;
    return true;
}

uint32_t MW_CacheIndex::Find(const void *key, uint32_t size) const noexcept
{
    if (used == 0)
        return None;
    const uint32_t hash = HashOf(key, size);
    const std::size_t mask = capacity - 1;
    for (std::size_t slot = hash & mask; slots[slot].handle != None; slot = (slot + 1) & mask) {
        if (Matches(slots[slot], hash, key, size))
            return slots[slot].handle;
    }
    return None;
}

void MW_CacheIndex::Remove(uint32_t handle) noexcept
{
    if (used == 0)
        return;
    const std::size_t mask = capacity - 1;
    for (std::size_t slot = HashOf(slab.At(handle)) & mask; slots[slot].handle != None;
         slot = (slot + 1) & mask) {
        if (slots[slot].handle == handle) {
            Vacate(slot);
            return;
        }
    }
}

// Empties a slot and moves later members of its probe run back, in order, so that no search
// stops too early and equal keys keep their order.
void MW_CacheIndex::Vacate(std::size_t slot) noexcept
{
    const std::size_t mask = capacity - 1;
    std::size_t hole = slot;
    for (std::size_t next = (hole + 1) & mask; slots[next].handle != None;
         next = (next + 1) & mask) {
        const std::size_t home = slots[next].hash & mask;
        // The slot may move into the hole unless its home lies cyclically in (hole, next].
        const bool homeBetween =
            hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!homeBetween) {
            slots[hole] = slots[next];
            hole = next;
        }
    }
    slots[hole] = Slot{None, 0};
    --used;
}
