// The objects of one command-line run, from what was asked to what became of each: every object
// is found in the tree (ObjectResolver), its version picked from its history, and it is marked
// with the window's marking rules (RestoreSelection), so that the run restores it in the
// window's order by the window's requests. Objects a container above them restores with its
// whole subtree get no request of their own and share that container's outcome.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/ObjectReport.h"
#include "cli/WantedObject.h"
#include "server/ServerRecords.h"

class NodeList;
class ObjectItem;
class RestoreSelection;
class ServerClient;

class RestorePlan
{
  public:
    struct Entry {
        WantedObject wanted;
        ObjectItem *object = nullptr; // null: not found
        BackupTime version = 0;       // the version picked; 0: the most recent
        bool settled = false;         // its outcome is known
        bool sent = false;            // its restore request went out
        bool previewed = false;       // a dry run described it
        int32_t status = 0;           // the server's status when that request failed
        ObjectReport::Outcome outcome = ObjectReport::Outcome::Skipped;
        std::string message;
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
    // The entry of an object of the run above this one, or null.
    Entry *NearestAbove(const ObjectItem &object);
    void Settle(Entry &entry, ObjectReport::Outcome outcome, std::string message);

    // After the run: entries covered by a container take its outcome; the rest that nothing
    // settled are skipped below a failed object, and otherwise take the given outcome and reason
    // (a run ended by a signal fails them: they were not restored).
    void SettleTheRest(const std::string &notReached,
                       ObjectReport::Outcome notReachedOutcome = ObjectReport::Outcome::Skipped);

    // One report per entry, in the order of the tree (the order of the requests); objects not
    // found come last, in the order asked.
    std::vector<ObjectReport> Reports(const NodeList &forest) const;

    const std::vector<Entry> &Entries() const { return entries_; }

  private:
    // Keeps a found object's entry, once per object.
    void AddFound(Entry entry);
    bool PickVersion(Entry &entry);
    void MarkAll();
    void SettleCovered();
    ObjectReport Report(const Entry &entry) const;

    RestoreSelection &selection_;
    ObjectItem &top_;
    ServerClient &client_;
    std::vector<Entry> entries_;
    std::unordered_map<const ObjectItem *, std::size_t> byObject_;
};
