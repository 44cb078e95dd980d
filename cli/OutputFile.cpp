// Writing through a temporary file and a rename.
#include "cli/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace
{
std::string Reason(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

// The mode a new file gets from the user's umask, which mkstemp's 0600 would not follow.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
} // namespace

OutputFile::OutputFile(std::string path, std::string temporary, int fd)
    : path_(std::move(path)), temporary_(std::move(temporary)), fd_(fd)
{
}

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
    std::filesystem::path folder = target.parent_path();
    std::string pattern = ((folder.empty() ? std::filesystem::path(".") : folder) /
                           ("." + target.filename().string() + ".tarvik-XXXXXX"))
                              .string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        fault = Reason("cannot write beside " + path);
        return nullptr;
    }
    return std::unique_ptr<OutputFile>(new OutputFile(path, pattern, fd));
}

OutputFile::~OutputFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_) {
        ::unlink(temporary_.c_str());
    }
}

bool OutputFile::Commit(const std::string &text, std::string &fault)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t step = ::write(fd_, text.data() + written, text.size() - written);
        if (step < 0 && errno == EINTR) {
            continue;
        }
        if (step <= 0) {
            fault = Reason("cannot write " + temporary_);
            return false;
        }
        written += static_cast<std::size_t>(step);
    }
    if (::fchmod(fd_, NewFileMode()) != 0 || ::fsync(fd_) != 0) {
        fault = Reason("cannot write " + temporary_);
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        fault = Reason("cannot write " + temporary_);
        return false;
    }
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
        fault = Reason("cannot put the results in place as " + path_);
        return false;
    }
    committed_ = true;
    return true;
}
