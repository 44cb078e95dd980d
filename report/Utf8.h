// Walking UTF-8 text one character at a time, telling well-formed sequences from stray bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The length of the well-formed UTF-8 sequence that starts at text[at], or 0 when the bytes
// there are not one (a stray continuation byte, a cut, over-long or surrogate sequence).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// Appends the code point (at most U+10FFFF, no surrogate) in UTF-8.
void AppendUtf8(std::string &out, char32_t codePoint);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;
