// Reanimating deleted objects of a domain and completing them from snapshots.
#include "server/directory/DomainRestore.h"

#include <deque>

#include "catalogue/AsciiCase.h"
#include "server/directory/DirectoryRestore.h"
#include "server/directory/ExtendedDn.h"
#include "server/directory/FilterValue.h"

namespace
{
constexpr int ValueExists = 20; // the group already has the member

// What the controller keeps for itself or a restore must not set: identity, bookkeeping, the
// name (the DN sets it), secrets, counters, and the membership (written on the groups).
const std::unordered_set<std::string> &Unwritable()
{
    static const std::unordered_set<std::string> names{"objectguid",
                                                       "objectsid",
                                                       "whencreated",
                                                       "whenchanged",
                                                       "usncreated",
                                                       "usnchanged",
                                                       "distinguishedname",
                                                       "name",
                                                       "instancetype",
                                                       "objectcategory",
                                                       "objectclass",
                                                       "samaccounttype",
                                                       "samaccountname",
                                                       "useraccountcontrol",
                                                       "isdeleted",
                                                       "isrecycled",
                                                       "lastknownparent",
                                                       "msds-lastknownrdn",
                                                       "replpropertymetadata",
                                                       "ntsecuritydescriptor",
                                                       "memberof",
                                                       "primarygroupid",
                                                       "pwdlastset",
                                                       "badpwdcount",
                                                       "badpasswordtime",
                                                       "lastlogon",
                                                       "lastlogoff",
                                                       "lastlogontimestamp",
                                                       "logoncount",
                                                       "dscorepropagationdata",
                                                       "unicodepwd",
                                                       "dbcspwd",
                                                       "ntpwdhistory",
                                                       "lmpwdhistory",
                                                       "supplementalcredentials",
                                                       "sidhistory",
                                                       "admincount",
                                                       "operatorcount",
                                                       "iscriticalsystemobject",
                                                       "systemflags",
                                                       "msds-keyversionnumber"};
    return names;
}

// The single-valued attributes that a deleted object keeps while the recycle bin is on; the
// controller wants them again, as they are, in the modification that brings the object back.
constexpr const char *KeptSingleValued[] = {
    "accountExpires", "badPasswordTime", "badPwdCount", "codePage",   "countryCode",  "lastLogoff",
    "lastLogon",      "logonCount",      "pwdLastSet",  "adminCount", "operatorCount"};

LdapStatus Refused(const std::string &text)
{
    return LdapStatus{DomainRestore::NotRestored, text};
}

LdapStatus Failed(const std::string &dn, const LdapStatus &status)
{
    return LdapStatus{status.code, dn + ": " + status.text};
}

std::string Canonical(const std::string &dn)
{
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(dn);
    return parsed ? parsed->Canonical() : LowerAscii(dn);
}

// The object's own name, as people know it: the value of its relative name.
std::string ShortName(const std::string &dn)
{
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(dn);
    return parsed && !parsed->Empty() ? DistinguishedName::Label(parsed->Rdns().front()) : dn;
}

// Where a deleted object goes back to: its original name below the parent's DN.
std::string TargetOf(const LdapEntry &entry, const std::string &parentDn)
{
    std::optional<DistinguishedName> dn = DistinguishedName::Parse(entry.dn);
    if (!dn || dn->Empty()) {
        return "";
    }
    return DistinguishedName::Child(
        DeletedObjects::OriginalRdn(dn->Rdns().front(), entry.Values("msDS-LastKnownRDN")),
        parentDn);
}

std::string GuidOf(const LdapEntry &entry)
{
    const std::vector<std::string> *guid = entry.Values("objectGUID");
    return guid != nullptr && !guid->empty() ? ExtendedDn::GuidText(guid->front()) : "";
}

std::string Joined(const std::vector<std::string> &parts, const char *separator)
{
    std::string text;
    for (const std::string &part : parts) {
        text += (text.empty() ? "" : separator) + part;
    }
    return text;
}
} // namespace

DomainRestore::DomainRestore(LdapConnection &connection, DeletedObjects &deleted,
                             const SnapshotCatalogue &catalogue,
                             const OperationalAttributes &operational, const Domain &domain)
    : connection_(connection), deleted_(deleted), catalogue_(catalogue), operational_(operational),
      domain_(domain)
{
}

