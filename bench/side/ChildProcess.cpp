// posix_spawn and wait4: the child's times come from its resource usage, its output through a
// pipe.
#include "bench/side/ChildProcess.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace
{
std::vector<char *> Pointers(std::vector<std::string> &texts)
{
    std::vector<char *> pointers;
    for (std::string &text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

double Ms(const timeval &time)
{
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

bool Spawn(const std::string &program, std::vector<std::string> argv, std::vector<std::string> envp,
           int outputFd, pid_t &pid)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    // Qt's warnings about the environment would only clutter the table.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argPointers = Pointers(argv);
    std::vector<char *> envPointers = Pointers(envp);
    const bool started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argPointers.data(),
                                     envPointers.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started;
}
} // namespace

ChildRun RunChild(const std::string &program, const std::vector<std::string> &arguments,
                  const std::vector<std::string> &environment)
{
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp = environment;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        envp.emplace_back(*entry);
    }

    ChildRun run;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return run;
    }
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const bool started = Spawn(program, argv, envp, pipeFds[1], pid);
    close(pipeFds[1]);
    if (started) {
        char buffer[4096];
        for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
            run.output.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    if (!started || wait4(pid, &status, 0, &usage) != pid) {
        return run;
    }
    run.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.cpuMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    run.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

std::string ExecutableDir()
{
    return std::filesystem::canonical("/proc/self/exe").parent_path().string();
}

long PeakResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + std::strlen("VmHWM:"));
        }
    }
    return 0;
}
