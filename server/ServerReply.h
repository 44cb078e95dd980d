// One reply of the backup server, given back through BackupServer::FreeReply when it goes.
#pragma once

#include <cstdint>

#include "server/BackupServer.h"

class ServerReply
{
  public:
    // Sends the request; the reply (if any) is held from now on.
    ServerReply(BackupServer &server, RequestType type, int32_t requestSize, const void *request);
    ServerReply(const ServerReply &) = delete;
    ServerReply &operator=(const ServerReply &) = delete;
    ~ServerReply();

    // The reply as a record, or null when the server gave none or fewer bytes than the record.
    template <typename Record> const Record *As() const
    {
        return reply_ != nullptr && size_ >= static_cast<int32_t>(sizeof(Record))
                   ? static_cast<const Record *>(reply_)
                   : nullptr;
    }
    int32_t Size() const { return reply_ != nullptr ? size_ : 0; }

  private:
    BackupServer &server_;
    int32_t size_ = 0;
    void *reply_ = nullptr;
};
