// Loading the directory module with dlopen and asking its factory for backends.
#include "server/DirectoryModule.h"

#include <dlfcn.h>

#include <utility>

namespace
{
std::string LastError()
{
    const char *text = dlerror();
    return text ? text : "unknown error";
}
} // namespace

DirectoryModule::DirectoryModule(std::string path) : path_(std::move(path))
{
    // dlopen searches the library path for a name without a '/': only this file will do.
    if (path_.find('/') == std::string::npos) {
        path_ = "./" + path_;
    }
}

bool DirectoryModule::Load()
{
    if (tried_) {
        return factory_ != nullptr;
    }
    tried_ = true;
    // Never closed: the backends it creates run its code, and may live until the process ends.
    void *handle = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        failure_ = "directory module not loaded: " + LastError();
        return false;
    }
    factory_ = reinterpret_cast<DirectoryFactory *>(dlsym(handle, kDirectoryFactoryName));
    if (factory_ == nullptr) {
        failure_ = "directory module lacks its factory: " + LastError();
        // Nothing of it is in use yet.
        dlclose(handle);
        return false;
    }
    return true;
}

std::unique_ptr<ServerBackend> DirectoryModule::Create(const LdapSettings &settings,
                                                       std::string &reason)
{
    if (!Load()) {
        reason = failure_;
        return nullptr;
    }
    std::string refusal;
    std::unique_ptr<ServerBackend> backend(
        factory_(kDirectoryInterfaceVersion, &settings, &refusal));
    if (!backend) {
        reason = "directory module " + path_ + ": " + refusal;
    }
    return backend;
}
