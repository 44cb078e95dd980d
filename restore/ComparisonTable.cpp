#include "restore/ComparisonTable.h"

#include <algorithm>

#include "toolkit/TableBox.h"

namespace
{
// A value as a cell shows it, on one line.
std::string OneLine(std::string_view value)
{
    std::string shown = AttributeComparison::Shown(value);
    std::replace(shown.begin(), shown.end(), '\n', ' ');
    return shown;
}

// A side of a row with at most one value.
std::string Cell(const std::vector<std::string> &values)
{
    return values.empty() ? std::string() : OneLine(values.front());
}

std::string WholeCell(const std::vector<std::string> &values)
{
    return values.empty() ? std::string() : AttributeComparison::Shown(values.front());
}
} // namespace

void ComparisonTable::SetColumns(TableBox &table)
{
    table.SetColumns({"Attribute", "Backup", "Live", "Difference"});
}

void ComparisonTable::Fill(TableBox &table, const std::vector<ComparedAttribute> &compared,
                           bool showSame)
{
    table.Clear();
    for (const ComparedAttribute &line : compared) {
        if (line.difference == AttributeDifference::Same && !showSame) {
            continue;
        }
        const std::string difference = AttributeComparison::Text(line.difference);
        if (line.secret) {
            table.AddRow({line.name, AttributeComparison::ShownSecret(line.backup),
                          AttributeComparison::ShownSecret(line.live), difference});
        } else if (line.backup.size() > 1 || line.live.size() > 1) {
            AddValueRows(table, line);
        } else {
            table.AddRow({line.name, Cell(line.backup), Cell(line.live), difference},
                         {line.name, WholeCell(line.backup), WholeCell(line.live), difference});
        }
    }
    table.FitColumns();
}

// Side by side in one cell, two lists of values cut at the width of the column would hide
// their difference.
void ComparisonTable::AddValueRows(TableBox &table, const ComparedAttribute &attribute)
{
    for (const ComparedValue &value : AttributeComparison::Values(attribute)) {
        const bool inBackup = value.place != AttributeDifference::OnlyLive;
        const bool live = value.place != AttributeDifference::OnlyInBackup;
        const std::string shown = OneLine(value.value);
        const std::string whole = AttributeComparison::Shown(value.value);
        const std::string place = AttributeComparison::PlaceText(value.place);
        table.AddRow({attribute.name, inBackup ? shown : "", live ? shown : "", place},
                     {attribute.name, inBackup ? whole : "", live ? whole : "", place});
    }
}
