#include "app/RestoreApp.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "app/DirectorySettings.h"
#include "app/MainWindow.h"
#include "app/RestoreAppHooks.h"
#include "app/RestoreProfile.h"
#include "app/SplashWindow.h"
#include "app/UserDetailsDialog.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_String.h"
#include "res/ResourceIds.h"
#include "res/TarvikResources.h"
#include "server/DirectoryModule.h"
#include "toolkit/Icon.h"
#include "toolkit/MenuBar.h"
#include "toolkit/MessageBox.h"

namespace
{
// The program's own text first; the reason, when there is one, below it.
std::string WithReason(const std::string &text, const std::string &reason)
{
    return reason.empty() ? text : text + "\n\n" + reason;
}
} // namespace

RestoreApp::RestoreApp(MW_Cache &serverNames, MW_String &section, MW_String &key)
    : serverNames_(serverNames), section_(section), key_(key),
      login_(std::make_unique<ServerLogin>(server_))
{
}

RestoreApp::RestoreApp(MW_Cache &serverNames, MW_String &section, MW_String &key,
                       ServerBackend &backend)
    : serverNames_(serverNames), section_(section), key_(key), server_(backend),
      choosesBackend_(false), login_(std::make_unique<ServerLogin>(server_))
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
    bool opened = OpenNamedOrConfiguredServer(name);
    // Only this step reads the list; what it did not take is released here.
    std::string unused;
    while (TakeConfiguredServerName(unused)) {
    }
    return opened;
}

bool RestoreApp::OpenNamedOrConfiguredServer(const std::string &name)
{
    if (!name.empty()) {
        serverName_ = name;
        if (OpenServer(serverName_) == 0) {
            return true;
        }
        ErrorBox(nullptr, WB_OK, WithReason(kUnableToOpenServer + serverName_, openFailure_))
            .Execute();
        return false;
    }
    if (!profile_ || !profile_->ProfileLoaded()) {
        // The box names "TARVIK.INI" whatever file was at fault; the file and the reason go to
        // standard error, for whoever has to mend it.
        if (profile_) {
            std::fprintf(stderr, "TARVIK: profile %s: %s\n", profile_->FaultFile().Text(),
                         profile_->FaultReason().Text());
        }
        ErrorBox(nullptr, WB_OK, kUnableToOpenConfiguration).Execute();
        return false;
    }
    if (OpenConfiguredServer()) {
        return true;
    }
    ErrorBox(nullptr, WB_OK, WithReason(kUnableToOpenAny, configuredFailures_)).Execute();
    return false;
}

// Takes the first configured server name out of the list; false when the list is empty. Each
// name is the program's to destroy: taking it out leaves nothing behind that could leak.
bool RestoreApp::TakeConfiguredServerName(std::string &name)
{
    uint32_t iterator = MW_Cache::NewPass;
    CacheEntryResult_T *result = nullptr;
    serverNames_.GetNext(&iterator, &result);
    if (!result) {
        return false;
    }
    name.clear();
    if (result->DS >= sizeof(MW_ProfileListValue)) {
        MW_String *text = static_cast<MW_ProfileListValue *>(result->Data)->value.text;
        name = text ? text->Text() : "";
        delete text;
    }
    // The entry taken is the first, so the first match of its key is the entry itself.
    serverNames_.Delete(result->SKS, result->SearchKey);
    serverNames_.FreeResult(&result);
    return true;
}

// Tries the configured servers in order until one opens; names after it are never tried.
bool RestoreApp::OpenConfiguredServer()
{
    bool opened = false;
    std::string name;
    configuredFailures_.clear();
    while (!opened && TakeConfiguredServerName(name)) {
        serverName_ = name;
        opened = OpenServer(serverName_) == 0;
        if (!opened && !openFailure_.empty()) {
            configuredFailures_ +=
                (configuredFailures_.empty() ? "" : "\n") + serverName_ + ": " + openFailure_;
        }
    }
    return opened;
}

int32_t RestoreApp::OpenServer(const std::string &name)
{
    openFailure_.clear();
    const int32_t result = OpenBackendFor(name);
    if (result != 0 && openFailure_.empty()) {
        openFailure_ = server_.RefusalReason();
    }
    if (!openFailure_.empty()) {
        openFailure_[0] =
            static_cast<char>(std::toupper(static_cast<unsigned char>(openFailure_[0])));
    }
    return result;
}

int32_t RestoreApp::OpenBackendFor(const std::string &name)
{
    if (!choosesBackend_) {
        return server_.Open(name.c_str());
    }
    const std::string directory =
        std::filesystem::path(MW_Application::ProgramPath().Text()).parent_path().string();
    std::optional<LdapSettings> settings =
        profile_ ? DirectorySettings::Read(*profile_, name, directory) : std::nullopt;
    if (!settings) {
        server_.UseBackend(nullptr);
        return server_.Open(name.c_str());
    }
    std::unique_ptr<ServerBackend> backend = CreateDirectoryBackend(*settings, directory);
    if (!backend) {
        // Not the simulation under the directory's name: the server does not open.
        server_.UseBackend(nullptr);
        return kDirectoryUnavailable;
    }
    server_.UseBackend(std::move(backend));
    return server_.Open(name.c_str());
}

std::unique_ptr<ServerBackend>
RestoreApp::CreateDirectoryBackend(const LdapSettings &settings,
                                   const std::string &programDirectory)
{
    if (!directoryModule_) {
        directoryModule_ = std::make_unique<DirectoryModule>(
            (std::filesystem::path(programDirectory) / DirectoryModule::kFileName).string());
    }
    std::string reason;
    std::unique_ptr<ServerBackend> backend = directoryModule_->Create(settings, reason);
    if (!backend) {
        // Said the way the directory server says what went wrong when opening.
        std::fprintf(stderr, "TARVIK: server %s: %s\n", settings.serverName.c_str(),
                     reason.c_str());
        openFailure_ = reason;
    }
    return backend;
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
            std::string password = dialog.GetPassword();
            loggedIn = login_->Login(dialog.GetName().c_str(), password.c_str()) == 0;
            std::fill(password.begin(), password.end(), '\0');
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
