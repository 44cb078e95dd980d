// Ordered keyed store of byte keys and optional byte data; the library's general container.
#include "mwlib/MW_Cache.h"

#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_CacheEntry.h"

#include <cstring>

namespace
{
unsigned long Address(const void *pointer)
{
    return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(pointer));
}

void *CopyOf(const void *bytes, uint32_t size)
{
    void *copy = MW_Allocator::Allocate(size);
    if (copy && size)
        std::memcpy(copy, bytes, size);
    return copy;
}
} // namespace

MW_Cache::MW_Cache(int32_t *traceSwitch, std::FILE *traceStream)
    : MW_TraceObject(traceSwitch, traceStream)
{
    TraceLine("MW_Cache::Cache");
}

MW_Cache::~MW_Cache()
{
    TraceLine("MW_Cache::~Cache");
    unsigned long freed = 0;
    for (uint32_t handle = CacheStart; handle != None;) {
        const uint32_t following = entries.At(handle).next;
        Destroy(handle);
        handle = following;
        ++freed;
    }
    TraceFormat("MW_Cache::~Cache %lu elements freed", freed);
}

void MW_Cache::FreeData(void *data)
{
    MW_Allocator::Free(data);
}

// Frees the entry's copies and gives the entry back to the slab.
void MW_Cache::Destroy(uint32_t handle)
{
    MW_CacheEntry &entry = entries.At(handle);
    if (!entry.HasInlineKey())
        MW_Allocator::Free(entry.heapKey);
    MW_Allocator::Free(entry.Data);
    entries.Release(handle);
}

uint32_t MW_Cache::Match(uint32_t SKS, const void *SK)
{
    if (count == 0 || (SKS > 0 && !SK))
        return None;
    if (!sizesMixed && SKS > keySize)
        return None; // every stored key is shorter than the search key
    if (!sizesMixed && indexed && SKS == keySize) {
        CatchUpIndex();
        if (indexed)
            return index.Find(SK, SKS);
    }
    for (uint32_t handle = CacheStart; handle != None;) {
        const MW_CacheEntry &entry = entries.At(handle);
        if (entry.SKS >= SKS && (SKS == 0 || std::memcmp(entry.SearchKey(), SK, SKS) == 0))
            return handle;
        handle = entry.next;
    }
    return None;
}

void MW_Cache::Link(uint32_t handle)
{
    MW_CacheEntry &entry = entries.At(handle);
    if (count == 0) {
        keySize = entry.SKS;
        sizesMixed = false;
        indexed = true;
    } else if (entry.SKS != keySize && !sizesMixed) {
        sizesMixed = true;
        DropIndex();
    }
    entry.prev = last;
    entry.next = None;
    (last != None ? entries.At(last).next : CacheStart) = handle;
    last = handle;
    ++count;
    // The index learns of the entry at the next lookup: storing many entries at once (the items
    // of a large container) does not wait for the index.
    if (indexed && unindexed == None)
        unindexed = handle;
}

// Puts the entries stored since the last lookup into the index, in their order. Without room in
// the index the cache simply walks its entries until it is empty again.
void MW_Cache::CatchUpIndex()
{
    for (uint32_t handle = unindexed; handle != None; handle = entries.At(handle).next) {
        if (!index.Insert(handle)) {
            DropIndex();
            return;
        }
    }
    unindexed = None;
}

void MW_Cache::DropIndex()
{
    indexed = false;
    unindexed = None;
    index.Clear();
}

void MW_Cache::Unlink(uint32_t handle)
{
    // An entry that the index has not learnt of yet is simply not found there. (A registry whose
    // clients leave by their handles never looks a key up, and its index stays empty.)
    if (indexed)
        index.Remove(handle);
    if (handle == unindexed)
        unindexed = entries.At(handle).next;
    const MW_CacheEntry &entry = entries.At(handle);
    (entry.prev != None ? entries.At(entry.prev).next : CacheStart) = entry.next;
    (entry.next != None ? entries.At(entry.next).prev : last) = entry.prev;
    --count;
    if (count == 0) {
        DropIndex();
        indexed = true;
    }
}

