#include "report/SystemFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

SystemFile::~SystemFile()
{
    Close();
}

std::string SystemFile::WriteAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return std::strerror(written < 0 ? errno : EIO);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

std::string SystemFile::Sync()
{
    return fsync(fd_) == 0 ? std::string() : std::strerror(errno);
}

std::string SystemFile::Close()
{
    if (fd_ < 0) {
        return {};
    }
    const int fd = fd_;
    fd_ = -1;
    // After close fails the descriptor is gone anyway (Linux); it must not be closed again.
    return close(fd) == 0 ? std::string() : std::strerror(errno);
}
