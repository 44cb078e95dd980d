// Reads the entries of an LDIF file of content records (what a directory dump writes): folded
// lines, base64 values, comments, CRLF line ends and a leading "version: 1".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct LdifAttribute {
    std::string description; // attribute type with any options, as written
    std::string value;       // decoded bytes
};

struct LdifEntry {
    std::string dn;
    std::vector<LdifAttribute> attributes; // one per line, in file order
};

class LdifReader
{
  public:
    enum class Step { Entry, End, Fault };

    // The text must outlive the reader.
    explicit LdifReader(std::string_view text);

    // The next entry; on Fault, Fault() says where and why, and the reader stays at the fault.
    Step Next(LdifEntry &entry);
    // Where the entry last read lies in the text: from its dn line to the end of its last line.
    std::size_t EntryOffset() const { return entryOffset_; }
    std::size_t EntryLength() const { return entryEnd_ - entryOffset_; }
    const std::string &Fault() const { return fault_; }
    // Whether an empty line followed the entry last read. A dump ends every entry with one, so an
    // entry that runs into the end of the text may have been cut short.
    bool EntryEndedCleanly() const { return endedCleanly_; }

  private:
    bool NextPhysicalLine(std::string_view &line);
    bool ReadLogicalLines(std::vector<std::string> &lines);
    bool ParseLine(const std::string &line, LdifAttribute &attribute);
    Step Failed(std::string why);

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t lineNumber_ = 0;
    std::size_t recordLine_ = 0;
    bool first_ = true;
    std::size_t entryOffset_ = 0;
    std::size_t entryEnd_ = 0;
    bool endedCleanly_ = false;
    bool lineEnded_ = false; // the physical line last read ended with a newline
    std::string fault_;
};
