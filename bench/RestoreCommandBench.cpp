// tarvik-restore's figures: 10,000 objects found and restored through the scripted server (goal:
// under 1 s), and a deleted subtree of 100 entries restored from a private slapd by the command
// line and by the window's Restore command, each from opening the server to the results (goal:
// the command line within 1.2 times the window).
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bench/BenchMain.h"
#include "bench/CommandLineRun.h"
#include "bench/side/HeadlessRunHost.h"
#include "cli/InterruptFlag.h"
#include "cli/RestoreCommand.h"
#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestoreSelection.h"
#include "mwlib/MW_Application.h"
#include "mwlib/MW_String.h"
#include "report/RunJournal.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "restore/RestoreRun.h"
#include "restore/RestoreRunHost.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "server/directory/LdapServer.h"
#include "tests/cli/ScriptedTerminal.h"
#include "tests/mwlib/TempDir.h"
#include "tests/support/core/ScriptedServer.h"
#include "tests/support/core/SlapdServer.h"
#include "tests/support/gui/ModalScript.h"
#include "tree/ServerTasks.h"

namespace
{
constexpr std::size_t kObjects = 10000;

// 100 containers of 100 leaves each, every leaf asked for by its full name: 100 listings of the
// containers, 10,000 lookups and 10,000 restore requests.
void TenThousandObjectsFromTheScriptedServer(benchmark::State &state)
{
    ScriptedServer script;
    script.SetLogging(false);
    script.SetChildren("Marrowby", 100, [](std::size_t i) {
        char name[16];
        std::snprintf(name, sizeof name, "Unit-%03zu", i);
        return Container(name);
    });
    script.SetDefaultChildren(100, ScriptedServer::ShuffledLeaves(100, 7));
    ProgramFolder program("[SERVER]\nBackupServer=FS1\n");
    std::string list;
    for (std::size_t unit = 0; unit < kObjects / 100; ++unit) {
        for (std::size_t leaf = 0; leaf < 100; ++leaf) {
            char line[48];
            std::snprintf(line, sizeof line, "Item-%02zu.Unit-%03zu.Marrowby\n", leaf, unit);
            list += line;
        }
    }
    const std::string listFile = program.folder.Write("list.txt", list);
    std::string out;
    for (auto _ : state) {
        BackupServer server(script);
        if (RunCommand(server, {"--format=csv", "--from", listFile}, out) != 0) {
            state.SkipWithError(out.substr(0, 300).c_str());
            break;
        }
    }
    state.counters["objects"] = static_cast<double>(kObjects);
    state.counters["requests"] = benchmark::Counter(static_cast<double>(script.RequestCount()),
                                                    benchmark::Counter::kAvgIterations);
}
BENCHMARK(TenThousandObjectsFromTheScriptedServer)->Unit(benchmark::kMillisecond);

std::string Unit(const std::string &name, const std::string &parent)
{
    return "dn: ou=" + name + "," + parent + "\nobjectClass: organizationalUnit\nou: " + name +
           "\n\n";
}

// ou=Tree: itself, 9 units and 10 people in each, 100 entries.
std::string TreeDirectory()
{
    std::string ldif = "dn: o=Marrowby\nobjectClass: organization\no: Marrowby\n\n" +
                       Unit("Tree", "o=Marrowby") + Unit("Other", "o=Marrowby");
    for (int unit = 0; unit < 9; ++unit) {
        const std::string name = "U" + std::to_string(unit);
        ldif += Unit(name, "ou=Tree,o=Marrowby");
        for (int person = 0; person < 10; ++person) {
            const std::string cn = "P" + std::to_string(person);
            ldif += "dn: cn=" + cn + ",ou=" + name +
                    ",ou=Tree,o=Marrowby\nobjectClass: person\n"
                    "cn: " +
                    cn + "\nsn: Surname\n\n";
        }
    }
    return ldif;
}

struct Directory {
    Directory() : slapd({TreeDirectory(), ""}) { slapd.WriteSnapshot(1000, slapd.Slapcat()); }
    std::unique_ptr<BackupServer> Server() const
    {
        return std::make_unique<BackupServer>(std::make_unique<LdapServer>(
            slapd.SocketSettings("BENCH"), [](const std::string &) {}));
    }
    bool Delete() { return slapd.Delete("ou=Tree,o=Marrowby", true); }
    SlapdServer slapd;
};

Directory &Shared()
{
    static Directory directory;
    return directory;
}

// From opening the server to the results; false when the run did not restore the subtree.
bool ByTheCommandLine(Directory &directory)
{
    static ProgramFolder program("[SERVER]\nBackupServer=BENCH\n");
    std::unique_ptr<BackupServer> server = directory.Server();
    std::string out;
    return RunCommand(*server, {"--format=csv", "Tree.Marrowby"}, out) == 0;
}

// As the window does it: open the server and log in, list the top context, tick Tree, Restore,
// OK in the options dialog, OK under the results.
bool ByTheWindow(Directory &directory)
{
    ModalScript script;
    script.ExpectDialog(kDialogRestoreObjects, 1);
    script.ExpectDialog(kDialogRestore, 1);
    std::unique_ptr<BackupServer> server = directory.Server();
    ServerLogin login(*server);
    if (server->Open("BENCH") != 0 || login.LoginCurrent() != 0) {
        return false;
    }
    ServerClient client(*server);
    HeadlessRunHost host(client); // keeps the run in a journal, as the program does
    NodeList forest;
    auto top =
        std::make_unique<ObjectItem>(login.Context(), DisplayItem::ContainerKind, &client, nullptr);
    ObjectItem &context = *top;
    forest.AppendItem(std::move(top));
    context.Open();
    RestoreSelection selection(forest);
    ObjectItem *tree = selection.FindLoaded("Tree.Marrowby");
    if (tree == nullptr) {
        return false;
    }
    selection.Mark(*tree, Marked);
    RestoreRun(selection, host).RunRestore();
    return !selection.HasMarks(); // a restored object is unmarked
}

void DeletedSubtree(benchmark::State &state, bool (*run)(Directory &))
{
    InstallTarvikResources();
    Directory &directory = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        directory.Delete();
        state.ResumeTiming();
        if (!run(directory)) {
            state.SkipWithError("the subtree was not restored");
            break;
        }
    }
}
BENCHMARK_CAPTURE(DeletedSubtree, ByTheWindow, ByTheWindow)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DeletedSubtree, ByTheCommandLine, ByTheCommandLine)
    ->Unit(benchmark::kMillisecond);

