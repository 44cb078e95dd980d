// Making, filling and removing a test server's folder.
#include "tests/support/core/ServerFolder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

ServerFolder::ServerFolder(const std::string &prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        folder_ = pattern;
        std::filesystem::create_directories(Catalogue());
    }
}

ServerFolder::~ServerFolder()
{
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

std::string ServerFolder::WriteFile(const std::string &name, const std::string &contents) const
{
    const std::string path = folder_ + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
    ::chmod(path.c_str(), 0600);
    return path;
}

std::string ServerFolder::WriteSnapshot(unsigned time, const std::string &ldif) const
{
    return WriteFile("catalogue/" + std::to_string(time) + ".ldif", ldif);
}
