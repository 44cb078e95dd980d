// A catalogue of LDIF dumps read through its index: opening brings the index up to date (reading
// only what is new), then every question is answered from the index alone, without a dump being
// read: which dumps hold an entry, the entries below a name at every time, whether an entry was a
// container, the names a search looks through, and an entry's attributes at a dump.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/IndexProgress.h"
#include "catalogue/IndexUpdate.h"
#include "catalogue/IndexedEntries.h"
#include "catalogue/LdifReader.h"

class SqliteDatabase;
class SqliteStatement;
class VersionQueries;

struct LeftOutDump {
    std::string path;
    std::string reason;
};

class CatalogueIndex
{
  public:
    struct Options {
        std::string indexFolder;                          // empty: the user's cache folder
        std::unordered_set<std::string> containerClasses; // lower case
        IndexProgress progress;
    };

    // The index of the folder, brought up to date; nothing, with the reason in `fault`, when the
    // folder cannot be read or the index cannot be made.
    static std::unique_ptr<CatalogueIndex> Open(const std::string &folder, const Options &options,
                                                std::string &fault);
    ~CatalogueIndex();

    const std::string &IndexPath() const { return path_; }
    // What opening read, removed or could not do.
    const IndexUpdate::Summary &Update() const { return update_; }
    // Said about the index itself (rebuilt because it was damaged, kept only for this run...).
    const std::vector<std::string> &Notes() const { return notes_; }
    // The dumps the index answers from, newest first.
    const std::vector<IndexedDump> &Dumps() const { return dumps_; }
    // The dumps that are not backups, with why, by name.
    const std::vector<LeftOutDump> &LeftOut() const { return leftOut_; }

    // The times of the dumps that hold the entry, newest first.
    std::vector<uint32_t> TimesOf(const std::string &canonical);
    // The entry as the dump of that time (0: the newest) holds it.
    std::optional<ArchivedEntry> Holding(const std::string &canonical, uint32_t time);
    // The entry as that dump holds it.
    std::optional<ArchivedEntry> InDump(const std::string &canonical, int64_t seq);
    // The entry and everything below it that its dump holds, every parent before its children.
    std::vector<ArchivedEntry> Subtree(const ArchivedEntry &top);
    // The entry's lines; nothing, with the reason in `fault`, when the index cannot give them.
    std::optional<LdifEntry> Read(const ArchivedEntry &entry, std::string &fault);

    // Every entry whose parent this is, in any dump.
    std::vector<ArchivedName> ChildrenOf(const std::string &canonical);
    bool HadChildren(const std::string &canonical);
    // Some dump holds it with a container class, or holds entries below it.
    bool WasContainer(const std::string &canonical);
    // Every entry, a stretch at a time in the order they came into the index (parents mostly
    // before children): those after the cursor (0 at first), at most `count`; the cursor moves
    // on, and an empty stretch is the end.
    std::vector<ArchivedName> NamesAfter(int64_t &cursor, std::size_t count);
    // The attribute types (lower case) that entries are named by.
    std::vector<std::string> NamingTypes();

    // For the change report. Dumps are named by their seq (see Dumps()); a name below which to
    // look is canonical, empty for every entry. Each answer is handed to `take` as it is found,
    // and `take` returns false to stop. False when stopped, when a seq is not one of Dumps(), or
    // when the index could not answer (TakeFault() then says why).
    //
    // The entries whose version in dump `from` differs from their version in dump `to` (one of
    // the two may not hold the entry at all), each once, in the order they came into the index
    // (parents mostly before children). Only the versions that begin or end between the two
    // dumps are read: the cost grows with the changes, not with the entries.
    bool Changes(int64_t from, int64_t to, const std::string &under,
                 const std::function<bool(const EntryChange &)> &take);
    // Every entry the dump holds at or below `under`, each parent before its children.
    bool Entries(int64_t seq, const std::string &under,
                 const std::function<bool(const HeldVersion &)> &take);
    // The entries the dump holds with this identity (entryUUID or objectGUID as 16 bytes, as
    // HeldVersion::identity gives it): where a moved or renamed entry went, or came from.
    std::vector<HeldVersion> WithIdentity(std::string_view identity, int64_t seq);

    // Why the last question could not be answered from the index (then answered as if nothing
    // was found); empty when it was. A damaged index is removed, to be built again next time.
    std::string TakeFault();

  private:
    struct Version {
        int64_t first = 0;
        int64_t last = 0; // 0: up to the newest dump
        int64_t classes = 0;
        TextPlace text;
    };

    CatalogueIndex(std::unique_ptr<SqliteDatabase> db, std::string path,
                   std::unordered_set<std::string> containerClasses);
    void Load(const std::vector<DumpFile> &files, const std::string &folder);
    std::optional<int64_t> NameId(const std::string &canonical, std::string *dn = nullptr);
    std::vector<Version> VersionsOf(int64_t name);
    bool Holds(const Version &version, int64_t seq) const;
    bool IsContainerClasses(int64_t classes) const;
    const IndexedDump *DumpOf(int64_t seq);
    void Failed(const std::exception &error);

    std::unique_ptr<SqliteDatabase> db_;
    std::string path_;
    std::unordered_set<std::string> containerClasses_;
    std::unordered_map<int64_t, bool> containerSets_; // class sets, by id: a container class?
    IndexUpdate::Summary update_;
    std::vector<std::string> notes_;
    std::vector<IndexedDump> dumps_;
    std::vector<LeftOutDump> leftOut_;
    std::unique_ptr<TextBlockReader> texts_;
    std::unique_ptr<VersionQueries> versionQueries_;
    // Prepared once: a listing asks about every child.
    std::unique_ptr<SqliteStatement> findName_;
    std::unique_ptr<SqliteStatement> versions_;
    std::unique_ptr<SqliteStatement> children_;
    std::unique_ptr<SqliteStatement> hasChildren_;
    std::string fault_;
};
