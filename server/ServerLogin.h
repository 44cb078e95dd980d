// The login record bound to the backup server: the user the program acts as and that user's
// context, which becomes the tree's first top context.
#pragma once

#include <cstdint>

#include "server/BackupServer.h"
#include "server/ServerRecords.h"

class ServerLogin
{
  public:
    static constexpr const char *DefaultUser = "Admin.Tech_Support.Marrowby";
    static constexpr const char *DefaultContext = "Marrowby";

    // Holds the default user and context.
    explicit ServerLogin(BackupServer &server);
    // Holds the given user and context; each is cut to the 127 characters its field can hold.
    ServerLogin(BackupServer &server, const char *userName, const char *context);

    // 0 when the user held here counts as logged in without a password.
    int32_t LoginCurrent();
    // 0 = logged in, anything else = refused. After a login the backend may rewrite the user and
    // context held here (the simulation keeps them).
    int32_t Login(const char *userName, const char *password);

    const char *UserName() const { return record_.userName; }
    const char *Context() const { return record_.context; }
    const LoginRecord &Record() const { return record_; }

  private:
    BackupServer &server_;
    LoginRecord record_;
};
