// Reading NAME[/][@TIME].
#include "cli/WantedObject.h"

namespace
{
constexpr const char *kTimeForms = "newest, 2026-11-30T02:00:00Z, a local time without the Z, or "
                                   "<= and a time";
}

std::optional<WantedObject> WantedObject::Parse(std::string_view text, std::string &fault)
{
    WantedObject wanted;
    std::string_view name = text;
    if (const std::size_t at = text.rfind('@'); at != std::string_view::npos) {
        const std::string_view time = text.substr(at + 1);
        std::optional<VersionPick> pick = VersionPick::Parse(time);
        if (!pick) {
            fault = "'" + std::string(text) + "': '" + std::string(time) + "' is not a version (" +
                    kTimeForms + ")";
            return std::nullopt;
        }
        wanted.version = *pick;
        name = text.substr(0, at);
    }
    if (name.ends_with('/')) {
        wanted.alone = true;
        name.remove_suffix(1);
    }
    if (name.empty()) {
        fault = "'" + std::string(text) + "' names no object";
        return std::nullopt;
    }
    wanted.fullName = std::string(name);
    return wanted;
}

std::string WantedObject::Text() const
{
    return fullName + (alone ? "/" : "") + (version.IsNewest() ? "" : "@" + version.Describe());
}
