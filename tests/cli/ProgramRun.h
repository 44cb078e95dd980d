// tarvik-restore run as a user runs it: the built program copied into a folder of its own with a
// TARVIK.INI and the directory module beside it, started without a display and in a session of
// its own (so without a terminal, as under cron), or on a pseudo-terminal a test types into.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "server/DirectoryModule.h"
#include "tests/mwlib/TempDir.h"

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ProgramFolder
{
  public:
    explicit ProgramFolder(const std::string &profile)
    {
        std::filesystem::copy_file(TARVIK_RESTORE_PROGRAM, Program());
        std::filesystem::create_symlink(TARVIK_DIRECTORY_MODULE,
                                        folder.Path(DirectoryModule::kFileName));
        folder.Write("TARVIK.INI", profile);
    }

    std::string Program() const { return folder.Path("tarvik-restore"); }
    std::string Path(const std::string &name) const { return folder.Path(name); }

    // Runs the program without a terminal; standard input is the given text.
    ProgramResult Run(const std::vector<std::string> &words, const std::string &input = {}) const
    {
        const std::string in = folder.Write("stdin", input);
        const std::string out = folder.Path("stdout");
        const std::string err = folder.Path("stderr");
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setsid(); // no controlling terminal: /dev/tty cannot be opened
            Redirect(in, O_RDONLY, 0);
            Redirect(out, O_WRONLY | O_CREAT | O_TRUNC, 1);
            Redirect(err, O_WRONLY | O_CREAT | O_TRUNC, 2);
            Exec(words);
        }
        ProgramResult result;
        result.exitCode = Wait(pid);
        result.out = Read(out);
        result.err = Read(err);
        return result;
    }

    TempDir folder;

  private:
    static void Redirect(const std::string &path, int flags, int fd)
    {
        const int opened = ::open(path.c_str(), flags, 0600);
        ::dup2(opened, fd);
        ::close(opened);
    }

  public:
    void Exec(const std::vector<std::string> &words) const
    {
        // The journal of past runs goes to the folder, never to the user's own.
        ::setenv("XDG_DATA_HOME", folder.Path("data").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", folder.Path("cache").c_str(), 1);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        std::vector<std::string> all = {Program()};
        all.insert(all.end(), words.begin(), words.end());
        std::vector<char *> argv;
        for (std::string &word : all) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    static int Wait(pid_t pid)
    {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    static std::string Read(const std::string &path)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

// The program on a pseudo-terminal: its terminal, standard input, output and error.
class TerminalSession
{
  public:
    TerminalSession(const ProgramFolder &folder, const std::vector<std::string> &words)
    {
        winsize size{};
        size.ws_col = 100;
        size.ws_row = 30;
        pid_ = ::forkpty(&master_, nullptr, nullptr, &size);
        if (pid_ == 0) {
            folder.Exec(words);
        }
    }
    ~TerminalSession()
    {
        if (pid_ > 0 && exitCode_ < 0) {
            ::kill(pid_, SIGKILL);
            ProgramFolder::Wait(pid_);
        }
        if (master_ >= 0) {
            ::close(master_);
        }
    }

    // Reads what the program shows until `text` has appeared (true) or 20 s have passed.
    bool WaitFor(const std::string &text)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (shown_.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > end || !ReadSome(100)) {
                return shown_.find(text) != std::string::npos;
            }
        }
        return true;
    }
    void Type(const std::string &text)
    {
        [[maybe_unused]] auto n = ::write(master_, text.data(), text.size());
    }
    void Signal(int number) { ::kill(pid_, number); }
    int Finish()
    {
        while (ReadSome(100)) {
        }
        exitCode_ = ProgramFolder::Wait(pid_);
        return exitCode_;
    }
    const std::string &Shown() const { return shown_; }

  private:
    // False once the program has closed the terminal.
    bool ReadSome(int milliseconds)
    {
        pollfd ready{master_, POLLIN, 0};
        if (::poll(&ready, 1, milliseconds) <= 0) {
            return true;
        }
        char buffer[4096];
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        shown_.append(buffer, static_cast<std::size_t>(got));
        return true;
    }

    int master_ = -1;
    pid_t pid_ = -1;
    int exitCode_ = -1;
    std::string shown_;
};
