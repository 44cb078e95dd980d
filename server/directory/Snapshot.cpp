// Reading a snapshot file into its index, and one entry back out of it.
#include "server/directory/Snapshot.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "catalogue/AsciiCase.h"

namespace
{
// The whole file, with its size and modification time as they were when it was read.
bool ReadFile(const std::string &path, std::string &text, struct stat &status, std::string &fault)
{
    // Without waiting: a pipe put in the folder's place must not hold the server up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fault = "cannot be opened";
        return false;
    }
    bool read = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    if (read) {
        text.resize(static_cast<std::size_t>(status.st_size));
        std::size_t done = 0;
        while (read && done < text.size()) {
            const ssize_t got =
                ::pread(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
            read = got > 0;
            done += got > 0 ? static_cast<std::size_t>(got) : 0;
        }
    }
    ::close(fd);
    if (!read) {
        fault = "cannot be read";
    }
    return read;
}

int64_t ModifiedNanoseconds(const struct stat &status)
{
    return static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

bool HasContainerClass(const LdifEntry &entry, const std::unordered_set<std::string> &classes)
{
    for (const LdifAttribute &attribute : entry.attributes) {
        if (strcasecmp(attribute.description.c_str(), "objectClass") != 0) {
            continue;
        }
        if (IsContainerClass(attribute.value, classes)) {
            return true;
        }
    }
    return false;
}
} // namespace

std::unique_ptr<Snapshot> Snapshot::Load(const std::string &path, BackupTime time,
                                         const std::unordered_set<std::string> &containerClasses,
                                         std::string &fault)
{
    std::string text;
    struct stat status {
    };
    if (!ReadFile(path, text, status, fault)) {
        return nullptr;
    }
    std::unique_ptr<Snapshot> snapshot = Parse(text, path, time, containerClasses, fault);
    if (snapshot) {
        snapshot->fileSize_ = static_cast<uint64_t>(status.st_size);
        snapshot->fileModified_ = ModifiedNanoseconds(status);
    }
    return snapshot;
}

std::unique_ptr<Snapshot> Snapshot::Parse(std::string_view text, std::string path, BackupTime time,
                                          const std::unordered_set<std::string> &containerClasses,
                                          std::string &fault)
{
    std::unique_ptr<Snapshot> snapshot(new Snapshot(std::move(path), time));
    if (!snapshot->Index(text, containerClasses, fault)) {
        return nullptr;
    }
    return snapshot;
}

// An interrupted dump, or a full disk, leaves a file that stops somewhere inside its last entry:
// such a file is not a backup, however well the entries before read.
bool Snapshot::Index(std::string_view text, const std::unordered_set<std::string> &containerClasses,
                     std::string &fault)
{
    LdifReader reader(text);
    LdifEntry entry;
    LdifReader::Step step;
    bool lastEndedCleanly = true;
    while ((step = reader.Next(entry)) == LdifReader::Step::Entry) {
        lastEndedCleanly = reader.EntryEndedCleanly();
        std::optional<DistinguishedName> dn = DistinguishedName::Parse(entry.dn);
        if (!dn || dn->Empty()) {
            fault = "not a distinguished name: " + entry.dn.substr(0, 80);
            return false;
        }
        SnapshotEntry indexed{entry.dn, dn->Canonical(), reader.EntryOffset(), reader.EntryLength(),
                              HasContainerClass(entry, containerClasses)};
        if (!byName_.emplace(indexed.canonical, entries_.size()).second) {
            fault = "the entry " + entry.dn.substr(0, 80) + " appears twice";
            return false;
        }
        children_[dn->Parent().Canonical()].push_back(entries_.size());
        entries_.push_back(std::move(indexed));
    }
    if (step == LdifReader::Step::Fault) {
        fault = reader.Fault();
        return false;
    }
    if (entries_.empty()) {
        fault = "it holds no entry";
        return false;
    }
    if (!lastEndedCleanly) {
        fault = "its last entry (" + entries_.back().dn.substr(0, 80) +
                ") is not followed by an empty line: the file may have been cut short";
        return false;
    }
    return true;
}

const SnapshotEntry *Snapshot::Find(const std::string &canonical) const
{
    const auto found = byName_.find(canonical);
    return found != byName_.end() ? &entries_[found->second] : nullptr;
}

std::vector<const SnapshotEntry *> Snapshot::ChildrenOf(const std::string &canonical) const
{
    std::vector<const SnapshotEntry *> children;
    const auto found = children_.find(canonical);
    if (found != children_.end()) {
        for (std::size_t index : found->second) {
            children.push_back(&entries_[index]);
        }
    }
    return children;
}

bool Snapshot::HasChildren(const std::string &canonical) const
{
    return children_.count(canonical) != 0;
}

std::vector<const SnapshotEntry *> Snapshot::Subtree(const std::string &canonical) const
{
    std::vector<const SnapshotEntry *> subtree;
    if (const SnapshotEntry *top = Find(canonical)) {
        subtree.push_back(top);
    }
    // Breadth first over the index: parents come before children whatever the file's order.
    for (std::size_t next = 0; next < subtree.size(); ++next) {
        const auto found = children_.find(subtree[next]->canonical);
        if (found != children_.end()) {
            for (std::size_t index : found->second) {
                subtree.push_back(&entries_[index]);
            }
        }
    }
    return subtree;
}

std::optional<LdifEntry> Snapshot::Read(const SnapshotEntry &entry, std::string &fault) const
{
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {
    };
    if (fd < 0 || ::fstat(fd, &status) != 0 || static_cast<uint64_t>(status.st_size) != fileSize_ ||
        ModifiedNanoseconds(status) != fileModified_) {
        if (fd >= 0) {
            ::close(fd);
        }
        fault = "the snapshot " + path_ + " changed or went since it was read";
        return std::nullopt;
    }
    std::string text(entry.length, '\0');
    const ssize_t got = ::pread(fd, text.data(), text.size(), static_cast<off_t>(entry.offset));
    ::close(fd);
    LdifReader reader(text);
    LdifEntry read;
    if (got != static_cast<ssize_t>(text.size()) || reader.Next(read) != LdifReader::Step::Entry) {
        fault = "the entry cannot be read from " + path_;
        return std::nullopt;
    }
    return read;
}
