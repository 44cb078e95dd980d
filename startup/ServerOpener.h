// Opens the backup server a program works with: the one named (on the command line), or else the
// first of the servers configured in TARVIK.INI that opens. A name whose profile section holds
// directory settings opens a directory server through the module beside the program; every
// other name opens the simulation. Both programs, the window and the command line, start here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class BackupServer;
class DirectoryModule;
class MW_Cache;
class RestoreProfile;
class ServerBackend;
struct LdapSettings;

class ServerOpener
{
  public:
    static constexpr const char *kUnableToOpenServer = "Unable to open server: ";
    static constexpr const char *kUnableToOpenAny =
        "Unable to open any servers defined in TARVIK.INI";
    static constexpr const char *kUnableToOpenConfiguration =
        "Unable to open configuration file: TARVIK.INI";

    enum class Outcome {
        Opened,
        NamedServerRefused, // the named server did not open; the list was not tried
        NoConfiguration,    // no name, and the profile did not load
        NoServerOpened,     // no name, and none of the configured servers opened
    };

    // Says why a directory server could not be used (its module missing or refusing).
    using Report = std::function<void(const std::string &)>;

    // serverNames is the list the profile fills. With choosesBackend false the server keeps the
    // backend it has (a test's scripted server); otherwise each name picks its backend.
    ServerOpener(BackupServer &server, MW_Cache &serverNames, bool choosesBackend,
                 Report report = {});
    ServerOpener(const ServerOpener &) = delete;
    ServerOpener &operator=(const ServerOpener &) = delete;
    ~ServerOpener();

    // name empty: the configured servers in order. profile may be null (it did not load). The
    // configured names are read in this one pass; those not tried are released.
    Outcome Open(const std::string &name, RestoreProfile *profile);
    // The configured names (after the profile filled the list), taken out of it in order.
    std::vector<std::string> TakeConfiguredNames();
    // The last name tried: after a success, the open server's.
    const std::string &ServerName() const { return serverName_; }
    // After an outcome other than Opened: every server tried was refused for its settings, so
    // nothing was sent to any of them.
    bool RefusedBySettings() const { return triedCount_ > 0 && triedCount_ == settingsRefusals_; }

    // What the user is told for an outcome other than Opened: the program's text first, and
    // below it why the server (or each configured server tried) did not open, when known.
    std::string Message(Outcome outcome) const;

  private:
    Outcome OpenNamedOrConfigured(const std::string &name, RestoreProfile *profile);
    bool OpenConfigured(RestoreProfile *profile);
    bool TakeConfiguredServerName(std::string &name);
    // When the server does not open, openFailure_ says why (empty when nobody can say).
    int32_t OpenServer(const std::string &name, RestoreProfile *profile);
    int32_t OpenBackendFor(const std::string &name, RestoreProfile *profile);
    std::unique_ptr<ServerBackend> CreateDirectoryBackend(const LdapSettings &settings,
                                                          const std::string &programDirectory);

    static constexpr int32_t kDirectoryUnavailable = -1;

    BackupServer &server_;
    MW_Cache &serverNames_;
    bool choosesBackend_;
    Report report_;
    std::string serverName_;
    std::string openFailure_;
    int triedCount_ = 0;
    int settingsRefusals_ = 0;
    // Why each configured server that was tried did not open: "NAME: reason" lines.
    std::string configuredFailures_;
    std::unique_ptr<DirectoryModule> directoryModule_; // never unloads the module
};
