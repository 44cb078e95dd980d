// One line, row or record per object found.
#include "cli/FoundReport.h"

#include <algorithm>

#include "report/TextColumns.h"
#include "report/DelimitedText.h"
#include "report/JsonText.h"

namespace
{
const char *KindName(const FoundObject &object)
{
    return object.container ? "container" : "leaf";
}

const char *StateName(const FoundObject &object)
{
    return object.present ? "present" : "deleted";
}

std::string Text(const std::vector<FoundObject> &found)
{
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"OBJECT", "KIND", "STATE"});
    for (const FoundObject &object : found) {
        rows.push_back({object.fullName, KindName(object), StateName(object)});
    }
    return TextColumns::Render(std::move(rows)) + FoundReport::Summary(found) + "\n";
}

std::string Csv(const std::vector<FoundObject> &found)
{
    std::vector<TableRow> rows;
    rows.reserve(found.size() + 1);
    rows.push_back({"object", "kind", "state"});
    for (const FoundObject &object : found) {
        rows.push_back({object.fullName, KindName(object), StateName(object)});
    }
    return CsvText(rows);
}

std::string Json(const std::vector<FoundObject> &found)
{
    std::string json = "[";
    for (std::size_t i = 0; i < found.size(); ++i) {
        json += i == 0 ? "\n" : ",\n";
        json += "  {\"object\": " + JsonString(found[i].fullName) +
                ", \"kind\": " + JsonString(KindName(found[i])) +
                ", \"state\": " + JsonString(StateName(found[i])) + "}";
    }
    return json + (found.empty() ? "]\n" : "\n]\n");
}
} // namespace

std::string FoundReport::Render(OutputFormat format, const std::vector<FoundObject> &found)
{
    switch (format) {
    case OutputFormat::Csv:
        return Csv(found);
    case OutputFormat::Json:
        return Json(found);
    case OutputFormat::Text:
    case OutputFormat::Objects: // only a change report takes it
        break;
    }
    return Text(found);
}

std::string FoundReport::Summary(const std::vector<FoundObject> &found)
{
    const auto deleted = std::count_if(found.begin(), found.end(),
                                       [](const FoundObject &object) { return !object.present; });
    return std::to_string(found.size()) + " found, " + std::to_string(deleted) + " of them deleted";
}
