#include "report/FileReplacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "report/SystemFile.h"

namespace
{

// A name beside the target that no other writer uses: the process id and a count.
std::string TemporaryName(const std::string &path)
{
    static unsigned count = 0;
    return path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(++count);
}

int OpenNew(const std::string &path, std::string &temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(path);
        // A report names objects and users: a new one is its owner's alone.
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

std::string ReplaceFileContents(const std::string &path, std::string_view bytes)
{
    struct stat existing {
    };
    const bool exists = stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return std::strerror(EISDIR);
    }
    const bool replacing = exists && S_ISREG(existing.st_mode);
    std::string temporary;
    SystemFile file(OpenNew(path, temporary));
    if (!file.IsOpen()) {
        return std::strerror(errno);
    }
    std::string reason = file.WriteAll(bytes);
    if (reason.empty() && replacing && fchmod(file.Descriptor(), existing.st_mode & 07777) != 0) {
        reason = std::strerror(errno);
    }
    if (reason.empty()) {
        reason = file.Sync();
    }
    if (reason.empty()) {
        reason = file.Close();
    }
    if (reason.empty() && std::rename(temporary.c_str(), path.c_str()) != 0) {
        reason = std::strerror(errno);
    }
    if (!reason.empty()) {
        unlink(temporary.c_str());
    }
    return reason;
}
