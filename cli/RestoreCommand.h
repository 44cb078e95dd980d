// tarvik-restore from its words to its exit status: reads the options and the objects, opens the
// server and logs in as the window does (TARVIK.INI beside the program, the same server list and
// directory settings), restores the objects in the window's order, and writes one result per
// object; or, with --find, lists the objects whose name matches. Everything that can be refused
// is refused before anything is sent.
#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/RestoreOptions.h"
#include "cli/WantedObject.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_String.h"
#include "server/SecretText.h"

class BackupServer;
class OutputFile;
struct RunReport;
class ServerLogin;
class Terminal;

class RestoreCommand
{
  public:
    enum ExitCode {
        Success = 0,           // every object restored (or would be)
        Failures = 1,          // some failed, were skipped or not found; or interrupted
        BadArguments = 2,      // arguments or settings: nothing was sent
        ServerUnavailable = 3, // the server did not open or the login failed
    };

    struct Streams {
        std::istream &in;
        std::ostream &out;
        std::ostream &err;
        bool errIsTerminal = false; // progress is shown only then
        std::size_t errWidth = 0;   // the terminal's columns, 0 when not known
    };

    // choosesBackend false: the server keeps its backend (a test's scripted server). Each run
    // that is not a dry run is appended to the journal of past runs at journalPath (empty: the
    // user has none, and is told so).
    RestoreCommand(BackupServer &server, bool choosesBackend, Terminal &terminal, Streams streams,
                   std::string journalPath);
    ~RestoreCommand();

    int Run(const std::vector<std::string> &words);

  private:
    int Refuse(const std::string &fault);
    int Misconfigured(const std::string &fault);
    int Unavailable(const std::string &fault);
    bool ReadObjects(const RestoreOptions &options, std::vector<WantedObject> &wanted);
    bool ReadPassword(const RestoreOptions &options);
    bool OpenServer(const RestoreOptions &options, int &exitCode);
    int IndexCatalogues(const RestoreOptions &options);
    bool LogIn(const RestoreOptions &options, ServerLogin &login);
    int Restore(const RestoreOptions &options, const std::vector<WantedObject> &wanted,
                ServerLogin &login);
    int Find(const RestoreOptions &options, ServerLogin &login);
    void KeepInJournal(const RunReport &run);
    int Finish(const std::string &results, int exitCode);

    BackupServer &server_;
    bool choosesBackend_;
    Terminal &terminal_;
    Streams streams_;
    std::string journalPath_;
    std::string serverName_; // the server opened
    // The profile reads the server list into these; they outlive it.
    MW_String section_{"SERVER"};
    MW_String key_{"BackupServer"};
    MW_Cache serverNames_;
    std::string fault_;
    SecretText password_;
    std::unique_ptr<OutputFile> output_;
};
