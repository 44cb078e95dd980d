// Reads back the entries that a profile list read appended to a cache, freeing their strings and
// emptying the cache.
#pragma once

#include "CacheProbe.h"

#include "mwlib/MW_Cache.h"
#include "mwlib/MW_ProfileKey.h"
#include "mwlib/MW_String.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

struct ListItem {
    uint32_t number;
    std::string value; // strings as they are, numbers and booleans in decimal
    uint32_t enforced;
    bool operator==(const ListItem &) const = default;
};

inline std::ostream &operator<<(std::ostream &out, const ListItem &item)
{
    return out << '{' << item.number << ", \"" << item.value << "\", " << item.enforced << '}';
}

inline std::vector<ListItem> TakeList(MW_Cache &cache, uint32_t type)
{
    std::vector<ListItem> items;
    ForEachEntry(cache, [&](const CacheEntryResult_T &result) {
        ListItem item{};
        std::memcpy(&item.number, result.SearchKey, sizeof item.number);
        MW_ProfileListValue entry;
        EXPECT_EQ(result.DS, sizeof entry);
        std::memcpy(&entry, result.Data, sizeof entry);
        if (type == MW_ProfileKey::String) {
            item.value = entry.value.text->Text();
            delete entry.value.text;
        } else if (type == MW_ProfileKey::Bool) {
            item.value = std::to_string(static_cast<int>(entry.value.flag));
        } else {
            item.value = std::to_string(entry.value.number);
        }
        item.enforced = entry.enforced;
        items.push_back(item);
    });
    while (cache.Count() > 0)
        cache.Delete(0, nullptr); // a key of size 0 matches the first entry
    return items;
}
