// A 64-bit fingerprint of bytes given in pieces: the same bytes give the same value however they
// are cut, in every run and on every machine, since the index keeps it on disk. It tells
// versions apart; it is no defence against someone who makes two texts collide on purpose.
#pragma once

#include <cstdint>
#include <string_view>

class Fingerprint
{
  public:
    explicit Fingerprint(uint64_t seed = 0) : state_(seed ^ 0x6a09e667f3bcc908ull) {}

    void Add(std::string_view bytes);
    uint64_t Value() const;

    static uint64_t Of(std::string_view bytes, uint64_t seed = 0);

  private:
    void Mix(uint64_t word);

    uint64_t state_;
    uint64_t carry_ = 0;   // bytes not yet making a whole word, low byte first
    unsigned carried_ = 0; // how many
    uint64_t length_ = 0;
};
