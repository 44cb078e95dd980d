// Test fixture: sets (or, with null, removes) an environment variable for the life of the object
// and puts the earlier value back.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ScopedEnvironment
{
  public:
    ScopedEnvironment(const char *name, const char *value) : name_(name)
    {
        if (const char *old = std::getenv(name)) {
            old_ = old;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

  private:
    const char *name_;
    std::optional<std::string> old_;
};
