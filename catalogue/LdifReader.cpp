// LDIF content records: logical lines, attribute lines and their values.
#include "catalogue/LdifReader.h"

#include <strings.h>

#include "catalogue/LdifLine.h"

namespace
{
bool Named(const std::string &description, const char *name)
{
    return strcasecmp(description.c_str(), name) == 0;
}
} // namespace

LdifReader::LdifReader(std::string_view text) : text_(text) {}

bool LdifReader::NextPhysicalLine(std::string_view &line)
{
    if (at_ >= text_.size()) {
        return false;
    }
    std::size_t end = text_.find('\n', at_);
    lineEnded_ = end != std::string_view::npos;
    const std::size_t next = end == std::string_view::npos ? text_.size() : end + 1;
    end = end == std::string_view::npos ? text_.size() : end;
    if (end > at_ && text_[end - 1] == '\r') {
        --end;
    }
    line = text_.substr(at_, end - at_);
    at_ = next;
    ++lineNumber_;
    return true;
}

// The lines of the next record, folded lines joined and comments dropped; false at the end of
// the text. Blank lines before the record are skipped.
bool LdifReader::ReadLogicalLines(std::vector<std::string> &lines)
{
    lines.clear();
    endedCleanly_ = false;
    bool inComment = false;
    std::string_view line;
    for (std::size_t lineStart = at_; NextPhysicalLine(line); lineStart = at_) {
        if (line.empty()) {
            inComment = false;
            if (lines.empty()) {
                continue;
            }
            // A blank line that the text cuts off ("\r" of a "\r\n") does not end the entry.
            endedCleanly_ = lineEnded_;
            return true;
        }
        const bool continuation = line[0] == ' ';
        if (continuation && inComment) {
            continue;
        }
        if (continuation && !lines.empty()) {
            lines.back().append(line.substr(1));
            entryEnd_ = at_;
            continue;
        }
        // A continuation of nothing is kept as a line of its own, which ParseLine refuses.
        inComment = line[0] == '#';
        if (inComment) {
            continue;
        }
        if (lines.empty()) {
            entryOffset_ = lineStart;
            recordLine_ = lineNumber_;
        }
        lines.emplace_back(line);
        entryEnd_ = at_;
    }
    return !lines.empty();
}

bool LdifReader::ParseLine(const std::string &line, LdifAttribute &attribute)
{
    const std::optional<LdifLine> split = LdifLine::Split(line);
    std::optional<std::string> value = split ? split->Decoded() : std::nullopt;
    if (!value) {
        return false;
    }
    attribute.description = std::string(split->description);
    attribute.value = std::move(*value);
    return true;
}

LdifReader::Step LdifReader::Failed(std::string why)
{
    fault_ = "line " + std::to_string(recordLine_) + ": " + std::move(why);
    at_ = text_.size();
    return Step::Fault;
}

LdifReader::Step LdifReader::Next(LdifEntry &entry)
{
    if (!fault_.empty()) {
        return Step::Fault;
    }
    std::vector<std::string> lines;
    if (!ReadLogicalLines(lines)) {
        return Step::End;
    }
    std::size_t first = 0;
    LdifAttribute attribute;
    if (first_ && ParseLine(lines[0], attribute) && Named(attribute.description, "version")) {
        if (attribute.value != "1") {
            return Failed("unknown LDIF version " + attribute.value);
        }
        first = 1;
        if (lines.size() == 1) {
            first_ = false;
            return Next(entry);
        }
    }
    first_ = false;
    if (!ParseLine(lines[first], attribute) || !Named(attribute.description, "dn")) {
        return Failed("an entry must begin with a dn line");
    }
    entry.dn = std::move(attribute.value);
    entry.attributes.clear();
    for (std::size_t i = first + 1; i < lines.size(); ++i) {
        if (!ParseLine(lines[i], attribute)) {
            return Failed("not an attribute line: " + lines[i].substr(0, 60));
        }
        if (Named(attribute.description, "changetype") || Named(attribute.description, "control")) {
            return Failed("a change record, not an entry");
        }
        entry.attributes.push_back(std::move(attribute));
    }
    return Step::Entry;
}