// The two in turns, so that the server's slow and fast moments fall on both alike: the ratio of
// the command line's time to the window's (goal: at most 1.2).
void CommandLineAgainstWindow(benchmark::State &state)
{
    InstallTarvikResources();
    Directory &directory = Shared();
    std::chrono::duration<double> window{0};
    std::chrono::duration<double> commandLine{0};
    for (auto _ : state) {
        for (auto [run, total] :
             {std::pair{&ByTheWindow, &window}, {&ByTheCommandLine, &commandLine}}) {
            directory.Delete();
            const auto start = std::chrono::steady_clock::now();
            if (!run(directory)) {
                state.SkipWithError("the subtree was not restored");
                return;
            }
            *total += std::chrono::steady_clock::now() - start;
        }
    }
    state.counters["ratio"] = commandLine / window;
}
BENCHMARK(CommandLineAgainstWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

// The whole program as a script starts it: process, profile, directory module, server, run.
void DeletedSubtreeByTheProgram(benchmark::State &state)
{
    Directory &directory = Shared();
    TempDir folder;
    const std::string program = folder.Path("tarvik-restore");
    std::filesystem::copy_file(TARVIK_RESTORE_PROGRAM, program);
    std::filesystem::create_symlink(TARVIK_DIRECTORY_MODULE, folder.Path("tarvik-directory.so"));
    folder.Write("TARVIK.INI",
                 "[SERVER]\nBackupServer=BENCH\n\n[BENCH]\nUri=" + directory.slapd.SocketUri() +
                     "\nBase=o=Marrowby\nCatalogue=" + directory.slapd.Catalogue() +
                     "\nSasl=EXTERNAL\n");
    for (auto _ : state) {
        state.PauseTiming();
        directory.Delete();
        state.ResumeTiming();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("XDG_DATA_HOME", folder.Path("data").c_str(), 1);
            ::setenv("XDG_CACHE_HOME", folder.Path("cache").c_str(), 1);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(program.c_str(), program.c_str(), "--format=csv", "Tree.Marrowby", nullptr);
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            break;
        }
    }
}
BENCHMARK(DeletedSubtreeByTheProgram)->Unit(benchmark::kMillisecond);
} // namespace

TARVIK_GUI_BENCHMARK_MAIN();
