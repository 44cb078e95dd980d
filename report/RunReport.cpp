#include "report/RunReport.h"

#include <algorithm>
#include <array>
#include <utility>

#include "report/ReportTime.h"

std::size_t RunReport::RestoredCount() const
{
    return static_cast<std::size_t>(std::count_if(
        objects.begin(), objects.end(), [](const ReportedObject &o) { return o.Restored(); }));
}

std::size_t RunReport::FailedCount() const
{
    return objects.size() - RestoredCount();
}

ReportedObject MakeReportedObject(std::string_view name, uint32_t version, ObjectScope scope,
                                  int32_t status, std::string_view message, std::string_view note)
{
    ReportedObject object;
    object.name = name;
    object.version = version;
    object.scope = scope;
    object.status = status;
    if (status != 0) {
        object.outcome = ObjectOutcome::Failed;
        object.message = message;
    } else {
        object.note = note;
    }
    return object;
}

namespace
{
template <typename Value, std::size_t N>
bool ReadWord(const std::array<std::pair<Value, std::string_view>, N> &words, std::string_view text,
              Value &value)
{
    for (const auto &[candidate, word] : words) {
        if (text == word) {
            value = candidate;
            return true;
        }
    }
    return false;
}

constexpr std::array<std::pair<OnError, std::string_view>, 3> kOnErrorWords{{
    {OnError::Continue, "Continue"},
    {OnError::Ask, "Ask User"},
    {OnError::End, "End"},
}};
constexpr std::array<std::pair<ObjectOutcome, std::string_view>, 6> kOutcomeWords{{
    {ObjectOutcome::Restored, "restored"},
    {ObjectOutcome::WouldRestore, "would restore"},
    {ObjectOutcome::Failed, "failed"},
    {ObjectOutcome::Skipped, "skipped"},
    {ObjectOutcome::NotTried, "not tried"},
    {ObjectOutcome::NotFound, "not found"},
}};
// Records of earlier versions said "with its subtree" for every object sent with the flag.
constexpr std::array<std::pair<ObjectScope, std::string_view>, 6> kScopeWords{{
    {ObjectScope::Object, "object"},
    {ObjectScope::Subtree, "subtree"},
    {ObjectScope::Alone, "alone"},
    {ObjectScope::InSubtree, "in subtree"},
    {ObjectScope::None, ""},
    {ObjectScope::Subtree, "with its subtree"},
}};
} // namespace

std::string_view OnErrorText(OnError onError)
{
    return kOnErrorWords[static_cast<std::size_t>(onError)].second;
}

bool OnErrorOf(std::string_view text, OnError &onError)
{
    return ReadWord(kOnErrorWords, text, onError);
}

std::string_view OutcomeText(ObjectOutcome outcome)
{
    return kOutcomeWords[static_cast<std::size_t>(outcome)].second;
}

bool OutcomeOf(std::string_view text, ObjectOutcome &outcome)
{
    return ReadWord(kOutcomeWords, text, outcome);
}

std::string_view ScopeText(ObjectScope scope)
{
    for (const auto &[candidate, word] : kScopeWords) {
        if (candidate == scope) {
            return word;
        }
    }
    return {};
}

bool ScopeOf(std::string_view text, ObjectScope &scope)
{
    return ReadWord(kScopeWords, text, scope);
}

std::string ReportedVersionText(const ReportedObject &object)
{
    if (!object.versionAsked.empty()) {
        return object.versionAsked;
    }
    return object.version == 0 ? std::string(kMostRecentText) : IsoTime(object.version);
}
