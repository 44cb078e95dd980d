// A backup server made of a live LDAP directory and a catalogue of LDIF snapshots of it: the
// tree shows the union of both (objects only snapshots hold are deleted), histories are the
// snapshots' times, and a restore puts an entry (or a subtree) back from a snapshot.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "catalogue/DistinguishedName.h"
#include "server/ChangeFeed.h"
#include "server/DescriptionPieces.h"
#include "server/LdapSettings.h"
#include "server/ServerBackend.h"
#include "server/directory/ChangeContext.h"
#include "server/directory/DirectoryListing.h"
#include "server/directory/DirectoryNames.h"
#include "server/directory/DirectorySearch.h"
#include "server/directory/DirectorySession.h"
#include "server/directory/OperationalAttributes.h"
#include "server/directory/SiblingLabels.h"
#include "server/directory/SnapshotCatalogue.h"

class DirectoryRestore;

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
    // The entry at a snapshot and live, made once per description and handed out record by
    // record. Reads only.
    void *DescribeObject(const DescribeRequest &request, int32_t requestSize,
                         int32_t &replySize) override;

    // The live entries and the snapshots' below the context whose own name matches, looked for
    // a part at a time (a page of the live search, a stretch of the snapshots) as the requests
    // ask for them, and handed out one per request.
    void *SearchObjects(const SearchRequest &request, int32_t requestSize,
                        int32_t &replySize) override;

    // What changed below the context between two snapshots (from the catalogue's index alone),
    // or between a snapshot and the live directory, found a part at a time as the requests
    // ask for them and handed out one record per request.
    void *ListChanges(const ChangeRequest &request, int32_t requestSize,
                      int32_t &replySize) override;
    // The snapshots' times.
    void *GetBackupTimes(const HistoryRequest &request, int32_t requestSize,
                         int32_t &replySize) override;

    std::string RefusalReason() const override { return refusal_; }
    std::string TakeListingNote() override;
    const RestoreReport *LastRestoreReport() const override { return &restoreReport_; }
    // The snapshot files the catalogue left out, with their reasons, once after each Open.
    std::vector<std::string> TakeNotices() override;
    // The connection gives up its wait for the server while the flag is set.
    void WatchAbandon(const std::atomic<bool> *flag) override;
    // Indexing the catalogue tells its progress, and stops when asked.
    void WatchOpening(const OpenProgress &progress) override { opening_ = progress; }

    // The full name of the base: the tree's top context.
    const std::string &BaseName() const { return baseName_; }
    const SnapshotCatalogue &Catalogue() const { return catalogue_; }

  protected:
    // A directory's history is its snapshots: without a catalogue it has none.
    virtual bool NeedsCatalogue() const { return true; }
    // The children of a container, as the tree shows them. When the server cut the live
    // children short, cutBy is the result code of its limit and liveListed how many it gave.
    virtual LdapStatus BuildListing(const DirectoryNames::Known &container,
                                    std::vector<ListedChild> &children, int &cutBy,
                                    std::size_t &liveListed);
    // The name to bind with for a user's name as typed (a typeless name of the tree or a DN);
    // empty when there is none.
    virtual std::string BindNameOf(const std::string &userName);
    // The forms of a user's name that BindNameOf takes without asking the server.
    virtual std::string NamesFoundWithoutLookup() const { return "a DN (cn=...,o=...)"; }

    // The reply of a restore with this outcome (through Replies, as every reply).
    // A failure's text is cut to the message field, never inside a UTF-8 character.
    static void *RestoreReplyOf(const LdapStatus &status, int32_t &replySize);

    const DirectoryNames::Known *Resolve(const std::string &fullName);
    // The tree's full name of an entry below the context: each level by the label the listing
    // of its parent gave it, or would give it (`labels`) when none was made.
    std::string FullNameBelow(const DistinguishedName &entry, std::size_t contextLevels,
                              const std::string &contextName, SiblingLabels &labels) const;

    void Report(const std::string &text) const;
    // Reports the text and keeps it as the reason of the refusal.
    void Refuse(const std::string &text);
    // The object at the version beside its live state, or why not; with DescribeWrites in
    // flags, also every other entry its restore writes.
    virtual DescriptionPieces Describe(const std::string &fullName, BackupTime version,
                                       uint32_t flags);

    // The snapshot of that time; null, with the reason, when the catalogue has none.
    const IndexedDump *SnapshotAt(BackupTime time, std::string &fault) const;
    // What a report below the context compares by, and names entries by: the tree's full names
    // from the base, live siblings asked of the directory only when `askLive`.
    ChangeContext ChangeContextOf(const DirectoryNames::Known &context, bool askLive);
    // The source of a report; null, with the reason, when it cannot be made.
    virtual std::unique_ptr<ChangeSource> ChangesOf(const DirectoryNames::Known &context,
                                                    const ChangeRequest &request,
                                                    std::string &fault);
    // The attributes of an entry a user compares (Compare shows them by the same rule).
    virtual std::vector<DescribedAttribute>
    UserAttributesOf(const LdapAttributes &attributes) const;

    LdapSettings settings_;
    Log log_;
    std::unordered_set<std::string> containerClasses_;
    DirectorySession session_;
    SnapshotCatalogue catalogue_;
    OperationalAttributes operational_;
    DirectoryNames names_;
    std::string baseName_;
    std::string baseDn_;
    RestoreReport restoreReport_;

  private:
    using Listing = std::pair<std::string, std::vector<ListedChild>>;
    struct FoundName {
        std::string fullName;
        bool container = false;
        bool present = false;
    };
    struct Search {
        std::string context;
        std::string pattern;
        uint32_t flags = 0;
        std::string dn;                // the context's
        std::size_t contextLevels = 0; // in its DN
        std::unique_ptr<DirectorySearch> run;
        std::unique_ptr<SiblingLabels> labels; // of the levels no listing has named
        std::deque<FoundName> ready;           // found and not handed out yet
        std::size_t handedOut = 0;
    };

    bool CheckSettings();
    bool OpenDirectory();
    // The children of the container; false, with the reason in listingFault_, when it cannot
    // be listed. `note` says when the server cut the listing short.
    bool ListInto(const std::string &fullName, std::vector<ListedChild> &children,
                  std::string &note);
    const std::vector<ListedChild> *CurrentListing(const std::string &fullName, bool fresh);
    // The tree's full name of an entry the tree may show; nothing when it was never listed.
    std::optional<std::string> FullNameOf(const std::string &dn) const;
    // The entry's full name as the tree names it, or (never listed) its typeless name.
    std::string TreeNameOf(const std::string &dn) const;
    void RecordWrites(const DirectoryRestore &restore, bool subtree);
    // The entries a restore of the object writes besides it, each described.
    // parentLive: the object's parent is known to be live.
    LdapStatus DescribeWritten(const std::string &fullName, const DirectoryNames::Known &object,
                               BackupTime version, bool subtree, bool parentLive,
                               std::vector<WrittenEntry> &entries);
    // Begins a search (search_); false, with the reason in `fault`, when it cannot be made.
    bool StartSearch(const std::string &context, const std::string &pattern, uint32_t flags,
                     std::string &fault);
    // Makes sure a match of search_ is ready, looking for more when none is; false when the
    // search has ended, with the reason in `fault` when it failed.
    bool NextFound(std::string &fault);

    std::string refusal_;           // why the last open or login was refused
    std::string configuredRefusal_; // why the configured bind failed when the server opened
    std::string listingNote_;
    std::string listingFault_; // why the listing being made failed
    // Listings in progress, by container; a few are kept since a listing may be abandoned.
    std::deque<Listing> listings_;
    // The description being handed out, and what it describes.
    DescriptionPieces description_;
    std::string describedName_;
    BackupTime describedVersion_ = 0;
    uint32_t describedFlags_ = 0;
    bool noticesTaken_ = false;
    std::optional<Search> search_; // the search being handed out
    OpenProgress opening_;
    // The report being handed out, and how it names the entries that changed.
    std::unique_ptr<ChangeFeed> changes_;
    std::unique_ptr<SiblingLabels> changeLabels_;
};
