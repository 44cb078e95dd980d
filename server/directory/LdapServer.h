// A backup server made of a live LDAP directory and a catalogue of LDIF snapshots of it: the
// tree shows the union of both (objects only snapshots hold are deleted), histories are the
// snapshots' times, and a restore puts an entry (or a subtree) back from a snapshot.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "server/LdapSettings.h"
#include "server/ServerBackend.h"
#include "server/directory/DirectoryListing.h"
#include "server/directory/DirectoryNames.h"
#include "server/directory/LdapConnection.h"
#include "server/directory/OperationalAttributes.h"
#include "server/SecretText.h"
#include "server/directory/SnapshotCatalogue.h"

class LdapServer : public ServerBackend
{
  public:
    // Where the server says what went wrong (never a password); standard error by default.
    using Log = std::function<void(const std::string &)>;

    explicit LdapServer(LdapSettings settings, Log log = nullptr);

    // Connects, binds as configured (if configured), checks that the base exists, reads the
    // schema's operational attributes and indexes the catalogue.
    int32_t Open(const char *serverName) override;
    // 0 when the configured bind worked.
    int32_t LoginCurrent(const LoginRecord &login) override;
    // A simple bind as the named user: a typeless dotted name below the base, or a DN.
    int32_t Login(const char *userName, const char *password) override;
    // The identity bound with (as a typeless name) and the base's typeless name as context.
    void UpdateLogin(LoginRecord &record) override;

    void *ListChildren(const ChildRequest &request, int32_t requestSize,
                       int32_t &replySize) override;
    void *GetHistory(const HistoryRequest &request, int32_t requestSize,
                     int32_t &replySize) override;
    void *RestoreObject(const RestoreRequest &request, int32_t requestSize,
                        int32_t &replySize) override;

    // The full name of the base: the tree's top context.
    const std::string &BaseName() const { return baseName_; }
    const SnapshotCatalogue &Catalogue() const { return catalogue_; }

  private:
    using Listing = std::pair<std::string, std::vector<ListedChild>>;

    bool CheckSettings();
    LdapStatus BindConfigured();
    LdapStatus Rebind();
    bool EnsureConnected();
    const DirectoryNames::Known *Resolve(const std::string &fullName);
    bool ListInto(const std::string &fullName, std::vector<ListedChild> &children);
    const std::vector<ListedChild> *CurrentListing(const std::string &fullName, bool fresh);
    void Report(const std::string &text) const;

    LdapSettings settings_;
    Log log_;
    std::unordered_set<std::string> containerClasses_;
    LdapConnection connection_;
    SnapshotCatalogue catalogue_;
    OperationalAttributes operational_;
    DirectoryNames names_;
    std::string baseName_;
    std::string baseDn_;
    // Who the connection is bound as: the configured identity, a user's, or nobody.
    enum class Bound { Nobody, Configured, User } bound_ = Bound::Nobody;
    std::string boundDn_;
    SecretText userPassword_; // kept to bind again after a lost connection
    // Listings in progress, by container; a few are kept since a listing may be abandoned.
    std::deque<Listing> listings_;
};
