// The steps of a command-line restore.
#include "cli/RestoreCommand.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>

#include "cli/ChangesCommand.h"
#include "cli/CommandLine.h"
#include "cli/CsvReport.h"
#include "cli/FoundReport.h"
#include "cli/IndexCommand.h"
#include "cli/InterruptFlag.h"
#include "cli/JournalRecord.h"
#include "cli/JsonReport.h"
#include "cli/ObjectList.h"
#include "cli/OutputFile.h"
#include "cli/ProgramPrefix.h"
#include "cli/Progress.h"
#include "cli/RestorePlan.h"
#include "cli/RestoreWalk.h"
#include "cli/Terminal.h"
#include "cli/TextReport.h"
#include "model/NodeList.h"
#include "model/ObjectItem.h"
#include "model/RestorePreview.h"
#include "model/RestoreSelection.h"
#include "mwlib/MW_Application.h"
#include "report/RunJournal.h"
#include "run/RunWords.h"
#include "server/BackupServer.h"
#include "server/ServerClient.h"
#include "server/ServerLogin.h"
#include "startup/RestoreProfile.h"
#include "startup/ServerOpener.h"

namespace
{
constexpr int kLoginAttempts = 3;
constexpr const char *kLoginRefused = "User / password invalid.";

// A dry run's text starts with what it found, counted as the window's preview counts it.
std::string Render(OutputFormat format, const std::vector<ReportedObject> &records, bool dryRun,
                   const std::optional<PreviewCounts> &previewed)
{
    const std::vector<ObjectReport> reports = ObjectReport::Of(records);
    switch (format) {
    case OutputFormat::Csv:
        return CsvReport::Render(reports);
    case OutputFormat::Json:
        return JsonReport::Render(reports);
    case OutputFormat::Text:
    case OutputFormat::Objects: // only a change report takes it
        break;
    }
    const std::string text = TextReport::Render(reports, dryRun);
    return previewed ? RestorePreview::CountsText(*previewed) + "\n" + text : text;
}

// The login's refusal, with the server's reason when it gives one.
std::string Refused(const BackupServer &server)
{
    const std::string reason = server.RefusalReason();
    return reason.empty() ? kLoginRefused : std::string(kLoginRefused) + " " + reason;
}

bool AllRestored(const std::vector<ReportedObject> &records)
{
    return std::all_of(records.begin(), records.end(), [](const ReportedObject &record) {
        return record.outcome == ObjectOutcome::Restored ||
               record.outcome == ObjectOutcome::WouldRestore;
    });
}
} // namespace

RestoreCommand::RestoreCommand(BackupServer &server, bool choosesBackend, Terminal &terminal,
                               Streams streams, std::string journalPath)
    : server_(server), choosesBackend_(choosesBackend), terminal_(terminal), streams_(streams),
      journalPath_(std::move(journalPath))
{
}

RestoreCommand::~RestoreCommand() = default;

int RestoreCommand::Refuse(const std::string &fault)
{
    streams_.err << kProgram << fault << "\n" << CommandLine::kUsage;
    return BadArguments;
}

// Settings that cannot work: the arguments were right, so no usage line.
int RestoreCommand::Misconfigured(const std::string &fault)
{
    streams_.err << kProgram << fault << "\n";
    return BadArguments;
}

int RestoreCommand::Unavailable(const std::string &fault)
{
    streams_.err << kProgram << fault << "\n";
    return ServerUnavailable;
}

int RestoreCommand::Run(const std::vector<std::string> &words)
{
    std::string fault;
    const std::optional<RestoreOptions> options = CommandLine::Parse(words, fault);
    if (!options) {
        return Refuse(fault);
    }
    if (options->help || options->version) {
        streams_.out << (options->help ? CommandLine::Help() : CommandLine::VersionText());
        return Success;
    }
    if (options->index) {
        return IndexCatalogues(*options);
    }
    std::vector<WantedObject> wanted;
    ChangesCommand changes;
    if (!options->changes.empty() ? !changes.Read(*options, fault_)
                                  : options->find.empty() && !ReadObjects(*options, wanted)) {
        return Refuse(fault_);
    }
    if (options->onError == OnError::Ask && !terminal_.Available()) {
        return Refuse("--on-error ask needs a terminal to ask on, and there is none; use "
                      "continue or end");
    }
    if (!ReadPassword(*options)) {
        return Refuse(fault_);
    }
    if (!options->output.empty()) {
        output_ = OutputFile::Create(options->output, fault_);
        if (!output_) {
            return Refuse(fault_);
        }
    }
    int exitCode = Success;
    if (!OpenServer(*options, exitCode)) {
        return exitCode;
    }
    ServerLogin login(server_);
    if (!LogIn(*options, login)) {
        return Unavailable(fault_);
    }
    if (!options->changes.empty()) {
        Progress progress(streams_.err, streams_.errIsTerminal, streams_.errWidth);
        std::string results;
        const int exitCode = changes.Run(server_, login.Context(), progress, streams_.err, results);
        return Finish(results, exitCode);
    }
    if (!options->find.empty()) {
        return Find(*options, login);
    }
    return Restore(*options, wanted, login);
}

