// What answers a BackupServer's calls: the simulation by default; a real server, or a test's
// scripted server, can take its place without the rest of the program noticing.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "server/RestoreReport.h"
#include "server/ServerRecords.h"

// A long step of opening (a directory server indexing its snapshots) tells how far it is, and
// stops when asked: what is being done, how much of how much (0 of 0: not known).
struct OpenProgress {
    std::function<void(const std::string &what, uint64_t done, uint64_t total)> report;
    const std::atomic<bool> *stop = nullptr;
};

class ServerBackend
{
  public:
    ServerBackend() = default;
    ServerBackend(const ServerBackend &) = delete;
    ServerBackend &operator=(const ServerBackend &) = delete;
    virtual ~ServerBackend() = default;

    // What Open returns when the server's settings cannot work: nothing was sent to it.
    static constexpr int32_t kRefusedBySettings = -3;

    // 0 = opened / logged in; any other value = refused (kRefusedBySettings: by its settings).
    virtual int32_t Open(const char *serverName) = 0;
    virtual int32_t LoginCurrent(const LoginRecord &login) = 0;
    virtual int32_t Login(const char *userName, const char *password) = 0;
    // After a successful login: a backend may put the identity it acts as and the top context
    // of its tree into the record. The simulation leaves the record as it is.
    virtual void UpdateLogin(LoginRecord &) {}

    // Each request gets the caller's record (missing bytes of a short request read as zero) and
    // the size the caller gave. The reply is allocated with malloc, belongs to the caller until
    // FreeReply, and its size in bytes goes to replySize.
    virtual void *ListChildren(const ChildRequest &request, int32_t requestSize,
                               int32_t &replySize) = 0;
    virtual void *GetHistory(const HistoryRequest &request, int32_t requestSize,
                             int32_t &replySize) = 0;
    virtual void *RestoreObject(const RestoreRequest &request, int32_t requestSize,
                                int32_t &replySize) = 0;
    // One match per request, by lastId, then the end record (with SearchUnsupported when the
    // backend cannot search). A search that failed ends with an end record and a RequestFailure.
    virtual void *SearchObjects(const SearchRequest &request, int32_t requestSize,
                                int32_t &replySize) = 0;
    // One record of an object's description. A backend that cannot describe objects answers
    // with an end record whose status is DescribeNotOffered (what this does).
    virtual void *DescribeObject(const DescribeRequest &request, int32_t requestSize,
                                 int32_t &replySize);

    // One record of a change report (see ChangeFeed), by lastId, then the end record. A backend
    // that cannot report changes answers with an end record whose status is ChangesUnsupported
    // (what this does). A report that failed ends with an end record and a RequestFailure.
    virtual void *ListChanges(const ChangeRequest &request, int32_t requestSize,
                              int32_t &replySize);
    // The times of the backups a change report can compare, newest first (none here).
    virtual void *GetBackupTimes(const HistoryRequest &request, int32_t requestSize,
                                 int32_t &replySize);

    virtual void FreeReply(void *reply) { std::free(reply); }

    // What a backend can say beside the records. The simulation says nothing.
    //
    // Why the last Open, LoginCurrent or Login was refused, in words for the user (never a
    // password); empty when there is nothing to say.
    virtual std::string RefusalReason() const { return {}; }
    // Why the request answered last could not be served, or empty when it was. The records
    // cannot say it: a listing that failed still ends with an end record, like an empty
    // container. BackupServer clears it before every request.
    const std::string &RequestFailure() const { return requestFailure_; }
    void ClearRequestFailure() { requestFailure_.clear(); }
    // A note on the listing that ended last: a limit of the server cut it short. Given once;
    // empty when the listing was whole (a listing that failed has a RequestFailure instead).
    virtual std::string TakeListingNote() { return {}; }
    // What the last RestoreObject wrote (on success, and before a failure); null when the
    // backend does not tell. Valid until the next request.
    virtual const RestoreReport *LastRestoreReport() const { return nullptr; }
    // What the user should be told once, in the window, about this server (snapshot files that
    // are not used, with the reasons); each text is handed out once.
    virtual std::vector<std::string> TakeNotices() { return {}; }

    // A flag that is set while the request in flight is to be given up (the user stopped it, or
    // the program is ending); null: never. A backend that waits for a server looks at it
    // between short waits; one that answers at once may ignore it.
    virtual void WatchAbandon(const std::atomic<bool> *flag) { abandon_ = flag; }
    // How the next Open tells its progress; one that opens at once ignores it.
    virtual void WatchOpening(const OpenProgress &) {}
    bool AbandonAsked() const { return abandon_ != nullptr && abandon_->load(); }

  protected:
    void FailRequest(std::string why) { requestFailure_ = std::move(why); }

  private:
    std::string requestFailure_;
    const std::atomic<bool> *abandon_ = nullptr;
};
