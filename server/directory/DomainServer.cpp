// The domain controller's backup server: listing with deleted objects, history, reanimation.
#include "server/directory/DomainServer.h"

#include <strings.h>

#include "catalogue/AsciiCase.h"
#include "server/RecordFields.h"
#include "server/Replies.h"
#include "server/directory/DomainDescription.h"
#include "server/directory/DomainRestore.h"
#include "server/directory/ExtendedDn.h"
#include "server/directory/PasswordTransport.h"

namespace
{
std::string Canonical(const std::string &dn)
{
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(dn);
    return parsed ? parsed->Canonical() : LowerAscii(dn);
}

LdapSettings WithDomainContainers(LdapSettings settings)
{
    if (settings.containerClasses.empty()) {
        for (const std::string &name : SnapshotCatalogue::DefaultContainerClasses()) {
            settings.containerClasses.push_back(name);
        }
        settings.containerClasses.insert(settings.containerClasses.end(),
                                         {"builtinDomain", "domainDNS", "lostAndFound"});
    }
    return settings;
}
} // namespace

DomainServer::Restoring::Restoring(DomainServer &server)
    : deleted(server.session_.Connection(), server.deletedObjectsDn_),
      domain{server.baseDn_, server.recycleBin_, server.containerClasses_},
      restore(server.session_.Connection(), deleted, server.catalogue_, server.operational_,
              domain),
      describe(server.session_.Connection(), deleted, server.catalogue_, server.operational_,
               restore)
{
}

DomainServer::DomainServer(LdapSettings settings, Log log)
    : LdapServer(WithDomainContainers(std::move(settings)), std::move(log))
{
}

int32_t DomainServer::Open(const char *serverName)
{
    // AllowPlainBind is not offered: a controller is seldom on the program's own machine.
    if (!PasswordTransport::Refusal(settings_, false).empty()) {
        Refuse("the settings of " + settings_.serverName +
               ": a domain controller takes passwords only over TLS: give an ldaps:// Uri, or "
               "StartTls=yes");
        return kRefusedBySettings;
    }
    return LdapServer::Open(serverName);
}

// Where the deleted objects are and whether the recycle bin is on: asked once, as the bound
// identity (an anonymous connection is not shown them).
LdapStatus DomainServer::LearnDomain()
{
    if (!deletedObjectsDn_.empty()) {
        return LdapStatus{};
    }
    std::optional<LdapEntry> root;
    LdapStatus status = session_.Connection().Read("", {"configurationNamingContext"}, root);
    if (!status.Ok()) {
        return status;
    }
    const std::vector<std::string> *configuration =
        root ? root->Values("configurationNamingContext") : nullptr;
    std::optional<LdapEntry> partitions;
    if (configuration != nullptr && !configuration->empty()) {
        status = session_.Connection().Read("CN=Partitions," + configuration->front(),
                                            {"msDS-EnabledFeature"}, partitions);
    }
    const std::vector<std::string> *features =
        partitions ? partitions->Values("msDS-EnabledFeature") : nullptr;
    recycleBin_ = false;
    for (std::size_t i = 0; features != nullptr && i < features->size(); ++i) {
        recycleBin_ |= LowerAscii((*features)[i]).rfind("cn=recycle bin feature,", 0) == 0;
    }
    deletedObjectsDn_ = DeletedObjects::ContainerOf(session_.Connection(), baseDn_);
    return status;
}

