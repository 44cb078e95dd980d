// The directory backup server: opening, login, and the three requests answered from the live
// directory and the snapshot catalogue.
#include "restore/server/directory/LdapServer.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "restore/server/RecordFields.h"
#include "restore/server/directory/AsciiCase.h"
#include "restore/server/directory/DirectoryRestore.h"
#include "restore/server/directory/DistinguishedName.h"

namespace
{
constexpr std::size_t KeptListings = 4;
constexpr int NoConfiguredBind = -1;

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

// Copies as much of the text as the field holds, never splitting a UTF-8 character.
template <std::size_t N> void CopyCut(char (&field)[N], const std::string &text)
{
    std::size_t length = std::min(text.size(), N - 1);
    while (length > 0 && length < text.size() &&
           (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}
} // namespace

LdapServer::LdapServer(LdapSettings settings, Log log)
    : settings_(std::move(settings)), log_(log ? std::move(log) : Log(StandardError)),
      containerClasses_(ContainerClasses(settings_.containerClasses)),
      connection_(settings_.uri, settings_.timeoutSeconds,
                  LdapTls{settings_.caFile, settings_.startTls})
{
}

void LdapServer::Report(const std::string &text) const
{
    log_("TARVIK: server " + settings_.serverName + ": " + text);
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
    }
    if (!fault.empty()) {
        Report("settings: " + fault);
        return false;
    }
    baseDn_ = settings_.base;
    baseName_ = base->TypelessName();
    names_.Remember(baseName_, baseDn_, base->Canonical());
    return true;
}

int32_t LdapServer::Open(const char *)
{
    if (!CheckSettings()) {
        return 1;
    }
    LdapStatus status = connection_.Connect();
    if (status.Ok()) {
        status = BindConfigured();
        if (!status.Ok() && status.code != NoConfiguredBind) {
            Report("the configured bind failed: " + status.text);
        }
        std::optional<LdapEntry> base;
        status = connection_.Broken() ? status : connection_.Read(baseDn_, {"1.1"}, base);
        // A directory that shows nothing to an unbound connection opens all the same: the
        // user logs in next, and the base is read as that user.
        if (bound_ == Bound::Nobody && !connection_.Broken() &&
            LdapConnection::NeedsLogin(status.code)) {
            Report("the base cannot be read before a login: " + status.text);
            status = LdapStatus{};
            base.emplace();
        }
        if (status.Ok() && !base) {
            status = LdapStatus{1, "the base " + baseDn_ + " does not exist"};
        }
    }
    if (!status.Ok()) {
        Report("cannot open: " + status.text);
        return 1;
    }
    if (!operational_.Learn(connection_)) {
        Report("the schema cannot be read: only well-known operational attributes are left out "
               "of restores");
    }
    if (settings_.catalogue.empty() && !NeedsCatalogue()) {
        return 0;
    }
    return catalogue_.Load(settings_.catalogue, containerClasses_,
                           [this](const std::string &text) { Report(text); })
               ? 0
               : 1;
}

LdapStatus LdapServer::BindConfigured()
{
    LdapStatus status{NoConfiguredBind, "no bind is configured"};
    if (!settings_.saslMechanism.empty()) {
        status = connection_.BindExternal();
        std::string identity;
        if (status.Ok() && connection_.WhoAmI(identity).Ok()) {
            boundDn_ = identity.rfind("dn:", 0) == 0 ? identity.substr(3) : identity;
            // The server names the identity in its normalised (lower-case) form; the entry
            // itself has the spelling people know.
            std::optional<LdapEntry> entry;
            if (connection_.Read(boundDn_, {"1.1"}, entry).Ok() && entry) {
                boundDn_ = entry->dn;
            }
        }
    } else if (!settings_.bindDn.empty()) {
        SecretText password;
        std::string fault;
        if (!SecretText::ReadFile(settings_.passwordFile, password, fault)) {
            return LdapStatus{NoConfiguredBind - 1, fault};
        }
        status = connection_.BindSimple(settings_.bindDn, password.Reveal());
        boundDn_ = settings_.bindDn;
    }
    bound_ = status.Ok() ? Bound::Configured : Bound::Nobody;
    return status;
}

LdapStatus LdapServer::Rebind()
{
    switch (bound_) {
    case Bound::Configured: {
        const LdapStatus status = BindConfigured();
        // The identity stays the configured one, bound or not: the next reconnection binds as
        // it again rather than going on anonymously.
        bound_ = Bound::Configured;
        return status;
    }
    case Bound::User:
        return connection_.BindSimple(boundDn_, userPassword_.Reveal());
    case Bound::Nobody:
        break;
    }
    return LdapStatus{};
}

// A connection that lost its server is made again, with the identity it had.
bool LdapServer::EnsureConnected()
{
    if (!connection_.Broken()) {
        return true;
    }
    LdapStatus status = connection_.Connect();
    if (status.Ok()) {
        status = Rebind();
    }
    if (!status.Ok()) {
        Report("cannot connect again: " + status.text);
    }
    return status.Ok() && !connection_.Broken();
}

int32_t LdapServer::LoginCurrent(const LoginRecord &)
{
    return bound_ == Bound::Configured ? 0 : 1;
}

int32_t LdapServer::Login(const char *userName, const char *password)
{
    const std::string user = userName != nullptr ? userName : "";
    // An empty password would make a simple bind anonymous and "succeed".
    if (password == nullptr || *password == '\0') {
        Report("login as " + user + " refused: no password given");
        return 1;
    }
    const std::string dn = BindNameOf(user);
    if (dn.empty()) {
        Report("login refused: no object " + user + " below " + baseName_);
        return 1;
    }
    EnsureConnected();
    LdapStatus status = connection_.BindSimple(dn, password);
    if (!status.Ok()) {
        Report("login as " + dn + " refused: " + status.text);
        bound_ = Bound::Nobody;
        return status.code;
    }
    bound_ = Bound::User;
    boundDn_ = dn;
    userPassword_ = SecretText(password);
    listings_.clear(); // what the new identity may see can differ
    if (!operational_.Learnt()) {
        operational_.Learn(connection_);
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
    std::optional<DistinguishedName> bound = DistinguishedName::Parse(boundDn_);
    CopyCut(record.userName, bound && !bound->Empty() ? bound->TypelessName() : boundDn_);
    CopyCut(record.context, baseName_);
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
        if (names_.Find(child) == nullptr && !ListInto(name, children)) {
            return nullptr;
        }
        if (names_.Find(child) == nullptr) {
            return nullptr;
        }
        name = child;
    }
    return names_.Find(fullName);
}

bool LdapServer::ListInto(const std::string &fullName, std::vector<ListedChild> &children)
{
    const DirectoryNames::Known *known = Resolve(fullName);
    if (known == nullptr) {
        return false;
    }
    const DirectoryNames::Known container = *known;
    LdapStatus status = BuildListing(container, children);
    if (!status.Ok() && connection_.Broken() && EnsureConnected()) {
        status = BuildListing(container, children);
    }
    if (!status.Ok()) {
        Report("listing " + container.dn + " failed: " + status.text);
        return false;
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
                                    std::vector<ListedChild> &children)
{
    DirectoryListing listing(connection_, catalogue_, containerClasses_);
    return listing.Build(container.dn, container.canonical, children);
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
    if (!ListInto(fullName, children)) {
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
    replySize = sizeof(ObjectRecord);
    auto *record = static_cast<ObjectRecord *>(std::calloc(1, sizeof(ObjectRecord)));
    if (record == nullptr) {
        return nullptr;
    }
    const std::string name = FieldText(request.containerName);
    const std::vector<ListedChild> *listing = CurrentListing(name, request.lastId == 0);
    const std::size_t index = static_cast<std::size_t>(std::max(request.lastId, 0));
    if (listing == nullptr || request.lastId < 0 || index >= listing->size()) {
        // The end of the listing: the next one of this container starts afresh.
        std::erase_if(listings_, [&](const Listing &kept) { return kept.first == name; });
        return record;
    }
    const ListedChild &child = (*listing)[index];
    record->id = static_cast<int32_t>(index + 1);
    CopyToField(record->name, child.label);
    record->kind = child.container ? ContainerObjectKind : LeafObjectKind;
    record->state = child.present ? 1 : DeletedState;
    return record;
}

void *LdapServer::GetHistory(const HistoryRequest &request, int32_t, int32_t &replySize)
{
    std::vector<BackupTime> times;
    if (const DirectoryNames::Known *known = Resolve(FieldText(request.objectName))) {
        times = catalogue_.TimesOf(known->canonical);
    }
    return HistoryReplyOf(times, replySize);
}

void *LdapServer::HistoryReplyOf(const std::vector<BackupTime> &times, int32_t &replySize)
{
    replySize = static_cast<int32_t>(HistoryReplySize(times.size()));
    auto *reply = static_cast<HistoryReply *>(std::malloc(HistoryReplySize(times.size())));
    if (reply == nullptr) {
        return nullptr;
    }
    reply->count = static_cast<int32_t>(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        SetHistoryTime(*reply, i, times[i]);
    }
    return reply;
}

void *LdapServer::RestoreReplyOf(const LdapStatus &status, int32_t &replySize)
{
    replySize = sizeof(RestoreReply);
    auto *reply = static_cast<RestoreReply *>(std::calloc(1, sizeof(RestoreReply)));
    if (reply != nullptr && !status.Ok()) {
        reply->status = status.code;
        CopyCut(reply->message, status.text);
    }
    return reply;
}

void *LdapServer::RestoreObject(const RestoreRequest &request, int32_t, int32_t &replySize)
{
    const std::string name = FieldText(request.objectName);
    const DirectoryNames::Known *known = Resolve(name);
    if (known == nullptr) {
        return RestoreReplyOf(
            LdapStatus{DirectoryRestore::NotInCatalogue, "Unknown object: " + name}, replySize);
    }
    const DirectoryNames::Known object = *known;
    const bool subtree = (request.flags & RestoreWithSubtree) != 0;
    DirectoryRestore restore(connection_, catalogue_, operational_);
    EnsureConnected();
    LdapStatus status = restore.Run(object.dn, object.canonical, request.version, subtree);
    if (!status.Ok() && connection_.Broken() && EnsureConnected()) {
        status = restore.Run(object.dn, object.canonical, request.version, subtree);
    }
    if (!status.Ok()) {
        Report("restore of " + object.dn + " failed: " + status.text);
    }
    return RestoreReplyOf(status, replySize);
}
