// Start code. The program's static objects come first, in this order, and go in reverse order:
// the profile's section and key names, the list of configured servers, the application object.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/CommandLineHelp.h"
#include "app/RestoreApp.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_String.h"

namespace
{
MW_String serverSection("SERVER");
MW_String serverKey("BackupServer");
MW_Cache serverNames;
RestoreApp restoreApp(serverNames, serverSection, serverKey);
} // namespace

int main(int argc, char **argv)
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::canonical("/proc/self/exe", error);
    const std::string directory = error ? std::string(".") : program.parent_path().string();
    if (const std::optional<int> code = CommandLineHelp::Answer(argc, argv, directory, std::cout)) {
        return *code; // before Qt: no window, no display needed
    }
    return Application::Start(argc, argv);
}
