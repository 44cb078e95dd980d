// Ordered keyed store of byte keys and optional byte data; the library's general container.
#pragma once

#include "mwlib/MW_CacheIndex.h"
#include "mwlib/MW_CacheSlab.h"
#include "mwlib/MW_Results.h"
#include "mwlib/MW_TraceObject.h"

#include <cstdint>
#include <cstdio>

// A copy of one entry handed out by MW_Cache::GetNext; the receiver gives it back with
// MW_Cache::FreeResult.
struct CacheEntryResult_T {
    uint32_t SKS;
    void *SearchKey;
    uint32_t DS;
    void *Data; // null when DS is 0
};

// Entries keep their insertion order and keys need not be unique. The cache owns copies of what
// it stores and hands out copies that the receiver owns. A search key matches a stored key that
// begins with its bytes (so a key of size 0 matches the first entry); a stored key shorter than
// the search key never matches. The first match in insertion order wins.
//
// Results: MW_OK (0), MW_NOMEM (-1: memory could not be obtained, or a null key or data pointer
// came with a non-zero size), MW_NOTFOUND (-2). No operation throws.
//
// Appending is O(1). While every stored key has one size, lookups with a key of that size go
// through an exact-key index (O(1) on average, once the index has caught up with the entries
// stored since the last lookup); other lookups walk the entries. Entries are
// held in blocks (see MW_CacheSlab): a Store allocates a block only now and then, besides the
// key's copy when the key is longer than 8 bytes and the data's copy. An emptied cache gives
// its blocks back.
class MW_Cache : public MW_TraceObject
{
  public:
    // Iterator value that starts a pass on input and means "pass finished" on output.
    static constexpr uint32_t NewPass = MW_CacheEntry::None;

    explicit MW_Cache(int32_t *traceSwitch = nullptr, std::FILE *traceStream = nullptr);
    ~MW_Cache() override;

    virtual int32_t Store(uint32_t SKS, const void *SK, uint32_t DS, const void *D);
    virtual int32_t Delete(uint32_t SKS, const void *SK);
    // The data of the first matching entry is replaced; its key and place stay. DS 0 leaves the
    // entry without data. When the new data cannot be allocated the entry is left without data
    // (DS 0) and the result is MW_NOMEM.
    virtual int32_t Replace(uint32_t SKS, const void *SK, uint32_t DS, const void *D);
    // Hands out a copy of the first matching entry's data in *D (null when *DS is 0); the
    // caller releases it with FreeData.
    virtual int32_t Search(uint32_t SKS, const void *SK, uint32_t *DS, void **D);
    // Delivers a copy of the entry that *iterator designates and advances *iterator; NewPass
    // starts a pass and comes back with the last entry. Deleting the entry just delivered is
    // fine; deleting the one the iterator designates ends the pass early.
    virtual void GetNext(uint32_t *iterator, CacheEntryResult_T **result);
    // Frees the data copy, key copy and record; *result is left as it was.
    virtual void FreeResult(CacheEntryResult_T **result);

    // Store, also telling the handle of the new entry; and the Delete of exactly that entry, which
    // needs no lookup: it deletes the entry if the handle still designates it with this key (else
    // MW_NOTFOUND). Where keys are unique, as in a registry of addresses, that is Delete's effect.
    int32_t StoreEntry(uint32_t SKS, const void *SK, uint32_t DS, const void *D, uint32_t *handle);
    int32_t DeleteEntry(uint32_t handle, uint32_t SKS, const void *SK);

    static void FreeData(void *data);
    uint32_t Count() const { return count; }

  private:
    static constexpr uint32_t None = MW_CacheEntry::None;

    uint32_t Match(uint32_t SKS, const void *SK);
    void CatchUpIndex();
    void DropIndex();
    uint32_t NewEntry(uint32_t SKS, uint32_t DS);
    void Link(uint32_t handle);
    void Unlink(uint32_t handle);
    void Remove(uint32_t handle); // a Delete's steps once the entry is found
    void Destroy(uint32_t handle);

    // Entries are named by their handles in the slab.
    uint32_t CacheStart = None;
    uint32_t last = None;
    uint32_t count = 0;
    MW_CacheSlab entries;
    MW_CacheIndex index{entries};
    uint32_t keySize = 0;      // the size of every stored key, while sizesMixed is false
    bool sizesMixed = false;   // keys of two sizes stored since the cache was last empty
    bool indexed = true;       // the index holds every entry, or will at the next lookup
    uint32_t unindexed = None; // the first entry that the index has not learnt of yet
};
