// The directory backup server: opening, login, and the three requests answered from the live
// directory and the snapshot catalogue.
#include "server/directory/LdapServer.h"

#include <ldap.h>
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "catalogue/AsciiCase.h"
#include "catalogue/DistinguishedName.h"
#include "mwlib/MW_Text.h"
#include "server/RecordFields.h"
#include "server/Replies.h"
#include "server/directory/DirectoryDescription.h"
#include "server/directory/DirectoryRestore.h"
#include "server/directory/DirectorySearch.h"
#include "server/directory/LiveChanges.h"
#include "server/directory/PasswordTransport.h"
#include "server/directory/SnapshotChanges.h"

namespace
{
constexpr std::size_t KeptListings = 4;

void StandardError(const std::string &text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

std::unordered_set<std::string> ContainerClasses(const std::vector<std::string> &configured)
{
    if (configured.empty()) {
        return SnapshotCatalogue::DefaultContainerClasses();
    }
    std::unordered_set<std::string> classes;
    for (const std::string &name : configured) {
        classes.insert(LowerAscii(name));
    }
    return classes;
}

bool HasScheme(const std::string &uri, const char *scheme)
{
    return strncasecmp(uri.c_str(), scheme, std::strlen(scheme)) == 0;
}

// The start of the text, at most `limit` bytes, never splitting a UTF-8 character.
std::string Cut(const std::string &text, std::size_t limit)
{
    return text.substr(0, MW_Text::WholeCharacters(text, limit));
}

// A reason as the user reads it: beginning with a capital.
std::string Sentence(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

// What the user is told of a listing the server cut short.
std::string CutNote(const std::string &container, int cutBy, std::size_t listed)
{
    const std::string count = std::to_string(listed) + (listed == 1 ? " entry" : " entries");
    std::string limit;
    switch (cutBy) {
    case LDAP_SIZELIMIT_EXCEEDED:
        limit = "the server's size limit of " + count + " cut the listing short";
        break;
    case LDAP_TIMELIMIT_EXCEEDED:
        limit = "the server's time limit cut the listing short after " + count;
        break;
    default:
        limit = "an administrative limit of the server cut the listing short after " + count;
        break;
    }
    return container + ": " + limit +
           "; present objects beyond it that no snapshot holds are not shown.";
}

// Said after the reason of a failed restore when it had written entries already.
std::string WrittenBeforeFailure(const DirectoryRestore &restore)
{
    const std::size_t added = restore.ParentsAdded().size() + restore.Added().size();
    const std::size_t changed = restore.Modified();
    if (added == 0 && changed == 0) {
        return {};
    }
    return " (before that, " + std::to_string(added) +
           (added == 1 ? " entry was" : " entries were") + " added and " + std::to_string(changed) +
           " changed)";
}
} // namespace

LdapServer::LdapServer(LdapSettings settings, Log log)
    : settings_(std::move(settings)), log_(log ? std::move(log) : Log(StandardError)),
      containerClasses_(ContainerClasses(settings_.containerClasses)), session_(settings_)
{
}

void LdapServer::WatchAbandon(const std::atomic<bool> *flag)
{
    ServerBackend::WatchAbandon(flag);
    session_.Connection().WatchAbandon(flag);
}

void LdapServer::Report(const std::string &text) const
{
    log_("TARVIK: server " + settings_.serverName + ": " + text);
}

void LdapServer::Refuse(const std::string &text)
{
    Report(text);
    refusal_ = Sentence(text);
}

bool LdapServer::CheckSettings()
{
    std::optional<DistinguishedName> base = DistinguishedName::Parse(settings_.base);
    std::string fault;
    if (!HasScheme(settings_.uri, "ldap://") && !HasScheme(settings_.uri, "ldaps://") &&
        !HasScheme(settings_.uri, "ldapi://")) {
        fault = "Uri must begin with ldap://, ldaps:// or ldapi://";
    } else if (!base || base->Empty()) {
        fault = "Base is not a distinguished name";
    } else if (settings_.catalogue.empty() && NeedsCatalogue()) {
        fault = "Catalogue names no folder";
    } else if (!settings_.saslMechanism.empty() &&
               strcasecmp(settings_.saslMechanism.c_str(), "EXTERNAL") != 0) {
        fault = "Sasl " + settings_.saslMechanism + " is not offered: only EXTERNAL";
    } else if (settings_.timeoutSeconds < 1 || settings_.timeoutSeconds > 600) {
        fault = "Timeout must be 1 to 600 seconds";
    } else if (!settings_.saslMechanism.empty() && !settings_.bindDn.empty()) {
        fault = "give either BindDn or Sasl, not both";
    } else if (!settings_.bindDn.empty() && settings_.passwordFile.empty()) {
        fault = "BindDn needs a PasswordFile";
    } else if (base->TypelessName().size() >= LoginFieldSize) {
        fault = "the base's name is too long for a context";
    } else if (settings_.saslMechanism.empty()) {
        // Without Sasl every login is a password: said now, before anything is sent.
        fault = PasswordTransport::Refusal(settings_, true);
    }
    if (!fault.empty()) {
        Report("settings: " + fault);
        refusal_ = "The settings of " + settings_.serverName + ": " + fault;
        return false;
    }
    baseDn_ = settings_.base;
    baseName_ = base->TypelessName();
    names_.Remember(baseName_, baseDn_, base->Canonical());
    return true;
}

int32_t LdapServer::Open(const char *)
{
    refusal_.clear();
    configuredRefusal_.clear();
    noticesTaken_ = false;
    if (!CheckSettings()) {
        return kRefusedBySettings;
    }
    if (!OpenDirectory()) {
        return 1;
    }
    if (!operational_.Learn(session_.Connection())) {
        Report("the schema cannot be read: only well-known operational attributes are left out "
               "of restores");
    }
    if (settings_.catalogue.empty() && !NeedsCatalogue()) {
        return 0;
    }
    // Every file left out is reported too (and told in the window later, see TakeNotices); a
    // load that fails ends with the reason the folder cannot be read.
    std::string lastReported;
    IndexProgress progress;
    progress.stop = opening_.stop;
    if (opening_.report) {
        progress.report = [this](const IndexStep &step) {
            opening_.report("Indexing snapshot " + std::to_string(step.dump) + " of " +
                                std::to_string(step.dumps) + ": " + step.file,
                            step.done, step.total);
        };
    }
    const bool loaded = catalogue_.Load(
        settings_.catalogue, containerClasses_,
        [&](const std::string &text) {
            Report(text);
            lastReported = text;
        },
        settings_.indexFolder, progress);
    if (!loaded) {
        refusal_ = Sentence(lastReported);
        return 1;
    }
    return 0;
}

// Connects, binds as configured (a failed bind leaves the login to the user) and finds the base.
bool LdapServer::OpenDirectory()
{
    LdapStatus status = session_.Connect();
    if (status.Ok() && session_.BindIsConfigured()) {
        status = session_.LogInConfigured();
        if (!status.Ok()) {
            configuredRefusal_ = "the configured bind failed: " + status.text;
            Report(configuredRefusal_);
        }
    }
    LdapConnection &connection = session_.Connection();
    std::optional<LdapEntry> base;
    status = connection.Broken() ? status : connection.Read(baseDn_, {"1.1"}, base);
    // A directory that shows nothing to an unbound connection opens all the same: the user
    // logs in next, and the base is read as that user.
    if (!session_.LoggedIn() && !connection.Broken() && LdapConnection::NeedsLogin(status.code)) {
        Report("the base cannot be read before a login: " + status.text);
        status = LdapStatus{};
        base.emplace();
    }
    if (status.Ok() && !base) {
        status = LdapStatus{1, "the base " + baseDn_ + " does not exist"};
    }
    if (!status.Ok()) {
        Report("cannot open: " + status.text);
        refusal_ = Sentence(status.text);
    }
    return status.Ok();
}

int32_t LdapServer::LoginCurrent(const LoginRecord &)
{
    refusal_ = Sentence(configuredRefusal_);
    return session_.LoggedInConfigured() ? 0 : 1;
}

int32_t LdapServer::Login(const char *userName, const char *password)
{
    refusal_.clear();
    const std::string user = userName != nullptr ? userName : "";
    // An empty password would make a simple bind anonymous and "succeed".
    if (password == nullptr || *password == '\0') {
        Refuse("login as " + user + " refused: no password given");
        return 1;
    }
    listingFault_.clear();
    const std::string dn = BindNameOf(user);
    if (dn.empty() && !listingFault_.empty()) {
        // A name of the tree is found by listing it, which the server may refuse before a login.
        Refuse("login as " + user + " refused: the name cannot be looked up before a login: " +
               listingFault_ + "; give it as " + NamesFoundWithoutLookup());
        return 1;
    }
    if (dn.empty()) {
        Refuse("login refused: no object " + user + " below " + baseName_);
        return 1;
    }
    LdapStatus status = session_.LogInAsUser(dn, password);
    if (!status.Ok()) {
        Refuse("login as " + dn + " refused: " + status.text);
        return status.code;
    }
    listings_.clear(); // what the new identity may see can differ
    if (!operational_.Learnt()) {
        operational_.Learn(session_.Connection());
    }
    return 0;
}

std::string LdapServer::BindNameOf(const std::string &userName)
{
    if (const DirectoryNames::Known *known = Resolve(userName)) {
        return known->dn;
    }
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(userName);
    return parsed && !parsed->Empty() ? userName : "";
}

void LdapServer::UpdateLogin(LoginRecord &record)
{
    const std::string &boundDn = session_.BoundDn();
    std::optional<DistinguishedName> bound = DistinguishedName::Parse(boundDn);
    CopyCutToField(record.userName, bound && !bound->Empty() ? bound->TypelessName() : boundDn);
    CopyCutToField(record.context, baseName_);
}

// The DN of a full name: from the map, else by listing the containers on its way down from the
// base, which fills the map.
const DirectoryNames::Known *LdapServer::Resolve(const std::string &fullName)
{
    if (const DirectoryNames::Known *known = names_.Find(fullName)) {
        return known;
    }
    const std::vector<std::string> labels = DistinguishedName::SplitTypeless(fullName);
    const std::vector<std::string> base = DistinguishedName::SplitTypeless(baseName_);
    if (baseName_.empty() || labels.size() <= base.size() ||
        !std::equal(base.begin(), base.end(), labels.end() - base.size())) {
        return nullptr;
    }
    std::string name = baseName_;
    for (std::size_t level = labels.size() - base.size(); level-- > 0;) {
        const std::string child = labels[level] + "." + name;
        std::vector<ListedChild> children;
        std::string note;
        if (names_.Find(child) == nullptr && !ListInto(name, children, note)) {
            return nullptr;
        }
        if (names_.Find(child) == nullptr) {
            return nullptr;
        }
        name = child;
    }
    return names_.Find(fullName);
}

bool LdapServer::ListInto(const std::string &fullName, std::vector<ListedChild> &children,
                          std::string &note)
{
    note.clear();
    const DirectoryNames::Known *known = Resolve(fullName);
    if (known == nullptr) {
        if (listingFault_.empty()) {
            listingFault_ = "no object " + fullName + " in the directory or its snapshots";
        }
        return false;
    }
    const DirectoryNames::Known container = *known;
    int cutBy = 0;
    std::size_t liveListed = 0;
    LdapStatus status =
        session_.Run([&] { return BuildListing(container, children, cutBy, liveListed); });
    if (!status.Ok()) {
        Report("listing " + container.dn + " failed: " + status.text);
        listingFault_ = status.text;
        return false;
    }
    if (cutBy != 0) {
        note = CutNote(fullName, cutBy, liveListed);
        Report(note);
    }
    // A child whose full name would not fit a request's name field could never be asked
    // about again: it is left out rather than cut.
    std::erase_if(children, [&](const ListedChild &child) {
        const bool fits = child.label.size() + 1 + fullName.size() < NameFieldSize;
        if (!fits) {
            Report("left out, its name is too long: " + child.dn);
        }
        return !fits;
    });
    for (const ListedChild &child : children) {
        names_.Remember(child.label + "." + fullName, child.dn, child.canonical);
    }
    return true;
}

LdapStatus LdapServer::BuildListing(const DirectoryNames::Known &container,
                                    std::vector<ListedChild> &children, int &cutBy,
                                    std::size_t &liveListed)
{
    DirectoryListing listing(session_.Connection(), catalogue_, containerClasses_);
    LdapStatus status = listing.Build(container.dn, container.canonical, children);
    cutBy = listing.CutBy();
    liveListed = listing.LiveListed();
    return status;
}

const std::vector<ListedChild> *LdapServer::CurrentListing(const std::string &fullName, bool fresh)
{
    auto found = std::find_if(listings_.begin(), listings_.end(),
                              [&](const Listing &listing) { return listing.first == fullName; });
    if (found != listings_.end() && !fresh) {
        return &found->second;
    }
    if (found != listings_.end()) {
        listings_.erase(found);
    }
    std::vector<ListedChild> children;
    if (!ListInto(fullName, children, listingNote_)) {
        return nullptr;
    }
    listings_.emplace_back(fullName, std::move(children));
    if (listings_.size() > KeptListings) {
        listings_.pop_front();
    }
    return &listings_.back().second;
}

void *LdapServer::ListChildren(const ChildRequest &request, int32_t, int32_t &replySize)
{
    const std::string name = FieldText(request.containerName);
    listingFault_.clear();
    if (request.lastId == 0) {
        listingNote_.clear();
    }
    const std::vector<ListedChild> *listing = CurrentListing(name, request.lastId == 0);
    if (listing == nullptr) {
        // Still an end record, as the interface wants, but not an empty container.
        FailRequest(Sentence(listingFault_));
    }
    const std::size_t index = static_cast<std::size_t>(std::max(request.lastId, 0));
    if (listing == nullptr || request.lastId < 0 || index >= listing->size()) {
        // The end of the listing: the next one of this container starts afresh.
        std::erase_if(listings_, [&](const Listing &kept) { return kept.first == name; });
        return Replies::EndOfListing(replySize);
    }
    const ListedChild &child = (*listing)[index];
    return Replies::Child(static_cast<int32_t>(index + 1), child.label,
                          child.container ? ContainerObjectKind : LeafObjectKind,
                          child.present ? 1 : DeletedState, replySize);
}

std::vector<std::string> LdapServer::TakeNotices()
{
    std::vector<std::string> notices;
    if (!noticesTaken_) {
        for (const SnapshotCatalogue::LeftOut &file : catalogue_.LeftOutFiles()) {
            notices.push_back("Snapshot " + file.path + " left out: " + file.reason);
        }
        for (std::string &note : catalogue_.LoadNotes()) {
            notices.push_back(std::move(note));
        }
    }
    noticesTaken_ = true;
    return notices;
}

void *LdapServer::GetHistory(const HistoryRequest &request, int32_t, int32_t &replySize)
{
    std::vector<BackupTime> times;
    if (const DirectoryNames::Known *known = Resolve(FieldText(request.objectName))) {
        times = catalogue_.TimesOf(known->canonical);
    }
    return Replies::History(times, replySize);
}

void *LdapServer::RestoreReplyOf(const LdapStatus &status, int32_t &replySize)
{
    return status.Ok() ? Replies::Restore(0, "", replySize)
                       : Replies::Restore(status.code, status.text, replySize);
}

std::string LdapServer::TakeListingNote()
{
    return std::exchange(listingNote_, std::string());
}

void *LdapServer::RestoreObject(const RestoreRequest &request, int32_t, int32_t &replySize)
{
    restoreReport_ = RestoreReport{};
    const std::string name = FieldText(request.objectName);
    const DirectoryNames::Known *known = Resolve(name);
    if (known == nullptr) {
        return Replies::Restore(DirectoryRestore::NotInCatalogue, "Unknown object: " + name,
                                replySize);
    }
    const DirectoryNames::Known object = *known;
    const bool subtree = (request.flags & RestoreWithSubtree) != 0;
    // One restore over both attempts: the second finds what the first wrote already in place.
    DirectoryRestore restore(session_.Connection(), catalogue_, operational_);
    const LdapStatus status =
        session_.Run([&] { return restore.Run(object.canonical, request.version, subtree); });
    RecordWrites(restore, subtree);
    if (status.Ok()) {
        return Replies::Restore(0, "", replySize);
    }
    const std::string written = WrittenBeforeFailure(restore);
    const std::string &failed = restore.FailedEntry();
    Report("restore of " + object.dn + " failed: " + (failed.empty() ? "" : failed + ": ") +
           status.text + written);
    // The reply names the entry at fault as the tree does, and only when it is another than the
    // object restored; what was written before the failure must not be cut off the message.
    const std::optional<DistinguishedName> failedName = DistinguishedName::Parse(failed);
    const bool other =
        !failed.empty() && (!failedName || failedName->Canonical() != object.canonical);
    const std::string reason = (other ? TreeNameOf(failed) + ": " : "") + status.text;
    return Replies::Restore(status.code, Cut(reason, NameFieldSize - 1 - written.size()) + written,
                            replySize);
}

std::string LdapServer::TreeNameOf(const std::string &dn) const
{
    if (std::optional<std::string> name = FullNameOf(dn)) {
        return *name;
    }
    std::optional<DistinguishedName> parsed = DistinguishedName::Parse(dn);
    return parsed ? parsed->TypelessName() : dn;
}

void *LdapServer::DescribeObject(const DescribeRequest &request, int32_t, int32_t &replySize)
{
    const std::string name = FieldText(request.objectName);
    if (request.lastId == 0 || name != describedName_ || request.version != describedVersion_ ||
        request.flags != describedFlags_) {
        description_ = Describe(name, request.version, request.flags);
        describedName_ = name;
        describedVersion_ = request.version;
        describedFlags_ = request.flags;
    }
    return description_.Reply(request.lastId, replySize);
}

DescriptionPieces LdapServer::Describe(const std::string &fullName, BackupTime version,
                                       uint32_t flags)
{
    const DirectoryNames::Known *known = Resolve(fullName);
    if (known == nullptr) {
        return DescriptionPieces::Failure(DirectoryRestore::NotInCatalogue,
                                          "Unknown object: " + fullName);
    }
    const DirectoryNames::Known object = *known;
    ObjectDescription description;
    std::vector<WrittenEntry> entries;
    DirectoryDescription describe(session_.Connection(), catalogue_, operational_);
    const LdapStatus status = session_.Run([&] {
        LdapStatus described = describe.Describe(object.dn, object.canonical, version, description);
        entries.clear();
        const bool subtree = (flags & DescribeWithSubtree) != 0;
        // Alone and below a live parent, the object is all its restore writes.
        if (!described.Ok() || (flags & DescribeWrites) == 0 || !description.inBackup ||
            (!subtree && !description.parentMissing)) {
            return described;
        }
        return DescribeWritten(fullName, object, version, subtree, !description.parentMissing,
                               entries);
    });
    if (!status.Ok()) {
        Report("describing " + object.dn + " failed: " + status.text);
        return DescriptionPieces::Failure(status.code, status.text);
    }
    return DescriptionPieces(description, entries);
}

// Named as the tree names them: a parent by the listings that named the object's way down, an
// entry below by the labels a listing would give it.
LdapStatus LdapServer::DescribeWritten(const std::string &fullName,
                                       const DirectoryNames::Known &object, BackupTime version,
                                       bool subtree, bool parentLive,
                                       std::vector<WrittenEntry> &entries)
{
    LdapConnection &connection = session_.Connection();
    DirectoryRestore restore(connection, catalogue_, operational_);
    std::vector<DirectoryRestore::Write> writes;
    LdapStatus status = restore.Plan(object.canonical, version, subtree, writes, parentLive);
    const std::optional<DistinguishedName> top = DistinguishedName::Parse(object.dn);
    DirectoryDescription describe(connection, catalogue_, operational_);
    SiblingLabels labels(&connection, &catalogue_, false);
    for (std::size_t i = 0; status.Ok() && top && i < writes.size(); ++i) {
        const DirectoryRestore::Write &write = writes[i];
        const std::optional<DistinguishedName> dn = DistinguishedName::Parse(write.entry.dn);
        if (!dn || write.entry.canonical == object.canonical) {
            continue; // the object itself is described already
        }
        WrittenEntry entry;
        entry.parent = write.parent;
        entry.fullName = write.parent ? FullNameOf(write.entry.dn).value_or(dn->TypelessName())
                                      : FullNameBelow(*dn, top->Rdns().size(), fullName, labels);
        status = describe.DescribeEntry(write.entry, entry.description);
        entries.push_back(std::move(entry));
    }
    return status;
}

void LdapServer::RecordWrites(const DirectoryRestore &restore, bool subtree)
{
    restoreReport_.subtree = subtree;
    restoreReport_.addedCount = restore.Added().size();
    restoreReport_.changedCount = restore.Modified();
    restoreReport_.changesCounted = true;
    for (const std::string &dn : restore.ParentsAdded()) {
        const std::string name = TreeNameOf(dn);
        restoreReport_.parentsAdded.push_back(name);
        restoreReport_.added.push_back(name);
    }
    for (const std::string &dn : restore.Added()) {
        if (std::optional<std::string> name = FullNameOf(dn)) {
            restoreReport_.added.push_back(std::move(*name));
        }
    }
}

// Walks down from the base, taking at each level the label the listing gave that entry: its
// typeless label, or its typed one when a sibling shares the label.
std::optional<std::string> LdapServer::FullNameOf(const std::string &dn) const
{
    std::optional<DistinguishedName> entry = DistinguishedName::Parse(dn);
    std::optional<DistinguishedName> base = DistinguishedName::Parse(baseDn_);
    if (!entry || !base || entry->Rdns().size() <= base->Rdns().size()) {
        return std::nullopt;
    }
    std::vector<DistinguishedName> levels; // the entry, its parent, ... down to below the base
    for (DistinguishedName level = *entry; level.Rdns().size() > base->Rdns().size();
         level = level.Parent()) {
        levels.push_back(level);
    }
    if (levels.back().Parent().Canonical() != base->Canonical()) {
        return std::nullopt;
    }
    std::string name = baseName_;
    for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
        const RelativeName &own = level->Rdns().front();
        const std::string canonical = level->Canonical();
        bool found = false;
        for (const std::string &label :
             {DistinguishedName::Label(own), DistinguishedName::TypedLabel(own)}) {
            const DirectoryNames::Known *known = names_.Find(label + "." + name);
            if (known != nullptr && known->canonical == canonical) {
                name = label + "." + name;
                found = true;
                break;
            }
        }
        if (!found) {
            return std::nullopt;
        }
    }
    return name;
}

void *LdapServer::SearchObjects(const SearchRequest &request, int32_t, int32_t &replySize)
{
    if ((request.flags & SearchProbe) != 0) {
        return Replies::EndOfSearch(0, replySize);
    }
    const std::string context = FieldText(request.contextName);
    const std::string pattern = FieldText(request.pattern);
    const uint32_t flags = request.flags & SearchDeletedOnly;
    // A search is begun afresh on its first request, and when another one came between; then
    // the matches handed out already are passed over.
    if (request.lastId == 0 || !search_ || search_->context != context ||
        search_->pattern != pattern || search_->flags != flags ||
        search_->handedOut != static_cast<std::size_t>(std::max(request.lastId, 0))) {
        search_.reset();
        std::string fault;
        if (!StartSearch(context, pattern, flags, fault)) {
            FailRequest(Sentence(fault));
            return Replies::EndOfSearch(0, replySize);
        }
        for (int32_t skipped = 0; skipped < request.lastId && NextFound(fault); ++skipped) {
            search_->ready.pop_front();
            ++search_->handedOut;
        }
    }
    std::string fault;
    if (request.lastId < 0 || !NextFound(fault)) {
        search_.reset();
        if (!fault.empty()) {
            FailRequest(Sentence(fault));
        }
        return Replies::EndOfSearch(0, replySize);
    }
    const FoundName match = std::move(search_->ready.front());
    search_->ready.pop_front();
    return Replies::Match(static_cast<int32_t>(++search_->handedOut), match.fullName,
                          match.container ? ContainerObjectKind : LeafObjectKind,
                          match.present ? 1 : DeletedState, replySize);
}

bool LdapServer::StartSearch(const std::string &context, const std::string &pattern, uint32_t flags,
                             std::string &fault)
{
    listingFault_.clear();
    const DirectoryNames::Known *known = Resolve(context);
    if (known == nullptr) {
        fault = listingFault_.empty()
                    ? "no object " + context + " in the directory or its snapshots"
                    : listingFault_;
        return false;
    }
    const std::optional<DistinguishedName> topDn = DistinguishedName::Parse(known->dn);
    if (!topDn) {
        fault = "the context's name cannot be read";
        return false;
    }
    auto run = std::make_unique<DirectorySearch>(catalogue_, containerClasses_, known->dn,
                                                 known->canonical, SearchPattern(pattern),
                                                 (flags & SearchDeletedOnly) != 0);
    auto labels = std::make_unique<SiblingLabels>(&session_.Connection(), &catalogue_,
                                                  (flags & SearchDeletedOnly) == 0);
    search_.emplace(Search{context,
                           pattern,
                           flags,
                           known->dn,
                           topDn->Rdns().size(),
                           std::move(run),
                           std::move(labels),
                           {},
                           0});
    return true;
}

bool LdapServer::NextFound(std::string &fault)
{
    while (search_->ready.empty() && !search_->run->Done()) {
        std::vector<SearchHit> hits;
        const LdapStatus status =
            session_.Run([&] { return search_->run->Next(session_.Connection(), hits); });
        if (!status.Ok()) {
            fault = status.text;
            Report("search below " + search_->dn + " failed: " + fault);
            return false;
        }
        // Live siblings of one name are matches of one search: each knows of the others.
        for (const SearchHit &hit : hits) {
            std::optional<DistinguishedName> dn = DistinguishedName::Parse(hit.dn);
            if (dn && hit.present) {
                search_->labels->NoteLive(*dn);
            }
        }
        for (const SearchHit &hit : hits) {
            const std::optional<DistinguishedName> dn = DistinguishedName::Parse(hit.dn);
            if (!dn) {
                continue;
            }
            std::string fullName =
                FullNameBelow(*dn, search_->contextLevels, search_->context, *search_->labels);
            // An object whose full name does not fit a request could never be asked about.
            if (fullName.size() >= NameFieldSize) {
                Report("left out of a search, its name is too long: " + hit.dn);
                continue;
            }
            search_->ready.push_back(FoundName{std::move(fullName), hit.container, hit.present});
        }
    }
    return !search_->ready.empty();
}

// Each level by the label its parent's listing gave it, or would give it when none was made.
std::string LdapServer::FullNameBelow(const DistinguishedName &entry, std::size_t contextLevels,
                                      const std::string &contextName, SiblingLabels &labels) const
{
    const std::vector<RelativeName> &rdns = entry.Rdns();
    std::string name = contextName;
    if (rdns.size() <= contextLevels) {
        return name;
    }
    std::vector<DistinguishedName> levels{entry}; // the entry, its parent, ...
    while (levels.size() < rdns.size() - contextLevels) {
        levels.push_back(levels.back().Parent());
    }
    for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
        const RelativeName &own = level->Rdns().front();
        const std::string canonical = level->Canonical();
        const std::string typeless = DistinguishedName::Label(own);
        const std::string typed = DistinguishedName::TypedLabel(own);
        const DirectoryNames::Known *plain = names_.Find(typeless + "." + name);
        const DirectoryNames::Known *withType = names_.Find(typed + "." + name);
        std::string label;
        if (plain != nullptr && plain->canonical == canonical) {
            label = typeless;
        } else if ((withType != nullptr && withType->canonical == canonical) || plain != nullptr) {
            label = typed; // listed by its type, or the typeless label names a sibling
        } else {
            label = labels.LabelOf(*level, &*level == &levels.front());
        }
        name = label + "." + name;
    }
    return name;
}

