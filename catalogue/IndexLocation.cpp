// Naming the index file of a catalogue and making its folder.
#include "catalogue/IndexLocation.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "catalogue/Fingerprint.h"

namespace
{
std::string HomeFolder()
{
    if (const char *home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    const passwd *user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

// The folder's own name, kept readable in the file's name: letters, digits, "-", "_" and ".".
std::string Readable(const std::string &catalogue)
{
    std::string name;
    for (char c : std::filesystem::path(catalogue).filename().string()) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        name += plain ? c : '_';
    }
    return name.substr(0, 40);
}

// Makes the folder and those above it, private to the user.
bool MakeFolder(const std::string &folder, std::string &fault)
{
    std::string path;
    for (const auto &part : std::filesystem::path(folder)) {
        path = (std::filesystem::path(path) / part).string();
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
            fault = "the folder " + path + " cannot be made: " + std::strerror(errno);
            return false;
        }
    }
    return true;
}
} // namespace

std::string IndexLocation::CacheFolder()
{
    if (const char *xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/tarvik";
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.cache/tarvik";
}

std::string IndexLocation::For(const std::string &catalogue, const std::string &indexFolder,
                               std::string &fault)
{
    const std::string folder = indexFolder.empty() ? CacheFolder() : indexFolder;
    if (folder.empty()) {
        fault = "there is no folder for the catalogue's index (neither XDG_CACHE_HOME nor a home "
                "folder is set)";
        return {};
    }
    if (!MakeFolder(folder, fault)) {
        return {};
    }
    char key[17];
    std::snprintf(key, sizeof key, "%016" PRIx64, Fingerprint::Of(catalogue));
    return folder + "/" + Readable(catalogue) + "-" + key + ".index";
}
