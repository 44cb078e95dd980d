// A catalogue of LDIF dumps read through its index: opening brings the index up to date (reading
// only what is new), then every question is answered from the index alone, without a dump being
// read: which dumps hold an entry, the entries below a name at every time, whether an entry was a
// container, the names a search looks through, and an entry's attributes at a dump.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/IndexProgress.h"
#include "catalogue/IndexUpdate.h"
#include "catalogue/LdifReader.h"
#include "catalogue/TextBlocks.h"

class SqliteDatabase;
class SqliteStatement;

struct IndexedDump {
    int64_t seq = 0; // its place in time among the dumps
    uint32_t time = 0;
    std::string file;
    uint64_t entries = 0;
};

// An entry as one dump holds it.
struct ArchivedEntry {
    std::string dn; // as the newest dump that holds the entry writes it
    std::string canonical;
    int64_t seq = 0; // of the dump
    uint32_t time = 0;
    TextPlace text;
};

// An entry that some dump holds.
struct ArchivedName {
    std::string dn; // as the newest dump that holds it writes it
    std::string canonical;
    std::string own;             // its own name's values, joined by "+"
    bool containerClass = false; // some version has one of the container classes
};

// A version of an entry as a dump holds it, with what tells versions and objects apart.
struct HeldVersion {
    ArchivedEntry entry;
    uint64_t fingerprint = 0; // of its lines
    std::string identity;     // entryUUID or objectGUID as 16 bytes; empty when it has neither
    bool containerClass = false;
};

// An entry whose text differs between two dumps: held by one of them only, or by both in
// versions of other lines.
struct ChangedEntry {
    int64_t name = 0; // the index's number of the entry's name
    std::optional<HeldVersion> earlier;
    std::optional<HeldVersion> later;
};

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

    // The entries whose text differs between two dumps (by seq, `earlier` before `later`),
    // found from the versions alone a stretch at a time: the versions after the cursor (0 at
    // first), at most `count` of them, are looked at and the cursor moves on. An entry may come
    // again in a later stretch (ChangedEntry::name tells it). False once no version is left.
    bool ChangedBetween(int64_t earlier, int64_t later, int64_t &cursor, std::size_t count,
                        std::vector<ChangedEntry> &changed);
    // Every entry the dump holds, a stretch at a time in the same way, in the order their texts
    // lie in the index. False once no version is left.
    bool HeldBy(int64_t seq, int64_t &cursor, std::size_t count, std::vector<HeldVersion> &held);
    // How many versions the stretches of ChangedBetween and HeldBy go through.
    int64_t LastVersion();

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
    void Failed(const std::exception &error);
    const IndexedDump *DumpOf(int64_t seq) const;
    HeldVersion VersionRow(const SqliteStatement &row, int column, const IndexedDump &dump,
                           std::string dn, std::string canonical) const;
    ChangedEntry Compared(int64_t name, const IndexedDump &earlier, const IndexedDump &later);

    std::unique_ptr<SqliteDatabase> db_;
    std::string path_;
    std::unordered_set<std::string> containerClasses_;
    std::unordered_map<int64_t, bool> containerSets_; // class sets, by id: a container class?
    IndexUpdate::Summary update_;
    std::vector<std::string> notes_;
    std::vector<IndexedDump> dumps_;
    std::vector<LeftOutDump> leftOut_;
    std::unique_ptr<TextBlockReader> texts_;
    // Prepared once: a listing asks about every child.
    std::unique_ptr<SqliteStatement> findName_;
    std::unique_ptr<SqliteStatement> versions_;
    std::unique_ptr<SqliteStatement> children_;
    std::unique_ptr<SqliteStatement> hasChildren_;
    std::unique_ptr<SqliteStatement> nameById_;
    std::unique_ptr<SqliteStatement> heldVersions_;
    std::string fault_;
};
