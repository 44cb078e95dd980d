#include "app/RestoreApp.h"

#include "app/MainWindow.h"
#include "app/OpeningProgress.h"
#include "app/RestoreAppHooks.h"
#include "app/SplashWindow.h"
#include "app/UserDetailsDialog.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "startup/RestoreProfile.h"
#include "toolkit/Icon.h"
#include "toolkit/MenuBar.h"
#include "toolkit/MessageBox.h"
#include "toolkit/StateFile.h"
#include "toolkit/WindowMemory.h"

RestoreApp::RestoreApp(MW_Cache &serverNames, MW_String &section, MW_String &key)
    : serverNames_(serverNames), section_(section), key_(key), opener_(server_, serverNames, true),
      login_(std::make_unique<ServerLogin>(server_))
{
}

RestoreApp::RestoreApp(MW_Cache &serverNames, MW_String &section, MW_String &key,
                       ServerBackend &backend)
    : serverNames_(serverNames), section_(section), key_(key), server_(backend),
      opener_(server_, serverNames, false), login_(std::make_unique<ServerLogin>(server_))
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

void RestoreApp::LoadProfile(MW_Application *owner)
{
    profile_ = std::make_unique<RestoreProfile>(owner, section_, key_, serverNames_);
}

bool RestoreApp::OpenServers(const std::string &name)
{
    // Indexing a catalogue's new snapshots can take a while: the window shows it, with Stop.
    OpeningProgress progress(server_);
    const auto outcome = static_cast<ServerOpener::Outcome>(
        progress.Run([&] { return static_cast<int>(opener_.Open(name, profile_.get())); }));
    serverName_ = opener_.ServerName();
    if (outcome != ServerOpener::Outcome::Opened) {
        ErrorBox(nullptr, WB_OK, opener_.Message(outcome)).Execute();
        return false;
    }
    return true;
}

bool RestoreApp::Login()
{
    bool loggedIn = login_->LoginCurrent() == 0;
    bool cancelled = false;
    while (!loggedIn && !cancelled) {
        UserDetailsDialog dialog(nullptr);
        // Why the server did not take the configured bind, or the last name and password.
        dialog.SetReason(server_.RefusalReason());
        if (dialog.Execute() == 0) {
            cancelled = true;
            continue;
        }
        {
            // The password lives only for the call.
            const SecretText password = dialog.GetPassword();
            loggedIn = login_->Login(dialog.GetName().c_str(), password.CText()) == 0;
        }
        if (!loggedIn) {
            WarningBox(nullptr, WB_OK, kLoginRefused).Execute();
        }
    }
    return loggedIn;
}

void RestoreApp::Main(int argc, char **argv)
{
    InstallTarvikResources();
    CreateHooks(argc > 0 ? argv[0] : "");
    LoadProfile(hooks_);
    if (!OpenServers(argc > 1 ? argv[1] : "") || !Login()) {
        return;
    }

    // The windows come back as the user left them (tests build windows without this).
    WindowMemory::Use(StateFile::DefaultPath());
    MenuBar menuBar{ResId(kMenuMain)};
    MainWindow mainWindow(&menuBar, &client_, &serverName_, login_.get(), hooks_);
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
    profile_.reset();
    // Leaving: the splash window, the main window, then the menu bar.
}
