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

// Every entry in iteration order, through one complete GetNext pass.
inline std::vector<CacheItem> Contents(MW_Cache &cache)
{
    std::vector<CacheItem> items;
    uint32_t iterator = MW_Cache::NewPass;
    do {
        CacheEntryResult_T *result = nullptr;
        cache.GetNext(&iterator, &result);
        if (!result)
            break;
        items.emplace_back(std::string(static_cast<const char *>(result->SearchKey), result->SKS),
                           result->Data
                               ? std::string(static_cast<const char *>(result->Data), result->DS)
                               : std::string());
        cache.FreeResult(&result);
    } while (iterator != MW_Cache::NewPass);
    return items;
}
