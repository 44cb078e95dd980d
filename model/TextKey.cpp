// Text keys and their radix sort.
#include "model/TextKey.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace
{
constexpr int kDigitBits = 11;
constexpr std::size_t kDigits = std::size_t{1} << kDigitBits;

uint64_t BigEndianWord(const unsigned char *bytes)
{
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return std::endian::native == std::endian::little ? __builtin_bswap64(word) : word;
}

// One stable counting pass over the digit of `word` at `shift`.
template <typename Word>
void Pass(std::vector<TextKey> &keys, std::vector<TextKey> &spare, Word word, int shift)
{
    std::array<std::size_t, kDigits + 1> starts{};
    for (const TextKey &key : keys) {
        ++starts[((word(key) >> shift) & (kDigits - 1)) + 1];
    }
    for (std::size_t digit = 1; digit <= kDigits; ++digit) {
        starts[digit] += starts[digit - 1];
    }
    for (const TextKey &key : keys) {
        spare[starts[(word(key) >> shift) & (kDigits - 1)]++] = key;
    }
    keys.swap(spare);
}

// Passes over the digits of one word in which some keys differ, least significant first.
template <typename Word>
void SortByWord(std::vector<TextKey> &keys, std::vector<TextKey> &spare, Word word)
{
    uint64_t any = 0;
    uint64_t all = ~uint64_t{0};
    for (const TextKey &key : keys) {
        any |= word(key);
        all &= word(key);
    }
    const uint64_t differing = any ^ all;
    for (int shift = 0; shift < 64; shift += kDigitBits) {
        if (((differing >> shift) & (kDigits - 1)) != 0) {
            Pass(keys, spare, word, shift);
        }
    }
}
} // namespace

TextKey::TextKey(const std::string &text, uint32_t index) : index(index)
{
    unsigned char bytes[16] = {};
    std::memcpy(bytes, text.data(), std::min<std::size_t>(text.size(), sizeof bytes));
    high = BigEndianWord(bytes);
    low = BigEndianWord(bytes + 8);
}

void SortTextKeys(std::vector<TextKey> &keys,
                  const std::function<const std::string &(uint32_t index)> &textOf)
{
    // Falling index order first (usually the keys come in rising order): the stable passes keep
    // it among equal keys.
    const auto later = [](const TextKey &a, const TextKey &b) { return a.index > b.index; };
    if (std::is_sorted(keys.rbegin(), keys.rend(), later)) {
        std::reverse(keys.begin(), keys.end());
    } else {
        std::sort(keys.begin(), keys.end(), later);
    }
    std::vector<TextKey> spare(keys.size(), keys.empty() ? TextKey(std::string(), 0) : keys[0]);
    SortByWord(keys, spare, [](const TextKey &key) { return key.low; });
    SortByWord(keys, spare, [](const TextKey &key) { return key.high; });
    // Texts that agree in 16 bytes are ordered by the rest of them.
    for (auto run = keys.begin(); run != keys.end();) {
        auto end = std::find_if(run, keys.end(), [&run](const TextKey &key) {
            return key.high != run->high || key.low != run->low;
        });
        if (end - run > 1) {
            std::stable_sort(run, end, [&textOf](const TextKey &a, const TextKey &b) {
                return textOf(a.index) < textOf(b.index);
            });
        }
        run = end;
    }
}