LdapStatus DomainServer::ObjectOf(const DirectoryNames::Known &known, DomainObject &object)
{
    LdapStatus learnt = LearnDomain();
    if (!learnt.Ok()) {
        return learnt;
    }
    const auto found = objects_.find(known.canonical);
    if (found != objects_.end()) {
        object = found->second;
        return LdapStatus{};
    }
    // Not listed yet (the base, or an object just brought back): as it is now.
    std::optional<LdapEntry> entry;
    LdapStatus status = session_.Connection().Read(known.dn, DomainListing::Attributes(), entry);
    const std::vector<std::string> *guid = entry ? entry->Values("objectGUID") : nullptr;
    if (status.Ok() && (guid == nullptr || guid->empty())) {
        status = LdapStatus{DomainRestore::NotRestored, known.dn + " is not on the controller"};
    }
    if (!status.Ok()) {
        return status;
    }
    const std::vector<std::string> *changed = entry->Values("whenChanged");
    object = DomainObject{
        ExtendedDn::GuidText(guid->front()), known.dn, false,
        changed != nullptr && !changed->empty() ? DomainListing::Seconds(changed->front()) : 0};
    objects_[known.canonical] = object;
    return status;
}

// The object with the time of its present state as the controller has it now: it may have been
// deleted, or brought back, since it was listed.
LdapStatus DomainServer::CurrentObject(const DirectoryNames::Known &known, DomainObject &object)
{
    LdapStatus status = ObjectOf(known, object);
    std::optional<LdapEntry> entry;
    if (status.Ok()) {
        DeletedObjects deleted(session_.Connection(), deletedObjectsDn_);
        status = deleted.Read(object.guid, {"whenChanged"}, entry);
    }
    if (status.Ok() && !entry) {
        status = LdapStatus{DomainRestore::NotRestored,
                            object.originalDn + " is gone from the controller"};
    }
    if (!status.Ok()) {
        return status;
    }
    const std::vector<std::string> *changed = entry->Values("whenChanged");
    object.changed =
        changed != nullptr && !changed->empty() ? DomainListing::Seconds(changed->front()) : 0;
    return status;
}

LdapStatus DomainServer::BuildListing(const DirectoryNames::Known &container,
                                      std::vector<ListedChild> &children, int &cutBy,
                                      std::size_t &liveListed)
{
    DomainObject parent;
    LdapStatus status = ObjectOf(container, parent);
    if (!status.Ok()) {
        return status;
    }
    DeletedObjects deleted(session_.Connection(), deletedObjectsDn_);
    DomainListing listing(session_.Connection(), deleted, containerClasses_);
    status = listing.Build(container.dn, parent, children, objects_);
    cutBy = listing.CutBy();
    liveListed = listing.LiveListed();
    return status;
}

std::string DomainServer::BindNameOf(const std::string &userName)
{
    if (userName.find('@') != std::string::npos || userName.find('\\') != std::string::npos) {
        return userName;
    }
    return LdapServer::BindNameOf(userName);
}

void *DomainServer::GetHistory(const HistoryRequest &request, int32_t, int32_t &replySize)
{
    std::vector<BackupTime> times;
    DomainObject object;
    const DirectoryNames::Known *known = Resolve(FieldText(request.objectName));
    if (known != nullptr && session_.Run([&] { return CurrentObject(*known, object); }).Ok()) {
        if (object.changed != 0) {
            times.push_back(object.changed);
        }
        for (BackupTime time : catalogue_.TimesOf(Canonical(object.originalDn))) {
            if (time != object.changed) {
                times.push_back(time);
            }
        }
    }
    return Replies::History(times, replySize);
}

DescriptionPieces DomainServer::Describe(const std::string &fullName, BackupTime version,
                                         uint32_t flags)
{
    const DirectoryNames::Known *known = Resolve(fullName);
    if (known == nullptr) {
        return DescriptionPieces::Failure(DomainRestore::NotRestored,
                                          "Unknown object: " + fullName);
    }
    const DirectoryNames::Known named = *known;
    ObjectDescription description;
    std::vector<WrittenEntry> entries;
    const LdapStatus status = session_.Run([&] {
        DomainObject object;
        LdapStatus found = ObjectOf(named, object);
        if (!found.Ok()) {
            return found;
        }
        Restoring restoring(*this);
        LdapStatus described = restoring.describe.Describe(object, version, description);
        entries.clear();
        // A parent still deleted is the preview's to judge: the run may bring it back first.
        // Alone, the object is all its restore brings back.
        if (!described.Ok() || (flags & DescribeWrites) == 0 || !description.inBackup ||
            description.parentMissing || (flags & DescribeWithSubtree) == 0) {
            return described;
        }
        return DescribeReturns(fullName, named, version, (flags & DescribeWithSubtree) != 0,
                               restoring, entries);
    });
    if (!status.Ok()) {
        if (status.code != DomainRestore::NotRestored) { // the directory's fault, not a refusal
            Report("describing " + named.dn + " failed: " + status.text);
        }
        return DescriptionPieces::Failure(status.code, status.text);
    }
    return DescriptionPieces(description, entries);
}

