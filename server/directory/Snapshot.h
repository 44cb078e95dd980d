// One LDIF snapshot of the directory, read once and indexed: each entry by its name, and the
// children of every parent. An entry's attributes are read from the file again when needed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "server/ServerRecords.h"
#include "catalogue/DistinguishedName.h"
#include "catalogue/LdifReader.h"

struct SnapshotEntry {
    std::string dn;        // as the file writes it
    std::string canonical; // DistinguishedName::Canonical
    std::size_t offset = 0;
    std::size_t length = 0;
    bool containerClass = false; // one of its object classes is a container class
};

class Snapshot
{
  public:
    // Reads and indexes the file; nothing, and the reason in `fault`, when it is not a complete
    // snapshot: not valid LDIF (one bad entry is enough: a snapshot is used whole or not at all),
    // no entry at all, or a last entry that may have been cut short (a dump ends every entry
    // with an empty line).
    static std::unique_ptr<Snapshot> Load(const std::string &path, BackupTime time,
                                          const std::unordered_set<std::string> &containerClasses,
                                          std::string &fault);
    // The same for a text already read; path names the file the entries are read from later.
    static std::unique_ptr<Snapshot> Parse(std::string_view text, std::string path, BackupTime time,
                                           const std::unordered_set<std::string> &containerClasses,
                                           std::string &fault);

    const std::string &Path() const { return path_; }
    BackupTime Time() const { return time_; }
    std::size_t Size() const { return entries_.size(); }

    const SnapshotEntry *Find(const std::string &canonical) const;
    // The entries whose parent has this canonical name, in file order.
    std::vector<const SnapshotEntry *> ChildrenOf(const std::string &canonical) const;
    bool HasChildren(const std::string &canonical) const;
    // The entry and everything below it, every parent before its children.
    std::vector<const SnapshotEntry *> Subtree(const std::string &canonical) const;

    // The entry's attributes, read again from the file; nothing, with the reason in `fault`,
    // when the file changed since it was indexed.
    std::optional<LdifEntry> Read(const SnapshotEntry &entry, std::string &fault) const;

  private:
    Snapshot(std::string path, BackupTime time) : path_(std::move(path)), time_(time) {}
    bool Index(std::string_view text, const std::unordered_set<std::string> &containerClasses,
               std::string &fault);

    std::string path_;
    BackupTime time_;
    uint64_t fileSize_ = 0;
    int64_t fileModified_ = 0;
    std::vector<SnapshotEntry> entries_;
    std::unordered_map<std::string, std::size_t> byName_;
    std::unordered_map<std::string, std::vector<std::size_t>> children_;
};
