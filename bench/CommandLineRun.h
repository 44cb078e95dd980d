// tarvik-restore run in the benchmark's process: a program folder whose TARVIK.INI names the
// server (the profile reader finds it through the application object), and one run of the
// command against a server whose backend the benchmark made.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/RestoreCommand.h"
#include "mwlib/MW_Application.h"
#include "mwlib/MW_String.h"
#include "server/BackupServer.h"
#include "tests/cli/ScriptedTerminal.h"
#include "tests/mwlib/TempDir.h"

struct ProgramFolder {
    explicit ProgramFolder(const std::string &profile)
        : hooks(MW_String("TARVIK"), MW_String(folder.Path("tarvik-restore").c_str()))
    {
        folder.Write("TARVIK.INI", profile);
    }
    TempDir folder;
    MW_Application hooks;
};

// The exit status; `out` gets the results and what went to standard error.
inline int RunCommand(BackupServer &server, const std::vector<std::string> &words, std::string &out)
{
    static TempDir data; // each run is appended to a journal of past runs, as users' are
    ScriptedTerminal none(false);
    std::istringstream in;
    std::ostringstream results;
    std::ostringstream errors;
    RestoreCommand command(server, false, none, {in, results, errors}, data.Path("runs.jsonl"));
    const int exitCode = command.Run(words);
    out = results.str() + errors.str();
    return exitCode;
}
