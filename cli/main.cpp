// tarvik-restore: restores objects of a directory from a backup server without a display.
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/ControllingTerminal.h"
#include "cli/InterruptFlag.h"
#include "cli/RestoreCommand.h"
#include "mwlib/MW_Application.h"
#include "mwlib/MW_String.h"
#include "report/RunJournal.h"
#include "server/BackupServer.h"

namespace
{
// The real path of this program: TARVIK.INI and the directory module are looked for beside it,
// also when it was started through a link.
std::string ProgramPath(const char *argv0)
{
    std::error_code failed;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::string(argv0 != nullptr ? argv0 : "") : path.string();
}

std::size_t TerminalWidth()
{
    winsize size{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}
} // namespace

int main(int argc, char **argv)
{
    // Deletes itself at exit; the profile reader finds TARVIK.INI through it.
    new MW_Application(MW_String("TARVIK"),
                       MW_String(ProgramPath(argc > 0 ? argv[0] : "").c_str()));
    InterruptFlag::Install();
    std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    ControllingTerminal terminal;
    BackupServer server;
    const bool errIsTerminal = ::isatty(STDERR_FILENO) != 0;
    RestoreCommand command(
        server, true, terminal,
        {std::cin, std::cout, std::cerr, errIsTerminal, errIsTerminal ? TerminalWidth() : 0},
        RunJournal::DefaultPath());
    return command.Run(words);
}
