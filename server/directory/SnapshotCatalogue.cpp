// Finding, timing and indexing the snapshots of a catalogue folder.
#include "server/directory/SnapshotCatalogue.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>

namespace
{
// The time a snapshot was taken: its name's number, or when the file was last written.
BackupTime SnapshotTime(const std::filesystem::path &path)
{
    const std::string stem = path.stem().string();
    uint64_t seconds = 0;
    const auto [end, error] = std::from_chars(stem.data(), stem.data() + stem.size(), seconds);
    if (error == std::errc() && end == stem.data() + stem.size() && !stem.empty() &&
        seconds <= std::numeric_limits<BackupTime>::max()) {
        return static_cast<BackupTime>(seconds);
    }
    struct stat status {
    };
    if (::stat(path.c_str(), &status) == 0 && status.st_mtime > 0) {
        return static_cast<BackupTime>(
            std::min<int64_t>(status.st_mtime, std::numeric_limits<BackupTime>::max()));
    }
    return 0;
}
} // namespace

std::unordered_set<std::string> SnapshotCatalogue::DefaultContainerClasses()
{
    return {"organization", "organizationalunit", "domain",    "dcobject",
            "country",      "locality",           "container", "nscontainer"};
}

bool SnapshotCatalogue::Load(const std::string &folder,
                             const std::unordered_set<std::string> &containerClasses,
                             const Report &report)
{
    snapshots_.clear();
    leftOut_.clear();
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".ldif" && it->is_regular_file()) {
            files.push_back(it->path());
        }
    }
    if (error) {
        report("the catalogue " + folder + " cannot be read: " + error.message());
        return false;
    }
    std::sort(files.begin(), files.end()); // the same order of reports whatever the folder's
    for (const std::filesystem::path &file : files) {
        std::string fault;
        std::unique_ptr<Snapshot> snapshot =
            Snapshot::Load(file.string(), SnapshotTime(file), containerClasses, fault);
        if (snapshot) {
            snapshots_.push_back(std::move(snapshot));
        } else {
            report("snapshot " + file.string() + " left out: " + fault);
            leftOut_.push_back(LeftOut{file.string(), fault});
        }
    }
    std::stable_sort(snapshots_.begin(), snapshots_.end(),
                     [](const auto &a, const auto &b) { return a->Time() > b->Time(); });
    return true;
}

std::vector<BackupTime> SnapshotCatalogue::TimesOf(const std::string &canonical) const
{
    std::vector<BackupTime> times;
    for (const auto &snapshot : snapshots_) {
        if (snapshot->Find(canonical) != nullptr) {
            times.push_back(snapshot->Time());
        }
    }
    return times;
}

const Snapshot *SnapshotCatalogue::Holding(const std::string &canonical, BackupTime time) const
{
    for (const auto &snapshot : snapshots_) {
        if ((time == 0 || snapshot->Time() == time) && snapshot->Find(canonical) != nullptr) {
            return snapshot.get();
        }
    }
    return nullptr;
}

bool SnapshotCatalogue::HadChildren(const std::string &canonical) const
{
    return std::any_of(snapshots_.begin(), snapshots_.end(),
                       [&](const auto &snapshot) { return snapshot->HasChildren(canonical); });
}
