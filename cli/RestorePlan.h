// The objects of one command-line run, from what was asked to what became of each: every object
// is found in the tree (ObjectResolver), its version picked from its history, and it is marked
// with the window's marking rules (RestoreSelection), so that the run restores it in the
// window's order by the window's requests. Objects a container above them restores with its
// whole subtree get no request of their own and share that container's outcome. What the run did
// with each object comes from the run's own lines (run/RunSteps).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/WantedObject.h"
#include "report/RunReport.h"
#include "server/ServerRecords.h"

class NodeList;
class ObjectItem;
class RestoreSelection;
class RunSteps;
class ServerClient;

class RestorePlan
{
  public:
    struct Entry {
        WantedObject wanted;
        ObjectItem *object = nullptr; // null: not found
        BackupTime version = 0;       // the version picked; 0: the most recent
        bool settled = false;         // its outcome is known
        // Settled by the plan (not found, refused, covered): what became of it and why.
        ObjectOutcome outcome = ObjectOutcome::Skipped;
        std::string message;
        // Settled by the run: the lines of the parents its restore added, then its own.
        std::vector<ReportedObject> lines;
        std::size_t coveredBy = kNone; // the entry of the container that restores it
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // Asked before each object is resolved: true stops the resolving there.
    using StopCheck = std::function<bool()>;
    using ProgressHdl =
        std::function<void(std::size_t count, std::size_t total, const std::string &object)>;

    RestorePlan(RestoreSelection &selection, ObjectItem &top, ServerClient &client);

    // Finds, picks and marks every object. False when stopped first: the objects not looked for
    // then are left unsettled, and nothing is marked.
    bool Prepare(const std::vector<WantedObject> &wanted, const ProgressHdl &progress,
                 const StopCheck &stop);

    // The entry that a step of the run restores.
    Entry *EntryOf(const ObjectItem &object);
    void Settle(Entry &entry, ObjectOutcome outcome, std::string message);

    // After the run (or the preview): each object of the run takes the run's lines, and entries
    // covered by a container take its outcome.
    void TakeRun(const RunSteps &steps);
    // Whatever nothing settled (never looked for: the run was stopped first) is not tried, for
    // `why`.
    void SettleTheRest(const std::string &why);

    // What became of every entry, in the order of the tree (the order of the requests), each
    // object of the run after the parents its restore added; objects not found come last, in
    // the order asked.
    std::vector<ReportedObject> Records(const NodeList &forest) const;

    const std::vector<Entry> &Entries() const { return entries_; }

  private:
    // Keeps a found object's entry, once per object.
    void AddFound(Entry entry);
    bool PickVersion(Entry &entry);
    void MarkAll();
    void SettleCovered();
    void SettleFromContainer(Entry &entry);
    // The record of an entry the plan settled.
    ReportedObject Record(const Entry &entry) const;

    RestoreSelection &selection_;
    ObjectItem &top_;
    ServerClient &client_;
    std::vector<Entry> entries_;
    std::unordered_map<const ObjectItem *, std::size_t> byObject_;
};