LdapStatus DomainServer::DescribeReturns(const std::string &fullName,
                                         const DirectoryNames::Known &known, BackupTime version,
                                         bool subtree, Restoring &restoring,
                                         std::vector<WrittenEntry> &entries)
{
    DomainObject object;
    LdapStatus status = CurrentObject(known, object);
    if (!status.Ok()) {
        return status;
    }
    DomainRestore::Preparation prepared;
    status = restoring.restore.Prepare(object, version, subtree, prepared);
    for (std::size_t i = 0; status.Ok() && i < prepared.plan.size(); ++i) {
        const DomainRestore::Planned &planned = prepared.plan[i];
        if (i == 0 && planned.entry.dn == prepared.top.dn) {
            continue; // the object itself is described already
        }
        WrittenEntry entry;
        entry.fullName =
            FullNameBelow(fullName, object, planned.targetDn).value_or(planned.targetDn);
        status = restoring.describe.DescribeReturn(planned, entry.description);
        entries.push_back(std::move(entry));
    }
    return status;
}

void *DomainServer::RestoreObject(const RestoreRequest &request, int32_t, int32_t &replySize)
{
    restoreReport_ = RestoreReport{};
    restoreReport_.subtree = (request.flags & RestoreWithSubtree) != 0;
    const std::string name = FieldText(request.objectName);
    const DirectoryNames::Known *known = Resolve(name);
    if (known == nullptr) {
        return RestoreReplyOf(LdapStatus{DomainRestore::NotRestored, "Unknown object: " + name},
                              replySize);
    }
    const DirectoryNames::Known object = *known;
    // A run cut off by a lost connection is taken up again: what came back is live by now.
    const LdapStatus status = session_.Run([&] { return Restore(name, object, request); });
    if (!status.Ok()) {
        Report("restore of " + object.dn + " failed: " + status.text);
    }
    return RestoreReplyOf(status, replySize);
}

LdapStatus DomainServer::Restore(const std::string &fullName, const DirectoryNames::Known &known,
                                 const RestoreRequest &request)
{
    DomainObject object;
    LdapStatus status = CurrentObject(known, object);
    if (!status.Ok()) {
        return status;
    }
    Restoring restoring(*this);
    DomainRestore &restore = restoring.restore;
    status = restore.Run(object, request.version, (request.flags & RestoreWithSubtree) != 0);
    restoreReport_.changedCount = restore.WroteOver() ? 1 : 0;
    // What came back is known under its live name from now on, and is told to the tree, which
    // draws it present.
    for (const DomainRestore::Reanimated &brought : restore.Brought()) {
        const std::string canonical = Canonical(brought.dn);
        objects_[canonical] = DomainObject{brought.guid, brought.dn, false, 0};
        if (brought.guid == object.guid) {
            names_.Remember(fullName, brought.dn, canonical);
        }
        ++restoreReport_.addedCount;
        if (std::optional<std::string> name = FullNameBelow(fullName, object, brought.dn)) {
            restoreReport_.added.push_back(std::move(*name));
        }
    }
    return status;
}

