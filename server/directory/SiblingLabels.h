// The label a listing of its parent would give an entry that no listing has named yet: its
// typeless label ("Ann"), or its typed one ("cn=Ann") when a sibling, live or in a snapshot,
// has the same typeless label. Each parent's snapshot children are looked at once. Live
// siblings of a container on the way down are asked for once per parent; those of a match
// itself are matches too (a sibling of the same name matches the same pattern), so the live
// matches noted so far tell them.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/DistinguishedName.h"
#include "server/directory/LdapConnection.h"
#include "server/directory/SnapshotCatalogue.h"

// ### Two live siblings of one name that the live search gives in different pages: the one
// handed out first was labelled before the other was seen, and keeps its typeless label.
class SiblingLabels
{
  public:
    // livesNoted: every live match is noted before labels are asked for (a search that hands
    // out deleted objects only notes none, and its matches' live siblings are asked for).
    // catalogue: the snapshots whose children a listing counts, or null when it counts none (a
    // domain controller's listing). connection: null when the live directory is not to be asked
    // (live siblings are then those noted).
    SiblingLabels(LdapConnection *connection, const SnapshotCatalogue *catalogue, bool livesNoted);

    // A live entry the search matched.
    void NoteLive(const DistinguishedName &entry);
    // The label of the entry's own level (entry: not the root); matched: it is a match of the
    // search, else a container on the way down to one.
    std::string LabelOf(const DistinguishedName &entry, bool matched);

  private:
    // Canonical names of children, by their labels.
    using Namesakes = std::unordered_map<std::string, std::unordered_set<std::string>>;

    static bool SharedIn(const Namesakes &children, const std::string &label,
                         const std::string &canonical);
    const Namesakes &ArchivedChildren(const std::string &parent);
    const Namesakes &LiveChildren(const DistinguishedName &parent);

    LdapConnection *connection_;
    const SnapshotCatalogue *catalogue_;
    const bool livesNoted_;
    std::unordered_map<std::string, std::string> labels_; // decided, by canonical name
    // By the parent's canonical name: the snapshots' children, the live children (of the
    // parents asked about), and the live matches noted.
    std::unordered_map<std::string, Namesakes> archived_;
    std::unordered_map<std::string, Namesakes> live_;
    std::unordered_map<std::string, Namesakes> matched_;
};
