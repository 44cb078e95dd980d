// Matching a name against a pattern character by character (UTF-8 decoded), both folded to
// lower case, with the wildcards found by backtracking to the last `*`.
#include "server/SearchPattern.h"

#include <cstdint>

namespace
{
// Outside Unicode, so no character of a name can equal them.
constexpr char32_t AnyRun = 0x110000;
constexpr char32_t AnyOne = 0x110001;
// A byte that does not begin a valid UTF-8 character stands for itself, here.
constexpr char32_t StrayByte = 0x120000;

char32_t Continuation(std::string_view text, std::size_t at, std::size_t count, char32_t value)
{
    for (std::size_t i = 1; i <= count; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if ((byte & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte & 0x3F);
    }
    return value;
}

// The character at `at`, and how many bytes it takes.
char32_t Decode(std::string_view text, std::size_t at, std::size_t &length)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    length = 1;
    std::size_t more = 0;
    char32_t value = lead;
    if (lead < 0x80) {
        return value;
    }
    if ((lead & 0xE0) == 0xC0) {
        more = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3;
        value = lead & 0x07;
    }
    if (more == 0 || at + more >= text.size()) {
        return StrayByte + lead;
    }
    const char32_t decoded = Continuation(text, at, more, value);
    if (decoded == 0) {
        return StrayByte + lead;
    }
    length = more + 1;
    return decoded;
}

// Lower case for the scripts directory names are mostly written in: Latin, Greek, Cyrillic.
char32_t Fold(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
                           (c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF);
    if (evenUpper && c % 2 == 0) {
        return c + 1;
    }
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddUpper && c % 2 == 1) {
        return c + 1;
    }
    switch (c) {
    case 0x178:
        return 0xFF;
    case 0x386:
        return 0x3AC;
    case 0x388:
    case 0x389:
    case 0x38A:
        return c + 0x25;
    case 0x38C:
        return 0x3CC;
    case 0x38E:
    case 0x38F:
        return c + 0x3F;
    default:
        return c;
    }
}

std::vector<char32_t> Folded(std::string_view text)
{
    std::vector<char32_t> folded;
    folded.reserve(text.size());
    for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
        folded.push_back(Fold(Decode(text, at, length)));
    }
    return folded;
}
} // namespace

SearchPattern::SearchPattern(std::string_view typed) : text_(typed)
{
    wildcards_ = text_.find_first_of("*?") != std::string::npos;
    if (!wildcards_) {
        folded_.push_back(AnyRun);
    }
    for (char32_t c : Folded(text_)) {
        folded_.push_back(c == '*' ? AnyRun : c == '?' ? AnyOne : c);
    }
    if (!wildcards_) {
        folded_.push_back(AnyRun);
    }
}

bool SearchPattern::Matches(std::string_view name) const
{
    const std::vector<char32_t> text = Folded(name);
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t lastRun = folded_.size(); // none yet
    std::size_t resumeAt = 0;
    while (n < text.size()) {
        if (p < folded_.size() && folded_[p] == AnyRun) {
            lastRun = p++;
            resumeAt = n;
        } else if (p < folded_.size() && (folded_[p] == AnyOne || folded_[p] == text[n])) {
            ++p;
            ++n;
        } else if (lastRun != folded_.size()) {
            // The last `*` takes one more character and the rest is tried again.
            p = lastRun + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < folded_.size() && folded_[p] == AnyRun) {
        ++p;
    }
    return p == folded_.size();
}

SearchPattern::Literals SearchPattern::LiteralRuns() const
{
    Literals literals;
    literals.anchoredStart = wildcards_ && text_.find_first_of("*?") != 0;
    literals.anchoredEnd = wildcards_ && text_.find_last_of("*?") != text_.size() - 1;
    std::size_t start = 0;
    while (start <= text_.size()) {
        std::size_t end = text_.find_first_of("*?", start);
        if (end == std::string::npos) {
            end = text_.size();
        }
        if (end > start) {
            literals.runs.push_back(text_.substr(start, end - start));
        }
        start = end + 1;
    }
    return literals;
}
