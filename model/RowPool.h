// Memory for the many small objects of a loaded tree, tree nodes and object items: a directory of
// a million objects is two million of them.
#pragma once

#include <cstddef>
#include <cstdint>

// Fixed-size slots carved from 256 KB blocks aligned to their size, so that a slot finds its
// block from its address: no heap header per object, allocating and freeing take a few
// instructions, and objects made together lie together. A block whose slots are all free goes
// back to the system, except for up to 16 MB of them kept for the next container that opens
// (fresh memory from the system costs a page fault per 4 KB). Under AddressSanitizer every slot
// that is not handed out is poisoned, so a use after free is reported as such. Not thread-safe:
// the tree lives on one thread.
class RowPool
{
  public:
    explicit RowPool(std::size_t slotSize);
    RowPool(const RowPool &) = delete;
    RowPool &operator=(const RowPool &) = delete;
    ~RowPool(); // only with no slot in use

    void *Allocate(); // throws std::bad_alloc when no block can be had
    void Free(void *slot) noexcept;
    std::size_t SlotsInUse() const { return inUse_; }

    static constexpr std::size_t kBlockSize = 256 * 1024;

  private:
    struct Block;
    Block *NewBlock();
    void Unlink(Block &block);
    void PushFront(Block &block);
    void Release(Block &block);

    std::size_t slotSize_;
    std::size_t slotsPerBlock_;
    Block *partial_ = nullptr; // blocks with a free slot; allocation takes the first
    static constexpr std::size_t kMostSpares = 64;
    Block *spares_ = nullptr; // empty blocks kept back, chained through next
    std::size_t spareCount_ = 0;
    std::size_t inUse_ = 0;
};

// Gives a class operator new and delete that take its objects from one pool of its size, made
// on first use and never destroyed, so that objects still alive at exit may go at any time.
// (A subclass of another size uses the ordinary heap.)
template <typename T> class PooledAllocation
{
  public:
    static void *operator new(std::size_t size)
    {
        return size == sizeof(T) ? Pool().Allocate() : ::operator new(size);
    }
    static void operator delete(void *slot, std::size_t size) noexcept
    {
        if (size == sizeof(T)) {
            Pool().Free(slot);
        } else {
            ::operator delete(slot);
        }
    }
    static RowPool &Pool()
    {
        static RowPool *pool = new RowPool(sizeof(T));
        return *pool;
    }
};
