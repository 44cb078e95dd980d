// Wiping passwords and reading them from a protected file.
#include "server/SecretText.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace
{
constexpr off_t MaxPasswordFile = 4096;

// Why a password file's owner or mode lets others than the user who runs the program at its
// password (empty when neither does). Its group counts as others: a group is seldom one person.
std::string OwnerOnlyFault(const struct stat &status)
{
    if (status.st_uid != ::geteuid()) {
        return "belongs to another user (uid " + std::to_string(status.st_uid) +
               "), not to the user running the program (uid " + std::to_string(::geteuid()) + ")";
    }
    const mode_t mode = status.st_mode & 07777;
    if ((mode & ~static_cast<mode_t>(S_IRUSR | S_IWUSR)) != 0) {
        char octal[8];
        std::snprintf(octal, sizeof octal, "%04o", static_cast<unsigned>(mode));
        return std::string("has mode ") + octal +
               ": a password file is for its owner alone (mode 600 or 400)";
    }
    return {};
}
} // namespace

SecretText::SecretText(std::string_view text) : text_(text) {}

// A moved short text leaves its bytes in the buffer inside the object it came from (only a long
// text's buffer changes hands): that object's whole buffer is wiped.
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

SecretText SecretText::Taking(std::string &text)
{
    SecretText secret(text);
    Zero(text);
    return secret;
}

void SecretText::Zero(std::string &text)
{
    // Over the capacity: bytes beyond the end may be left from a longer text. explicit_bzero is
    // never left out as a store to memory about to be freed.
    ::explicit_bzero(text.data(), text.capacity());
    text.clear();
}

void SecretText::Wipe()
{
    Zero(text_);
}

void SecretText::Append(char c)
{
    if (text_.size() == text_.capacity()) {
        std::string larger;
        larger.reserve(2 * text_.capacity() + 1);
        larger.append(text_);
        Wipe();
        // The larger buffer is on the heap and changes hands whole; this one is empty by now.
        text_.swap(larger);
    }
    text_.push_back(c);
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
    } else if (std::string why = OwnerOnlyFault(status); !why.empty()) {
        fault = "the password file " + path + " " + why;
        read = false;
    } else if (status.st_size > MaxPasswordFile) {
        fault = "the password file " + path + " is too large";
        read = false;
    }
    SecretText whole;
    if (read) {
        whole.text_.resize(static_cast<std::size_t>(status.st_size));
        const ssize_t got = ::read(fd, whole.text_.data(), whole.text_.size());
        read = got == static_cast<ssize_t>(whole.text_.size());
        if (!read) {
            fault = "the password file " + path + " cannot be read";
        }
    }
    ::close(fd);
    if (read) {
        const std::string_view text = whole.Reveal();
        secret = SecretText(text.substr(0, text.find_first_of("\r\n")));
        read = !secret.Empty();
        if (!read) {
            fault = "the password file " + path + " is empty";
        }
    }
    return read;
}
