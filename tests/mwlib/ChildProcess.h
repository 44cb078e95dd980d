// Runs a piece of a test in a forked child, for what installs process-wide hooks or exits.
#pragma once

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct ChildOutcome {
    bool exited = false; // ended through exit, not by a signal
    int exitCode = -1;
    int signal = 0;
    std::string output; // what the body wrote to its stream
};

// The body writes to the given stream; the child ends with exit code 0 when the body returns,
// or with whatever the body does itself (exit, a signal). Nothing the child does reaches the
// test process except the stream's text and the way the child ended.
inline ChildOutcome RunInChild(const std::function<void(std::FILE *out)> &body)
{
    ChildOutcome outcome;
    int ends[2];
    if (pipe(ends) != 0)
        return outcome;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        std::FILE *out = fdopen(ends[1], "w");
        body(out);
        std::fflush(out);
        _exit(0);
    }
    close(ends[1]);
    char chunk[512];
    for (ssize_t got; (got = read(ends[0], chunk, sizeof chunk)) != 0;) {
        if (got > 0)
            outcome.output.append(chunk, static_cast<std::size_t>(got));
        else if (errno != EINTR)
            break;
    }
    close(ends[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}
