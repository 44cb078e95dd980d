// Hands each request to the backend as a decoded record.
#include "server/BackupServer.h"

#include <algorithm>
#include <cstring>

#include "server/SimulatedServer.h"

namespace
{
// A request shorter than its record reads as zero behind what the caller gave.
template <typename Record> Record Decode(const void *request, int32_t requestSize)
{
    Record record{};
    if (request != nullptr && requestSize > 0) {
        std::memcpy(&record, request,
                    std::min(sizeof record, static_cast<std::size_t>(requestSize)));
    }
    return record;
}
} // namespace

BackupServer::BackupServer()
    : simulation_(std::make_unique<SimulatedServer>()), backend_(simulation_.get())
{
}

BackupServer::BackupServer(ServerBackend &backend) : backend_(&backend) {}

BackupServer::BackupServer(std::unique_ptr<ServerBackend> backend)
    : owned_(std::move(backend)), backend_(owned_.get())
{
}

BackupServer::~BackupServer() = default;

void BackupServer::UseBackend(std::unique_ptr<ServerBackend> backend)
{
    if (backend == nullptr && simulation_ == nullptr) {
        simulation_ = std::make_unique<SimulatedServer>();
    }
    owned_ = std::move(backend);
    backend_ = owned_ != nullptr ? owned_.get() : simulation_.get();
    backend_->WatchAbandon(abandon_);
    backend_->WatchOpening(opening_);
}

void BackupServer::WatchAbandon(const std::atomic<bool> *flag)
{
    abandon_ = flag;
    backend_->WatchAbandon(flag);
}

void BackupServer::WatchOpening(OpenProgress progress)
{
    opening_ = std::move(progress);
    backend_->WatchOpening(opening_);
}

int32_t BackupServer::Open(const char *serverName)
{
    return backend_->Open(serverName);
}

void BackupServer::Request(int32_t type, int32_t requestSize, const void *request,
                           int32_t &replySize, void *&reply)
{
    backend_->ClearRequestFailure();
    switch (type) {
    case ListChildren:
        reply = backend_->ListChildren(Decode<ChildRequest>(request, requestSize), requestSize,
                                       replySize);
        break;
    case GetHistory:
        reply = backend_->GetHistory(Decode<HistoryRequest>(request, requestSize), requestSize,
                                     replySize);
        break;
    case RestoreObject:
        reply = backend_->RestoreObject(Decode<RestoreRequest>(request, requestSize), requestSize,
                                        replySize);
        break;
    case SearchObjects:
        reply = backend_->SearchObjects(Decode<SearchRequest>(request, requestSize), requestSize,
                                        replySize);
        break;
    case DescribeObject:
        reply = backend_->DescribeObject(Decode<DescribeRequest>(request, requestSize), requestSize,
                                         replySize);
        break;
    case ListChanges:
        reply = backend_->ListChanges(Decode<ChangeRequest>(request, requestSize), requestSize,
                                      replySize);
        break;
    case GetBackupTimes:
        reply = backend_->GetBackupTimes(Decode<HistoryRequest>(request, requestSize), requestSize,
                                         replySize);
        break;
    default:
        break;
    }
}

void BackupServer::FreeReply(void *reply)
{
    backend_->FreeReply(reply);
}
