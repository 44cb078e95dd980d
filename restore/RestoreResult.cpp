// Filling a restore result and building its line of the result dialog.
#include "restore/RestoreResult.h"

#include <cstring>

#include "mwlib/MW_Text.h"
#include "server/RecordFields.h"

namespace
{

constexpr std::string_view kCutMark = "...";

template <std::size_t N> void CopyShown(char (&field)[N], std::string_view text)
{
    if (CopyToField(field, text)) {
        return;
    }
    std::size_t kept = MW_Text::WholeCharacters(text, N - 1 - kCutMark.size());
    std::memcpy(field, text.data(), kept);
    std::memcpy(field + kept, kCutMark.data(), kCutMark.size());
    field[kept + kCutMark.size()] = '\0';
}

} // namespace

RestoreResult MakeRestoreResult(std::string_view name, int32_t status, std::string_view message,
                                std::string_view note)
{
    RestoreResult result{};
    CopyShown(result.name, name);
    result.status = status;
    if (status != 0) {
        CopyShown(result.message, message);
    } else {
        CopyShown(result.note, note);
    }
    return result;
}

std::string RestoreResultLine(const RestoreResult &result)
{
    std::string line = FieldText(result.name);
    if (result.status != 0) {
        line += " - failed on Object '";
        line += FieldText(result.message);
        line += "'";
    } else if (const std::string note = FieldText(result.note); !note.empty()) {
        line += " - " + note;
    }
    return line;
}

std::string ParentAddedNote(std::string_view childName)
{
    return "added as the parent of " + std::string(childName);
}

std::string SubtreeNote(uint64_t added, uint64_t changed)
{
    return "with its subtree: " + std::to_string(added) + (added == 1 ? " object" : " objects") +
           " added, " + std::to_string(changed) + " changed";
}