// An unlinked entry with room for the key and the data, or None (traced) when memory fails.
uint32_t MW_Cache::NewEntry(uint32_t SKS, uint32_t DS)
{
    const bool first = CacheStart == None;
    TraceLine(first ? "MW_Cache::Store.Allocating CacheStart"
                    : "MW_Cache::Store.Allocating next item");
    const uint32_t handle = entries.Acquire();
    if (handle == None) {
        TraceLine(first ? "MW_Cache::Store.Allocating CacheStart NOMEM"
                        : "MW_Cache::Store.Allocating next item NOMEM");
        return None;
    }
    MW_CacheEntry &entry = entries.At(handle);
    TraceLine("MW_Cache::Store.Allocating SearchKey");
    entry.SKS = SKS;
    const char *failure = nullptr;
    if (!entry.HasInlineKey()) {
        entry.heapKey = MW_Allocator::Allocate(SKS);
        if (!entry.heapKey) {
            entry.SKS = 0; // nothing of its own to free
            failure = "MW_Cache::Store.Allocating SearchKey NOMEM";
        }
    }
    if (!failure && DS > 0) {
        TraceLine("MW_Cache::Store.Allocating Data");
        entry.Data = MW_Allocator::Allocate(DS);
        failure = entry.Data ? nullptr : "MW_Cache::Store.Allocating Data NOMEM";
    } else if (!failure) {
        TraceLine("MW_Cache::Store no Data passed");
    }
    if (failure) {
        TraceLine(failure);
        Destroy(handle);
        if (count == 0)
            entries.Clear(); // an empty cache holds no blocks
        return None;
    }
    return handle;
}

int32_t MW_Cache::Store(uint32_t SKS, const void *SK, uint32_t DS, const void *D)
{
    return StoreEntry(SKS, SK, DS, D, nullptr);
}

int32_t MW_Cache::StoreEntry(uint32_t SKS, const void *SK, uint32_t DS, const void *D,
                             uint32_t *stored)
{
    if (Tracing()) // checked here too: registries store many entries
        TraceFormat("MW_Cache::Store SKS=%lu, SK=%lX, DS=%lu, D=%lX",
                    static_cast<unsigned long>(SKS), Address(SK), static_cast<unsigned long>(DS),
                    Address(D));
    if ((SKS > 0 && !SK) || (DS > 0 && !D))
        return MW_NOMEM;
    const uint32_t handle = NewEntry(SKS, DS);
    if (handle == None)
        return MW_NOMEM;
    MW_CacheEntry &entry = entries.At(handle);
    TraceLine("MW_Cache::Store.copying SearchKey");
    entry.DS = DS;
    if (SKS > 0)
        std::memcpy(entry.SearchKey(), SK, SKS);
    if (DS > 0) {
        TraceLine("MW_Cache::Store.copying Data");
        std::memcpy(entry.Data, D, DS);
    }
    Link(handle);
    if (stored)
        *stored = handle;
    TraceLine("MW_Cache::Store.return");
    return MW_OK;
}

int32_t MW_Cache::Search(uint32_t SKS, const void *SK, uint32_t *DS, void **D)
{
    TraceFormat("MW_Cache::Search SKS=%lu, SK=%lX", static_cast<unsigned long>(SKS), Address(SK));
    uint32_t ignoredSize;
    void *ignoredData;
    uint32_t &size = DS ? *DS : ignoredSize;
    void *&data = D ? *D : ignoredData;
    size = 0;
    data = nullptr;
    TraceLine("MW_Cache::Search.SearchPointer");
    const uint32_t handle = Match(SKS, SK);
    if (handle == None) {
        TraceLine("MW_Cache::Search.SearchPointer nothing found");
        TraceLine("MW_Cache::Search.return");
        return MW_NOTFOUND;
    }
    const MW_CacheEntry &entry = entries.At(handle);
    size = entry.DS;
    TraceFormat("MW_Cache::Search found, DS=%lu", static_cast<unsigned long>(entry.DS));
    if (entry.DS == 0 || !D)
        return MW_OK;
    TraceLine("MW_Cache::Search.new *Result");
    data = CopyOf(entry.Data, entry.DS);
    if (!data) {
        TraceLine("MW_Cache::Search.new *Result NOMEM");
        size = 0;
        return MW_NOMEM;
    }
    TraceLine("MW_Cache::Search.return");
    return MW_OK;
}

int32_t MW_Cache::Delete(uint32_t SKS, const void *SK)
{
    if (Tracing())
        TraceFormat("MW_Cache::Delete SKS=%lu, SK=%lX", static_cast<unsigned long>(SKS),
                    Address(SK));
    TraceLine("MW_Cache::Delete.SearchPointer");
    const uint32_t handle = Match(SKS, SK);
    if (handle == None) {
        TraceLine("MW_Cache::Delete.SearchPointer nothing found");
        TraceLine("MW_Cache::Delete.return");
        return MW_NOTFOUND;
    }
    Remove(handle);
    return MW_OK;
}