bool RestoreCommand::ReadObjects(const RestoreOptions &options, std::vector<WantedObject> &wanted)
{
    std::optional<std::vector<WantedObject>> read;
    if (options.from.empty()) {
        read = ObjectList::FromWords(options.objects, fault_);
    } else if (options.from == "-") {
        read = ObjectList::Read(streams_.in, "standard input", fault_);
    } else {
        std::ifstream file(options.from);
        if (!file) {
            fault_ = "--from " + options.from + " cannot be read";
            return false;
        }
        read = ObjectList::Read(file, options.from, fault_);
    }
    if (!read) {
        return false;
    }
    wanted = std::move(*read);
    return true;
}

// Never from the command line, where others could read it: from a file only its owner can read,
// or typed at the terminal.
bool RestoreCommand::ReadPassword(const RestoreOptions &options)
{
    if (!options.passwordFile.empty()) {
        return SecretText::ReadFile(options.passwordFile, password_, fault_);
    }
    if (!options.user.empty() && !terminal_.Available()) {
        fault_ = "a password for " + options.user +
                 " is needed: give --password-file FILE, or run on a terminal to type it";
        return false;
    }
    return true;
}

int RestoreCommand::IndexCatalogues(const RestoreOptions &options)
{
    RestoreProfile profile(MW_Application::MySelf, section_, key_, serverNames_);
    if (!profile.ProfileLoaded()) {
        return Refuse(ServerOpener::kUnableToOpenConfiguration);
    }
    // The configured names are taken out of the list either way: each is ours to release.
    std::vector<std::string> names =
        ServerOpener(server_, serverNames_, false).TakeConfiguredNames();
    if (!options.server.empty()) {
        names = {options.server};
    }
    Progress progress(streams_.err, streams_.errIsTerminal, streams_.errWidth);
    const std::string directory =
        std::filesystem::path(MW_Application::ProgramPath().Text()).parent_path().string();
    return IndexCommand(streams_.out, streams_.err, progress)
        .Run(profile, names, !options.server.empty(), directory);
}

bool RestoreCommand::OpenServer(const RestoreOptions &options, int &exitCode)
{
    RestoreProfile profile(MW_Application::MySelf, section_, key_, serverNames_);
    ServerOpener opener(server_, serverNames_, choosesBackend_,
                        [this](const std::string &text) { streams_.err << text << "\n"; });
    // Indexing new snapshots shows on the terminal, and stops at an interrupt.
    Progress progress(streams_.err, streams_.errIsTerminal, streams_.errWidth);
    std::atomic<bool> stop{false};
    server_.WatchOpening(OpenProgress{[&](const std::string &what, uint64_t done, uint64_t total) {
                                          progress.Show(what, done >> 20, total >> 20, "MB");
                                          stop = InterruptFlag::Raised();
                                      },
                                      &stop});
    const ServerOpener::Outcome outcome = opener.Open(options.server, &profile);
    server_.WatchOpening({});
    progress.Clear();
    serverName_ = opener.ServerName();
    if (outcome == ServerOpener::Outcome::Opened) {
        return true;
    }
    std::string message = opener.Message(outcome);
    // One line for a script's log: the reason after the program's text.
    for (std::size_t at; (at = message.find("\n\n")) != std::string::npos;) {
        message.replace(at, 2, ": ");
    }
    for (std::size_t at; (at = message.find('\n')) != std::string::npos;) {
        message.replace(at, 1, "; ");
    }
    exitCode = outcome == ServerOpener::Outcome::NoConfiguration ? Refuse(message)
               : opener.RefusedBySettings()                      ? Misconfigured(message)
                                                                 : Unavailable(message);
    return false;
}

bool RestoreCommand::LogIn(const RestoreOptions &options, ServerLogin &login)
{
    if (!options.user.empty()) {
        if (password_.Empty() &&
            !terminal_.AskSecret("Password for " + options.user + ": ", password_)) {
            fault_ = "no password was typed";
            return false;
        }
        const bool accepted = login.Login(options.user.c_str(), password_.CText()) == 0;
        password_.Wipe();
        fault_ = accepted ? "" : Refused(server_);
        return accepted;
    }
    if (login.LoginCurrent() == 0) {
        return true;
    }
    if (!terminal_.Available()) {
        fault_ = "the server needs a login: give --user NAME and --password-file FILE";
        return false;
    }
    for (int attempt = 0; attempt < kLoginAttempts; ++attempt) {
        std::string user;
        SecretText password;
        if (!terminal_.Ask("User: ", user) || !terminal_.AskSecret("Password: ", password)) {
            fault_ = "no login was typed";
            return false;
        }
        if (login.Login(user.c_str(), password.CText()) == 0) {
            return true;
        }
        streams_.err << Refused(server_) << "\n";
    }
    fault_ = kLoginRefused;
    return false;
}

