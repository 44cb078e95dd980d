#include "app/RestoreApp.h"

#include "app/MainWindow.h"
#include "app/RestoreAppHooks.h"
#include "app/SplashWindow.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_String.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "toolkit/Icon.h"
#include "toolkit/MenuBar.h"

RestoreApp::RestoreApp(MW_Cache &serverNames, const MW_String &section, const MW_String &key)
    : serverNames_(serverNames), section_(section), key_(key),
      login_(std::make_unique<ServerLogin>(server_))
{
}

RestoreApp::RestoreApp(MW_Cache &serverNames, const MW_String &section, const MW_String &key,
                       ServerBackend &backend)
    : serverNames_(serverNames), section_(section), key_(key), server_(backend),
      login_(std::make_unique<ServerLogin>(server_))
{
}

RestoreApp::~RestoreApp() = default;

void RestoreApp::CreateHooks(const char *programPath)
{
    hooks_ = new RestoreAppHooks(MW_String("TARVIK"), MW_String(programPath));
    // The signal only writes to a pipe; the clients are informed here, on the program's thread.
    if (int fd = MW_Application::SIGTERMNotifyFd(); fd >= 0) {
        WatchReadable(fd, [] { MW_Application::RunPendingSIGTERM(); });
    }
}

void RestoreApp::Main(int argc, char **argv)
{
    InstallTarvikResources();
    CreateHooks(argc > 0 ? argv[0] : "");
    std::string name = argc > 1 ? argv[1] : "";
    if (!name.empty()) {
        serverName_ = name;
        if (server_.Open(serverName_.c_str()) != 0) {
            return;
        }
    }

    MenuBar menuBar{ResId(kMenuMain)};
    MainWindow mainWindow(&menuBar, &server_, &serverName_, login_.get(), hooks_);
    menuBar.PushSelectHdl([&mainWindow](MenuBar &menu) { return mainWindow.MenuSelectHdl(menu); });
    SetAppMenu(&menuBar);
    mainWindow.SetIcon(Icon(ResId(kIconTarvik)));
    // The splash stands in front while the first top context is fetched.
    SplashWindow splash(&mainWindow);
    splash.Show();
    splash.Update();
    mainWindow.InitChildren();
    Execute();
    menuBar.PopSelectHdl();
    // Leaving: the splash window, the main window, then the menu bar.
}