LdapStatus DomainRestore::Run(const DomainObject &object, BackupTime version, bool subtree)
{
    brought_.clear();
    std::optional<LdapEntry> top;
    LdapStatus status = deleted_.Read(object.guid, {"*"}, top);
    if (!status.Ok()) {
        return Failed(object.originalDn, status);
    }
    if (!top) {
        return Refused("Not restored: " + object.originalDn + " is gone from the controller");
    }
    const bool now = version == 0 || version == object.changed;
    const std::optional<ArchivedEntry> chosen =
        now ? std::nullopt : catalogue_.Holding(Canonical(object.originalDn), version);
    if (!now && !chosen) {
        return Refused("No version of " + object.originalDn + " at " +
                       DirectoryRestore::TimeText(version));
    }
    std::vector<Planned> plan;
    status = Plan(object, *top, subtree, plan);
    for (std::size_t i = 0; status.Ok() && i < plan.size(); ++i) {
        status = Check(plan[i]);
    }
    if (!status.Ok()) {
        return status;
    }
    std::vector<std::string> incomplete;
    for (const Planned &planned : plan) {
        status = Reanimate(planned);
        if (!status.Ok()) {
            return brought_.empty() ? status
                                    : LdapStatus{status.code, status.text + " (" +
                                                                  std::to_string(brought_.size()) +
                                                                  " above it came back)"};
        }
        brought_.push_back({GuidOf(planned.entry), planned.targetDn});
        const std::string canonical = Canonical(planned.targetDn);
        std::optional<ArchivedEntry> source =
            chosen ? catalogue_.Beside(canonical, *chosen) : std::nullopt;
        const bool fromChosen = source.has_value();
        if (!source) {
            source = catalogue_.Holding(canonical, 0);
        }
        std::vector<std::string> missing;
        status = Complete(planned.targetDn, source ? &*source : nullptr, fromChosen, missing);
        if (!status.Ok()) {
            return status;
        }
        if (!source && planned.entry.Values("msDS-LastKnownRDN") == nullptr) {
            missing.push_back("what its tombstone did not keep: no snapshot holds it");
        }
        if (!missing.empty()) {
            incomplete.push_back(ShortName(planned.targetDn) + " (" + Joined(missing, ", ") + ")");
        }
    }
    if (!DeletedObjects::IsTrue(top->Values("isDeleted")) && chosen) {
        std::vector<std::string> missing;
        const std::optional<ArchivedEntry> saved = catalogue_.Beside(Canonical(top->dn), *chosen);
        status = Complete(top->dn, saved ? &*saved : nullptr, true, missing);
        if (!missing.empty()) {
            incomplete.push_back(ShortName(top->dn) + " (" + Joined(missing, ", ") + ")");
        }
    }
    if (status.Ok() && !incomplete.empty()) {
        return LdapStatus{PartlyRestored, "Restored without " + Joined(incomplete, "; ")};
    }
    return status;
}

LdapStatus DomainRestore::Plan(const DomainObject &object, const LdapEntry &top, bool subtree,
                               std::vector<Planned> &plan)
{
    const bool deleted = DeletedObjects::IsTrue(top.Values("isDeleted"));
    std::string targetDn = top.dn;
    if (deleted) {
        std::string parentDn;
        LdapStatus status = LiveParentOf(top, parentDn);
        if (!status.Ok()) {
            return status;
        }
        targetDn = TargetOf(top, parentDn);
        plan.push_back({top, targetDn});
    }
    return subtree ? PlanBelow(object.guid, targetDn, !deleted, plan) : LdapStatus{};
}

