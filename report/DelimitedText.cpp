#include "report/DelimitedText.h"

namespace
{

void AppendCsvField(std::string &out, const std::string &field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

void AppendTabField(std::string &out, const std::string &field)
{
    for (char c : field) {
        out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
}

template <typename AppendField>
std::string Join(const std::vector<TableRow> &rows, char separator, const char *lineEnd,
                 AppendField appendField)
{
    std::string out;
    for (const TableRow &row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) {
                out += separator;
            }
            appendField(out, row[i]);
        }
        out += lineEnd;
    }
    return out;
}

} // namespace

std::string CsvText(const std::vector<TableRow> &rows)
{
    return Join(rows, ',', "\r\n", AppendCsvField);
}

std::string TabSeparatedText(const std::vector<TableRow> &rows)
{
    return Join(rows, '\t', "\n", AppendTabField);
}
