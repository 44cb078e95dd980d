// Fuzzes the LDIF reader and the dump scanner the index reads dumps with: an input is the text of
// a dump. Every entry the reader finds must read the same again from its own place in the text,
// and the scanner, given the text a few bytes at a time, must hand out the same entries (each
// entry's kept text reading back as the reader's entry) and the same fault.
#include "catalogue/LdifReader.h"
#include "catalogue/LdifScanner.h"
#include "tests/catalogue/MemorySource.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool SameEntry(const LdifEntry &a, const LdifEntry &b)
{
    if (a.dn != b.dn || a.attributes.size() != b.attributes.size())
        return false;
    for (std::size_t i = 0; i < a.attributes.size(); ++i) {
        if (a.attributes[i].description != b.attributes[i].description ||
            a.attributes[i].value != b.attributes[i].value)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    LdifReader reader(text);
    std::vector<LdifEntry> entries;
    LdifEntry entry;
    LdifReader::Step step;
    while ((step = reader.Next(entry)) == LdifReader::Step::Entry) {
        Check(reader.EntryOffset() + reader.EntryLength() <= text.size());
        LdifReader again(text.substr(reader.EntryOffset(), reader.EntryLength()));
        LdifEntry read;
        Check(again.Next(read) == LdifReader::Step::Entry);
        Check(SameEntry(entry, read));
        entries.push_back(entry);
    }
    const std::string fault = step == LdifReader::Step::Fault ? reader.Fault() : "";

    MemorySource source(std::string(text), 1 + size % 7);
    LdifScanner scanner(source);
    DumpRecord record;
    std::size_t scanned = 0;
    LdifScanner::Step next;
    while ((next = scanner.Next(record)) == LdifScanner::Step::Record) {
        Check(scanned < entries.size());
        LdifReader again(record.text);
        LdifEntry read;
        Check(again.Next(read) == LdifReader::Step::Entry);
        Check(SameEntry(read, entries[scanned++]));
    }
    Check(scanned == entries.size());
    Check((next == LdifScanner::Step::Fault ? scanner.Fault() : "") == fault);
    return 0;
}
