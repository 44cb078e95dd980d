// Finding each record of a dump in a buffer refilled from the source, and checking its lines.
#include "catalogue/LdifScanner.h"

#include <algorithm>
#include <cstring>

#include "catalogue/AsciiCase.h"
#include "catalogue/Base64.h"
#include "catalogue/Fingerprint.h"
#include "catalogue/LdifLine.h"

namespace
{
constexpr std::size_t kReadSize = 1 << 20;

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = LowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The 16 bytes of a UUID's text ("8-4-4-4-12" hex digits); empty when it is not one.
std::string UuidBytes(std::string_view text)
{
    std::string bytes;
    int high = -1;
    for (char c : text) {
        if (c == '-') {
            continue;
        }
        const int value = HexValue(c);
        if (value < 0) {
            return {};
        }
        if (high < 0) {
            high = value;
        } else {
            bytes += static_cast<char>(high * 16 + value);
            high = -1;
        }
    }
    return bytes.size() == 16 && high < 0 ? bytes : std::string();
}
} // namespace

LdifScanner::LdifScanner(DumpSource &source) : source_(source), buffer_(4 * kReadSize) {}

LdifScanner::Step LdifScanner::Failed(std::string why)
{
    fault_ = "line " + std::to_string(recordStartLine_ + firstLine_ + 1) + ": " + std::move(why);
    return Step::Fault;
}

bool LdifScanner::Fill()
{
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() - end_ < kReadSize) {
        buffer_.resize(std::max(buffer_.size() * 2, end_ + kReadSize));
    }
    const std::size_t got = source_.Read(buffer_.data() + end_, buffer_.size() - end_);
    end_ += got;
    if (got == 0) {
        sourceEnded_ = true;
        if (!source_.Fault().empty()) {
            fault_ = source_.Fault();
        }
    }
    return got > 0;
}

// A record is its lines up to the first empty line after a line that is neither empty nor a
// comment; empty lines and comments before it are passed over.
bool LdifScanner::FindRecord(std::string_view &raw, bool &cleanly)
{
    std::size_t scan = 0;  // from begin_: where the next line begins
    std::size_t start = 0; // from begin_: where the record begins
    std::size_t lines = 0; // physical lines from begin_ to scan
    std::size_t startLines = 0;
    bool content = false;
    bool inComment = false;
    for (;;) {
        const char *at = buffer_.data() + begin_ + scan;
        const std::size_t left = end_ - begin_ - scan;
        const char *newline = static_cast<const char *>(std::memchr(at, '\n', left));
        if (newline == nullptr && !sourceEnded_) {
            Fill();
            if (!fault_.empty()) {
                return false;
            }
            continue;
        }
        if (left == 0) {
            recordStartLine_ = lineNumber_ + startLines;
            raw = std::string_view(buffer_.data() + begin_ + start, scan - start);
            lineNumber_ += lines;
            begin_ = end_;
            cleanly = false;
            return content;
        }
        const std::size_t length = newline != nullptr ? newline - at : left;
        const std::size_t next = scan + length + (newline != nullptr ? 1 : 0);
        const bool blank = length == 0 || (length == 1 && at[0] == '\r');
        ++lines;
        if (blank) {
            inComment = false;
            if (content) {
                recordStartLine_ = lineNumber_ + startLines;
                raw = std::string_view(buffer_.data() + begin_ + start, scan - start);
                cleanly = newline != nullptr; // not the "\r" of a "\r\n" that the text cuts off
                lineNumber_ += lines;
                begin_ += next;
                return true;
            }
            start = next;
            startLines = lines;
        } else if (at[0] == '#') {
            inComment = true;
        } else if (at[0] != ' ' || !inComment) {
            inComment = false;
            content = true;
        }
        scan = next;
    }
}

