// Sends a request and keeps its reply until it is released.
#include "server/ServerReply.h"

ServerReply::ServerReply(BackupServer &server, RequestType type, int32_t requestSize,
                         const void *request)
    : server_(server)
{
    server_.Request(type, requestSize, request, size_, reply_);
}

ServerReply::~ServerReply()
{
    if (reply_ != nullptr) {
        server_.FreeReply(reply_);
    }
}
