// Aligned columns.
#include "report/TextColumns.h"

#include <algorithm>

namespace
{
constexpr std::size_t kGap = 2;

std::size_t Width(const std::string &text)
{
    // Every byte but a UTF-8 continuation byte starts a character.
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Only what a person can read: control characters of a server's text become blanks.
std::string Printable(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; }, ' ');
    return text;
}
} // namespace

std::string TextColumns::Render(std::vector<std::vector<std::string>> rows)
{
    const std::size_t columns = rows.empty() ? 0 : rows.front().size();
    std::vector<std::size_t> widths(columns, 0);
    for (auto &row : rows) {
        row.resize(columns);
        for (std::size_t column = 0; column < columns; ++column) {
            row[column] = Printable(std::move(row[column]));
            widths[column] = std::max(widths[column], Width(row[column]));
        }
    }
    std::string text;
    for (const auto &row : rows) {
        std::string line;
        for (std::size_t column = 0; column < columns; ++column) {
            line += row[column];
            if (column + 1 < columns) {
                line.append(widths[column] - Width(row[column]) + kGap, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text;
}
