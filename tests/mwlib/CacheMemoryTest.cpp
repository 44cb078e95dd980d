// MW_Cache when memory runs out: result -1, a NOMEM trace line, and contents as before.
#include "CacheProbe.h"
#include "TraceCapture.h"

#include "mwlib/MW_Allocator.h"
#include "mwlib/MW_Cache.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

class CacheMemory : public testing::Test
{
  protected:
    void TearDown() override { MW_Allocator::Reset(); }
    std::string LastLine()
    {
        const std::vector<std::string> lines = trace.TakeLines();
        return lines.empty() ? std::string() : lines.back();
    }

    int32_t on = 1;
    TraceCapture trace;
};

TEST_F(CacheMemory, StoreFailureAtEachAllocationLeavesTheCacheAsItWas)
{
    // Entries come in blocks (16 in the first), so only a Store into a full block or an empty
    // cache allocates for the entry itself. Keys up to 8 bytes are kept inside the entry; longer
    // ones need a block of their own.
    const std::string longKey(40, 'k');
    struct Case {
        int storedBefore;
        std::string key;
        bool withData;
        long failAt; // allocations of the Store that succeed before the failing one
        const char *line;
    };
    const Case cases[] = {
        {0, longKey, true, 0, "MW_Cache::Store.Allocating CacheStart NOMEM"},
        {0, longKey, true, 1, "MW_Cache::Store.Allocating SearchKey NOMEM"},
        {0, longKey, true, 2, "MW_Cache::Store.Allocating Data NOMEM"},
        {16, "new", true, 0, "MW_Cache::Store.Allocating next item NOMEM"},
        {16, longKey, true, 1, "MW_Cache::Store.Allocating SearchKey NOMEM"},
        {1, longKey, false, 0, "MW_Cache::Store.Allocating SearchKey NOMEM"},
        {1, longKey, true, 1, "MW_Cache::Store.Allocating Data NOMEM"},
        {1, "new", true, 0, "MW_Cache::Store.Allocating Data NOMEM"},
    };
    for (const Case &c : cases) {
        MW_Cache cache(&on, trace.Stream());
        for (int i = 0; i < c.storedBefore; ++i)
            StoreText(cache, "old" + std::to_string(i), "data");
        const std::vector<CacheItem> before = Contents(cache);
        trace.TakeLines();
        MW_Allocator::FailAfter(c.failAt);
        EXPECT_EQ(StoreText(cache, c.key, c.withData ? "x" : ""), MW_NOMEM) << c.line;
        MW_Allocator::Reset();
        EXPECT_EQ(LastLine(), c.line);
        EXPECT_EQ(Contents(cache), before) << c.line;
        EXPECT_EQ(StoreText(cache, c.key, "x"), MW_OK) << "a later Store works: " << c.line;
        EXPECT_EQ(SearchText(cache, c.key).data, "x") << c.line;
    }
}

// Whatever allocation fails, later on (an entry block, the key index at a lookup, ...), the entries
// that were stored are exactly those whose Store said 0, and the cache goes on working.
TEST_F(CacheMemory, FailuresAnywhereInALongRunKeepTheCacheConsistent)
{
    for (long failAt = 0; failAt < 60; ++failAt) {
        MW_Allocator::FailAfter(failAt);
        MW_Cache cache;
        std::vector<CacheItem> stored;
        for (int i = 0; i < 20; ++i) {
            const std::string key = "key" + std::to_string(i % 15);
            if (StoreText(cache, key, std::to_string(i)) == MW_OK)
                stored.emplace_back(key, std::to_string(i));
            if (i % 3 == 2) { // a lookup now and then, which brings the index up to date
                const Found found = SearchText(cache, key);
                auto first = std::find_if(stored.begin(), stored.end(),
                                          [&](const CacheItem &item) { return item.first == key; });
                if (found.result == MW_OK) {
                    ASSERT_EQ(found.data, first->second) << failAt;
                } else if (first != stored.end()) {
                    ASSERT_EQ(found.result, MW_NOMEM) << failAt; // the copy could not be made
                }
            }
        }
        MW_Allocator::Reset();
        ASSERT_EQ(Contents(cache), stored) << failAt;
        for (const CacheItem &item : stored) {
            ASSERT_EQ(SearchText(cache, item.first).result, MW_OK) << failAt;
            ASSERT_EQ(DeleteText(cache, item.first), MW_OK) << failAt;
        }
        ASSERT_EQ(cache.Count(), 0u);
    }
}

TEST_F(CacheMemory, SearchThatCannotCopyGivesNoData)
{
    MW_Cache cache(&on, trace.Stream());
    StoreText(cache, "k", "value");
    SearchText(cache, "k"); // the key index is made at the first lookup
    trace.TakeLines();
    MW_Allocator::FailAfter(0);
    const Found found = SearchText(cache, "k");
    EXPECT_EQ(found.result, MW_NOMEM);
    EXPECT_EQ(found.size, 0u);
    EXPECT_TRUE(found.dataNull);
    EXPECT_EQ(LastLine(), "MW_Cache::Search.new *Result NOMEM");
}

TEST_F(CacheMemory, ReplaceThatCannotCopyLeavesTheEntryWithoutData)
{
    MW_Cache cache(&on, trace.Stream());
    StoreText(cache, "k", "old");
    StoreText(cache, "m", "other");
    SearchText(cache, "k"); // the key index is made at the first lookup
    trace.TakeLines();
    MW_Allocator::FailAfter(0);
    EXPECT_EQ(cache.Replace(1, "k", 3, "new"), MW_NOMEM);
    MW_Allocator::Reset();
    EXPECT_EQ(LastLine(), "MW_Cache::Replace.new Data NOMEM");
    const Found found = SearchText(cache, "k");
    EXPECT_EQ(found.result, MW_OK);
    EXPECT_EQ(found.size, 0u);
    EXPECT_TRUE(found.dataNull);
    EXPECT_EQ(Contents(cache), (std::vector<CacheItem>{{"k", ""}, {"m", "other"}}));
}

TEST_F(CacheMemory, GetNextThatCannotCopyDoesNotMoveTheIterator)
{
    const char *lines[] = {"MW_Cache::GetNext.new CacheEntryResult_T NOMEM",
                           "MW_Cache::GetNext.new SearchKey NOMEM",
                           "MW_Cache::GetNext.new Data NOMEM"};
    for (long failAt = 0; failAt < 3; ++failAt) {
        MW_Cache cache(&on, trace.Stream());
        StoreText(cache, "a", "1");
        StoreText(cache, "b", "2");
        uint32_t iterator = MW_Cache::NewPass;
        CacheEntryResult_T *result = nullptr;
        cache.GetNext(&iterator, &result); // "a"
        cache.FreeResult(&result);
        const uint32_t designatesB = iterator;
        trace.TakeLines();

        MW_Allocator::FailAfter(failAt);
        cache.GetNext(&iterator, &result);
        MW_Allocator::Reset();
        EXPECT_EQ(result, nullptr);
        EXPECT_EQ(iterator, designatesB);
        EXPECT_EQ(LastLine(), lines[failAt]);

        cache.GetNext(&iterator, &result); // the retry delivers "b"
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(std::string(static_cast<char *>(result->Data), result->DS), "2");
        EXPECT_EQ(iterator, MW_Cache::NewPass);
        cache.FreeResult(&result);
    }
}

} // namespace
