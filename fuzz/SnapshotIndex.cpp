// Fuzzes the LDIF reader and the snapshot index: an input is the text of a snapshot file. Every
// entry the reader finds must read the same again from its own place in the text (a restore
// reads it from there), and an index that accepts the text must find every entry by its name
// and list every subtree parents first.
#include "catalogue/LdifReader.h"
#include "server/directory/Snapshot.h"
#include "server/directory/SnapshotCatalogue.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>

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

void ReadEveryEntryAgain(std::string_view text)
{
    LdifReader reader(text);
    LdifEntry entry;
    while (reader.Next(entry) == LdifReader::Step::Entry) {
        Check(reader.EntryOffset() + reader.EntryLength() <= text.size());
        LdifReader again(text.substr(reader.EntryOffset(), reader.EntryLength()));
        LdifEntry read;
        Check(again.Next(read) == LdifReader::Step::Entry);
        Check(SameEntry(entry, read));
    }
}

void CheckIndex(const Snapshot &snapshot, std::string_view text)
{
    LdifReader reader(text);
    LdifEntry entry;
    std::size_t entries = 0;
    while (reader.Next(entry) == LdifReader::Step::Entry) {
        ++entries;
        const auto dn = DistinguishedName::Parse(entry.dn);
        Check(dn.has_value());
        const SnapshotEntry *found = snapshot.Find(dn->Canonical());
        Check(found != nullptr && found->offset == reader.EntryOffset());
        const auto subtree = snapshot.Subtree(found->canonical);
        Check(!subtree.empty() && subtree.front() == found);
        std::unordered_set<std::string> seen;
        for (const SnapshotEntry *member : subtree) {
            const auto name = DistinguishedName::Parse(member->dn);
            Check(name.has_value());
            Check(member == found || seen.count(name->Parent().Canonical()) == 1);
            seen.insert(member->canonical);
        }
    }
    Check(entries == snapshot.Size());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    ReadEveryEntryAgain(text);
    static const std::unordered_set<std::string> classes =
        SnapshotCatalogue::DefaultContainerClasses();
    std::string fault;
    const auto snapshot = Snapshot::Parse(text, "fuzz.ldif", 1, classes, fault);
    Check(snapshot != nullptr || !fault.empty());
    if (snapshot)
        CheckIndex(*snapshot, text);
    return 0;
}
