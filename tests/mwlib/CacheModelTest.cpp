// MW_Cache against a plain list model under long random runs, with and without its key index.
#include "CacheProbe.h"

#include "mwlib/MW_Cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace
{

// The cache as its rules describe it: a list in insertion order, first prefix match wins.
class ListModel
{
  public:
    void Store(const std::string &key, const std::string &data) { items.emplace_back(key, data); }
    std::vector<CacheItem>::iterator Match(const std::string &key)
    {
        return std::find_if(items.begin(), items.end(), [&](const CacheItem &item) {
            return item.first.size() >= key.size() && item.first.compare(0, key.size(), key) == 0;
        });
    }
    std::vector<CacheItem> items;
};

struct RunShape {
    const char *name;
    std::vector<std::size_t> keySizes; // sizes drawn for stored keys
    std::vector<std::size_t> searchSizes;
};

void PrintTo(const RunShape &shape, std::ostream *out)
{
    *out << shape.name;
}

class CacheModel : public testing::TestWithParam<RunShape>
{
};

std::string RandomKey(std::mt19937 &random, std::size_t size)
{
    // A small alphabet makes equal keys and shared prefixes frequent.
    std::string key(size, 'a');
    for (char &c : key)
        c = static_cast<char>('a' + random() % 3);
    return key;
}

TEST_P(CacheModel, AgreesWithTheListModel)
{
    const RunShape &shape = GetParam();
    std::mt19937 random(20240611);
    MW_Cache cache;
    ListModel model;
    auto pick = [&](const std::vector<std::size_t> &sizes) {
        return sizes[random() % sizes.size()];
    };
    for (int step = 0; step < 20000; ++step) {
        const unsigned action = random() % 10;
        const std::string key =
            RandomKey(random, pick(action < 4 ? shape.keySizes : shape.searchSizes));
        const std::string data = std::to_string(step).substr(0, random() % 4);
        auto match = model.Match(key);
        const bool present = match != model.items.end();
        if (action < 4) {
            ASSERT_EQ(StoreText(cache, key, data), MW_OK);
            model.Store(key, data);
        } else if (action < 7) {
            ASSERT_EQ(DeleteText(cache, key), present ? MW_OK : MW_NOTFOUND) << step;
            if (present)
                model.items.erase(match);
        } else if (action < 8) {
            const int32_t result = cache.Replace(static_cast<uint32_t>(key.size()), key.data(),
                                                 static_cast<uint32_t>(data.size()), data.data());
            ASSERT_EQ(result, present ? MW_OK : MW_NOTFOUND) << step;
            if (present)
                match->second = data;
        } else {
            const Found found = SearchText(cache, key);
            ASSERT_EQ(found.result, present ? MW_OK : MW_NOTFOUND) << step;
            if (present) {
                ASSERT_EQ(found.data, match->second) << step;
            }
        }
        ASSERT_EQ(cache.Count(), model.items.size());
        if (step % 1000 == 0) {
            ASSERT_EQ(Contents(cache), model.items) << step;
        }
    }
    EXPECT_EQ(Contents(cache), model.items);
}

INSTANTIATE_TEST_SUITE_P(Shapes, CacheModel,
                         testing::Values(RunShape{"OneKeySize", {3}, {3}},
                                         RunShape{"OneKeySizeShorterSearches", {3}, {0, 2, 3, 4}},
                                         RunShape{"MixedKeySizes", {1, 2, 3}, {0, 1, 2, 3}},
                                         // Keys kept in the entry and hashed as a word.
                                         RunShape{"PointerSizedKeys", {8}, {8}},
                                         // Keys in blocks of their own, found by the index.
                                         RunShape{"LongKeys", {12}, {5, 12}}),
                         [](const testing::TestParamInfo<RunShape> &info) {
                             return std::string(info.param.name);
                         });

// A registry's use: many distinct pointer-sized keys, removed in an order unrelated to their
// insertion, with the pass order still the insertion order.
TEST(Cache, ManyDistinctKeysRemovedOutOfOrderKeepInsertionOrder)
{
    constexpr uint64_t total = 5000;
    MW_Cache cache;
    for (uint64_t key = 0; key < total; ++key)
        ASSERT_EQ(cache.Store(sizeof key, &key, 0, nullptr), MW_OK);
    std::vector<uint64_t> order(total);
    for (uint64_t key = 0; key < total; ++key)
        order[key] = key;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (std::size_t i = 0; i < total / 2; ++i)
        ASSERT_EQ(cache.Delete(sizeof order[i], &order[i]), MW_OK);

    std::vector<uint64_t> expected(order.begin() + total / 2, order.end());
    std::sort(expected.begin(), expected.end());
    std::vector<uint64_t> remaining;
    for (const CacheItem &item : Contents(cache)) {
        uint64_t key;
        std::memcpy(&key, item.first.data(), sizeof key);
        remaining.push_back(key);
    }
    EXPECT_EQ(remaining, expected);
    for (std::size_t i = 0; i < total / 2; ++i)
        EXPECT_EQ(cache.Search(sizeof order[i], &order[i], nullptr, nullptr), MW_NOTFOUND);
}

} // namespace
