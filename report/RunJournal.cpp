#include "report/RunJournal.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "report/RunReportJson.h"
#include "report/SystemFile.h"

namespace
{

std::string HomeFolder()
{
    if (const char *home = std::getenv("HOME"); home && *home) {
        return home;
    }
    const passwd *user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

// The journal names the user's objects and servers: each folder made for it is the user's alone.
std::string CreateFolderOf(const std::string &path)
{
    std::vector<std::filesystem::path> missing;
    std::error_code error;
    for (std::filesystem::path folder = std::filesystem::path(path).parent_path();
         !folder.empty() && !std::filesystem::exists(folder, error);
         folder = folder.parent_path()) {
        missing.push_back(folder);
        if (folder == folder.parent_path()) {
            break;
        }
    }
    for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
        if (mkdir(folder->c_str(), 0700) != 0 && errno != EEXIST) {
            return std::strerror(errno);
        }
    }
    return {};
}

// The journal as a regular file of its own, never through a symbolic link, and readable by its
// owner alone (one made wider by hand or by an older program is narrowed).
int OpenForAppending(const std::string &path, std::string &reason)
{
    const int fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        reason =
            errno == ELOOP ? "it is a symbolic link, which is not followed" : std::strerror(errno);
        return -1;
    }
    struct stat status {
    };
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        reason = "it is not a regular file";
    } else if ((status.st_mode & 077) != 0 && fchmod(fd, status.st_mode & 0700) != 0) {
        reason = std::strerror(errno);
    }
    if (!reason.empty()) {
        close(fd);
        return -1;
    }
    return fd;
}

// A journal whose last line has no end (a record cut short) gets one first, so that the new
// record starts a line of its own. When the last byte cannot be read, a line end is safer than
// none: an empty line is skipped, a record glued to a damaged one would be lost.
std::string LineEndIfMissing(int fd, off_t size)
{
    char last = '\n';
    if (size > 0 && pread(fd, &last, 1, size - 1) != 1) {
        last = '\0';
    }
    return last == '\n' ? std::string() : std::string("\n");
}

std::string AppendLine(SystemFile &file, const std::string &line)
{
    const int fd = file.Descriptor();
    if (flock(fd, LOCK_EX) != 0) {
        return std::strerror(errno);
    }
    struct stat before {
    };
    if (fstat(fd, &before) != 0) {
        return std::strerror(errno);
    }
    std::string reason = file.WriteAll(LineEndIfMissing(fd, before.st_size) + line);
    if (reason.empty()) {
        reason = file.Sync();
    }
    if (!reason.empty()) {
        // What went out of a failed record would stand as a damaged line: take it back.
        if (ftruncate(fd, before.st_size) == 0) {
            fsync(fd);
        }
    }
    return reason;
}

JournalEntry EntryOf(RunReport run, uint64_t offset, uint64_t length)
{
    JournalEntry entry;
    entry.restored = run.RestoredCount();
    entry.failed = run.FailedCount();
    run.objects.clear();
    run.objects.shrink_to_fit();
    entry.run = std::move(run);
    entry.offset = offset;
    entry.length = length;
    return entry;
}

std::string OpenError(const std::string &path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return std::strerror(EISDIR);
    }
    return std::strerror(errno != 0 ? errno : EIO);
}

} // namespace

std::string RunJournal::DefaultPath()
{
    std::string data;
    if (const char *xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        data = xdg;
        while (data.size() > 1 && data.back() == '/') {
            data.pop_back();
        }
    } else if (const std::string home = HomeFolder(); !home.empty()) {
        data = home + "/.local/share";
    } else {
        return {};
    }
    return data + "/tarvik/runs.jsonl";
}

std::string RunJournal::Append(const RunReport &report) const
{
    if (path_.empty()) {
        return "There is no folder for the program's data (neither XDG_DATA_HOME nor a home "
               "folder is set).";
    }
    if (std::string reason = CreateFolderOf(path_); !reason.empty()) {
        return reason;
    }
    std::string opening;
    SystemFile file(OpenForAppending(path_, opening));
    if (!file.IsOpen()) {
        return opening;
    }
    // The record's JSON holds no raw line break: every one inside a text is escaped.
    std::string reason = AppendLine(file, RunReportToJson(report, JsonLayout::OneLine) + "\n");
    std::string closing = file.Close();
    return reason.empty() ? closing : reason;
}

JournalListing RunJournal::List() const
{
    JournalListing listing;
    std::error_code missing;
    if (!std::filesystem::exists(path_, missing) && !missing) {
        return listing; // no run has been written yet
    }
    std::ifstream in(path_, std::ios::binary);
    if (!in || std::filesystem::is_directory(path_, missing)) {
        listing.error = OpenError(path_);
        return listing;
    }
    uint64_t offset = 0;
    for (std::string line; std::getline(in, line);) {
        const uint64_t start = offset;
        offset += line.size() + 1;
        if (in.eof()) {
            ++listing.skipped; // no line end: a record cut short
            break;
        }
        if (std::optional<RunReport> run = RunReportFromJson(line)) {
            listing.entries.push_back(EntryOf(std::move(*run), start, line.size()));
        } else {
            ++listing.skipped;
        }
    }
    if (in.bad()) {
        listing.error = std::strerror(errno != 0 ? errno : EIO);
    }
    // Newest first; of two runs that started in the same second, the later line first.
    std::reverse(listing.entries.begin(), listing.entries.end());
    std::stable_sort(
        listing.entries.begin(), listing.entries.end(),
        [](const JournalEntry &a, const JournalEntry &b) { return a.run.started > b.run.started; });
    return listing;
}

std::optional<RunReport> RunJournal::Read(const JournalEntry &entry, std::string &error) const
{
    constexpr const char *kChanged = "It has changed since it was listed";
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        error = OpenError(path_);
        return std::nullopt;
    }
    std::string line(entry.length, '\0');
    if (!in.seekg(static_cast<std::streamoff>(entry.offset)) ||
        !in.read(line.data(), static_cast<std::streamsize>(line.size()))) {
        error = kChanged; // shorter now
        return std::nullopt;
    }
    std::optional<RunReport> run = RunReportFromJson(line);
    if (!run) {
        error = kChanged;
    }
    return run;
}
