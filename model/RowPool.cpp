// Fixed-size slots in aligned blocks of memory mapped from the system.
#include "model/RowPool.h"

#include <algorithm>
#include <cassert>
#include <new>
#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define TARVIK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARVIK_ASAN 1
#endif
#endif
#ifdef TARVIK_ASAN
#include <sanitizer/asan_interface.h>
#endif

struct RowPool::Block {
    Block *prev = nullptr; // in the list of blocks with a free slot
    Block *next = nullptr;
    void *freeSlots = nullptr; // slots given back, chained through their first word
    std::size_t carved = 0;    // slots handed out at least once: [0, carved)
    std::size_t used = 0;
    bool listed = false;

    unsigned char *Slots() { return reinterpret_cast<unsigned char *>(this) + kSlotsOffset; }
    static constexpr std::size_t kSlotsOffset = 64; // one cache line for this header
};

namespace
{
// Under AddressSanitizer a slot that is not handed out is poisoned, so that reading or writing a
// freed node is reported as a use after free. Our own reads of a free slot (its link in the free
// list) unpoison it first.
void Poison(void *memory, std::size_t size)
{
#ifdef TARVIK_ASAN
    ASAN_POISON_MEMORY_REGION(memory, size);
#else
    (void)memory;
    (void)size;
#endif
}

void Unpoison(void *memory, std::size_t size)
{
#ifdef TARVIK_ASAN
    ASAN_UNPOISON_MEMORY_REGION(memory, size);
#else
    (void)memory;
    (void)size;
#endif
}

// A block of kBlockSize bytes at an address that is a multiple of kBlockSize: map twice the size
// and give back the parts around the aligned middle.
void *MapAlignedBlock()
{
    constexpr std::size_t size = RowPool::kBlockSize;
    void *mapped =
        mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        return nullptr;
    }
    const auto start = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = (start + size - 1) & ~(uintptr_t{size} - 1);
    if (aligned > start) {
        munmap(mapped, aligned - start);
    }
    if (const uintptr_t tail = start + 2 * size - (aligned + size); tail > 0) {
        munmap(reinterpret_cast<void *>(aligned + size), tail);
    }
    return reinterpret_cast<void *>(aligned);
}
} // namespace

RowPool::RowPool(std::size_t slotSize)
    : slotSize_(std::max<std::size_t>((slotSize + 7) & ~std::size_t{7}, sizeof(void *))),
      slotsPerBlock_((kBlockSize - Block::kSlotsOffset) / slotSize_)
{
}

RowPool::~RowPool()
{
    assert(inUse_ == 0 && "a pooled object outlived its pool");
    while (partial_ != nullptr) {
        Block *block = partial_;
        Unlink(*block);
        Release(*block);
    }
    while (spares_ != nullptr) {
        Block *block = spares_;
        spares_ = block->next;
        Release(*block);
    }
}

RowPool::Block *RowPool::NewBlock()
{
    void *memory = spares_;
    if (memory != nullptr) {
        spares_ = spares_->next;
        --spareCount_;
    } else if ((memory = MapAlignedBlock()) == nullptr) {
        throw std::bad_alloc();
    }
    Unpoison(memory, kBlockSize); // a spare's slots, or memory another block once had
    Block *block = ::new (memory) Block();
    Poison(block->Slots(), kBlockSize - Block::kSlotsOffset);
    return block;
}

void RowPool::Unlink(Block &block)
{
    (block.prev != nullptr ? block.prev->next : partial_) = block.next;
    if (block.next != nullptr) {
        block.next->prev = block.prev;
    }
    block.prev = block.next = nullptr;
    block.listed = false;
}

void RowPool::PushFront(Block &block)
{
    block.prev = nullptr;
    block.next = partial_;
    if (partial_ != nullptr) {
        partial_->prev = &block;
    }
    partial_ = &block;
    block.listed = true;
}

void RowPool::Release(Block &block)
{
    Unpoison(&block, kBlockSize); // whoever maps these addresses next starts clean
    munmap(&block, kBlockSize);
}

void *RowPool::Allocate()
{
    if (partial_ == nullptr) {
        PushFront(*NewBlock());
    }
    Block &block = *partial_;
    void *slot;
    if (block.freeSlots != nullptr) {
        slot = block.freeSlots;
        Unpoison(slot, slotSize_);
        block.freeSlots = *static_cast<void **>(slot);
    } else {
        slot = block.Slots() + block.carved * slotSize_;
        Unpoison(slot, slotSize_);
        ++block.carved;
    }
    ++block.used;
    ++inUse_;
    if (block.used == slotsPerBlock_) {
        Unlink(block); // full: no longer offered
    }
    return slot;
}

void RowPool::Free(void *slot) noexcept
{
    if (slot == nullptr) {
        return;
    }
    auto &block = *reinterpret_cast<Block *>(reinterpret_cast<uintptr_t>(slot) &
                                             ~(uintptr_t{kBlockSize} - 1));
    *static_cast<void **>(slot) = block.freeSlots;
    block.freeSlots = slot;
    Poison(slot, slotSize_);
    --block.used;
    --inUse_;
    if (block.used == 0) {
        if (block.listed) {
            Unlink(block);
        }
        if (spareCount_ < kMostSpares) {
            block.next = spares_;
            spares_ = &block;
            ++spareCount_;
        } else {
            Release(block);
        }
    } else if (!block.listed) {
        PushFront(block); // had been full
    }
}
