// Exact-key hash index of an MW_Cache, so that registries of many entries stay fast.
#include "mwlib/MW_CacheIndex.h"

#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_CacheEntry.h"

#include <cstring>
#include <functional>
#include <string_view>

namespace
{
constexpr std::size_t FirstCapacity = 16;

std::size_t HashOf(const void *key, uint32_t size)
{
    return std::hash<std::string_view>{}(std::string_view(static_cast<const char *>(key), size));
}

bool HasKey(const MW_CacheEntry *entry, const void *key, uint32_t size)
{
    return entry->SKS == size && (size == 0 || std::memcmp(entry->SearchKey, key, size) == 0);
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
    heads = 0;
}

// The slot holding the key's first entry, or the empty slot where it would go.
std::size_t MW_CacheIndex::SlotOf(std::size_t hash, const void *key, uint32_t size) const noexcept
{
    const std::size_t mask = capacity - 1;
    std::size_t slot = hash & mask;
    while (slots[slot].head && (slots[slot].hash != hash || !HasKey(slots[slot].head, key, size)))
        slot = (slot + 1) & mask;
    return slot;
}

bool MW_CacheIndex::Grow() noexcept
{
    const std::size_t grown = capacity ? capacity * 2 : FirstCapacity;
    if (grown > SIZE_MAX / sizeof(Slot))
        return false;
    auto *bigger = static_cast<Slot *>(MW_Allocator::Allocate(grown * sizeof(Slot)));
    if (!bigger)
        return false;
    std::memset(static_cast<void *>(bigger), 0, grown * sizeof(Slot));
    Slot *old = slots;
    const std::size_t oldCapacity = capacity;
    slots = bigger;
    capacity = grown;
    // Keys are distinct here, so each goes to the first empty slot of its run.
    for (std::size_t i = 0; i < oldCapacity; ++i) {
        if (!old[i].head)
            continue;
        std::size_t slot = old[i].hash & (capacity - 1);
        while (slots[slot].head)
            slot = (slot + 1) & (capacity - 1);
        slots[slot] = old[i];
    }
    MW_Allocator::Free(old);
    return true;
}

bool MW_CacheIndex::Insert(MW_CacheEntry *entry) noexcept
{
    // Kept at most half full, so probe runs stay short.
    if ((heads + 1) * 2 > capacity && !Grow())
        return false;
    entry->hash = HashOf(entry->SearchKey, entry->SKS);
    entry->sameKeyNext = nullptr;
    entry->sameKeyTail = entry;
    const std::size_t slot = SlotOf(entry->hash, entry->SearchKey, entry->SKS);
    if (MW_CacheEntry *head = slots[slot].head) {
        head->sameKeyTail->sameKeyNext = entry;
        head->sameKeyTail = entry;
        return true;
    }
    slots[slot] = Slot{entry->hash, entry};
    ++heads;
    return true;
}

MW_CacheEntry *MW_CacheIndex::Find(const void *key, uint32_t size) const noexcept
{
    if (heads == 0)
        return nullptr;
    return slots[SlotOf(HashOf(key, size), key, size)].head;
}

void MW_CacheIndex::Remove(MW_CacheEntry *entry) noexcept
{
    if (heads == 0)
        return;
    const std::size_t slot = SlotOf(entry->hash, entry->SearchKey, entry->SKS);
    MW_CacheEntry *head = slots[slot].head;
    if (!head)
        return;
    if (head == entry) {
        if (MW_CacheEntry *successor = entry->sameKeyNext) {
            successor->sameKeyTail = entry->sameKeyTail;
            slots[slot].head = successor;
        } else {
            Vacate(slot);
        }
        return;
    }
    MW_CacheEntry *before = head;
    while (before->sameKeyNext && before->sameKeyNext != entry)
        before = before->sameKeyNext;
    if (!before->sameKeyNext)
        return;
    before->sameKeyNext = entry->sameKeyNext;
    if (head->sameKeyTail == entry)
        head->sameKeyTail = before;
}

// Empties a slot and moves later members of its probe run back, so no search stops too early.
void MW_CacheIndex::Vacate(std::size_t slot) noexcept
{
    const std::size_t mask = capacity - 1;
    std::size_t hole = slot;
    for (std::size_t next = (hole + 1) & mask; slots[next].head; next = (next + 1) & mask) {
        const std::size_t home = slots[next].hash & mask;
        // The entry may move into the hole unless its home lies cyclically in (hole, next].
        const bool homeBetween =
            hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!homeBetween) {
            slots[hole] = slots[next];
            hole = next;
        }
    }
    slots[hole] = Slot{0, nullptr};
    --heads;
}
