// The folder of LDIF snapshots behind a directory backup server: every snapshot indexed once,
// newest first, and the questions the server asks of them together.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "server/directory/Snapshot.h"

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

    // Indexes every "*.ldif" of the folder. A snapshot's time is the number in its name
    // (<unix seconds>.ldif), else its modification time. A file that is not a complete snapshot
    // is reported once and left out. False when the folder cannot be read.
    bool Load(const std::string &folder, const std::unordered_set<std::string> &containerClasses,
              const Report &report);

    // Newest first.
    const std::vector<std::unique_ptr<Snapshot>> &Snapshots() const { return snapshots_; }
    // The backup times of the snapshots that hold the entry.
    std::vector<BackupTime> TimesOf(const std::string &canonical) const;
    // The snapshot of that time (0: the newest) that holds the entry, or null.
    const Snapshot *Holding(const std::string &canonical, BackupTime time) const;
    bool HadChildren(const std::string &canonical) const;
    // The files the last Load left out, in the order they were read.
    const std::vector<LeftOut> &LeftOutFiles() const { return leftOut_; }

  private:
    std::vector<std::unique_ptr<Snapshot>> snapshots_;
    std::vector<LeftOut> leftOut_;
};
