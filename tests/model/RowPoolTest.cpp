// The pool behind tree nodes and object items: distinct slots, reuse of freed ones across many
// blocks, and subclasses of another size left to the ordinary heap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "model/RowPool.h"

#if defined(__SANITIZE_ADDRESS__)
#define POOL_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define POOL_TEST_ASAN 1
#endif
#endif
#ifdef POOL_TEST_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace
{

TEST(RowPool, SlotsAreDistinctAndFreedOnesComeBack)
{
    RowPool pool(72);
    const std::size_t perBlock = RowPool::kBlockSize / 72;
    std::vector<void *> slots;
    for (std::size_t i = 0; i < 3 * perBlock; ++i) { // several blocks
        slots.push_back(pool.Allocate());
        std::memset(slots.back(), static_cast<int>(i), 72); // the whole slot is ours
    }
    EXPECT_EQ(std::set<void *>(slots.begin(), slots.end()).size(), slots.size());
    EXPECT_EQ(pool.SlotsInUse(), slots.size());
    for (void *slot : slots) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(slot) % 8, 0u);
    }

    std::shuffle(slots.begin(), slots.end(), std::mt19937(4));
    const std::set<void *> freed(slots.begin(), slots.begin() + perBlock);
    for (void *slot : freed) {
        pool.Free(slot);
    }
    EXPECT_EQ(pool.SlotsInUse(), 2 * perBlock);
    std::set<void *> again;
    for (std::size_t i = 0; i < perBlock; ++i) {
        again.insert(pool.Allocate());
    }
    EXPECT_EQ(again, freed); // no new memory while freed slots were there

    for (void *slot : slots) {
        pool.Free(slot); // all of them, the reallocated ones included
    }
    EXPECT_EQ(pool.SlotsInUse(), 0u);
}

struct Pooled : PooledAllocation<Pooled> {
    virtual ~Pooled() = default;
    long value = 0;
};
struct Larger : Pooled {
    char more[100] = {};
};

TEST(RowPool, AClassOfAnotherSizeUsesTheHeap)
{
    const std::size_t before = Pooled::Pool().SlotsInUse();
    auto *pooled = new Pooled;
    EXPECT_EQ(Pooled::Pool().SlotsInUse(), before + 1);
    Pooled *larger = new Larger;
    EXPECT_EQ(Pooled::Pool().SlotsInUse(), before + 1);
    delete larger;
    delete pooled;
    EXPECT_EQ(Pooled::Pool().SlotsInUse(), before);
}

// Only a build with AddressSanitizer can see poisoned slots (make test-core).
#ifdef POOL_TEST_ASAN
TEST(RowPool, SlotsNotHandedOutArePoisonedSoAUseAfterFreeIsCaught)
{
    RowPool pool(72);
    auto *first = static_cast<char *>(pool.Allocate());
    auto *second = static_cast<char *>(pool.Allocate());
    EXPECT_EQ(__asan_region_is_poisoned(first, 72), nullptr);
    EXPECT_NE(__asan_address_is_poisoned(second + 72), 0) << "the next slot, never handed out";
    pool.Free(first);
    EXPECT_NE(__asan_address_is_poisoned(first), 0);
    EXPECT_NE(__asan_address_is_poisoned(first + 71), 0);
    EXPECT_DEATH(
        {
            volatile char read = first[8];
            (void)read;
        },
        "use-after-poison");
    EXPECT_EQ(pool.Allocate(), first); // reused, and usable again
    EXPECT_EQ(__asan_region_is_poisoned(first, 72), nullptr);
    pool.Free(first);
    pool.Free(second);
}
#endif

} // namespace
