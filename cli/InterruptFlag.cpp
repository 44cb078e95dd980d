// The signal handlers only set a flag, or end the program with async-signal-safe calls.
#include "cli/InterruptFlag.h"

#include <signal.h>
#include <unistd.h>

namespace
{
volatile sig_atomic_t raised = 0;

void OnSignal(int)
{
    if (raised != 0) {
        static const char said[] = "tarvik-restore: stopped at once\n";
        [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, said, sizeof said - 1);
        ::_exit(1);
    }
    raised = 1;
}
} // namespace

void InterruptFlag::Install()
{
    struct sigaction action {
    };
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Calls in progress go on: the request in flight is finished, not cut off.
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool InterruptFlag::Raised()
{
    return raised != 0;
}

void InterruptFlag::Set(bool value)
{
    raised = value ? 1 : 0;
}
