// MW_Cache: ordering, duplicate and prefix keys, data-less entries, iteration and replacement.
#include "CacheProbe.h"

#include "mwlib/MW_Cache.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

TEST(Cache, DuplicateKeysAreKeptAndTheFirstStoredWins)
{
    MW_Cache cache;
    ASSERT_EQ(StoreText(cache, "key1", "one"), MW_OK);
    ASSERT_EQ(StoreText(cache, "key1", "two"), MW_OK);
    EXPECT_EQ(cache.Count(), 2u);

    EXPECT_EQ(SearchText(cache, "key1").data, "one");
    EXPECT_EQ(DeleteText(cache, "key1"), MW_OK);
    EXPECT_EQ(SearchText(cache, "key1").data, "two");
    EXPECT_EQ(DeleteText(cache, "key1"), MW_OK);
    EXPECT_EQ(DeleteText(cache, "key1"), MW_NOTFOUND);
    EXPECT_EQ(SearchText(cache, "key1").result, MW_NOTFOUND);
    EXPECT_EQ(cache.Count(), 0u);
}

TEST(Cache, EntryWithoutDataIsFoundWithSizeZeroAndNoData)
{
    MW_Cache cache;
    ASSERT_EQ(cache.Store(4, "bare", 0, nullptr), MW_OK);

    const Found found = SearchText(cache, "bare");
    EXPECT_EQ(found.result, MW_OK);
    EXPECT_EQ(found.size, 0u);
    EXPECT_TRUE(found.dataNull);

    uint32_t iterator = MW_Cache::NewPass;
    CacheEntryResult_T *result = nullptr;
    cache.GetNext(&iterator, &result);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->DS, 0u);
    EXPECT_EQ(result->Data, nullptr);
    EXPECT_EQ(std::string(static_cast<char *>(result->SearchKey), result->SKS), "bare");
    cache.FreeResult(&result);
}

TEST(Cache, NotFoundSearchClearsTheCallersOutputs)
{
    MW_Cache cache;
    StoreText(cache, "abc", "x");
    const Found found = SearchText(cache, "zzz");
    EXPECT_EQ(found.result, MW_NOTFOUND);
    EXPECT_EQ(found.size, 0u);
    EXPECT_TRUE(found.dataNull);
}

// A search key matches a stored key that begins with it; a stored key shorter than the search
// key never matches (and is never read past its end).
TEST(Cache, SearchKeyMatchesStoredKeysThatBeginWithIt)
{
    struct Case {
        const char *search;
        int32_t result;
        const char *data;
    };
    const Case cases[] = {
        {"", MW_OK, "first"},    // size 0 matches the first entry
        {"ab", MW_OK, "first"},  // prefix of "abcd", stored before "ab"
        {"abc", MW_OK, "first"}, // "ab" is shorter, so only "abcd" can match
        {"abcd", MW_OK, "first"}, {"abcde", MW_NOTFOUND, ""}, // longer than every stored key
        {"x", MW_OK, "third"},    {"xz", MW_NOTFOUND, ""},
        {"AB", MW_NOTFOUND, ""}, // bytes, not text: case matters
    };
    MW_Cache cache;
    StoreText(cache, "abcd", "first");
    StoreText(cache, "ab", "second");
    StoreText(cache, "xy", "third");
    for (const Case &c : cases) {
        const Found found = SearchText(cache, c.search);
        EXPECT_EQ(found.result, c.result) << "search \"" << c.search << '"';
        EXPECT_EQ(found.data, c.data) << "search \"" << c.search << '"';
    }
    // Delete and Replace use the same matching: "abc" reaches "abcd", never "ab".
    EXPECT_EQ(cache.Replace(3, "abc", 3, "new"), MW_OK);
    EXPECT_EQ(DeleteText(cache, "ab"), MW_OK);
    EXPECT_EQ(Contents(cache), (std::vector<CacheItem>{{"ab", "second"}, {"xy", "third"}}));
}

