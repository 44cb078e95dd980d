// Heap allocation for the support library: never throws, and tests can make it fail on purpose.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

// Every allocation of the support library goes through here, so that running out of memory is
// reported by result codes instead of an exception, and so that tests can force a failure at
// any chosen allocation. Blocks come from std::malloc and are released with Free (std::free).
class MW_Allocator
{
  public:
    // A block of size bytes (at least one byte, so a zero size still yields a distinct block),
    // or null when memory cannot be obtained or a forced failure is due.
    static void *Allocate(std::size_t size) noexcept;
    static void Free(void *block) noexcept;

    // Constructs a T in a block of Allocate, or yields null.
    template <typename T, typename... Args> static T *New(Args &&...args) noexcept
    {
        void *block = Allocate(sizeof(T));
        return block ? ::new (block) T(std::forward<Args>(args)...) : nullptr;
    }
    template <typename T> static void Delete(T *object) noexcept
    {
        if (object) {
            object->~T();
            Free(object);
        }
    }

    // Testing: the next `count` allocations succeed and the one after them fails; with
    // `persistent` every later one fails as well. Reset restores normal service.
    static void FailAfter(long count, bool persistent = false) noexcept;
    static void Reset() noexcept;
    // Testing: how many allocations were asked for since the last Reset.
    static long Requests() noexcept;
};

// Owner of an object made by MW_Allocator::New.
struct MW_Deleter {
    template <typename T> void operator()(T *object) const noexcept
    {
        MW_Allocator::Delete(object);
    }
};
template <typename T> using MW_Owned = std::unique_ptr<T, MW_Deleter>;