// The tree's full name of an object brought back below the restored one: its labels below the
// object's, in front of the object's full name.
std::optional<std::string> DomainServer::FullNameBelow(const std::string &fullName,
                                                       const DomainObject &top,
                                                       const std::string &dn) const
{
    std::optional<DistinguishedName> below = DistinguishedName::Parse(dn);
    std::optional<DistinguishedName> above = DistinguishedName::Parse(top.originalDn);
    if (!below || !above || below->Rdns().size() < above->Rdns().size()) {
        return std::nullopt;
    }
    std::string name = fullName;
    const std::size_t levels = below->Rdns().size() - above->Rdns().size();
    for (std::size_t level = levels; level-- > 0;) {
        name = DistinguishedName::Label(below->Rdns()[level]) + "." + name;
    }
    DistinguishedName ancestor = *below;
    for (std::size_t level = 0; level < levels; ++level) {
        ancestor = ancestor.Parent();
    }
    return ancestor.Canonical() == above->Canonical() ? std::optional<std::string>(name)
                                                      : std::nullopt;
}

void *DomainServer::SearchObjects(const SearchRequest &request, int32_t, int32_t &replySize)
{
    if ((request.flags & SearchProbe) != 0) {
        return Replies::EndOfSearch(0, replySize);
    }
    const std::string context = FieldText(request.contextName);
    const std::string pattern = FieldText(request.pattern);
    const uint32_t flags = request.flags & SearchDeletedOnly;
    // A search is made afresh on its first request, and when another one came between.
    if (request.lastId == 0 || !found_ || found_->context != context ||
        found_->pattern != pattern || found_->flags != flags) {
        std::string fault;
        found_ = FindMatches(context, pattern, flags, fault);
        if (!found_) {
            FailRequest(fault);
            return Replies::EndOfSearch(0, replySize);
        }
    }
    const auto index = static_cast<std::size_t>(std::max(request.lastId, 0));
    if (request.lastId < 0 || index >= found_->matches.size()) {
        found_.reset();
        return Replies::EndOfSearch(0, replySize);
    }
    const DomainMatch &match = found_->matches[index];
    return Replies::Match(static_cast<int32_t>(index + 1), match.fullName,
                          match.container ? ContainerObjectKind : LeafObjectKind,
                          match.present ? 1 : DeletedState, replySize);
}

std::optional<DomainServer::Found> DomainServer::FindMatches(const std::string &context,
                                                             const std::string &pattern,
                                                             uint32_t flags, std::string &fault)
{
    const DirectoryNames::Known *known = Resolve(context);
    const std::optional<DistinguishedName> top =
        known != nullptr ? DistinguishedName::Parse(known->dn) : std::nullopt;
    if (!top) {
        fault = "No object " + context + " on the controller";
        return std::nullopt;
    }
    const std::string topDn = known->dn;
    Found found{context, pattern, flags, {}};
    std::vector<DomainMatch> matches;
    const LdapStatus status = session_.Run([&] {
        LdapStatus learnt = LearnDomain();
        if (!learnt.Ok()) {
            return learnt;
        }
        DeletedObjects deleted(session_.Connection(), deletedObjectsDn_);
        // As the controller's listing names live siblings: by their types when they share a
        // name, whatever the exports hold.
        SiblingLabels labels(&session_.Connection(), nullptr, false);
        DomainSearch search(
            session_.Connection(), deleted, containerClasses_, [&](const DistinguishedName &dn) {
                return LdapServer::FullNameBelow(dn, top->Rdns().size(), context, labels);
            });
        return search.Run(topDn, SearchPattern(pattern), (flags & SearchDeletedOnly) != 0, matches);
    });
    if (!status.Ok()) {
        fault = status.text;
        Report("search below " + topDn + " failed: " + fault);
        return std::nullopt;
    }
    for (DomainMatch &match : matches) {
        // An object whose full name does not fit a request could never be asked about.
        if (match.fullName.size() >= NameFieldSize) {
            Report("left out of a search, its name is too long: " + match.fullName);
        } else {
            found.matches.push_back(std::move(match));
        }
    }
    return found;
}
