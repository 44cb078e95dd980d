// Opening the named server or the first configured one that opens.
#include "startup/ServerOpener.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "mwlib/MW_Application.h"
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_Profile.h"
#include "mwlib/MW_String.h"
#include "server/BackupServer.h"
#include "server/DirectoryModule.h"
#include "server/ServerBackend.h"
#include "startup/DirectorySettings.h"
#include "startup/RestoreProfile.h"

namespace
{
void StandardError(const std::string &text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

// The program's own text first; the reason, when there is one, below it.
std::string WithReason(const std::string &text, const std::string &reason)
{
    return reason.empty() ? text : text + "\n\n" + reason;
}
} // namespace

ServerOpener::ServerOpener(BackupServer &server, MW_Cache &serverNames, bool choosesBackend,
                           Report report)
    : server_(server), serverNames_(serverNames), choosesBackend_(choosesBackend),
      report_(report ? std::move(report) : Report(StandardError))
{
}

ServerOpener::~ServerOpener() = default;

ServerOpener::Outcome ServerOpener::Open(const std::string &name, RestoreProfile *profile)
{
    triedCount_ = 0;
    settingsRefusals_ = 0;
    const Outcome outcome = OpenNamedOrConfigured(name, profile);
    // Only this step reads the list; what it did not take is released here.
    std::string unused;
    while (TakeConfiguredServerName(unused)) {
    }
    return outcome;
}

std::string ServerOpener::Message(Outcome outcome) const
{
    switch (outcome) {
    case Outcome::NamedServerRefused:
        return WithReason(kUnableToOpenServer + serverName_, openFailure_);
    case Outcome::NoConfiguration:
        return kUnableToOpenConfiguration;
    case Outcome::NoServerOpened:
        return WithReason(kUnableToOpenAny, configuredFailures_);
    case Outcome::Opened:
        break;
    }
    return {};
}

ServerOpener::Outcome ServerOpener::OpenNamedOrConfigured(const std::string &name,
                                                          RestoreProfile *profile)
{
    if (!name.empty()) {
        serverName_ = name;
        return OpenServer(serverName_, profile) == 0 ? Outcome::Opened
                                                     : Outcome::NamedServerRefused;
    }
    if (profile == nullptr || !profile->ProfileLoaded()) {
        // The message names "TARVIK.INI" whatever file was at fault; the file and the reason
        // are reported, for whoever has to mend it.
        if (profile != nullptr) {
            report_(std::string("TARVIK: profile ") + profile->FaultFile().Text() + ": " +
                    profile->FaultReason().Text());
        }
        return Outcome::NoConfiguration;
    }
    return OpenConfigured(profile) ? Outcome::Opened : Outcome::NoServerOpened;
}

// Takes the first configured server name out of the list; false when the list is empty. Each
// name is the program's to destroy: taking it out leaves nothing behind that could leak.
bool ServerOpener::TakeConfiguredServerName(std::string &name)
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

std::vector<std::string> ServerOpener::TakeConfiguredNames()
{
    std::vector<std::string> names;
    for (std::string name; TakeConfiguredServerName(name);) {
        names.push_back(name);
    }
    return names;
}

// Tries the configured servers in order until one opens; names after it are never tried.
bool ServerOpener::OpenConfigured(RestoreProfile *profile)
{
    bool opened = false;
    std::string name;
    configuredFailures_.clear();
    while (!opened && TakeConfiguredServerName(name)) {
        serverName_ = name;
        opened = OpenServer(serverName_, profile) == 0;
        if (!opened && !openFailure_.empty()) {
            configuredFailures_ +=
                (configuredFailures_.empty() ? "" : "\n") + serverName_ + ": " + openFailure_;
        }
    }
    return opened;
}

int32_t ServerOpener::OpenServer(const std::string &name, RestoreProfile *profile)
{
    openFailure_.clear();
    const int32_t result = OpenBackendFor(name, profile);
    ++triedCount_;
    if (result == ServerBackend::kRefusedBySettings) {
        ++settingsRefusals_;
    }
    if (result != 0 && openFailure_.empty()) {
        openFailure_ = server_.RefusalReason();
    }
    if (!openFailure_.empty()) {
        openFailure_[0] =
            static_cast<char>(std::toupper(static_cast<unsigned char>(openFailure_[0])));
    }
    return result;
}

int32_t ServerOpener::OpenBackendFor(const std::string &name, RestoreProfile *profile)
{
    if (!choosesBackend_) {
        return server_.Open(name.c_str());
    }
    const std::string directory =
        std::filesystem::path(MW_Application::ProgramPath().Text()).parent_path().string();
    std::optional<LdapSettings> settings =
        profile ? DirectorySettings::Read(*profile, name, directory) : std::nullopt;
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
ServerOpener::CreateDirectoryBackend(const LdapSettings &settings,
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
        report_("TARVIK: server " + settings.serverName + ": " + reason);
        openFailure_ = reason;
    }
    return backend;
}
