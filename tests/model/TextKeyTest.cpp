// Sorting by text keys gives strcmp order (bytes as unsigned), the later arrival first among
// equal texts, also for texts that agree in their first 16 bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "model/TextKey.h"

namespace
{

std::vector<uint32_t> SortedIndexes(const std::vector<std::string> &texts)
{
    std::vector<TextKey> keys;
    for (uint32_t i = 0; i < texts.size(); ++i) {
        keys.emplace_back(texts[i], i);
    }
    SortTextKeys(keys, [&texts](uint32_t index) -> const std::string & { return texts[index]; });
    std::vector<uint32_t> indexes;
    for (const TextKey &key : keys) {
        indexes.push_back(key.index);
    }
    return indexes;
}

std::vector<uint32_t> ExpectedIndexes(const std::vector<std::string> &texts)
{
    std::vector<uint32_t> indexes(texts.size());
    for (uint32_t i = 0; i < texts.size(); ++i) {
        indexes[i] = i;
    }
    std::sort(indexes.begin(), indexes.end(), [&texts](uint32_t a, uint32_t b) {
        const int order = texts[a].compare(texts[b]); // byte-wise, unsigned, as strcmp
        return order != 0 ? order < 0 : a > b;
    });
    return indexes;
}

TEST(TextKey, SortingMatchesStrcmpOrderWithTheLaterArrivalFirst)
{
    std::mt19937 random(3);
    // Few distinct bytes, lengths around 16, and shared prefixes: equal texts and texts equal in
    // their first 16 bytes are frequent.
    const std::string prefixes[] = {"", "Organisational-U", "Organisational-Unit-", "a"};
    const char bytes[] = {'a', 'B', '-', '\x01', '\x7f', '\x80', '\xe9', '\xff'};
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> texts;
        const int count = 1 + static_cast<int>(random() % 3000);
        for (int i = 0; i < count; ++i) {
            std::string text = prefixes[random() % 4];
            for (std::size_t n = random() % 5; n > 0; --n) {
                text += bytes[random() % sizeof bytes];
            }
            texts.push_back(text);
        }
        ASSERT_EQ(SortedIndexes(texts), ExpectedIndexes(texts)) << "round " << round;
    }
}

TEST(TextKey, KeysGivenOutOfOrderAreSortedAllTheSame)
{
    const std::vector<std::string> texts = {"b", "a", "b", "c", "a"};
    std::vector<TextKey> keys;
    for (uint32_t i : {3u, 0u, 4u, 1u, 2u}) {
        keys.emplace_back(texts[i], i);
    }
    SortTextKeys(keys, [&texts](uint32_t index) -> const std::string & { return texts[index]; });
    std::vector<uint32_t> indexes;
    for (const TextKey &key : keys) {
        indexes.push_back(key.index);
    }
    EXPECT_EQ(indexes, (std::vector<uint32_t>{4, 1, 2, 0, 3}));
}

} // namespace