TEST(Cache, ShorterStoredKeyIsNotReadPastItsEnd)
{
    // One single-byte key in its own heap block: reading a second byte would be caught by the
    // address sanitizer, and the stray byte could fake a match.
    MW_Cache cache;
    ASSERT_EQ(cache.Store(1, "a", 1, "1"), MW_OK);
    EXPECT_EQ(SearchText(cache, "a\0").result, MW_OK);
    EXPECT_EQ(cache.Search(2, "a\0", nullptr, nullptr), MW_NOTFOUND);
    EXPECT_EQ(cache.Delete(2, "ab"), MW_NOTFOUND);
    EXPECT_EQ(cache.Count(), 1u);
}

TEST(Cache, GetNextOnAnEmptyCacheDeliversNothingAndEndsThePass)
{
    MW_Cache cache;
    uint32_t iterator = MW_Cache::NewPass;
    CacheEntryResult_T *result = reinterpret_cast<CacheEntryResult_T *>(&iterator);
    cache.GetNext(&iterator, &result);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(iterator, 0xFFFFFFFFu);
}

TEST(Cache, PassDeliversInInsertionOrderAndEndsWithTheLastEntry)
{
    MW_Cache cache;
    StoreText(cache, "c", "3");
    StoreText(cache, "a", "1");
    StoreText(cache, "b", "2");

    std::vector<CacheItem> delivered;
    std::vector<bool> endedAfter;
    uint32_t iterator = MW_Cache::NewPass;
    for (int call = 0; call < 3; ++call) {
        CacheEntryResult_T *result = nullptr;
        cache.GetNext(&iterator, &result);
        ASSERT_NE(result, nullptr);
        delivered.emplace_back(std::string(static_cast<char *>(result->SearchKey), 1),
                               std::string(static_cast<char *>(result->Data), 1));
        endedAfter.push_back(iterator == MW_Cache::NewPass);
        cache.FreeResult(&result);
    }
    EXPECT_EQ(delivered, (std::vector<CacheItem>{{"c", "3"}, {"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(endedAfter, (std::vector<bool>{false, false, true}));
}

TEST(Cache, DeletingTheDeliveredEntryDoesNotDisturbThePass)
{
    MW_Cache cache;
    for (const char *key : {"k1", "k2", "k3", "k4"})
        StoreText(cache, key, key);
    std::vector<std::string> seen;
    uint32_t iterator = MW_Cache::NewPass;
    do {
        CacheEntryResult_T *result = nullptr;
        cache.GetNext(&iterator, &result);
        ASSERT_NE(result, nullptr);
        seen.emplace_back(static_cast<char *>(result->SearchKey), result->SKS);
        if (seen.back() != "k3") {
            EXPECT_EQ(cache.Delete(result->SKS, result->SearchKey), MW_OK);
        }
        // Entries stored during the pass come behind the ones it still has to deliver.
        if (seen.back() == "k1")
            StoreText(cache, "k5", "");
        cache.FreeResult(&result);
    } while (iterator != MW_Cache::NewPass);
    EXPECT_EQ(seen, (std::vector<std::string>{"k1", "k2", "k3", "k4", "k5"}));
    EXPECT_EQ(Contents(cache), (std::vector<CacheItem>{{"k3", "k3"}}));
}

TEST(Cache, IteratorDesignatingADeletedEntryEndsThePassSafely)
{
    MW_Cache cache;
    StoreText(cache, "a", "");
    StoreText(cache, "b", "");
    uint32_t iterator = MW_Cache::NewPass;
    CacheEntryResult_T *result = nullptr;
    cache.GetNext(&iterator, &result); // delivers "a", designates "b"
    cache.FreeResult(&result);
    DeleteText(cache, "b"); // not supported by callers, but must not crash
    cache.GetNext(&iterator, &result);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(iterator, MW_Cache::NewPass);
    uint32_t garbage = 777;
    cache.GetNext(&garbage, &result);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(garbage, MW_Cache::NewPass);
}

TEST(Cache, ReplaceKeepsKeyAndPlaceAndMayLeaveNoData)
{
    MW_Cache cache;
    StoreText(cache, "a", "1");
    StoreText(cache, "b", "2");
    StoreText(cache, "c", "3");
    EXPECT_EQ(cache.Replace(1, "b", 5, "two!!"), MW_OK);
    EXPECT_EQ(Contents(cache), (std::vector<CacheItem>{{"a", "1"}, {"b", "two!!"}, {"c", "3"}}));

    EXPECT_EQ(cache.Replace(1, "b", 0, nullptr), MW_OK);
    const Found found = SearchText(cache, "b");
    EXPECT_EQ(found.result, MW_OK);
    EXPECT_EQ(found.size, 0u);
    EXPECT_TRUE(found.dataNull);

    uint32_t iterator = MW_Cache::NewPass;
    CacheEntryResult_T *result = nullptr;
    cache.GetNext(&iterator, &result);
    cache.FreeResult(&result);
    cache.GetNext(&iterator, &result);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->DS, 0u);
    EXPECT_EQ(result->Data, nullptr);
    cache.FreeResult(&result);

    EXPECT_EQ(cache.Replace(1, "z", 1, "x"), MW_NOTFOUND);
    EXPECT_EQ(DeleteText(cache, "b"), MW_OK);
}

TEST(Cache, NullPointersWithSizesAreRefused)
{
    MW_Cache cache;
    EXPECT_EQ(cache.Store(4, nullptr, 0, nullptr), MW_NOMEM);
    EXPECT_EQ(cache.Store(1, "k", 3, nullptr), MW_NOMEM);
    EXPECT_EQ(cache.Count(), 0u);
    StoreText(cache, "k", "old");
    EXPECT_EQ(cache.Replace(1, "k", 3, nullptr), MW_NOMEM);
    EXPECT_EQ(SearchText(cache, "k").data, "old");
    EXPECT_EQ(cache.Search(4, nullptr, nullptr, nullptr), MW_NOTFOUND);
    EXPECT_EQ(cache.Delete(4, nullptr), MW_NOTFOUND);
}

TEST(Cache, StoredDataIsACopyAndSoIsWhatSearchHandsOut)
{
    MW_Cache cache;
    char key[] = "key";
    char data[] = "data";
    cache.Store(3, key, 4, data);
    std::memcpy(key, "xxx", 3);
    std::memcpy(data, "yyyy", 4);
    EXPECT_EQ(SearchText(cache, "key").data, "data");
}

// What a registry does: each client keeps the handle of its entry and leaves without a lookup.
TEST(Cache, DeleteEntryRemovesExactlyTheEntryThatStoreMade)
{
    MW_Cache cache;
    uint32_t first = MW_Cache::NewPass;
    uint32_t second = MW_Cache::NewPass;
    ASSERT_EQ(cache.StoreEntry(2, "k1", 1, "a", &first), MW_OK);
    ASSERT_EQ(cache.StoreEntry(2, "k2", 1, "b", &second), MW_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(cache.DeleteEntry(first, 2, "k2"), MW_NOTFOUND); // not the key stored there
    EXPECT_EQ(cache.DeleteEntry(first, 2, "k1"), MW_OK);
    EXPECT_EQ(cache.DeleteEntry(first, 2, "k1"), MW_NOTFOUND); // gone already

    uint32_t third = MW_Cache::NewPass;
    ASSERT_EQ(cache.StoreEntry(2, "k3", 1, "c", &third), MW_OK); // may reuse the first's entry
    EXPECT_EQ(cache.DeleteEntry(first, 2, "k1"), MW_NOTFOUND);
    EXPECT_EQ(Contents(cache), (std::vector<CacheItem>{{"k2", "b"}, {"k3", "c"}}));
    EXPECT_EQ(cache.DeleteEntry(third, 2, "k3"), MW_OK);
    EXPECT_EQ(cache.DeleteEntry(second, 2, "k2"), MW_OK);
    EXPECT_EQ(cache.Count(), 0u);
}

} // namespace
