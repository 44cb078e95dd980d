// Sorting rows by their texts in byte order (strcmp) without reading the texts again and again:
// each text is represented by its first 16 bytes as two big-endian words.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TextKey {
    uint64_t high;  // bytes 0 to 7 of the text, zero-padded
    uint64_t low;   // bytes 8 to 15
    uint32_t index; // whose text: a position in the caller's list

    TextKey(const std::string &text, uint32_t index);

    // < 0, 0 or > 0 as strcmp of the texts; the texts are asked for only when 16 bytes agree.
    template <typename TextA, typename TextB>
    static int Compare(const TextKey &a, const TextA &aText, const TextKey &b, const TextB &bText)
    {
        if (a.high != b.high) {
            return a.high < b.high ? -1 : 1;
        }
        if (a.low != b.low) {
            return a.low < b.low ? -1 : 1;
        }
        return aText().compare(bText());
    }
};

// Sorts the keys by text, and equal texts by falling index (the later arrival first), with a
// radix sort over the bits in which the keys differ. textOf(index) gives a key's whole text, for
// the rare texts that agree in their first 16 bytes.
void SortTextKeys(std::vector<TextKey> &keys,
                  const std::function<const std::string &(uint32_t index)> &textOf);
