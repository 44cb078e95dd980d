// MW_Cache's trace: the exact lines of every operation, and silence while the switch is off.
#include "CacheProbe.h"
#include "TraceCapture.h"

#include "mwlib/MW_Cache.h"

#include <gtest/gtest.h>

namespace
{

using Lines = std::vector<std::string>;

class CacheTrace : public testing::Test
{
  protected:
    int32_t on = 1;
    TraceCapture trace;
};

TEST_F(CacheTrace, StoreWritesEveryStep)
{
    MW_Cache cache(&on, trace.Stream());
    const char key[] = "key";
    const char data[] = "data";
    cache.Store(3, key, 4, data);
    cache.Store(3, key, 0, nullptr);
    const std::string call = "MW_Cache::Store SKS=3, SK=" + TracedAddress(key);
    EXPECT_EQ(trace.TakeLines(), (Lines{
                                     "MW_Cache::Cache",
                                     call + ", DS=4, D=" + TracedAddress(data),
                                     "MW_Cache::Store.Allocating CacheStart",
                                     "MW_Cache::Store.Allocating SearchKey",
                                     "MW_Cache::Store.Allocating Data",
                                     "MW_Cache::Store.copying SearchKey",
                                     "MW_Cache::Store.copying Data",
                                     "MW_Cache::Store.return",
                                     call + ", DS=0, D=0",
                                     "MW_Cache::Store.Allocating next item",
                                     "MW_Cache::Store.Allocating SearchKey",
                                     "MW_Cache::Store no Data passed",
                                     "MW_Cache::Store.copying SearchKey",
                                     "MW_Cache::Store.return",
                                 }));
}

TEST_F(CacheTrace, SearchDeleteAndReplaceWriteTheirSteps)
{
    MW_Cache cache(&on, trace.Stream());
    StoreText(cache, "k", "12345");
    StoreText(cache, "e", "");
    trace.TakeLines();
    const char k[] = "k", e[] = "e", z[] = "z", d[] = "xy";
    uint32_t size;
    void *data;

    cache.Search(1, k, &size, &data);
    MW_Cache::FreeData(data);
    cache.Search(1, e, &size, &data);
    cache.Search(1, z, &size, &data);
    EXPECT_EQ(
        trace.TakeLines(),
        (Lines{"MW_Cache::Search SKS=1, SK=" + TracedAddress(k), "MW_Cache::Search.SearchPointer",
               "MW_Cache::Search found, DS=5", "MW_Cache::Search.new *Result",
               "MW_Cache::Search.return", "MW_Cache::Search SKS=1, SK=" + TracedAddress(e),
               "MW_Cache::Search.SearchPointer", "MW_Cache::Search found, DS=0",
               "MW_Cache::Search SKS=1, SK=" + TracedAddress(z), "MW_Cache::Search.SearchPointer",
               "MW_Cache::Search.SearchPointer nothing found", "MW_Cache::Search.return"}));

    cache.Replace(1, k, 2, d);
    cache.Replace(1, k, 0, nullptr);
    cache.Replace(1, z, 2, d);
    const std::string replaceK = "MW_Cache::Replace SKS=1, SK=" + TracedAddress(k);
    EXPECT_EQ(
        trace.TakeLines(),
        (Lines{replaceK + ", DS=2, D=" + TracedAddress(d), "MW_Cache::Replace.SearchPointer",
               "MW_Cache::Replace.new Data", "MW_Cache::Replace.return", replaceK + ", DS=0, D=0",
               "MW_Cache::Replace.SearchPointer", "MW_Cache::Replace.return",
               "MW_Cache::Replace SKS=1, SK=" + TracedAddress(z) + ", DS=2, D=" + TracedAddress(d),
               "MW_Cache::Replace.SearchPointer", "MW_Cache::Replace.SearchPointer nothing found",
               "MW_Cache::Replace.return"}));

    cache.Delete(1, k);
    cache.Delete(1, k);
    const std::string deleteK = "MW_Cache::Delete SKS=1, SK=" + TracedAddress(k);
    EXPECT_EQ(
        trace.TakeLines(),
        (Lines{deleteK, "MW_Cache::Delete.SearchPointer", "MW_Cache::Delete.SearchPointer found",
               "MW_Cache::Delete.return", deleteK, "MW_Cache::Delete.SearchPointer",
               "MW_Cache::Delete.SearchPointer nothing found", "MW_Cache::Delete.return"}));
}

TEST_F(CacheTrace, PassAndFreeResultWriteTheirSteps)
{
    MW_Cache cache(&on, trace.Stream());
    StoreText(cache, "a", "1");
    StoreText(cache, "b", "");
    trace.TakeLines();
    uint32_t iterator = MW_Cache::NewPass;
    CacheEntryResult_T *result = nullptr;
    cache.GetNext(&iterator, &result);
    const uint32_t designatesB = iterator;
    cache.FreeResult(&result);
    cache.GetNext(&iterator, &result);
    cache.FreeResult(&result);
    cache.GetNext(&iterator, &result); // a new pass over the same cache
    cache.FreeResult(&result);
    EXPECT_EQ(trace.TakeLines(), (Lines{"MW_Cache::GetNext iter=4294967295",
                                        "MW_Cache::GetNext new search, using CacheStart",
                                        "MW_Cache::GetNext.new CacheEntryResult_T",
                                        "MW_Cache::GetNext.new SearchKey",
                                        "MW_Cache::GetNext.new Data",
                                        "MW_Cache::GetNext.return",
                                        "MW_Cache::FreeResult",
                                        "MW_Cache::FreeResult.delete Data",
                                        "MW_Cache::FreeResult.delete SearchKey",
                                        "MW_Cache::FreeResult.delete Result",
                                        "MW_Cache::FreeResult.return",
                                        "MW_Cache::GetNext iter=" + std::to_string(designatesB),
                                        "MW_Cache::GetNext.new CacheEntryResult_T",
                                        "MW_Cache::GetNext.new SearchKey",
                                        "MW_Cache::GetNext end of list reached",
                                        "MW_Cache::GetNext.return",
                                        "MW_Cache::FreeResult",
                                        "MW_Cache::FreeResult.delete Data",
                                        "MW_Cache::FreeResult.delete SearchKey",
                                        "MW_Cache::FreeResult.delete Result",
                                        "MW_Cache::FreeResult.return",
                                        "MW_Cache::GetNext iter=4294967295",
                                        "MW_Cache::GetNext new search, using CacheStart",
                                        "MW_Cache::GetNext.new CacheEntryResult_T",
                                        "MW_Cache::GetNext.new SearchKey",
                                        "MW_Cache::GetNext.new Data",
                                        "MW_Cache::GetNext.return",
                                        "MW_Cache::FreeResult",
                                        "MW_Cache::FreeResult.delete Data",
                                        "MW_Cache::FreeResult.delete SearchKey",
                                        "MW_Cache::FreeResult.delete Result",
                                        "MW_Cache::FreeResult.return"}));
}

TEST_F(CacheTrace, DestructorCountsTheEntriesItFrees)
{
    {
        MW_Cache cache(&on, trace.Stream());
        for (const char *key : {"a", "b", "c"})
            StoreText(cache, key, "");
        trace.TakeLines();
    }
    EXPECT_EQ(trace.TakeLines(), (Lines{"MW_Cache::~Cache", "MW_Cache::~Cache 3 elements freed"}));
}

TEST_F(CacheTrace, EmptyPassWritesNoCacheEntry)
{
    MW_Cache empty(&on, trace.Stream());
    uint32_t iterator = MW_Cache::NewPass;
    CacheEntryResult_T *result = nullptr;
    empty.GetNext(&iterator, &result);
    EXPECT_EQ(trace.TakeLines(), (Lines{"MW_Cache::Cache", "MW_Cache::GetNext iter=4294967295",
                                        "MW_Cache::GetNext new search, using CacheStart",
                                        "MW_Cache::GetNext no Cache Entry"}));
}

// Objects sharing a switch go quiet and loud together, from their next traced step on; an
// object given no switch never writes.
TEST_F(CacheTrace, SharedSwitchTurnsEveryHolderOnAndOff)
{
    int32_t shared = 0;
    TraceCapture silent;
    MW_Cache first(&shared, trace.Stream());
    MW_Cache second(&shared, trace.Stream());
    MW_Cache unswitched(nullptr, silent.Stream());
    StoreText(first, "a", "");
    StoreText(unswitched, "a", "");
    EXPECT_TRUE(trace.TakeLines().empty());

    shared = 1;
    DeleteText(first, "a");
    DeleteText(second, "a");
    DeleteText(unswitched, "a");
    EXPECT_EQ(trace.TakeLines().size(), 8u);

    shared = 0;
    StoreText(second, "b", "");
    EXPECT_TRUE(trace.TakeLines().empty());
    EXPECT_TRUE(silent.TakeLines().empty());

    MW_Cache streamless(&shared, nullptr); // switched on without a stream: nothing, no crash
    shared = 1;
    EXPECT_EQ(StoreText(streamless, "c", "d"), MW_OK);
}

} // namespace
