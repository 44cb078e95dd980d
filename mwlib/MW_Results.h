// Result codes shared by the support library's operations (0 success, negative failures).
#pragma once

#include <cstdint>

constexpr int32_t MW_OK = 0;
constexpr int32_t MW_NOMEM = -1;       // memory could not be obtained, or nothing available
constexpr int32_t MW_NOTFOUND = -2;    // no entry has the key / the key is not in the profile
constexpr int32_t MW_NOTACCEPTED = -3; // value not acceptable
constexpr int32_t MW_NOTOPENED = -4;   // file not opened
constexpr int32_t MW_NOTCREATED = -5;  // object not created
