// Start-up of the whole program to its first painted main window, as a separate process each
// time, beside a stock Qt program that shows the same splash picture, menu bar and status bar
// (bench/peer/MainWindowWithSplash.cpp), measured the same way.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace
{

std::filesystem::path BuildDir()
{
    return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path();
}

// Runs the program offscreen until it quits after its first paint; false when it failed.
bool RunOnce(const std::string &program, const std::vector<std::string> &arguments)
{
    std::vector<char *> argv{const_cast<char *>(program.c_str())};
    for (const std::string &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<std::string> environment{"QT_QPA_PLATFORM=offscreen",
                                         "TARVIK_QUIT_AFTER_FIRST_PAINT=1"};
    for (char **entry = environ; *entry; ++entry) {
        environment.emplace_back(*entry);
    }
    std::vector<char *> envp;
    for (std::string &entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
        return false;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Measure(benchmark::State &state, const std::string &program,
             const std::vector<std::string> &arguments)
{
    for (auto _ : state) {
        if (!RunOnce(program, arguments)) {
            state.SkipWithError(("could not run " + program).c_str());
            break;
        }
    }
}

void BM_StartupTarvik(benchmark::State &state)
{
    Measure(state, (BuildDir() / "tarvik").string(), {"FS1"});
}
BENCHMARK(BM_StartupTarvik)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_StartupStockMainWindowWithSplash(benchmark::State &state)
{
    Measure(state, (BuildDir() / "bench" / "peer_main_window_with_splash").string(), {});
}
BENCHMARK(BM_StartupStockMainWindowWithSplash)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