// Every deleted object below the object, parents first: found through the links of deleted
// objects to their parents, and below live containers by listing them.
LdapStatus DomainRestore::PlanBelow(const std::string &guid, const std::string &dn, bool live,
                                    std::vector<Planned> &plan)
{
    struct Node {
        std::string guid;
        std::string dn; // where it is, or will be once it is back
        bool live;
    };
    std::deque<Node> waiting{{guid, dn, live}};
    LdapStatus status;
    while (status.Ok() && !waiting.empty()) {
        const Node node = waiting.front();
        waiting.pop_front();
        status = deleted_.ChildrenOf(node.guid, {"*"}, [&](LdapEntry &&entry) {
            const std::string target = TargetOf(entry, node.dn);
            waiting.push_back({GuidOf(entry), target, false});
            plan.push_back({std::move(entry), target});
        });
        if (!status.Ok() || !node.live) {
            continue;
        }
        int cutBy = 0;
        status = connection_.Search(
            node.dn, LdapScope::OneLevel, "(objectClass=*)", {"objectGUID", "objectClass"},
            NoControls,
            [&](LdapEntry &&entry) {
                const std::vector<std::string> *classes = entry.Values("objectClass");
                for (std::size_t i = 0; classes != nullptr && i < classes->size(); ++i) {
                    if (IsContainerClass((*classes)[i], domain_.containerClasses)) {
                        waiting.push_back({GuidOf(entry), entry.dn, true});
                        return;
                    }
                }
            },
            cutBy);
    }
    return status;
}

LdapStatus DomainRestore::LiveParentOf(const LdapEntry &entry, std::string &parentDn)
{
    const std::string name = ShortName(TargetOf(entry, ""));
    const std::vector<std::string> *link = entry.Values("lastKnownParent");
    if (link == nullptr || link->empty()) {
        return Refused("Not restored: the controller does not say where " + name + " was");
    }
    const ExtendedDn parent = ExtendedDn::Parse(link->front());
    std::optional<LdapEntry> read;
    const std::vector<std::string> attributes{"isDeleted", "msDS-LastKnownRDN"};
    LdapStatus status = parent.guid.empty()
                            ? connection_.Read(parent.dn, attributes, read, WithDeleted)
                            : deleted_.Read(parent.guid, attributes, read);
    if (!status.Ok()) {
        return Failed(parent.dn, status);
    }
    if (!read) {
        return Refused("Not restored: the parent of " + name + " no longer exists");
    }
    if (DeletedObjects::IsTrue(read->Values("isDeleted"))) {
        return Refused("Not restored: its parent " + ShortName(TargetOf(*read, "")) +
                       " is deleted; restore the parent first");
    }
    parentDn = read->dn;
    return status;
}

LdapStatus DomainRestore::CheckReturn(const LdapEntry &deleted, const std::string &targetDn)
{
    return Check(Planned{deleted, targetDn});
}

LdapStatus DomainRestore::Check(const Planned &planned)
{
    if (planned.targetDn.empty()) {
        return Refused("Not restored: the controller gave a name that is not a DN: " +
                       planned.entry.dn);
    }
    std::optional<LdapEntry> taken;
    LdapStatus status = connection_.Read(planned.targetDn, {"1.1"}, taken);
    if (!status.Ok()) {
        return Failed(planned.targetDn, status);
    }
    if (taken) {
        return Refused("Not restored: " + planned.targetDn + " is taken by a live object");
    }
    const std::vector<std::string> *account = planned.entry.Values("sAMAccountName");
    if (account == nullptr || account->empty()) {
        return status;
    }
    std::string user;
    int cutBy = 0;
    status = connection_.Search(
        domain_.baseDn, LdapScope::Subtree,
        "(sAMAccountName=" + EscapedFilterValue(account->front()) + ")", {"1.1"}, NoControls,
        [&user](LdapEntry &&entry) { user = entry.dn; }, cutBy);
    if (!status.Ok()) {
        return Failed(planned.targetDn, status);
    }
    if (!user.empty()) {
        return Refused("Not restored: the account name " + account->front() + " of " +
                       ShortName(planned.targetDn) + " is used by " + user);
    }
    return status;
}

