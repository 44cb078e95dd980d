// Listening on a free loopback port without ever accepting.
#include "tests/support/core/SilentListener.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

SilentListener::SilentListener() : fd_(::socket(AF_INET, SOCK_STREAM, 0))
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::listen(fd_, 4) == 0 &&
        ::getsockname(fd_, reinterpret_cast<sockaddr *>(&address), &length) == 0) {
        port_ = ntohs(address.sin_port);
    }
}

SilentListener::~SilentListener()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool SilentListener::Dialled() const
{
    pollfd waiting{fd_, POLLIN, 0};
    return ::poll(&waiting, 1, 0) > 0 && (waiting.revents & POLLIN) != 0;
}

std::string SilentListener::Uri() const
{
    return "ldap://127.0.0.1:" + std::to_string(port_);
}
