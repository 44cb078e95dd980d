// Reads the entries of a dump one at a time, holding only the entry being read (and a buffer)
// in memory, however large the dump. Each entry is checked as the reader of whole entries would
// check it, and handed out with what the index keeps of it: its text, its name, a fingerprint of
// its lines, its object classes and its identity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/DumpSource.h"

struct DumpRecord {
    std::string_view text; // from its dn line to the end of its last line, as the dump has it
    std::string dn;        // the dn line's value, decoded
    uint64_t fingerprint = 0;
    std::string_view dnLine;   // the dn line as written, folds joined
    std::string classes;       // objectClass values in lower case, sorted, each once, blank between
    std::string identity;      // entryUUID or objectGUID as 16 bytes; empty when it has neither
    bool endedCleanly = false; // an empty line followed it (a dump ends every entry with one)
};

class LdifScanner
{
  public:
    enum class Step { Record, End, Fault };

    explicit LdifScanner(DumpSource &source);

    // The next entry; its views are valid until the next call. On Fault, Fault() says where and
    // why (a bad line, or the source's own fault).
    Step Next(DumpRecord &record);
    const std::string &Fault() const { return fault_; }

    // Of the entry Next gave last (asked only of entries whose text is kept): its objectClass
    // values in lower case, sorted, each once, a blank between; its entryUUID or objectGUID as
    // 16 bytes (empty when it has neither).
    void Describe(std::string &classes, std::string &identity);

  private:
    // Finds the next record's lines in the buffer, reading more as needed; false at the end.
    bool FindRecord(std::string_view &raw, bool &cleanly);
    bool Fill();
    // Logical lines of the record, folds joined; comments left out.
    void Unfold(std::string_view raw);
    Step Parse(std::size_t first, DumpRecord &record);
    std::size_t dnLine_ = 0; // the entry's dn line among lines_
    Step Failed(std::string why);

    DumpSource &source_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // the first byte not handed out
    std::size_t end_ = 0;   // the end of what was read
    bool sourceEnded_ = false;
    std::size_t lineNumber_ = 0;      // physical lines before begin_
    std::size_t recordStartLine_ = 0; // physical lines before the record being read
    bool first_ = true;
    std::string fault_;
    std::vector<std::string_view> lines_;
    std::vector<std::size_t> lineStarts_; // where each logical line begins in the record
    std::size_t textEnd_ = 0;             // the end of the record's last line that is not a comment
    std::size_t firstLine_ = 0;           // physical lines before its first logical line
    std::deque<std::string> folded_;
    std::vector<std::string> classes_;
};
