// The login record and the server's verdict on it.
#include "server/ServerLogin.h"

#include <cstring>

namespace
{
// Pads the field with NULs and keeps its last byte a NUL, so it holds at most 127 characters.
void CopyLoginField(char (&field)[LoginFieldSize], const char *text)
{
    std::strncpy(field, text != nullptr ? text : "", LoginFieldSize);
    field[LoginFieldSize - 1] = '\0';
}
} // namespace

ServerLogin::ServerLogin(BackupServer &server) : ServerLogin(server, DefaultUser, DefaultContext) {}

ServerLogin::ServerLogin(BackupServer &server, const char *userName, const char *context)
    : server_(server)
{
    CopyLoginField(record_.userName, userName);
    CopyLoginField(record_.context, context);
}

int32_t ServerLogin::LoginCurrent()
{
    const int32_t result = server_.Backend().LoginCurrent(record_);
    if (result == 0) {
        server_.Backend().UpdateLogin(record_);
    }
    return result;
}

int32_t ServerLogin::Login(const char *userName, const char *password)
{
    const int32_t result = server_.Backend().Login(userName, password);
    if (result == 0) {
        server_.Backend().UpdateLogin(record_);
    }
    return result;
}
