#include "tree/TitleShortener.h"

#include "mwlib/MW_Text.h"

namespace
{

constexpr const char *kEllipsis = " ... ";

// Cuts never split a UTF-8 sequence: a cut point is where whole characters end.
bool IsCutPoint(const std::string &text, size_t pos)
{
    return MW_Text::WholeCharacters(text, pos) == pos;
}

} // namespace

std::string ShortenInMiddle(const std::string &text, int barWidth,
                            const std::function<int(const std::string &)> &textWidth)
{
    if (textWidth(text) <= barWidth) {
        return text;
    }
    const int half = (barWidth - textWidth(kEllipsis)) / 2;
    if (half < 1) {
        return "-";
    }
    size_t headLength = 0;
    for (size_t n = 1; n < text.size(); ++n) {
        if (IsCutPoint(text, n) && textWidth(text.substr(0, n)) < half) {
            headLength = n;
        } else if (IsCutPoint(text, n)) {
            break;
        }
    }
    size_t tailLength = 0;
    for (size_t n = 1; n <= text.size(); ++n) {
        size_t start = text.size() - n;
        if (IsCutPoint(text, start) && textWidth(text.substr(start)) < half) {
            tailLength = n;
        } else if (IsCutPoint(text, start)) {
            break;
        }
    }
    return text.substr(0, headLength) + kEllipsis + text.substr(text.size() - tailLength);
}
