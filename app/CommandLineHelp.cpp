#include "app/CommandLineHelp.h"

#include <string_view>

#include "app/ResourceString.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"

std::optional<int> CommandLineHelp::Answer(int argc, char **argv,
                                           const std::string &programDirectory, std::ostream &out)
{
    if (argc < 2) {
        return std::nullopt;
    }
    const std::string_view word = argv[1];
    if (word == "--help" || word == "-h") {
        out << Usage(programDirectory);
        return 0;
    }
    if (word == "--version") {
        out << Version() << "\n";
        return 0;
    }
    return std::nullopt;
}

std::string CommandLineHelp::Version()
{
    InstallTarvikResources();
    return "TARVIK " + ResourceString(kStringVersion);
}

std::string CommandLineHelp::Usage(const std::string &programDirectory)
{
    return "Usage: tarvik [SERVER] [Qt options]\n"
           "\n"
           "Browse a directory tree held by a backup server, mark objects and restore them.\n"
           "\n"
           "  SERVER       the backup server to open; without it, the servers listed under\n"
           "               [SERVER] BackupServer in TARVIK.INI are tried in turn\n"
           "  --help, -h   show this text and end\n"
           "  --version    show the version and end\n"
           "\n"
           "Qt's own options are taken too, among them:\n"
           "  -platform NAME     the window system plugin (xcb, wayland, offscreen ...)\n"
           "  -display NAME      the X display to use\n"
           "  -style NAME        the widget style\n"
           "  -reverse           right-to-left layout\n"
           "\n"
           "The configuration is read from TARVIK.INI in the program's directory:\n"
           "  " +
           programDirectory + "/TARVIK.INI\n";
}
