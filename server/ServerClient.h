// The backup server's requests as plain calls that take and return plain values: the children
// of a container, the backup times of an object, the restore of an object, a search by name.
// Inside, the records, their calling order and the release of every reply are as the server expects
// them. It knows nothing of windows or of the tree, so a worker thread or a command-line program
// can use it (one thread at a time, like the server it wraps).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/ObjectDescription.h"
#include "server/RestoreReport.h"
#include "server/ServerRecords.h"

class BackupServer;
class ChangeRun;
struct ChangePoints;
class SearchRun;

// One child of a listing, in the order the server delivered it.
struct ListedObject {
    std::string name; // its own name, read within the record's field
    bool container = false;
    bool present = true;
};

// How a request ended.
enum class RequestEnd {
    Answered,
    Stopped,     // the caller asked to stop: no further request went out
    NameTooLong, // the name does not fit the request: nothing was sent
    NoReply,     // the server gave no reply, or one shorter than its record
    Failed,      // the server could not serve it and said why
    NotOffered,  // the server does not offer this kind of request
};

struct ChildListing {
    RequestEnd end = RequestEnd::Answered;
    std::vector<ListedObject> children; // what arrived before the end
    std::string failure;                // why not, on NoReply or Failed
    std::string note;                   // what the server says of a listing it cut short
};

// An object a search found.
struct FoundObject {
    std::string fullName; // own name first, up to the context searched
    bool container = false;
    bool present = true;
};

struct SearchOutcome {
    RequestEnd end = RequestEnd::Answered;
    std::size_t found = 0; // matches handed over before the end
    std::string failure;   // why not, on NameTooLong, NoReply or Failed
};

struct ObjectHistory {
    RequestEnd end = RequestEnd::Answered;
    std::vector<BackupTime> times; // as the reply holds them, in no particular order
};

struct RestoreOutcome {
    int32_t status = 0;                   // 0 = restored
    std::string message;                  // why not, when status is not 0
    std::optional<RestoreReport> written; // what the server says the restore wrote, if it says
};

struct DescribedObject {
    RequestEnd end = RequestEnd::Answered;
    ObjectDescription description; // whole only when Answered
    std::string failure;           // why not, on NoReply or Failed
    // Asked with DescribeRestore: the other entries the restore writes, in its order (missing
    // parents top down, then the subtree, parents before children). Empty from a server that
    // describes the object alone.
    std::vector<WrittenEntry> entries;
};

class ServerClient
{
  public:
    // The statuses of restores that never reached the server.
    static constexpr int32_t NameTooLongStatus = -1;
    static constexpr int32_t NoReplyStatus = -2;
    static constexpr const char *kNoReply = "No reply from the backup server.";
    static constexpr const char *kCannotCompare = "This backup server cannot compare versions.";
    static constexpr const char *kCannotSearch = "This backup server cannot search.";
    static constexpr const char *kCannotReportChanges =
        "This backup server cannot report what changed.";

    explicit ServerClient(BackupServer &server);

    // Asked after each reply of a listing but the last; true ends it there, the reply just
    // received unused. (A listing whose end record came is whole, whatever this says.)
    using StopCheck = std::function<bool()>;

    ChildListing ListChildren(std::string_view containerName, const StopCheck &stop = {});
    ObjectHistory GetHistory(std::string_view objectName);
    // withSubtree: the object together with its whole subtree, loaded or not.
    RestoreOutcome Restore(std::string_view objectName, BackupTime version, bool withSubtree);
    // The object's attributes at the version (0: the most recent) and its live ones. Asked
    // record by record; `stop` as for a listing. Changes nothing on the server.
    DescribedObject Describe(std::string_view objectName, BackupTime version,
                             const StopCheck &stop = {});
    // The same, and every other entry a restore of the object (withSubtree: with its subtree)
    // would write, as the restore would find them now. Changes nothing on the server.
    DescribedObject DescribeRestore(std::string_view objectName, BackupTime version,
                                    bool withSubtree, const StopCheck &stop = {});
    // The server answers Describe (asked once, with a name that names nothing, and kept).
    bool CanDescribe();

    // Every object below the context whose own name matches the pattern (see SearchPattern),
    // handed to `each` as it arrives; `stop` is asked after each. A caller that must stay
    // responsive takes the matches in batches with a SearchRun instead.
    SearchOutcome Search(std::string_view contextName, std::string_view pattern, bool deletedOnly,
                         const std::function<void(FoundObject &&)> &each,
                         const StopCheck &stop = {});
    // A search taken in batches (see SearchRun); nothing is sent yet.
    std::unique_ptr<SearchRun> StartSearch(std::string_view contextName, std::string_view pattern,
                                           bool deletedOnly);
    // Whether the server can search at all (a question that costs it nothing).
    bool CanSearch();

    // What changed below the context between two points (see ChangeRun); nothing is sent yet.
    std::unique_ptr<ChangeRun> StartChanges(std::string_view contextName, ChangePoints points);
    // Whether the server can report changes at all (a question that costs it nothing).
    bool CanReportChanges();
    // The times of the backups a change report can compare, newest first.
    ObjectHistory BackupTimes();

    // What the server has for the user to hear once (snapshot files it does not use, with the
    // reasons); each text is handed out once.
    std::vector<std::string> TakeNotices();

    // The server gives up a request in flight while the flag is set (see ServerBackend).
    void WatchAbandon(const std::atomic<bool> *flag);
    // Whether CanDescribe has asked the server already (it then answers without a request). May
    // be asked on another thread than the one that uses the client.
    bool KnowsWhetherItDescribes() const { return describes_.load() != Describes::Unknown; }

    // "Name too long for the backup server: " and the name, or its first and last characters.
    static std::string NameTooLongMessage(std::string_view fullName);

  private:
    DescribedObject Describe(std::string_view objectName, BackupTime version, uint32_t flags,
                             const StopCheck &stop);

    ObjectHistory TimesOf(RequestType type, const HistoryRequest &request);

    enum class Describes : int8_t { Unknown, Yes, No };

    BackupServer &server_;
    // Learnt on the thread that uses the client, read on any (the window's thread asks while a
    // worker uses the client).
    std::atomic<Describes> describes_{Describes::Unknown};
};
