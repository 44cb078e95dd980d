// The application object: owns the backup server, the login record and the server name for the
// whole run, and runs the start-up steps, the event loop and the teardown in Main.
#pragma once

#include <memory>
#include <string>

#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "startup/ServerOpener.h"
#include "toolkit/Application.h"

class MW_Application;
class MW_Cache;
class MW_String;
class RestoreAppHooks;
class RestoreProfile;

class RestoreApp : public Application
{
  public:
    // serverNames receives the configured servers; section and key name the profile's entry.
    static constexpr const char *kUnableToOpenServer = ServerOpener::kUnableToOpenServer;
    static constexpr const char *kUnableToOpenAny = ServerOpener::kUnableToOpenAny;
    static constexpr const char *kUnableToOpenConfiguration =
        ServerOpener::kUnableToOpenConfiguration;
    static constexpr const char *kLoginRefused = "User / password invalid.\nPlease re-enter.";

    RestoreApp(MW_Cache &serverNames, MW_String &section, MW_String &key);
    // A server answered by the given backend (tests).
    RestoreApp(MW_Cache &serverNames, MW_String &section, MW_String &key, ServerBackend &backend);
    ~RestoreApp() override;

    void Main(int argc, char **argv) override;

    // Opens the named server, or else the first configured one that opens; says why not.
    bool OpenServers(const std::string &name);
    // Asks for a name and password until the login record accepts them; false: cancelled.
    bool Login();
    // Start-up's second step: the termination hooks, which record the program's name and path,
    // then the profile found through them.
    void CreateHooks(const char *programPath);
    void LoadProfile(MW_Application *owner);

    BackupServer &Server() { return server_; }
    ServerLogin *Login() const { return login_.get(); }
    const std::string &ServerName() const { return serverName_; }
    RestoreAppHooks *Hooks() const { return hooks_; }
    RestoreProfile *Profile() const { return profile_.get(); }

  private:
    MW_Cache &serverNames_;
    MW_String &section_;
    MW_String &key_;
    BackupServer server_;
    ServerClient client_{server_}; // the tree's requests go through it
    // A server built on a given backend keeps that backend.
    ServerOpener opener_;
    std::unique_ptr<ServerLogin> login_;
    std::string serverName_;
    RestoreAppHooks *hooks_ = nullptr; // deletes itself at process exit
    std::unique_ptr<RestoreProfile> profile_;
};
