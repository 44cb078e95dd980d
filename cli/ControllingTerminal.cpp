// Asking on /dev/tty, with echo off for secrets.
#include "cli/ControllingTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "cli/InterruptFlag.h"
#include "server/SecretText.h"

ControllingTerminal::ControllingTerminal() : fd_(::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY))
{
}

ControllingTerminal::~ControllingTerminal()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

// Waits in short steps, so that an interrupt while the person is asked ends the question (the
// handlers let reads go on, for the sake of requests in flight).
bool ControllingTerminal::ReadLine(const std::function<void(char)> &keep)
{
    constexpr int kStepMilliseconds = 100;
    bool any = false;
    for (;;) {
        if (InterruptFlag::Raised()) {
            return false;
        }
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, kStepMilliseconds);
        if (ready == 0 || (ready < 0 && errno == EINTR)) {
            continue;
        }
        char c = 0;
        const ssize_t got = ready > 0 ? ::read(fd_, &c, 1) : -1;
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return any;
        }
        if (c == '\n') {
            return true;
        }
        keep(c);
        any = true;
    }
}

bool ControllingTerminal::Ask(const std::string &prompt, std::string &answer)
{
    if (fd_ < 0 || ::write(fd_, prompt.data(), prompt.size()) < 0) {
        return false;
    }
    answer.clear();
    return ReadLine([&answer](char c) { answer += c; });
}

bool ControllingTerminal::AskSecret(const std::string &prompt, SecretText &answer)
{
    if (fd_ < 0) {
        return false;
    }
    // A secret is never asked where what is typed would show.
    termios saved{};
    if (::tcgetattr(fd_, &saved) != 0) {
        return false;
    }
    termios hidden = saved;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    hidden.c_lflag |= ECHONL;
    if (::tcsetattr(fd_, TCSAFLUSH, &hidden) != 0) {
        return false;
    }
    // Straight into the secret's own buffer: a growing string would leave copies behind.
    answer.Wipe();
    const bool answered = ::write(fd_, prompt.data(), prompt.size()) >= 0 &&
                          ReadLine([&answer](char c) { answer.Append(c); });
    ::tcsetattr(fd_, TCSAFLUSH, &saved);
    return answered;
}
