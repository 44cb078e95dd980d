// The application object: owns the backup server, the login record and the server name for the
// whole run, and runs the start-up steps, the event loop and the teardown in Main.
#pragma once

#include <memory>
#include <string>

#include "restore/server/BackupServer.h"
#include "restore/server/ServerLogin.h"
#include "toolkit/Application.h"

class MW_Cache;
class MW_String;
class RestoreAppHooks;

class RestoreApp : public Application
{
  public:
    // serverNames receives the configured servers; section and key name the profile's entry.
    RestoreApp(MW_Cache &serverNames, const MW_String &section, const MW_String &key);
    // A server answered by the given backend (tests).
    RestoreApp(MW_Cache &serverNames, const MW_String &section, const MW_String &key,
               ServerBackend &backend);
    ~RestoreApp() override;

    void Main(int argc, char **argv) override;

    BackupServer &Server() { return server_; }
    ServerLogin *Login() const { return login_.get(); }
    const std::string &ServerName() const { return serverName_; }
    RestoreAppHooks *Hooks() const { return hooks_; }

  private:
    void CreateHooks(const char *programPath);

    MW_Cache &serverNames_;
    const MW_String &section_;
    const MW_String &key_;
    BackupServer server_;
    std::unique_ptr<ServerLogin> login_;
    std::string serverName_;
    RestoreAppHooks *hooks_ = nullptr; // deletes itself at process exit
};
