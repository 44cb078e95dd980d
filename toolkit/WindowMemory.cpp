#include "toolkit/WindowMemory.h"

#include <iostream>
#include <memory>

#include "toolkit/StateFile.h"

namespace
{
struct Memory {
    StateFile file;
    StateFile::Values values;
    bool failureTold = false;
};

std::unique_ptr<Memory> &TheMemory()
{
    static std::unique_ptr<Memory> memory;
    return memory;
}
} // namespace

void WindowMemory::Use(const std::string &path)
{
    if (path.empty()) {
        TheMemory().reset();
        return;
    }
    StateFile file(path);
    StateFile::Values values = file.Read();
    TheMemory() = std::make_unique<Memory>(Memory{std::move(file), std::move(values), false});
}

bool WindowMemory::IsOn()
{
    return TheMemory() != nullptr;
}

std::optional<std::vector<int>> WindowMemory::Recall(const std::string &key)
{
    const Memory *memory = TheMemory().get();
    if (memory == nullptr) {
        return std::nullopt;
    }
    auto it = memory->values.find(key);
    return it == memory->values.end() ? std::nullopt : std::optional(it->second);
}

void WindowMemory::Keep(const std::string &key, std::vector<int> values)
{
    Memory *memory = TheMemory().get();
    if (memory == nullptr) {
        return;
    }
    memory->values[key] = values;
    const std::string reason = memory->file.Write({{key, std::move(values)}});
    if (!reason.empty() && !memory->failureTold) {
        memory->failureTold = true;
        std::cerr << "tarvik: the window state cannot be kept in " << memory->file.Path() << ": "
                  << reason << "\n";
    }
}