void *LdapServer::GetBackupTimes(const HistoryRequest &, int32_t, int32_t &replySize)
{
    std::vector<BackupTime> times;
    for (const IndexedDump &dump : catalogue_.Snapshots()) {
        times.push_back(dump.time);
    }
    return Replies::History(times, replySize);
}

void *LdapServer::ListChanges(const ChangeRequest &request, int32_t, int32_t &replySize)
{
    if ((request.flags & ChangesProbe) != 0) {
        return Replies::EndOfChanges(0, 0, 0, replySize);
    }
    // A report is begun afresh on its first request, and when another one came between; then
    // the records handed out already are passed over.
    if (!changes_ || !changes_->Continues(request)) {
        changes_.reset();
        listingFault_.clear();
        std::string fault;
        const std::string contextName = FieldText(request.contextName);
        const DirectoryNames::Known *known = Resolve(contextName);
        std::unique_ptr<ChangeSource> source;
        if (known == nullptr) {
            fault = listingFault_.empty()
                        ? "no object " + contextName + " in the directory or its snapshots"
                        : listingFault_;
        } else {
            source = ChangesOf(*known, request, fault);
        }
        if (!source) {
            Report("the report of changes below " + contextName + " cannot be made: " + fault);
            FailRequest(Sentence(fault));
            return Replies::EndOfChanges(0, 0, 0, replySize);
        }
        changes_ = std::make_unique<ChangeFeed>(request, std::move(source),
                                                [this](const std::string &name) {
                                                    Report("left out of a report of changes, "
                                                           "its name is too long: " +
                                                           name);
                                                });
        changes_->Skip(std::max(request.lastId, 0));
    }
    std::string fault;
    void *reply = changes_->Reply(replySize, fault);
    if (!fault.empty()) {
        Report("the report of changes failed: " + fault);
        FailRequest(Sentence(fault));
    }
    if (changes_->Ended()) {
        changes_.reset();
    }
    return reply;
}