void LdifScanner::Unfold(std::string_view raw)
{
    lines_.clear();
    lineStarts_.clear();
    folded_.clear();
    textEnd_ = 0;
    firstLine_ = 0;
    bool inComment = false;
    std::size_t physical = 0;
    for (std::size_t at = 0; at < raw.size(); ++physical) {
        std::size_t end = raw.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? raw.size() : end + 1;
        end = end == std::string_view::npos ? raw.size() : end;
        if (end > at && raw[end - 1] == '\r') {
            --end;
        }
        const std::string_view line = raw.substr(at, end - at);
        const std::size_t lineStart = at;
        at = next;
        if (line.empty() || (line[0] == ' ' && inComment)) {
            continue;
        }
        if (line[0] == '#') {
            inComment = true;
            continue;
        }
        inComment = false;
        if (line[0] == ' ' && !lines_.empty()) {
            // A fold: the line goes on. Joined lines are kept apart from the buffer.
            if (folded_.empty() || lines_.back().data() != folded_.back().data()) {
                folded_.emplace_back(lines_.back());
            }
            folded_.back().append(line.substr(1));
            lines_.back() = folded_.back();
        } else {
            // A continuation of nothing stays a line of its own, which no check takes.
            if (lines_.empty()) {
                firstLine_ = physical;
            }
            lines_.push_back(line);
            lineStarts_.push_back(lineStart);
        }
        textEnd_ = next;
    }
}

LdifScanner::Step LdifScanner::Next(DumpRecord &record)
{
    for (;;) {
        std::string_view raw;
        if (!fault_.empty()) {
            return Step::Fault;
        }
        if (!FindRecord(raw, record.endedCleanly)) {
            return fault_.empty() ? Step::End : Step::Fault;
        }
        Unfold(raw);
        std::size_t first = 0;
        if (first_) {
            first_ = false;
            const std::optional<LdifLine> version = LdifLine::Split(lines_[0]);
            if (version && version->Names("version")) {
                if (version->value != "1") {
                    return Failed("unknown LDIF version " + std::string(version->value));
                }
                if (lines_.size() == 1) {
                    continue;
                }
                first = 1;
            }
        }
        record.text = raw.substr(lineStarts_[first], textEnd_ - lineStarts_[first]);
        return Parse(first, record);
    }
}

LdifScanner::Step LdifScanner::Parse(std::size_t first, DumpRecord &record)
{
    const std::optional<LdifLine> dn = LdifLine::Split(lines_[first]);
    if (!dn || !dn->Names("dn") || (dn->base64 && !IsBase64(dn->value))) {
        return Failed("an entry must begin with a dn line");
    }
    if (dn->base64) {
        record.dn = *dn->Decoded();
    } else {
        record.dn.assign(dn->value);
    }
    record.dnLine = lines_[first];
    dnLine_ = first;
    Fingerprint fingerprint;
    for (std::size_t i = first; i < lines_.size(); ++i) {
        fingerprint.Add(lines_[i]);
        fingerprint.Add("\n");
        if (i == first) {
            continue;
        }
        const std::optional<LdifLine> line = LdifLine::Split(lines_[i]);
        if (!line || (line->base64 && !IsBase64(line->value))) {
            return Failed("not an attribute line: " + std::string(lines_[i].substr(0, 60)));
        }
        const char initial = LowerAscii(line->description.front());
        if ((initial == 'c' && (line->Names("changetype") || line->Names("control")))) {
            return Failed("a change record, not an entry");
        }
    }
    record.fingerprint = fingerprint.Value();
    return Step::Record;
}

void LdifScanner::Describe(std::string &classes, std::string &identity)
{
    using namespace std::string_view_literals;
    classes_.clear();
    identity.clear();
    for (std::size_t i = dnLine_ + 1; i < lines_.size(); ++i) {
        const std::optional<LdifLine> line = LdifLine::Split(lines_[i]);
        if (!line) {
            continue;
        }
        if (line->Names("objectClass"sv)) {
            if (std::optional<std::string> value = line->Decoded()) {
                classes_.push_back(LowerAscii(*value));
            }
        } else if (line->Names("entryUUID"sv) && !line->base64) {
            identity = UuidBytes(line->value);
        } else if (line->Names("objectGUID"sv)) {
            std::optional<std::string> value = line->Decoded();
            if (value && value->size() == 16) {
                identity = std::move(*value);
            }
        }
    }
    std::sort(classes_.begin(), classes_.end());
    classes_.erase(std::unique(classes_.begin(), classes_.end()), classes_.end());
    classes.clear();
    for (const std::string &name : classes_) {
        classes += (classes.empty() ? "" : " ") + name;
    }
}
