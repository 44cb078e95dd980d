// The folder of LDIF snapshots behind a directory backup server, read through its index (see
// catalogue/CatalogueIndex): opening reads only the dumps that are new, and every question the
// server asks is answered from the index. Without a folder it holds nothing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "catalogue/CatalogueIndex.h"
#include "server/ServerRecords.h"

class SnapshotCatalogue
{
  public:
    using Report = std::function<void(const std::string &)>;

    // The usual container classes, in lower case.
    static std::unordered_set<std::string> DefaultContainerClasses();

    // A snapshot file that is not used, and why.
    struct LeftOut {
        std::string path;
        std::string reason;
    };

    SnapshotCatalogue();
    ~SnapshotCatalogue();

    // Brings the index of every "*.ldif" (or .ldif.gz, .ldif.zst, .ldif.xz) of the folder up to
    // date and opens it. A snapshot's time is the number in its name (<unix seconds>.ldif), else
    // its modification time. A file that is not a complete snapshot is reported once and left
    // out. False when the folder cannot be read or no index can be made.
    bool Load(const std::string &folder, const std::unordered_set<std::string> &containerClasses,
              const Report &report, const std::string &indexFolder = {},
              const IndexProgress &progress = {});

    // Newest first.
    const std::vector<IndexedDump> &Snapshots() const;
    // The backup times of the snapshots that hold the entry.
    std::vector<BackupTime> TimesOf(const std::string &canonical) const;
    // The entry in the snapshot of that time (0: the newest that holds it).
    std::optional<ArchivedEntry> Holding(const std::string &canonical, BackupTime time) const;
    // The entry in the same snapshot as `other`.
    std::optional<ArchivedEntry> Beside(const std::string &canonical,
                                        const ArchivedEntry &other) const;
    // The entry and everything below it in its snapshot, every parent before its children.
    std::vector<ArchivedEntry> Subtree(const ArchivedEntry &top) const;
    // The entry's attributes as its snapshot holds them.
    std::optional<LdifEntry> Read(const ArchivedEntry &entry, std::string &fault) const;
    // The entries any snapshot holds below the parent.
    std::vector<ArchivedName> ChildrenOf(const std::string &canonical) const;
    bool HadChildren(const std::string &canonical) const;
    // A snapshot holds it with a container class, or with children.
    bool WasContainer(const std::string &canonical) const;
    // Every entry of every snapshot, a stretch at a time (see CatalogueIndex::NamesAfter).
    std::vector<ArchivedName> NamesAfter(int64_t &cursor, std::size_t count) const;
    std::vector<std::string> NamingTypes() const;

    // The entries of the whole directory whose versions differ between two snapshots (by seq),
    // and every entry a snapshot holds, parents first, each handed to `take` as the index finds
    // it (see CatalogueIndex). False when the index could not answer, with the reason in
    // `fault`.
    bool Changes(int64_t from, int64_t to, const std::function<bool(const EntryChange &)> &take,
                 std::string &fault) const;
    bool Entries(int64_t seq, const std::function<bool(const HeldVersion &)> &take,
                 std::string &fault) const;

    // The files the last Load left out, by name.
    const std::vector<LeftOut> &LeftOutFiles() const { return leftOut_; }
    // What the last Load read and could not do, for the user (not a dump read: nothing).
    std::vector<std::string> LoadNotes() const;
    // What the last Load read, removed, or was stopped in (nothing read without a folder).
    const IndexUpdate::Summary &LastUpdate() const;

  private:
    template <typename Answer> Answer Checked(Answer answer) const;

    std::unique_ptr<CatalogueIndex> index_;
    std::vector<LeftOut> leftOut_;
    Report report_;
};
