// Aligned columns: widths count characters, not the bytes of UTF-8.
#include "cli/TextReport.h"

#include <algorithm>
#include <array>

namespace
{
constexpr std::size_t kColumns = 5;
constexpr std::size_t kGap = 2;

std::size_t Width(const std::string &text)
{
    // Every byte but a UTF-8 continuation byte starts a character.
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::array<std::string, kColumns> Cells(const ObjectReport &report)
{
    return {report.fullName, report.version, ObjectReport::ScopeName(report.scope),
            ObjectReport::OutcomeName(report.outcome), report.message};
}

// Only what a person can read: control characters of a server's message become blanks.
std::string Printable(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c >= 0 && c < ' '; }, ' ');
    return text;
}
} // namespace

std::string TextReport::Render(const std::vector<ObjectReport> &reports, bool dryRun)
{
    std::vector<std::array<std::string, kColumns>> rows;
    rows.push_back({"OBJECT", "VERSION", "SCOPE", "OUTCOME", "MESSAGE"});
    for (const ObjectReport &report : reports) {
        rows.push_back(Cells(report));
        for (std::string &cell : rows.back()) {
            cell = Printable(std::move(cell));
        }
    }
    std::array<std::size_t, kColumns> widths{};
    for (const auto &row : rows) {
        for (std::size_t column = 0; column < kColumns; ++column) {
            widths[column] = std::max(widths[column], Width(row[column]));
        }
    }
    std::string text;
    for (const auto &row : rows) {
        std::string line;
        for (std::size_t column = 0; column < kColumns; ++column) {
            line += row[column];
            if (column + 1 < kColumns) {
                line.append(widths[column] - Width(row[column]) + kGap, ' ');
            }
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + "\n";
    }
    return text + Summary(reports, dryRun) + "\n";
}

std::string TextReport::Summary(const std::vector<ObjectReport> &reports, bool dryRun)
{
    using Outcome = ObjectReport::Outcome;
    const auto count = [&reports](Outcome outcome) {
        return std::to_string(
            std::count_if(reports.begin(), reports.end(), [outcome](const ObjectReport &report) {
                return report.outcome == outcome;
            }));
    };
    std::string summary = dryRun ? count(Outcome::WouldRestore) + " would be restored"
                                 : count(Outcome::Restored) + " restored";
    summary += ", " + count(Outcome::Failed) + " failed, " + count(Outcome::Skipped) + " skipped";
    if (count(Outcome::NotFound) != "0") {
        summary += ", " + count(Outcome::NotFound) + " not found";
    }
    return summary;
}