int32_t MW_Cache::DeleteEntry(uint32_t handle, uint32_t SKS, const void *SK)
{
    if (Tracing())
        TraceFormat("MW_Cache::Delete SKS=%lu, SK=%lX", static_cast<unsigned long>(SKS),
                    Address(SK));
    TraceLine("MW_Cache::Delete.SearchPointer");
    const MW_CacheEntry *entry = entries.Find(handle);
    if (!entry || entry->SKS != SKS ||
        (SKS > 0 && (!SK || std::memcmp(entry->SearchKey(), SK, SKS) != 0))) {
        TraceLine("MW_Cache::Delete.SearchPointer nothing found");
        TraceLine("MW_Cache::Delete.return");
        return MW_NOTFOUND;
    }
    Remove(handle);
    return MW_OK;
}

void MW_Cache::Remove(uint32_t handle)
{
    TraceLine("MW_Cache::Delete.SearchPointer found");
    Unlink(handle);
    Destroy(handle);
    if (count == 0)
        entries.Clear(); // an emptied cache gives its blocks back
    TraceLine("MW_Cache::Delete.return");
}

int32_t MW_Cache::Replace(uint32_t SKS, const void *SK, uint32_t DS, const void *D)
{
    TraceFormat("MW_Cache::Replace SKS=%lu, SK=%lX, DS=%lu, D=%lX", static_cast<unsigned long>(SKS),
                Address(SK), static_cast<unsigned long>(DS), Address(D));
    TraceLine("MW_Cache::Replace.SearchPointer");
    const uint32_t handle = Match(SKS, SK);
    if (handle == None) {
        TraceLine("MW_Cache::Replace.SearchPointer nothing found");
        TraceLine("MW_Cache::Replace.return");
        return MW_NOTFOUND;
    }
    if (DS > 0 && !D)
        return MW_NOMEM; // nothing to copy from: the entry keeps its data
    MW_CacheEntry &entry = entries.At(handle);
    MW_Allocator::Free(entry.Data);
    entry.Data = nullptr;
    entry.DS = 0;
    if (DS > 0) {
        TraceLine("MW_Cache::Replace.new Data");
        entry.Data = CopyOf(D, DS);
        if (!entry.Data) {
            TraceLine("MW_Cache::Replace.new Data NOMEM");
            return MW_NOMEM;
        }
        entry.DS = DS;
    }
    TraceLine("MW_Cache::Replace.return");
    return MW_OK;
}

void MW_Cache::GetNext(uint32_t *iterator, CacheEntryResult_T **result)
{
    if (!iterator || !result)
        return;
    *result = nullptr;
    TraceFormat("MW_Cache::GetNext iter=%lu", static_cast<unsigned long>(*iterator));
    if (*iterator == NewPass) {
        *iterator = CacheStart;
        TraceLine("MW_Cache::GetNext new search, using CacheStart");
    }
    const MW_CacheEntry *entry = entries.Find(*iterator);
    if (!entry) {
        TraceLine("MW_Cache::GetNext no Cache Entry");
        *iterator = NewPass;
        return;
    }
    TraceLine("MW_Cache::GetNext.new CacheEntryResult_T");
    auto *copy = MW_Allocator::New<CacheEntryResult_T>(CacheEntryResult_T{});
    if (!copy) {
        TraceLine("MW_Cache::GetNext.new CacheEntryResult_T NOMEM");
        return;
    }
    copy->SKS = entry->SKS;
    TraceLine("MW_Cache::GetNext.new SearchKey");
    copy->SearchKey = CopyOf(entry->SearchKey(), entry->SKS);
    if (!copy->SearchKey) {
        TraceLine("MW_Cache::GetNext.new SearchKey NOMEM");
        MW_Allocator::Delete(copy);
        return;
    }
    copy->DS = entry->DS;
    if (entry->DS > 0) {
        TraceLine("MW_Cache::GetNext.new Data");
        copy->Data = CopyOf(entry->Data, entry->DS);
        if (!copy->Data) {
            TraceLine("MW_Cache::GetNext.new Data NOMEM");
            MW_Allocator::Free(copy->SearchKey);
            MW_Allocator::Delete(copy);
            return;
        }
    }
    *iterator = entry->next;
    if (entry->next == None)
        TraceLine("MW_Cache::GetNext end of list reached");
    TraceLine("MW_Cache::GetNext.return");
    *result = copy;
}

void MW_Cache::FreeResult(CacheEntryResult_T **result)
{
    TraceLine("MW_Cache::FreeResult");
    CacheEntryResult_T *record = result ? *result : nullptr;
    if (record) {
        TraceLine("MW_Cache::FreeResult.delete Data");
        MW_Allocator::Free(record->Data);
        TraceLine("MW_Cache::FreeResult.delete SearchKey");
        MW_Allocator::Free(record->SearchKey);
        TraceLine("MW_Cache::FreeResult.delete Result");
        MW_Allocator::Delete(record);
    }
    TraceLine("MW_Cache::FreeResult.return");
}
