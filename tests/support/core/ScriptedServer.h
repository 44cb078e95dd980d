// A backup server whose answers a test sets up per container and object, and which logs every
// request it receives. Plug it in with `BackupServer server(script);`. The log and the hook may
// be read and changed while another thread (the window's worker) makes requests; the answers
// are set up before.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "server/DescriptionPieces.h"
#include "server/ServerBackend.h"

// One child of a listing. A name of 256 characters or more fills the record's name field without
// a NUL, as a faulty server would.
struct ScriptedChild {
    std::string name;
    uint8_t kind = LeafObjectKind;
    uint8_t state = 1; // 0 = deleted
};

ScriptedChild Leaf(std::string name, bool present = true);
ScriptedChild Container(std::string name, bool present = true);

// A request as the server received it, its text field read within the field.
struct LoggedRequest {
    RequestType type;
    int32_t requestSize;
    std::string name;    // containerName, objectName or a search's contextName
    int32_t lastId;      // ListChildren, SearchObjects
    BackupTime version;  // RestoreObject
    uint32_t flags;      // RestoreObject, SearchObjects, DescribeObject
    bool zeroFilled;     // every byte behind the name's NUL and every reserved field is 0
    std::string pattern; // SearchObjects
};

class ScriptedServer : public ServerBackend
{
  public:
    // Child `index` (0-based, in delivery order) of a listing.
    using ChildGenerator = std::function<ScriptedChild(std::size_t index)>;

    // The listing of a container, by full name, delivered in the given order. The server answers
    // by lastId alone, so an abandoned listing does not disturb the next one.
    void SetChildren(const std::string &container, std::vector<ScriptedChild> children);
    // A listing of `count` children made on demand, for large containers.
    void SetChildren(const std::string &container, std::size_t count, ChildGenerator generate);
    // The listing of every container that has none of its own; without one it is empty.
    void SetDefaultChildren(std::size_t count, ChildGenerator generate);
    // `count` leaves named "Item-<n>" with n zero-padded, delivered in a random order fixed by
    // `seed`: in name order, child i is "Item-<i>".
    static ChildGenerator ShuffledLeaves(std::size_t count, unsigned seed);

    // Backup times of an object, by full name, in the order the reply carries them (default none).
    void SetHistory(const std::string &object, std::vector<BackupTime> times);
    // Outcome of restoring an object, by full name (default status 0, empty message). A message
    // of 256 characters or more fills the field without a NUL.
    void SetRestoreOutcome(const std::string &object, int32_t status, std::string message);

    // What the server says beside the records (by default nothing): a note given once after the
    // container's listing ended, and what the restore of an object wrote.
    void SetListingNote(const std::string &container, std::string note);
    void SetRestoreReport(const std::string &object, RestoreReport report);
    // From now on the listing of this container fails once it has handed out `after` children:
    // the end record comes with the reason as the request's failure. An empty reason lists it
    // again.
    void SetListingFailure(const std::string &container, std::size_t after, std::string reason);
    // What every search finds, by full name (the name field holds the full name), delivered as
    // it stands whatever the pattern, by lastId alone.
    void SetSearchResults(std::vector<ScriptedChild> matches);
    // From now on searches end at once with SearchUnsupported (true), or are made (false).
    void SetCannotSearch(bool cannot) { cannotSearch_ = cannot; }
    // From now on a search fails once it has handed out `after` matches, with the reason as the
    // request's failure. An empty reason lets searches succeed again.
    void SetSearchFailure(std::size_t after, std::string reason);

    // What describing an object yields, by full name. Until one is set the server does not offer
    // descriptions (as the simulation); afterwards an object without one is not known.
    void SetDescription(const std::string &object, const ObjectDescription &description);
    void SetDescriptionFailure(const std::string &object, int32_t status, std::string reason);
    // The other entries a restore of the object writes, for a description asked with
    // DescribeWrites (whatever its subtree flag); set after the object's description. Without
    // them such a description is the object's alone.
    void SetWrittenEntries(const std::string &object, std::vector<WrittenEntry> entries);
    // What TakeNotices hands out, once.
    void SetNotices(std::vector<std::string> notices) { notices_ = std::move(notices); }

