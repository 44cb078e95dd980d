// Reading a version pick and applying it to an object's backup times.
#include "cli/VersionPick.h"

#include "cli/IsoTime.h"

std::optional<VersionPick> VersionPick::Parse(std::string_view text)
{
    if (text == "newest") {
        return VersionPick();
    }
    const bool atOrBefore = text.starts_with("<=");
    if (atOrBefore) {
        text.remove_prefix(2);
    }
    const std::optional<BackupTime> time = IsoTime::Parse(text);
    if (!time) {
        return std::nullopt;
    }
    return VersionPick(atOrBefore ? Kind::AtOrBefore : Kind::Exact, *time);
}

std::optional<BackupTime> VersionPick::Choose(std::span<const BackupTime> times) const
{
    std::optional<BackupTime> chosen;
    for (BackupTime time : times) {
        // A time of 0 cannot be asked for: in a request it stands for the most recent version.
        if (time == 0) {
            continue;
        }
        const bool fits = kind_ == Kind::Exact ? time == time_ : time <= time_;
        if (kind_ != Kind::Newest && fits && (!chosen || time > *chosen)) {
            chosen = time;
        }
    }
    return chosen;
}

std::string VersionPick::Describe() const
{
    switch (kind_) {
    case Kind::Exact:
        return IsoTime::Format(time_);
    case Kind::AtOrBefore:
        return "<=" + IsoTime::Format(time_);
    case Kind::Newest:
        break;
    }
    return "newest";
}
