// The application object: owns the backup server, the login record and the server name for the
// whole run, and runs the start-up steps, the event loop and the teardown in Main.
#pragma once

#include <memory>
#include <string>

#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "toolkit/Application.h"

class DirectoryModule;
class MW_Application;
class MW_Cache;
class MW_String;
class RestoreAppHooks;
class RestoreProfile;
struct LdapSettings;

class RestoreApp : public Application
{
  public:
    // serverNames receives the configured servers; section and key name the profile's entry.
    static constexpr const char *kUnableToOpenServer = "Unable to open server: ";
    static constexpr const char *kUnableToOpenAny =
        "Unable to open any servers defined in TARVIK.INI";
    static constexpr const char *kUnableToOpenConfiguration =
        "Unable to open configuration file: TARVIK.INI";
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
    bool OpenNamedOrConfiguredServer(const std::string &name);
    bool OpenConfiguredServer();
    bool TakeConfiguredServerName(std::string &name);
    // Opens the named server: a directory server when the profile has a section of that name,
    // else the simulation (a server built on a given backend keeps that backend). When it does
    // not open, openFailure_ says why (empty when nobody can say).
    int32_t OpenServer(const std::string &name);
    int32_t OpenBackendFor(const std::string &name);
    // A directory backend from the module beside the program (loaded on first use); null, with
    // the reason in openFailure_ and on standard error, when the module cannot be used.
    std::unique_ptr<ServerBackend> CreateDirectoryBackend(const LdapSettings &settings,
                                                          const std::string &programDirectory);

    static constexpr int32_t kDirectoryUnavailable = -1;

    MW_Cache &serverNames_;
    MW_String &section_;
    MW_String &key_;
    BackupServer server_;
    ServerClient client_{server_}; // the tree's requests go through it
    bool choosesBackend_ = true;
    std::unique_ptr<ServerLogin> login_;
    std::string serverName_;
    std::string openFailure_;
    // Why each configured server that was tried did not open: "NAME: reason" lines.
    std::string configuredFailures_;
    RestoreAppHooks *hooks_ = nullptr; // deletes itself at process exit
    std::unique_ptr<RestoreProfile> profile_;
    std::unique_ptr<DirectoryModule> directoryModule_; // never unloads the module
};
