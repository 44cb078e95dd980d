// Writing a change report.
#include "changes/ChangeFormats.h"

#include "changes/ChangeCounts.h"
#include "changes/ChangeFilter.h"
#include "changes/ChangeMarks.h"
#include "report/DelimitedText.h"
#include "report/JsonText.h"
#include "report/TextColumns.h"

namespace
{
std::string Joined(const std::vector<std::string> &names)
{
    std::string joined;
    for (const std::string &name : names) {
        joined += (joined.empty() ? "" : ", ") + name;
    }
    return joined;
}
} // namespace

std::vector<std::string> ChangeFormats::Header()
{
    return {"object", "kind", "change", "old name", "attributes", "deleted"};
}

std::vector<std::string> ChangeFormats::Cells(const ObjectChange &row, const TimeText &timeText)
{
    return {row.fullName,
            row.container ? "container" : "leaf",
            ChangeFilter::NameOf(row.change),
            row.oldName,
            Joined(row.attributes),
            row.deletedAt != 0 ? timeText(row.deletedAt) : std::string()};
}

std::string ChangeFormats::Render(ChangeFormat format, const std::vector<ObjectChange> &rows,
                                  const TimeText &timeText, const std::string &version)
{
    if (format == ChangeFormat::Json) {
        return Json(rows, timeText);
    }
    if (format == ChangeFormat::Objects) {
        return Objects(rows, version);
    }
    std::vector<TableRow> table{Header()};
    for (const ObjectChange &row : rows) {
        table.push_back(Cells(row, timeText));
    }
    switch (format) {
    case ChangeFormat::Csv:
        return CsvText(table);
    case ChangeFormat::TabSeparated:
        return TabSeparatedText(table);
    default:
        return ChangeCounts::Of(rows).Summary() + "\n" +
               (rows.empty() ? std::string() : TextColumns::Render(table));
    }
}

std::string ChangeFormats::Json(const std::vector<ObjectChange> &rows, const TimeText &timeText)
{
    std::string json = "[";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ObjectChange &row = rows[i];
        json += i == 0 ? "\n" : ",\n";
        json += "  {\"object\": " + JsonString(row.fullName) +
                ", \"kind\": " + JsonString(row.container ? "container" : "leaf") +
                ", \"change\": " + JsonString(ChangeFilter::NameOf(row.change)) +
                ", \"oldName\": " + JsonString(row.oldName) + ", \"attributes\": [";
        for (std::size_t a = 0; a < row.attributes.size(); ++a) {
            json += (a == 0 ? "" : ", ") + JsonString(row.attributes[a]);
        }
        json += "], \"deleted\": " +
                (row.deletedAt != 0 ? JsonString(timeText(row.deletedAt)) : "null") + "}";
    }
    return json + (rows.empty() ? "]\n" : "\n]\n");
}

std::string ChangeFormats::Objects(const std::vector<ObjectChange> &rows,
                                   const std::string &version)
{
    std::vector<const ObjectChange *> pointers;
    for (const ObjectChange &row : rows) {
        pointers.push_back(&row);
    }
    std::vector<UnmarkedChange> unmarked;
    std::string lines;
    for (const ChangeMark &mark : ChangeMarks::Of(pointers, unmarked)) {
        lines += ChangeMarks::ObjectLine(mark, version) + "\n";
    }
    return lines;
}
