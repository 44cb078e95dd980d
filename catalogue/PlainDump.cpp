// Reading a regular file front to back.
#include "catalogue/PlainDump.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

PlainDump::PlainDump(const std::string &path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {
    };
    if (fd_ >= 0 && (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode))) {
        ::close(fd_);
        fd_ = -1;
    }
    if (fd_ < 0) {
        Failed("cannot be opened");
    }
}

PlainDump::~PlainDump()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t PlainDump::Read(char *buffer, std::size_t size)
{
    if (fd_ < 0) {
        return 0;
    }
    ssize_t got = -1;
    do {
        got = ::read(fd_, buffer, size);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return Failed(std::string("cannot be read: ") + std::strerror(errno));
    }
    read_ += static_cast<uint64_t>(got);
    return static_cast<std::size_t>(got);
}
