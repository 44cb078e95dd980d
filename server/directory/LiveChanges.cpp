// A snapshot set against the live directory.
#include "server/directory/LiveChanges.h"

#include <ldap.h>

#include <algorithm>
#include <limits>

#include "catalogue/AsciiCase.h"
#include "catalogue/DistinguishedName.h"
#include "server/directory/DirectoryRestore.h"

namespace
{
const std::vector<std::string> &LiveAttributes()
{
    static const std::vector<std::string> attributes{"*", "entryUUID", "hasSubordinates"};
    return attributes;
}

std::string LiveIdentity(const LdapEntry &entry)
{
    const std::vector<std::string> *uuid = entry.Values("entryUUID");
    return uuid != nullptr && !uuid->empty() ? LowerAscii(uuid->front()) : std::string();
}

// Only hex digits and hyphens go into a filter as an identity.
bool IsUuidText(const std::string &text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == '-';
    });
}

std::string CutNote(int cutBy)
{
    return cutBy == LDAP_SIZELIMIT_EXCEEDED   ? "the server's size limit"
           : cutBy == LDAP_TIMELIMIT_EXCEEDED ? "the server's time limit"
                                              : "an administrative limit of the server";
}
} // namespace

LiveChanges::LiveChanges(DirectorySession &session, const SnapshotCatalogue &catalogue,
                         ChangeContext context, Where where,
                         const std::unordered_set<std::string> &containerClasses)
    : session_(session), catalogue_(catalogue), context_(std::move(context)),
      where_(std::move(where)), containerClasses_(containerClasses),
      holdings_(catalogue, context_, where_.seq, &LiveChanges::UuidText)
{
}

std::string LiveChanges::UuidText(std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    if (bytes.size() != 16) {
        return {};
    }
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            text += '-';
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
}

// Reading the snapshot counts as its versions; then each live entry as one of the snapshot's.
uint32_t LiveChanges::Examined() const
{
    if (phase_ == Phase::Snapshot) {
        return holdings_.Examined();
    }
    return static_cast<uint32_t>(std::min<std::size_t>(seen_.size(), Total()));
}

uint32_t LiveChanges::Total() const
{
    if (phase_ == Phase::Snapshot) {
        return holdings_.Total();
    }
    return static_cast<uint32_t>(std::min<std::size_t>(std::max(holdings_.Below(), seen_.size()),
                                                       std::numeric_limits<uint32_t>::max()));
}

bool LiveChanges::Next(std::vector<ObjectChange> &found, std::string &fault)
{
    switch (phase_) {
    case Phase::Snapshot:
        if (!holdings_.Load(fault)) {
            return false;
        }
        phase_ = holdings_.Loaded() ? Phase::Live : Phase::Snapshot;
        return true;
    case Phase::Live:
        return NextPage(found, fault);
    case Phase::Elsewhere:
        if (!NextElsewhere(fault)) {
            return false;
        }
        if (askedElsewhere_ >= unseen_.size()) {
            Finish(found);
        }
        return true;
    case Phase::Done:
        break;
    }
    return true;
}

bool LiveChanges::NextPage(std::vector<ObjectChange> &found, std::string &fault)
{
    const bool continuing = !cookie_.empty();
    LdapStatus status = session_.Run([&] { return AskPage(found, fault); });
    if (!status.Ok() && fault.empty() && continuing && newSinceStart_ &&
        !session_.Connection().Broken()) {
        // A server keeps one paged search per connection: a listing made between two pages
        // ends this one's. Begin again; what was taken already is passed over.
        cookie_.clear();
        pagesTaken_ = 0;
        newSinceStart_ = false;
        status = session_.Run([&] { return AskPage(found, fault); });
    }
    if (!fault.empty()) {
        return false;
    }
    if (!status.Ok()) {
        fault = where_.contextDn + ": " + status.text;
        return false;
    }
    if (cookie_.empty()) {
        unseen_ = holdings_.Unseen();
        phase_ = Phase::Elsewhere;
        // Nothing moves out of the whole directory.
        askedElsewhere_ = where_.wholeDirectory ? unseen_.size() : 0;
        if (askedElsewhere_ >= unseen_.size()) {
            Finish(found);
        }
    }
    return true;
}

LdapStatus LiveChanges::AskPage(std::vector<ObjectChange> &found, std::string &fault)
{
    int cutBy = 0;
    const int size = pagesTaken_ == 0 ? kFirstPage : LdapConnection::kPageSize;
    LdapStatus status = session_.Connection().SearchPart(
        where_.contextDn, LdapScope::Subtree, "(objectClass=*)", LiveAttributes(), NoControls, size,
        cookie_,
        [&](LdapEntry &&entry) {
            if (fault.empty()) {
                TakeLive(entry, found, fault);
            }
        },
        cutBy);
    if (status.code == LDAP_NO_SUCH_OBJECT && pagesTaken_ == 0) {
        status = LdapStatus{}; // a deleted context: all it held is deleted
        cookie_.clear();
    }
    if (status.Ok() && cutBy != 0) {
        // What the live directory holds beyond the limit would read as deleted.
        fault = CutNote(cutBy) + " cut the search of the live directory below " + where_.contextDn +
                " short after " + std::to_string(seen_.size()) +
                " entries: what was deleted cannot be told";
    }
    if (status.Ok()) {
        ++pagesTaken_;
    }
    return status;
}

