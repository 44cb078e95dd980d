// tarvik-restore run in the test's process against the scripted server: a program folder with
// its TARVIK.INI, the terminal a test scripts (none by default), and the three standard streams.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/InterruptFlag.h"
#include "cli/RestoreCommand.h"
#include "mwlib/MW_Application.h"
#include "mwlib/MW_String.h"
#include "server/BackupServer.h"
#include "tests/cli/ReadBack.h"
#include "tests/cli/ScriptedTerminal.h"
#include "tests/mwlib/TempDir.h"
#include "tests/support/core/ScriptedServer.h"

class CommandRun
{
  public:
    explicit CommandRun(const std::string &profile = "[SERVER]\nBackupServer=FS1\n")
        : hooks(MW_String("TARVIK"), MW_String(folder.Path("tarvik-restore").c_str()))
    {
        if (!profile.empty()) {
            folder.Write("TARVIK.INI", profile);
        }
        InterruptFlag::Set(false);
    }
    ~CommandRun() { InterruptFlag::Set(false); }

    int Run(const std::vector<std::string> &words, const std::string &input = {})
    {
        in.str(input);
        out.str({});
        err.str({});
        BackupServer server(script);
        RestoreCommand command(server, false, terminal, {in, out, err}, JournalPath());
        return command.Run(words);
    }
    // The journal of past runs that runs are appended to.
    const std::string &JournalPath() const { return journalPath; }
    // The results as CSV rows, header left out (empty when they do not read as CSV).
    std::vector<readback::Row> Rows() const
    {
        std::optional<std::vector<readback::Row>> rows = readback::Csv(out.str());
        if (!rows || rows->empty()) {
            return {};
        }
        rows->erase(rows->begin());
        return *rows;
    }
    // Name and flags of every restore request, in the order sent.
    std::vector<std::string> Restores() const
    {
        std::vector<std::string> sent;
        for (const LoggedRequest &request : script.RequestsOf(RestoreObject)) {
            sent.push_back(request.name + (request.flags & RestoreWithSubtree ? " +subtree" : "") +
                           (request.version != 0 ? " @" + std::to_string(request.version) : ""));
        }
        return sent;
    }

    TempDir folder;
    MW_Application hooks;
    ScriptedServer script;
    ScriptedTerminal terminal{false};
    std::string journalPath = folder.Path("runs.jsonl");
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

// The scripted directory most tests run against, and the backup times of its histories.
inline constexpr BackupTime kMonday = 1795999200;  // 2026-11-30T00:40:00Z
inline constexpr BackupTime kTuesday = 1796085600; // a day later
inline constexpr BackupTime kFriday = 1796344800;

// Marrowby: Gone (a deleted container), Object-1, Sales, v1.2 (a name with a dot)
//   Gone: Object-6
//   Sales: Object-2, Object-3, Team
//     Team: Object-4, Object-5
// Listings come in an order of their own; the tree keeps names in byte order.
inline void Directory(ScriptedServer &script)
{
    script.SetChildren(
        "Marrowby", {Container("Sales"), Leaf("Object-1"), Container("Gone", false), Leaf("v1.2")});
    script.SetChildren("Gone.Marrowby", {Leaf("Object-6", false)});
    script.SetChildren("Sales.Marrowby", {Container("Team"), Leaf("Object-3"), Leaf("Object-2")});
    script.SetChildren("Team.Sales.Marrowby", {Leaf("Object-5"), Leaf("Object-4")});
    script.SetHistory("Object-2.Sales.Marrowby", {kTuesday, kMonday, kFriday});
    script.SetHistory("Sales.Marrowby", {kMonday, kFriday});
}
