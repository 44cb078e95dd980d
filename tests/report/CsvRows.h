// A reader of RFC 4180 CSV written for the tests, apart from the program's writer: records end
// with CR LF, a quoted field may hold anything, a quote inside it is doubled. Anything else
// (a bare LF, a stray quote, text after a closing quote) makes the whole text unreadable.
#pragma once

#include <optional>
#include <string>
#include <vector>

inline std::optional<std::vector<std::vector<std::string>>> ReadCsv(const std::string &text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            ++i;
            for (;; ++i) {
                if (i >= text.size()) {
                    return std::nullopt;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i];
            }
        } else {
            while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                if (text[i] == '"') {
                    return std::nullopt;
                }
                field += text[i++];
            }
        }
        if (i < text.size() && text[i] == ',') {
            row.push_back(std::move(field));
            field.clear();
            ++i;
        } else if (text.compare(i, 2, "\r\n") == 0) {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    if (!row.empty() || !field.empty()) {
        return std::nullopt; // the last record has no line end
    }
    return rows;
}