int RestoreCommand::Restore(const RestoreOptions &options, const std::vector<WantedObject> &wanted,
                            ServerLogin &login)
{
    ServerClient client(server_);
    NodeList forest;
    auto top =
        std::make_unique<ObjectItem>(login.Context(), DisplayItem::ContainerKind, &client, nullptr);
    ObjectItem &context = *top;
    forest.AppendItem(std::move(top));
    RestoreSelection selection(forest);
    RestorePlan plan(selection, context, client);
    const JournalRecord record(serverName_, login.UserName(), options.onError);
    Progress progress(streams_.err, streams_.errIsTerminal, streams_.errWidth);
    const auto stop = [] { return InterruptFlag::Raised(); };
    RestoreWalk::End end = RestoreWalk::End::Interrupted;
    std::optional<PreviewCounts> previewed;
    if (plan.Prepare(
            wanted,
            [&progress](std::size_t count, std::size_t total, const std::string &object) {
                progress.Show("finding", count, total, object);
            },
            stop)) {
        RestoreWalk walk(selection, plan, &terminal_);
        end = walk.Run(
            options.onError, options.dryRun,
            [&progress, &options](std::size_t count, std::size_t total, const std::string &object) {
                progress.Show(options.dryRun ? "checking" : "restoring", count, total, object);
            },
            stop);
        if (options.dryRun) {
            previewed = walk.Previewed();
        }
        // Only the text has room for it beside the objects.
        if (options.dryRun && previewed->unknown > 0 && options.format != OutputFormat::Text) {
            streams_.err << kProgram << ServerClient::kCannotCompare << "\n";
        }
    }
    plan.SettleTheRest(RunWords::kProgramEnding); // never looked for: an interrupt came first
    progress.Clear();
    const std::vector<ReportedObject> records = plan.Records(forest);
    const bool finished = end != RestoreWalk::End::Interrupted;
    if (!finished) {
        streams_.err << kProgram << "interrupted: "
                     << TextReport::Summary(ObjectReport::Of(records), options.dryRun) << "\n";
    }
    if (!options.dryRun) {
        KeepInJournal(record.Finish(records, end == RestoreWalk::End::Whole));
    }
    const int exitCode = finished && AllRestored(records) ? Success : Failures;
    return Finish(Render(options.format, records, options.dryRun, previewed), exitCode);
}

// Lists what matches; the server's refusal or failure goes to standard error, with the matches
// found before it still listed.
int RestoreCommand::Find(const RestoreOptions &options, ServerLogin &login)
{
    ServerClient client(server_);
    std::vector<FoundObject> found;
    const SearchOutcome outcome = client.Search(
        login.Context(), options.find, false,
        [&found](FoundObject &&object) { found.push_back(std::move(object)); },
        [] { return InterruptFlag::Raised(); });
    switch (outcome.end) {
    case RequestEnd::Answered:
        if (found.empty()) {
            streams_.err << kProgram << "no object below " << login.Context() << " matches \""
                         << options.find << "\"\n";
        }
        break;
    case RequestEnd::NotOffered:
        streams_.err << kProgram << ServerClient::kCannotSearch << "\n";
        return Failures;
    case RequestEnd::Stopped:
        streams_.err << kProgram << "interrupted: " << FoundReport::Summary(found) << "\n";
        break;
    case RequestEnd::NameTooLong:
    case RequestEnd::NoReply:
    case RequestEnd::Failed:
        streams_.err << kProgram << "the search failed: " << outcome.failure << "\n";
        break;
    }
    const bool whole = outcome.end == RequestEnd::Answered;
    return Finish(FoundReport::Render(options.format, found),
                  whole && !found.empty() ? Success : Failures);
}

// The run happened whatever becomes of its record: a journal that cannot be written is said,
// and the exit status stays the run's.
void RestoreCommand::KeepInJournal(const RunReport &run)
{
    const std::string reason = journalPath_.empty()
                                   ? "no folder for it (neither XDG_DATA_HOME nor HOME is set)"
                                   : RunJournal(journalPath_).Append(run);
    if (!reason.empty()) {
        streams_.err << kProgram << "this run could not be added to the journal of past runs"
                     << (journalPath_.empty() ? "" : " " + journalPath_) << ": " << reason << "\n";
    }
}

int RestoreCommand::Finish(const std::string &results, int exitCode)
{
    if (!output_) {
        streams_.out << results << std::flush;
        return exitCode;
    }
    std::string fault;
    if (!output_->Commit(results, fault)) {
        streams_.err << kProgram << fault << "\n";
        return Failures;
    }
    return exitCode;
}