LdapStatus DomainRestore::Reanimate(const Planned &planned)
{
    std::vector<LdapModification> modifications{
        {LdapModification::Delete, "isDeleted", {}},
        {LdapModification::Replace, "distinguishedName", {planned.targetDn}}};
    const bool recycled = planned.entry.Values("msDS-LastKnownRDN") != nullptr;
    if (recycled || domain_.recycleBin) {
        modifications.push_back({LdapModification::Replace, "isRecycled", {"TRUE"}});
        for (const char *name : KeptSingleValued) {
            const std::vector<std::string> *values = planned.entry.Values(name);
            if (values != nullptr && !values->empty()) {
                modifications.push_back({LdapModification::Replace, name, *values});
            }
        }
    }
    if (recycled) {
        modifications.push_back({LdapModification::Delete, "msDS-LastKnownRDN", {}});
    }
    LdapStatus status = connection_.Modify(planned.entry.dn, modifications, WithDeleted);
    return status.Ok() ? status : Failed("Not restored: " + planned.targetDn, status);
}

bool DomainRestore::KeptByController(const std::string &type)
{
    return Unwritable().count(type) != 0;
}

bool DomainRestore::Writable(const std::string &description, const std::string &rdnType) const
{
    const std::string type = LowerAscii(description.substr(0, description.find(';')));
    return type != rdnType && !KeptByController(type) && !operational_.Contains(type);
}

// Writes the snapshot's attributes: with overwrite, the object is made to match the snapshot;
// otherwise only attributes it lacks are added. Whatever the controller refuses is named in
// `missing`, and the rest is still written.
LdapStatus DomainRestore::Complete(const std::string &dn, const ArchivedEntry *held, bool overwrite,
                                   std::vector<std::string> &missing)
{
    if (held == nullptr) {
        return LdapStatus{};
    }
    std::string fault;
    std::optional<LdifEntry> saved = catalogue_.Read(*held, fault);
    if (!saved) {
        missing.push_back("the snapshot's attributes: " + fault);
        return LdapStatus{};
    }
    std::optional<LdapEntry> live;
    LdapStatus status = connection_.Read(dn, {"*"}, live);
    if (!status.Ok() || !live) {
        return Failed(dn,
                      status.Ok() ? LdapStatus{NotRestored, "gone after it came back"} : status);
    }
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(dn);
    const std::string rdnType = parsed && !parsed->Empty() && parsed->Rdns().front().size() == 1
                                    ? LowerAscii(parsed->Rdns().front().front().type)
                                    : "";
    const auto writable = [&](const std::string &description) {
        return Writable(description, rdnType);
    };
    const LdapAttributes wanted = DirectoryRestore::Grouped(*saved, writable);
    LdapAttributes current;
    for (const auto &attribute : live->attributes) {
        if (writable(attribute.first)) {
            current.push_back(attribute);
        }
    }
    std::vector<LdapModification> modifications;
    if (overwrite) {
        modifications = DirectoryRestore::Differences(current, wanted, operational_);
    } else {
        for (const auto &[description, values] : wanted) {
            if (live->Values(description) == nullptr) {
                modifications.push_back({LdapModification::Replace, description, values});
            }
        }
    }
    if (!modifications.empty() && !connection_.Modify(dn, modifications).Ok()) {
        // One refused attribute must not keep the others back: each on its own.
        for (const LdapModification &modification : modifications) {
            status = connection_.Modify(dn, {modification});
            if (connection_.Broken()) {
                return Failed(dn, status);
            }
            if (!status.Ok()) {
                missing.push_back(modification.description + ": " + status.text);
            }
        }
    }
    RestoreMembership(dn, live->attributes, *saved, missing);
    return connection_.Broken() ? Failed(dn, LdapStatus{NotRestored, "the connection was lost"})
                                : LdapStatus{};
}

// The groups the snapshot shows the object in take it back as a member.
void DomainRestore::RestoreMembership(const std::string &dn, const LdapAttributes &live,
                                      const LdifEntry &snapshot, std::vector<std::string> &missing)
{
    std::unordered_set<std::string> current;
    for (const auto &[description, values] : live) {
        if (LowerAscii(description) == "memberof") {
            for (const std::string &group : values) {
                current.insert(Canonical(group));
            }
        }
    }
    for (const LdifAttribute &line : snapshot.attributes) {
        if (LowerAscii(line.description) != "memberof" || current.count(Canonical(line.value))) {
            continue;
        }
        const LdapStatus status =
            connection_.Modify(line.value, {{LdapModification::Add, "member", {dn}}});
        if (!status.Ok() && status.code != ValueExists) {
            missing.push_back("membership of " + line.value + ": " + status.text);
        }
    }
}
