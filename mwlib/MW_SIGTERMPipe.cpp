// Turns SIGTERM into readable bytes on a pipe, so that nothing but a write runs in the handler.
#include "mwlib/MW_SIGTERMPipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
volatile std::sig_atomic_t writeFd = -1;
int readFd = -1;
pid_t pipeOwner = 0;

bool SetFlags(int fd)
{
    const int status = fcntl(fd, F_GETFL);
    return status >= 0 && fcntl(fd, F_SETFL, status | O_NONBLOCK) == 0 &&
           fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

// Holds SIGTERM back while the pipe's ends are exchanged.
class SIGTERMBlocked
{
  public:
    SIGTERMBlocked()
    {
        sigset_t blocked;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGTERM);
        sigprocmask(SIG_BLOCK, &blocked, &previous);
    }
    ~SIGTERMBlocked() { sigprocmask(SIG_SETMASK, &previous, nullptr); }

  private:
    sigset_t previous;
};
} // namespace

void MW_SIGTERMPipe::Catch(int)
{
    const int savedErrno = errno;
    const int fd = writeFd;
    if (fd >= 0) {
        const char mark = 1;
        // A full pipe already holds a pending signal: losing this byte loses nothing.
        [[maybe_unused]] const ssize_t written = write(fd, &mark, 1);
    }
    errno = savedErrno;
}

bool MW_SIGTERMPipe::MakePipe() noexcept
{
    int ends[2];
    if (pipe(ends) != 0)
        return false;
    if (!SetFlags(ends[0]) || !SetFlags(ends[1])) {
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    SIGTERMBlocked blocked;
    // Ends inherited from a parent process are shared with it: let them go.
    if (readFd >= 0) {
        close(readFd);
        close(writeFd);
    }
    readFd = ends[0];
    writeFd = ends[1];
    pipeOwner = getpid();
    return true;
}

bool MW_SIGTERMPipe::Install() noexcept
{
    if ((readFd < 0 || pipeOwner != getpid()) && !MakePipe())
        return false;
    struct sigaction action = {};
    action.sa_handler = Catch;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0;
}

int MW_SIGTERMPipe::ReadFd() noexcept
{
    return readFd;
}

bool MW_SIGTERMPipe::Drain() noexcept
{
    if (readFd < 0)
        return false;
    bool arrived = false;
    char buffer[64];
    for (;;) {
        const ssize_t got = read(readFd, buffer, sizeof buffer);
        if (got > 0)
            arrived = true;
        else if (got < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return arrived;
}
