// Start code. The program's static objects come first, in this order, and go in reverse order:
// the profile's section and key names, the list of configured servers, the application object.
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
    return Application::Start(argc, argv);
}
