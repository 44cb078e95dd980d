// The server's questions put to the catalogue's index.
#include "server/directory/SnapshotCatalogue.h"

namespace
{
const std::vector<IndexedDump> kNoDumps;
const IndexUpdate::Summary kNothingRead;
} // namespace

SnapshotCatalogue::SnapshotCatalogue() = default;
SnapshotCatalogue::~SnapshotCatalogue() = default;

std::unordered_set<std::string> SnapshotCatalogue::DefaultContainerClasses()
{
    return {"organization", "organizationalunit", "domain",    "dcobject",
            "country",      "locality",           "container", "nscontainer"};
}

bool SnapshotCatalogue::Load(const std::string &folder,
                             const std::unordered_set<std::string> &containerClasses,
                             const Report &report, const std::string &indexFolder,
                             const IndexProgress &progress)
{
    index_.reset();
    leftOut_.clear();
    report_ = report;
    CatalogueIndex::Options options{indexFolder, containerClasses, progress};
    std::string fault;
    index_ = CatalogueIndex::Open(folder, options, fault);
    if (!index_) {
        report(fault);
        return false;
    }
    for (const std::string &note : index_->Notes()) {
        report(note);
    }
    for (const LeftOutDump &file : index_->LeftOut()) {
        report("snapshot " + file.path + " left out: " + file.reason);
        leftOut_.push_back(LeftOut{file.path, file.reason});
    }
    return true;
}

std::vector<std::string> SnapshotCatalogue::LoadNotes() const
{
    std::vector<std::string> notes;
    if (!index_) {
        return notes;
    }
    const IndexUpdate::Summary &update = index_->Update();
    if (update.stopped) {
        notes.push_back("Indexing the snapshots was stopped: those not indexed yet are not "
                        "shown; they are indexed the next time the server is opened.");
    }
    if (update.busy) {
        notes.push_back("Another program is bringing the snapshots' index up to date: the "
                        "snapshots it has not indexed yet are not shown.");
    }
    return notes;
}

template <typename Answer> Answer SnapshotCatalogue::Checked(Answer answer) const
{
    if (const std::string fault = index_->TakeFault(); !fault.empty() && report_) {
        report_(fault);
    }
    return answer;
}

const std::vector<IndexedDump> &SnapshotCatalogue::Snapshots() const
{
    return index_ ? index_->Dumps() : kNoDumps;
}

std::vector<BackupTime> SnapshotCatalogue::TimesOf(const std::string &canonical) const
{
    if (!index_) {
        return {};
    }
    std::vector<BackupTime> times;
    for (uint32_t time : Checked(index_->TimesOf(canonical))) {
        times.push_back(time);
    }
    return times;
}

std::optional<ArchivedEntry> SnapshotCatalogue::Holding(const std::string &canonical,
                                                        BackupTime time) const
{
    return index_ ? Checked(index_->Holding(canonical, time)) : std::nullopt;
}

std::optional<ArchivedEntry> SnapshotCatalogue::Beside(const std::string &canonical,
                                                       const ArchivedEntry &other) const
{
    return index_ ? Checked(index_->InDump(canonical, other.seq)) : std::nullopt;
}

std::vector<ArchivedEntry> SnapshotCatalogue::Subtree(const ArchivedEntry &top) const
{
    return index_ ? Checked(index_->Subtree(top)) : std::vector<ArchivedEntry>{top};
}

std::optional<LdifEntry> SnapshotCatalogue::Read(const ArchivedEntry &entry,
                                                 std::string &fault) const
{
    if (!index_) {
        fault = "no catalogue";
        return std::nullopt;
    }
    return index_->Read(entry, fault);
}

std::vector<ArchivedName> SnapshotCatalogue::ChildrenOf(const std::string &canonical) const
{
    return index_ ? Checked(index_->ChildrenOf(canonical)) : std::vector<ArchivedName>{};
}

bool SnapshotCatalogue::HadChildren(const std::string &canonical) const
{
    return index_ && Checked(index_->HadChildren(canonical));
}

bool SnapshotCatalogue::WasContainer(const std::string &canonical) const
{
    return index_ && Checked(index_->WasContainer(canonical));
}

std::vector<ArchivedName> SnapshotCatalogue::NamesAfter(int64_t &cursor, std::size_t count) const
{
    return index_ ? Checked(index_->NamesAfter(cursor, count)) : std::vector<ArchivedName>{};
}

std::vector<std::string> SnapshotCatalogue::NamingTypes() const
{
    return index_ ? Checked(index_->NamingTypes()) : std::vector<std::string>{};
}

bool SnapshotCatalogue::Changes(int64_t from, int64_t to,
                                const std::function<bool(const EntryChange &)> &take,
                                std::string &fault) const
{
    if (!index_) {
        fault = "no catalogue";
        return false;
    }
    const bool answered = index_->Changes(from, to, std::string(), take);
    fault = index_->TakeFault();
    return answered && fault.empty();
}

bool SnapshotCatalogue::Entries(int64_t seq, const std::function<bool(const HeldVersion &)> &take,
                                std::string &fault) const
{
    if (!index_) {
        fault = "no catalogue";
        return false;
    }
    const bool answered = index_->Entries(seq, std::string(), take);
    fault = index_->TakeFault();
    return answered && fault.empty();
}

const IndexUpdate::Summary &SnapshotCatalogue::LastUpdate() const
{
    return index_ ? index_->Update() : kNothingRead;
}
