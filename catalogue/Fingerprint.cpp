// Eight bytes at a time, little-endian whatever the machine, mixed by multiplication.
#include "catalogue/Fingerprint.h"

#include <bit>
#include <cstring>

namespace
{
constexpr uint64_t kMultiplier = 0x9e3779b97f4a7c15ull;
constexpr uint64_t kSecond = 0xbf58476d1ce4e5b9ull;

uint64_t LittleEndianWord(const char *bytes)
{
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

uint64_t Avalanche(uint64_t value)
{
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdull;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ull;
    value ^= value >> 33;
    return value;
}
} // namespace

void Fingerprint::Mix(uint64_t word)
{
    state_ = std::rotl((state_ ^ (word * kSecond)), 29) * kMultiplier;
}

void Fingerprint::Add(std::string_view bytes)
{
    length_ += bytes.size();
    std::size_t at = 0;
    while (carried_ != 0 && at < bytes.size()) {
        carry_ |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[at++])) << (8 * carried_);
        if (++carried_ == 8) {
            Mix(carry_);
            carry_ = 0;
            carried_ = 0;
        }
    }
    for (; at + 8 <= bytes.size(); at += 8) {
        Mix(LittleEndianWord(bytes.data() + at));
    }
    for (; at < bytes.size(); ++at) {
        carry_ |= static_cast<uint64_t>(static_cast<unsigned char>(bytes[at])) << (8 * carried_++);
    }
}

uint64_t Fingerprint::Value() const
{
    Fingerprint last = *this;
    last.Mix(last.carry_ ^ (static_cast<uint64_t>(last.carried_) << 56));
    return Avalanche(last.state_ ^ length_);
}

uint64_t Fingerprint::Of(std::string_view bytes, uint64_t seed)
{
    Fingerprint fingerprint(seed);
    fingerprint.Add(bytes);
    return fingerprint.Value();
}
