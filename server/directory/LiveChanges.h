// What changed in the live directory since a snapshot: the snapshot's entries come from the
// catalogue's index, then one paged subtree search of the live directory below the context is
// set against them as its pages come. A live entry the snapshot holds under its name (as the same
// object) is compared, one it holds under another name is moved, any other is added; an entry of
// the snapshot the live directory does not hold is deleted, unless (for a context below the
// base) it lives on elsewhere in the directory.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "server/ChangeSource.h"
#include "server/directory/ChangeContext.h"
#include "server/directory/DirectorySession.h"
#include "server/directory/SnapshotHoldings.h"

class LiveChanges : public ChangeSource
{
  public:
    // Entries asked for in the first page: the first changes come at once.
    static constexpr int kFirstPage = 100;
    // Identities asked of the directory at a time when looking for entries moved out.
    static constexpr std::size_t kIdentitiesAsked = 50;

    struct Where {
        std::string contextDn;
        std::string baseDn;
        int64_t seq = 0;             // the snapshot's
        bool wholeDirectory = false; // the context is the base: nothing moves out of it
    };

    // The session, the catalogue and the container classes must outlive the source.
    LiveChanges(DirectorySession &session, const SnapshotCatalogue &catalogue,
                ChangeContext context, Where where,
                const std::unordered_set<std::string> &containerClasses);

    bool Next(std::vector<ObjectChange> &found, std::string &fault) override;
    bool Done() const override { return phase_ == Phase::Done; }
    uint32_t Examined() const override;
    uint32_t Total() const override;

    // An identity as the index keeps it, in the form the directory gives entryUUID in.
    static std::string UuidText(std::string_view bytes);

  private:
    enum class Phase { Snapshot, Live, Elsewhere, Done };
    struct Move {
        SnapshotHoldings::Held *from;
        std::string dn; // where it is now
        bool container = false;
        std::vector<std::string> attributes;
    };

    bool NextPage(std::vector<ObjectChange> &found, std::string &fault);
    LdapStatus AskPage(std::vector<ObjectChange> &found, std::string &fault);
    void TakeLive(const LdapEntry &entry, std::vector<ObjectChange> &found, std::string &fault);
    bool Compare(const SnapshotHoldings::Held &held, const LdapEntry &entry,
                 std::vector<std::string> &names, std::string &fault) const;
    bool NextElsewhere(std::string &fault);
    void Finish(std::vector<ObjectChange> &found);
    bool OldNameFree(const SnapshotHoldings::Held &held);
    bool IsContainer(const LdapEntry &entry, const std::string &canonical) const;

    DirectorySession &session_;
    const SnapshotCatalogue &catalogue_;
    ChangeContext context_;
    const Where where_;
    const std::unordered_set<std::string> &containerClasses_;
    SnapshotHoldings holdings_;
    Phase phase_ = Phase::Snapshot;
    std::string cookie_;
    int pagesTaken_ = 0;
    bool newSinceStart_ = false;
    std::unordered_set<std::string> seen_; // live entries taken, by canonical name
    std::vector<Move> moves_;
    std::vector<SnapshotHoldings::Held *> unseen_; // looked for elsewhere
    std::size_t askedElsewhere_ = 0;
};
