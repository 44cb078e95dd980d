// Comparisons of narrow texts that ignore the case of the letters A to Z (and nothing else).
#include "mwlib/MW_Text.h"

bool MW_Text::SameIgnoringCase(const char *a, const char *b, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

bool MW_Text::EqualIgnoringCase(const char *a, const char *b)
{
    for (;; ++a, ++b) {
        if (FoldCase(*a) != FoldCase(*b))
            return false;
        if (*a == '\0')
            return true;
    }
}

bool MW_Text::StartsIgnoringCase(const char *text, const char *prefix)
{
    for (; *prefix; ++text, ++prefix) {
        if (FoldCase(*text) != FoldCase(*prefix)) // also stops at the end of text
            return false;
    }
    return true;
}

std::size_t MW_Text::WholeCharacters(std::string_view text, std::size_t limit)
{
    if (limit >= text.size()) {
        return text.size();
    }
    // A byte 10xxxxxx continues a sequence: the cut goes before the byte that began it.
    std::size_t length = limit;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return length;
}
