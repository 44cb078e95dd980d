// The one way the program talks to a backup server: open it by name, send list, history,
// restore and search requests as fixed-layout records, and give every reply back through FreeReply.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "server/ServerBackend.h"

class BackupServer
{
  public:
    // Answered by the simulated server (which seeds rand with the current time).
    BackupServer();
    // Answered by the given backend, which must outlive this object (a test's scripted server).
    explicit BackupServer(ServerBackend &backend);
    // Answered by the given backend, owned from now on.
    explicit BackupServer(std::unique_ptr<ServerBackend> backend);
    BackupServer(const BackupServer &) = delete;
    BackupServer &operator=(const BackupServer &) = delete;
    ~BackupServer();

    // Before Open: answer by the given backend from now on (owned), or by the simulation again
    // when it is null.
    void UseBackend(std::unique_ptr<ServerBackend> backend);

    int32_t Open(const char *serverName);

    // type is a RequestType; for any other value nothing is done and neither out-parameter is
    // written. The reply belongs to the caller until it is passed to FreeReply.
    void Request(int32_t type, int32_t requestSize, const void *request, int32_t &replySize,
                 void *&reply);
    void FreeReply(void *reply);

    // What the backend says beside the records (see ServerBackend).
    std::string RefusalReason() const { return backend_->RefusalReason(); }
    // Why the last request could not be served; empty when it was.
    const std::string &LastFailure() const { return backend_->RequestFailure(); }
    std::string TakeListingNote() { return backend_->TakeListingNote(); }
    const RestoreReport *LastRestoreReport() const { return backend_->LastRestoreReport(); }
    // What the user should be told once about this server; empty when there is nothing (more).
    std::vector<std::string> TakeNotices() { return backend_->TakeNotices(); }

    ServerBackend &Backend() { return *backend_; }
    // The backend, and any that takes its place, watches the flag (see ServerBackend).
    void WatchAbandon(const std::atomic<bool> *flag);
    // The backend, and any that takes its place, tells its opening's progress so.
    void WatchOpening(OpenProgress progress);

  private:
    std::unique_ptr<ServerBackend> simulation_;
    std::unique_ptr<ServerBackend> owned_;
    ServerBackend *backend_;
    const std::atomic<bool> *abandon_ = nullptr;
    OpenProgress opening_;
};
