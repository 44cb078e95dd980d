// Tables as text. CSV follows RFC 4180: fields separated by commas, records ended by CR LF, and a
// field that holds a comma, a quote, CR or LF is quoted with its quotes doubled. Tab-separated
// text (what spreadsheets and tickets take from the clipboard) cannot quote, so a tab, CR or LF
// inside a field becomes a blank; its lines end with LF.
#pragma once

#include <string>
#include <vector>

#include "report/ReportTable.h"

std::string CsvText(const std::vector<TableRow> &rows);
std::string TabSeparatedText(const std::vector<TableRow> &rows);
