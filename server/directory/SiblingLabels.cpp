// Telling apart siblings that share a label, as a listing does, without listing their parent.
#include "server/directory/SiblingLabels.h"

#include <algorithm>

SiblingLabels::SiblingLabels(LdapConnection *connection, const SnapshotCatalogue *catalogue,
                             bool livesNoted)
    : connection_(connection), catalogue_(catalogue), livesNoted_(livesNoted)
{
}

void SiblingLabels::NoteLive(const DistinguishedName &entry)
{
    if (!entry.Empty()) {
        matched_[entry.Parent().Canonical()][DistinguishedName::Label(entry.Rdns().front())].insert(
            entry.Canonical());
    }
}

std::string SiblingLabels::LabelOf(const DistinguishedName &entry, bool matched)
{
    const std::string canonical = entry.Canonical();
    if (const auto known = labels_.find(canonical); known != labels_.end()) {
        return known->second;
    }
    const RelativeName &own = entry.Rdns().front();
    const std::string label = DistinguishedName::Label(own);
    const DistinguishedName parent = entry.Parent();
    const std::string parentName = parent.Canonical();
    bool shared = SharedIn(ArchivedChildren(parentName), label, canonical);
    if (!shared && matched && livesNoted_) {
        const auto noted = matched_.find(parentName);
        shared = noted != matched_.end() && SharedIn(noted->second, label, canonical);
    } else if (!shared) {
        shared = SharedIn(LiveChildren(parent), label, canonical);
    }
    return labels_.emplace(canonical, shared ? DistinguishedName::TypedLabel(own) : label)
        .first->second;
}

bool SiblingLabels::SharedIn(const Namesakes &children, const std::string &label,
                             const std::string &canonical)
{
    const auto namesakes = children.find(label);
    return namesakes != children.end() &&
           std::any_of(namesakes->second.begin(), namesakes->second.end(),
                       [&](const std::string &other) { return other != canonical; });
}

const SiblingLabels::Namesakes &SiblingLabels::ArchivedChildren(const std::string &parent)
{
    auto children = archived_.find(parent);
    if (children == archived_.end()) {
        Namesakes byLabel;
        for (const ArchivedName &child :
             catalogue_ != nullptr ? catalogue_->ChildrenOf(parent) : std::vector<ArchivedName>{}) {
            std::optional<DistinguishedName> dn = DistinguishedName::Parse(child.dn);
            if (dn && !dn->Empty()) {
                byLabel[DistinguishedName::Label(dn->Rdns().front())].insert(child.canonical);
            }
        }
        children = archived_.emplace(parent, std::move(byLabel)).first;
    }
    return children->second;
}

// When the server cannot say, or is not to be asked, the children stay unknown (or are those
// noted) and the entry keeps its typeless label.
const SiblingLabels::Namesakes &SiblingLabels::LiveChildren(const DistinguishedName &parent)
{
    const std::string parentName = parent.Canonical();
    auto children = live_.find(parentName);
    if (children == live_.end() && connection_ == nullptr) {
        const auto noted = matched_.find(parentName);
        return noted != matched_.end() ? noted->second : live_[parentName];
    }
    if (children == live_.end()) {
        Namesakes byLabel;
        int cutBy = 0;
        connection_->List(
            parent.Text(), {"1.1"},
            [&](LdapEntry &&child) {
                std::optional<DistinguishedName> dn = DistinguishedName::Parse(child.dn);
                if (dn && !dn->Empty()) {
                    byLabel[DistinguishedName::Label(dn->Rdns().front())].insert(dn->Canonical());
                }
            },
            cutBy);
        children = live_.emplace(parentName, std::move(byLabel)).first;
    }
    return children->second;
}