void LiveChanges::TakeLive(const LdapEntry &entry, std::vector<ObjectChange> &found,
                           std::string &fault)
{
    const std::optional<DistinguishedName> dn = DistinguishedName::Parse(entry.dn);
    if (!dn || dn->Empty()) {
        return;
    }
    const std::string canonical = dn->Canonical();
    if (!seen_.insert(canonical).second) {
        return; // a page asked for again
    }
    newSinceStart_ = true;
    const std::string identity = LiveIdentity(entry);
    SnapshotHoldings::Held *held = holdings_.ByName(canonical);
    const bool sameObject =
        held != nullptr && !held->seen &&
        (identity.empty() || held->version.identity.empty() || holdings_.KeyOf(*held) == identity);
    if (sameObject) {
        held->seen = true;
        std::vector<std::string> names;
        if (Compare(*held, entry, names, fault) && !names.empty()) {
            ObjectChange change = ObjectChange::Of(
                ChangeKind::Modified, context_.fullName(entry.dn), IsContainer(entry, canonical));
            change.attributes = std::move(names);
            found.push_back(std::move(change));
        }
        return;
    }
    SnapshotHoldings::Held *moved = holdings_.ByIdentity(identity);
    if (moved != nullptr && !moved->seen) {
        moved->seen = true;
        Move move{moved, entry.dn, IsContainer(entry, canonical), {}};
        if (Compare(*moved, entry, move.attributes, fault)) {
            moves_.push_back(std::move(move));
        }
        return;
    }
    found.push_back(ObjectChange::Of(ChangeKind::Added, context_.fullName(entry.dn),
                                     IsContainer(entry, canonical)));
}

bool LiveChanges::Compare(const SnapshotHoldings::Held &held, const LdapEntry &entry,
                          std::vector<std::string> &names, std::string &fault) const
{
    std::string why;
    const std::optional<LdifEntry> saved = catalogue_.Read(held.version.entry, why);
    if (!saved) {
        fault = held.version.entry.dn + ": " + why;
        return false;
    }
    names = context_.Differing(
        DirectoryRestore::Grouped(*saved, [](const std::string &) { return true; }),
        entry.attributes);
    return true;
}

// Entries of the snapshot no longer below the context may have moved out of it: the directory is
// asked for their identities, a few at a time.
bool LiveChanges::NextElsewhere(std::string &fault)
{
    std::string filter;
    std::vector<SnapshotHoldings::Held *> asked;
    for (; askedElsewhere_ < unseen_.size() && asked.size() < kIdentitiesAsked; ++askedElsewhere_) {
        SnapshotHoldings::Held *held = unseen_[askedElsewhere_];
        const std::string key = holdings_.KeyOf(*held);
        if (IsUuidText(key)) {
            filter += "(entryUUID=" + key + ")";
            asked.push_back(held);
        }
    }
    if (asked.empty()) {
        return true;
    }
    int cutBy = 0;
    const LdapStatus status = session_.Run([&] {
        return session_.Connection().Search(
            where_.baseDn, LdapScope::Subtree, "(|" + filter + ")", LiveAttributes(), NoControls,
            [&](LdapEntry &&entry) {
                const std::optional<DistinguishedName> dn = DistinguishedName::Parse(entry.dn);
                SnapshotHoldings::Held *moved = holdings_.ByIdentity(LiveIdentity(entry));
                if (dn && moved != nullptr && !moved->seen && fault.empty()) {
                    moved->seen = true;
                    Move move{moved, entry.dn, IsContainer(entry, dn->Canonical()), {}};
                    if (Compare(*moved, entry, move.attributes, fault)) {
                        moves_.push_back(std::move(move));
                    }
                }
            },
            cutBy);
    });
    if (fault.empty() && !status.Ok()) {
        fault = where_.baseDn + ": " + status.text;
    }
    return fault.empty();
}

void LiveChanges::Finish(std::vector<ObjectChange> &found)
{
    for (const Move &move : moves_) {
        ObjectChange change =
            ObjectChange::Of(ChangeKind::Moved, context_.fullName(move.dn), move.container);
        change.oldName = context_.fullName(move.from->version.entry.dn);
        change.oldNameFree = OldNameFree(*move.from);
        change.attributes = move.attributes;
        found.push_back(std::move(change));
    }
    for (const SnapshotHoldings::Held *held : unseen_) {
        if (!held->seen) {
            const HeldVersion &version = held->version;
            found.push_back(ObjectChange::Of(
                ChangeKind::Deleted, context_.fullName(version.entry.dn),
                version.containerClass || catalogue_.WasContainer(version.entry.canonical)));
        }
    }
    phase_ = Phase::Done;
}

// Below the context the search saw every live name; elsewhere the directory is asked.
bool LiveChanges::OldNameFree(const SnapshotHoldings::Held &held)
{
    if (held.below) {
        return seen_.count(held.version.entry.canonical) == 0;
    }
    std::optional<LdapEntry> live;
    const LdapStatus status = session_.Run(
        [&] { return session_.Connection().Read(held.version.entry.dn, {"1.1"}, live); });
    return status.Ok() && !live;
}

bool LiveChanges::IsContainer(const LdapEntry &entry, const std::string &canonical) const
{
    const std::vector<std::string> *children = entry.Values("hasSubordinates");
    if (children != nullptr && !children->empty() && children->front() == "TRUE") {
        return true;
    }
    const std::vector<std::string> *classes = entry.Values("objectClass");
    if (classes != nullptr &&
        std::any_of(classes->begin(), classes->end(), [this](const std::string &name) {
            return IsContainerClass(name, containerClasses_);
        })) {
        return true;
    }
    return catalogue_.WasContainer(canonical);
}
