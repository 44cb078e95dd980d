// The directory backend lives in a module of its own, loaded on first use, so that the program
// starts without libldap and what it brings; only a server configured as a directory loads it.
#pragma once

#include <memory>
#include <string>

#include "server/DirectoryFactory.h"

class DirectoryModule
{
  public:
    // The module's name in the program's directory, where the build and the installation put it.
    static constexpr const char *kFileName = "tarvik-directory.so";

    // The module at this path; nothing is loaded yet.
    explicit DirectoryModule(std::string path);
    DirectoryModule(const DirectoryModule &) = delete;
    DirectoryModule &operator=(const DirectoryModule &) = delete;

    // A new directory backend for the settings; null, with the reason in `reason`, when the
    // module cannot be loaded, lacks its factory or refuses. Loading is tried once.
    std::unique_ptr<ServerBackend> Create(const LdapSettings &settings, std::string &reason);

    const std::string &Path() const { return path_; }

  private:
    bool Load();

    std::string path_;
    bool tried_ = false;
    DirectoryFactory *factory_ = nullptr;
    std::string failure_;
};
