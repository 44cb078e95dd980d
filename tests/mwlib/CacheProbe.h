// Small helpers that read an MW_Cache back as text, so tests can compare whole contents.
#pragma once

#include "mwlib/MW_Cache.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using CacheItem = std::pair<std::string, std::string>; // key bytes, data bytes

inline int32_t StoreText(MW_Cache &cache, const std::string &key, const std::string &data)
{
    return cache.Store(static_cast<uint32_t>(key.size()), key.data(),
                       static_cast<uint32_t>(data.size()), data.data());
}

struct Found {
    int32_t result;
    uint32_t size;
    bool dataNull;
    std::string data;
};

inline Found SearchText(MW_Cache &cache, const std::string &key)
{
    uint32_t size = 12345;
    void *data = &size; // must be overwritten
    Found found{};
    found.result = cache.Search(static_cast<uint32_t>(key.size()), key.data(), &size, &data);
    found.size = size;
    found.dataNull = data == nullptr;
    if (data)
        found.data.assign(static_cast<const char *>(data), size);
    MW_Cache::FreeData(data);
    return found;
}

inline int32_t DeleteText(MW_Cache &cache, const std::string &key)
{
    return cache.Delete(static_cast<uint32_t>(key.size()), key.data());
}

// Calls visit(result) for every entry, in one complete GetNext pass, freeing each result after.
template <typename Visit> void ForEachEntry(MW_Cache &cache, Visit visit)
{
    uint32_t iterator = MW_Cache::NewPass;
    do {
        CacheEntryResult_T *result = nullptr;
        cache.GetNext(&iterator, &result);
        if (!result)
            break;
        visit(*result);
        cache.FreeResult(&result);
    } while (iterator != MW_Cache::NewPass);
}

inline std::string Bytes(const void *data, uint32_t size)
{
    return data ? std::string(static_cast<const char *>(data), size) : std::string();
}

// Every entry in iteration order.
inline std::vector<CacheItem> Contents(MW_Cache &cache)
{
    std::vector<CacheItem> items;
    ForEachEntry(cache, [&](const CacheEntryResult_T &entry) {
        items.emplace_back(Bytes(entry.SearchKey, entry.SKS), Bytes(entry.Data, entry.DS));
    });
    return items;
}