const IndexedDump *LdapServer::SnapshotAt(BackupTime time, std::string &fault) const
{
    for (const IndexedDump &dump : catalogue_.Snapshots()) {
        if (dump.time == time) {
            return &dump;
        }
    }
    fault = "no snapshot of " + std::to_string(time) + " in the catalogue";
    return nullptr;
}

std::unique_ptr<ChangeSource> LdapServer::ChangesOf(const DirectoryNames::Known &context,
                                                    const ChangeRequest &request,
                                                    std::string &fault)
{
    const IndexedDump *from = SnapshotAt(request.from, fault);
    if (from == nullptr) {
        return nullptr;
    }
    if ((request.flags & ChangesToLive) != 0) {
        const std::optional<DistinguishedName> base = DistinguishedName::Parse(baseDn_);
        LiveChanges::Where where{context.dn, baseDn_, from->seq,
                                 base && base->Canonical() == context.canonical};
        return std::make_unique<LiveChanges>(session_, catalogue_, ChangeContextOf(context, true),
                                             std::move(where), containerClasses_);
    }
    const IndexedDump *to = SnapshotAt(request.to, fault);
    if (to == nullptr) {
        return nullptr;
    }
    if (to->seq <= from->seq) {
        fault = "the second point of a report must be later than the first";
        return nullptr;
    }
    return std::make_unique<SnapshotChanges>(catalogue_, ChangeContextOf(context, false), from->seq,
                                             to->seq);
}

ChangeContext LdapServer::ChangeContextOf(const DirectoryNames::Known &context, bool askLive)
{
    changeLabels_ = std::make_unique<SiblingLabels>(askLive ? &session_.Connection() : nullptr,
                                                    &catalogue_, false);
    const std::optional<DistinguishedName> base = DistinguishedName::Parse(baseDn_);
    const std::size_t baseLevels = base ? base->Rdns().size() : 0;
    ChangeContext terms;
    terms.canonical = context.canonical;
    terms.userAttributes = [this](const LdapAttributes &attributes) {
        return UserAttributesOf(attributes);
    };
    terms.fullName = [this, baseLevels](const std::string &dn) {
        const std::optional<DistinguishedName> entry = DistinguishedName::Parse(dn);
        return entry ? FullNameBelow(*entry, baseLevels, baseName_, *changeLabels_) : std::string();
    };
    return terms;
}

std::vector<DescribedAttribute> LdapServer::UserAttributesOf(const LdapAttributes &attributes) const
{
    std::vector<DescribedAttribute> kept;
    for (const auto &[description, values] : attributes) {
        if (!operational_.Contains(description)) {
            kept.push_back({description, values});
        }
    }
    return kept;
}
