// Heap allocation for the support library: never throws, and tests can make it fail on purpose.
#include "mwlib/MW_Allocator.h"

#include <cstdlib>

namespace
{
long remainingBeforeFailure = -1; // -1: no failure planned
bool failurePersists = false;
long requests = 0;
} // namespace

void *MW_Allocator::Allocate(std::size_t size) noexcept
{
    ++requests;
    if (remainingBeforeFailure == 0) {
        if (!failurePersists)
            remainingBeforeFailure = -1;
        return nullptr;
    }
    if (remainingBeforeFailure > 0)
        --remainingBeforeFailure;
    return std::malloc(size ? size : 1);
}

void MW_Allocator::Free(void *block) noexcept
{
    std::free(block);
}

void MW_Allocator::FailAfter(long count, bool persistent) noexcept
{
    remainingBeforeFailure = count < 0 ? -1 : count;
    failurePersists = persistent;
}

void MW_Allocator::Reset() noexcept
{
    remainingBeforeFailure = -1;
    failurePersists = false;
    requests = 0;
}

long MW_Allocator::Requests() noexcept
{
    return requests;
}
