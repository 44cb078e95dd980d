// Wiping passwords and reading them from a protected file.
#include "server/SecretText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace
{
constexpr off_t MaxPasswordFile = 4096;
}

SecretText::SecretText(SecretText &&other) noexcept : text_(std::move(other.text_))
{
    other.Wipe();
}

SecretText &SecretText::operator=(SecretText &&other) noexcept
{
    if (this != &other) {
        Wipe();
        text_ = std::move(other.text_);
        other.Wipe();
    }
    return *this;
}

void SecretText::Wipe()
{
    // volatile: the wipe of memory that is about to be freed must not be optimised away.
    volatile char *bytes = text_.data();
    for (std::size_t i = 0; i < text_.size(); ++i) {
        bytes[i] = '\0';
    }
    text_.clear();
}

bool SecretText::ReadFile(const std::string &path, SecretText &secret, std::string &fault)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        fault = "the password file " + path + " cannot be opened: " + std::strerror(errno);
        return false;
    }
    struct stat status {
    };
    bool read = ::fstat(fd, &status) == 0;
    if (!read || !S_ISREG(status.st_mode)) {
        fault = "the password file " + path + " is not a regular file";
        read = false;
    } else if ((status.st_mode & (S_IROTH | S_IWOTH)) != 0) {
        fault = "the password file " + path + " is readable or writable by others";
        read = false;
    } else if (status.st_size > MaxPasswordFile) {
        fault = "the password file " + path + " is too large";
        read = false;
    }
    std::string text;
    if (read) {
        text.resize(static_cast<std::size_t>(status.st_size));
        const ssize_t got = ::read(fd, text.data(), text.size());
        read = got == static_cast<ssize_t>(text.size());
        if (!read) {
            fault = "the password file " + path + " cannot be read";
        }
    }
    ::close(fd);
    if (read) {
        SecretText whole(std::move(text));
        const std::size_t end = whole.Reveal().find_first_of("\r\n");
        secret = SecretText(whole.Reveal().substr(0, end));
        read = !secret.Empty();
        if (!read) {
            fault = "the password file " + path + " is empty";
        }
    }
    return read;
}