    void SetOpenResult(const std::string &serverName, int32_t result); // default 0
    void SetLoggedIn(bool loggedIn);                                   // LoginCurrent, default yes
    // From now on only this pair logs in (default: every pair does).
    void SetAcceptedLogin(std::string userName, std::string password);

    // Runs after a request is logged and before it is answered: a test can act in the middle of
    // a listing, e.g. signal termination. A hook replaced while it runs runs to its end.
    void OnRequest(std::function<void(const LoggedRequest &)> hook);
    // Large runs switch the log off; RequestCount goes on counting.
    void SetLogging(bool on);

    std::vector<LoggedRequest> Requests() const;
    std::vector<LoggedRequest> RequestsOf(RequestType type) const;
    std::size_t RequestCount() const { return requestCount_; }
    const std::vector<std::string> &OpenedNames() const { return opened_; }
    const std::vector<std::pair<std::string, std::string>> &Logins() const { return logins_; }
    // Replies handed out and not yet given back.
    std::size_t OutstandingReplies() const { return outstanding_; }
    void ClearLog();

    int32_t Open(const char *serverName) override;
    int32_t LoginCurrent(const LoginRecord &login) override;
    int32_t Login(const char *userName, const char *password) override;
    void *ListChildren(const ChildRequest &request, int32_t requestSize,
                       int32_t &replySize) override;
    void *GetHistory(const HistoryRequest &request, int32_t requestSize,
                     int32_t &replySize) override;
    void *RestoreObject(const RestoreRequest &request, int32_t requestSize,
                        int32_t &replySize) override;
    void *SearchObjects(const SearchRequest &request, int32_t requestSize,
                        int32_t &replySize) override;
    void *DescribeObject(const DescribeRequest &request, int32_t requestSize,
                         int32_t &replySize) override;
    void FreeReply(void *reply) override;
    std::string TakeListingNote() override;
    const RestoreReport *LastRestoreReport() const override;
    std::vector<std::string> TakeNotices() override { return std::exchange(notices_, {}); }

  private:
    struct Listing {
        std::size_t count = 0;
        ChildGenerator generate;
    };
    struct Outcome {
        int32_t status = 0;
        std::string message;
    };

    using Hook = std::function<void(const LoggedRequest &)>;

    void Received(const LoggedRequest &request);
    // Whether a request is copied at all: for the log or for a hook.
    bool Watched() const { return watched_; }
    // Every reply handed out is counted until it comes back.
    template <typename Record> Record *Counted(Record *reply);
    const Listing &ListingOf(const std::string &container) const;

    std::unordered_map<std::string, Listing> listings_;
    std::unordered_map<std::string, std::pair<std::size_t, std::string>> listingFailures_;
    std::vector<std::string> notices_;
    Listing defaultListing_;
    std::unordered_map<std::string, std::vector<BackupTime>> histories_;
    std::unordered_map<std::string, Outcome> outcomes_;
    std::unordered_map<std::string, std::string> listingNotes_;
    std::string pendingNote_;
    std::unordered_map<std::string, RestoreReport> reports_;
    std::unordered_map<std::string, DescriptionPieces> descriptions_;
    std::unordered_map<std::string, ObjectDescription> described_;
    std::unordered_map<std::string, DescriptionPieces> writes_;
    bool describes_ = false;
    const RestoreReport *lastReport_ = nullptr;
    std::vector<ScriptedChild> searchResults_;
    bool cannotSearch_ = false;
    std::pair<std::size_t, std::string> searchFailure_;
    std::unordered_map<std::string, int32_t> openResults_;
    bool loggedIn_ = true;
    bool anyLogin_ = true;
    std::pair<std::string, std::string> acceptedLogin_;

    mutable std::mutex logMutex_; // the log, the hook and whether to log
    std::shared_ptr<const Hook> hook_;
    bool logging_ = true;
    std::atomic<bool> watched_{true};
    std::vector<LoggedRequest> requests_;
    std::atomic<std::size_t> requestCount_{0};
    std::vector<std::string> opened_;
    std::vector<std::pair<std::string, std::string>> logins_;
    std::atomic<std::size_t> outstanding_{0};
};
