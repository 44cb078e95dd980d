// A registered profile setting: where it is, what it is, and where its value goes.
#pragma once

#include <cstddef>
#include <cstdint>

class MW_String;

// Stored by value, as the key of an entry without data, in MW_Profile's key registry. Pointer
// fields have the platform's pointer size (40 bytes in all on 64-bit systems).
struct MW_ProfileKey {
    enum Flags : uint32_t { Active = 0x01, Required = 0x20, MultiValued = 0x40 };
    enum Type : uint32_t { Bool = 0, String = 1, Int = 2, Long = 3 };

    MW_String *section;
    MW_String *key;
    uint32_t flags;
    uint32_t type;
    // Scalars: a bool, an MW_String or an int32_t. Lists: an MW_Cache that receives one entry
    // per value (see MW_ProfileListValue).
    void *target;
    uint32_t minimum; // for strings the length in characters, for integers the value
    uint32_t maximum; // 0: no range check
};

// The data of one list entry: the value in the first, pointer-sized word, then the enforced
// flag. A boolean is one byte (1 or 0) at offset 0, an integer an int32_t at offset 0, a string a
// pointer to a new MW_String that belongs to the consumer of the list (destroy it with delete).
// The rest is zero. The key of the entry is a uint32_t running number, from 1 within one file's
// values.
struct MW_ProfileListValue {
    union {
        MW_String *text;
        int32_t number;
        bool flag;
        uintptr_t word;
    } value;
    uint32_t enforced;
};
static_assert(offsetof(MW_ProfileListValue, enforced) == sizeof(void *));
