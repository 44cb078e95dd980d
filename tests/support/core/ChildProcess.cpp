// Starting, waiting for and stopping the programs of the test servers.
#include "tests/support/core/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

pid_t ChildProcess::Spawn(const std::vector<std::string> &command, const std::string &in,
                          const std::string &out, bool dieWithParent)
{
    std::vector<char *> argv;
    for (const std::string &word : command) {
        argv.push_back(const_cast<char *>(word.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    if (dieWithParent) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
    }
    const int input = ::open(in.empty() ? "/dev/null" : in.c_str(), O_RDONLY);
    const int output = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errors = ::open((out + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(input, 0);
    ::dup2(output, 1);
    ::dup2(errors, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

int ChildProcess::Run(const std::vector<std::string> &command, const std::string &in,
                      const std::string &out)
{
    const pid_t pid = Spawn(command, in, out, false);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::Stop(pid_t &pid, int graceSeconds)
{
    if (pid <= 0) {
        return;
    }
    ::kill(pid, SIGTERM);
    ::kill(pid, SIGCONT); // a frozen server must take its signal
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(graceSeconds);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid = -1;
}

bool ChildProcess::Ended(pid_t &pid)
{
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
    }
    return pid <= 0;
}

std::string ChildProcess::ReadAll(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
