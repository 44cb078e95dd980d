#include "restore/ComparisonTable.h"

#include <algorithm>

#include "toolkit/TableBox.h"

namespace
{
// The values of a side on one line, as a cell shows them.
std::string OneLine(const std::vector<std::string> &values)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string shown = AttributeComparison::Shown(values[i]);
        std::replace(shown.begin(), shown.end(), '\n', ' ');
        text += (i == 0 ? "" : "; ") + shown;
    }
    return text;
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
        table.AddRow({line.name, OneLine(line.backup), OneLine(line.live), difference},
                     {line.name, AttributeComparison::ShownValues(line.backup),
                      AttributeComparison::ShownValues(line.live), difference});
    }
    table.FitColumns();
}
