// Finding the dumps of a folder and what tells them apart.
#include "catalogue/DumpFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>

#include "catalogue/DumpSource.h"
#include "catalogue/Fingerprint.h"

namespace
{
constexpr std::size_t kHeadBytes = 16384;

uint32_t TimeOf(const std::string &name, const struct stat &status)
{
    const std::string stem = DumpSource::Stem(name);
    uint64_t seconds = 0;
    const auto [end, error] = std::from_chars(stem.data(), stem.data() + stem.size(), seconds);
    if (error == std::errc() && end == stem.data() + stem.size() && !stem.empty() &&
        seconds <= std::numeric_limits<uint32_t>::max()) {
        return static_cast<uint32_t>(seconds);
    }
    return status.st_mtime > 0 ? static_cast<uint32_t>(std::min<int64_t>(
                                     status.st_mtime, std::numeric_limits<uint32_t>::max()))
                               : 0;
}

// The first and last bytes: a dump rewritten in place with its old size and time shows there.
uint64_t HeadAndTail(int fd, uint64_t size)
{
    std::string bytes(std::min<uint64_t>(size, 2 * kHeadBytes), '\0');
    const std::size_t head = std::min<std::size_t>(bytes.size(), kHeadBytes);
    ssize_t got = ::pread(fd, bytes.data(), head, 0);
    if (bytes.size() > head && got == static_cast<ssize_t>(head)) {
        got += ::pread(fd, bytes.data() + head, bytes.size() - head,
                       static_cast<off_t>(size - (bytes.size() - head)));
    }
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return Fingerprint::Of(bytes, size);
}
} // namespace

bool DumpFile::List(const std::string &folder, std::vector<DumpFile> &files, std::string &fault)
{
    files.clear();
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!DumpSource::IsDumpName(name)) {
            continue;
        }
        DumpFile file{name, it->path().string()};
        // Without waiting: a pipe put in the folder's place must not hold the program up.
        const int fd = ::open(file.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat status {
        };
        if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
            file.time = TimeOf(name, status);
            file.size = static_cast<uint64_t>(status.st_size);
            file.modified =
                static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
            file.head = HeadAndTail(fd, file.size);
            files.push_back(std::move(file));
        } else if (fd < 0 && !it->is_directory()) {
            files.push_back(std::move(file)); // kept, to be left out with its reason
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    if (error) {
        fault = "the catalogue " + folder + " cannot be read: " + error.message();
        return false;
    }
    std::sort(files.begin(), files.end(),
              [](const DumpFile &a, const DumpFile &b) { return a.Before(b); });
    return true;
}
