// Writing the results through a temporary file and a rename.
#include "cli/OutputFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "report/FileReplacement.h"

namespace
{
// Holds SIGINT and SIGTERM back for as long as it lives.
class SignalsHeld
{
  public:
    SignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        held_ = ::sigprocmask(SIG_BLOCK, &held, &previous_) == 0;
    }
    ~SignalsHeld()
    {
        if (held_) {
            ::sigprocmask(SIG_SETMASK, &previous_, nullptr);
        }
    }
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

  private:
    sigset_t previous_{};
    bool held_ = false;
};
} // namespace

std::unique_ptr<OutputFile> OutputFile::Create(const std::string &path, std::string &fault)
{
    const std::filesystem::path target(path);
    if (target.filename().empty()) {
        fault = path + " names no file";
        return nullptr;
    }
    struct stat status {
    };
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        fault = path + " is not a regular file";
        return nullptr;
    }
    const std::filesystem::path folder = target.parent_path();
    std::string probe = ((folder.empty() ? std::filesystem::path(".") : folder) /
                         ("." + target.filename().string() + ".tarvik-XXXXXX"))
                            .string();
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0) {
        fault = "cannot write beside " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return std::unique_ptr<OutputFile>(new OutputFile(path));
}

bool OutputFile::Commit(const std::string &text, std::string &fault) const
{
    const SignalsHeld held;
    const std::string reason = ReplaceFileContents(path_, text);
    if (!reason.empty()) {
        fault = "cannot write " + path_ + ": " + reason;
        return false;
    }
    return true;
}
