// Indexing the catalogues of the configured servers, with progress on the terminal.
#include "cli/IndexCommand.h"

#include <atomic>
#include <optional>

#include "catalogue/CatalogueIndex.h"
#include "cli/InterruptFlag.h"
#include "cli/ProgramPrefix.h"
#include "cli/Progress.h"
#include "cli/RestoreCommand.h"
#include "startup/DirectorySettings.h"
#include "startup/RestoreProfile.h"

namespace
{

std::string Size(uint64_t bytes)
{
    return bytes >= 10'000'000 ? std::to_string(bytes / 1'000'000) + " MB"
                               : std::to_string(bytes / 1000) + " kB";
}

std::string Count(std::size_t count, const char *one, const char *many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
} // namespace

IndexCommand::IndexCommand(std::ostream &out, std::ostream &err, Progress &progress)
    : out_(out), err_(err), progress_(progress)
{
}

int IndexCommand::Run(RestoreProfile &profile, const std::vector<std::string> &names, bool named,
                      const std::string &programDirectory)
{
    bool any = false;
    bool clean = true;
    bool failed = false;
    for (const std::string &name : names) {
        const std::optional<LdapSettings> settings =
            DirectorySettings::Read(profile, name, programDirectory);
        if (!settings || settings->catalogue.empty()) {
            if (named) {
                err_ << kProgram << "the server " << name << " has no catalogue of snapshots\n";
                return RestoreCommand::BadArguments;
            }
            continue;
        }
        any = true;
        out_ << name << ": " << settings->catalogue << "\n";
        failed |= !Index(*settings, clean);
        if (InterruptFlag::Raised()) {
            break;
        }
    }
    if (!any) {
        err_ << kProgram << "no configured server has a catalogue of snapshots\n";
        return RestoreCommand::BadArguments;
    }
    return failed ? RestoreCommand::ServerUnavailable
                  : (clean ? RestoreCommand::Success : RestoreCommand::Failures);
}

bool IndexCommand::Index(const LdapSettings &settings, bool &clean)
{
    std::atomic<bool> stop{false};
    CatalogueIndex::Options options;
    options.indexFolder = settings.indexFolder;
    options.progress.stop = &stop;
    options.progress.report = [&](const IndexStep &step) {
        const uint64_t percent = step.total == 0 ? 100 : step.done * 100 / step.total;
        progress_.Show("indexing", step.dump, step.dumps,
                       step.file + " " + std::to_string(percent) + "%");
        stop = InterruptFlag::Raised();
    };
    std::string fault;
    const std::unique_ptr<CatalogueIndex> index =
        CatalogueIndex::Open(settings.catalogue, options, fault);
    progress_.Clear();
    if (!index) {
        err_ << kProgram << settings.serverName << ": " << fault << "\n";
        return false;
    }
    for (const std::string &note : index->Notes()) {
        out_ << "  " << note << "\n";
    }
    const IndexUpdate::Summary &update = index->Update();
    for (const IndexUpdate::DumpRead &read : update.read) {
        if (read.fault.empty()) {
            out_ << "  read " << read.file << ": " << Count(read.entries, "entry", "entries")
                 << " (" << Size(read.bytes) << ")\n";
        } else {
            out_ << "  left out " << read.file << ": " << read.fault << "\n";
            clean = false;
        }
    }
    for (const std::string &removed : update.removed) {
        out_ << "  removed " << removed << " (gone from the folder)\n";
    }
    if (update.stopped) {
        out_ << "  interrupted: the snapshots not read yet are indexed next time\n";
        clean = false;
    }
    if (update.busy) {
        out_ << "  another program is bringing this index up to date\n";
        clean = false;
    }
    out_ << "  " << Count(index->Dumps().size(), "snapshot", "snapshots") << " indexed"
         << (update.rebuilt ? " (the index was built anew)" : "") << ", "
         << Count(index->LeftOut().size(), "left out", "left out") << "; index "
         << index->IndexPath() << "\n";
    return true;
}
