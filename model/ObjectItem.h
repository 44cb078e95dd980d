// One directory object in the tree: a container or a leaf, present or deleted. It asks the backup
// server (through the client) for its children, its versions and its restore, and stops asking
// once it has been told that the process is terminating.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/DisplayItem.h"
#include "model/RowPool.h"
#include "mwlib/MW_SIGTERMClient.h"
#include "server/RestoreReport.h"
#include "server/ServerClient.h"
#include "server/ServerRecords.h"

class MW_SIGTERMClientList;
class NodeList;

class ObjectItem : public DisplayItem, public MW_SIGTERMClient, public PooledAllocation<ObjectItem>
{
  public:
    enum class OpenResult {
        Opened,
        Informed,    // termination was signalled: nothing (more) asked, still closed
        NameTooLong, // the full name does not fit the request: nothing asked, still closed
        Failed,      // the server could not list the children: still closed, reason given
    };

    // Makes one row of the history view for a version of owner. A row that goes on referring to
    // its owner keeps a NodeRef to the owner's node, so the owner outlives a close.
    using VersionFactory =
        std::function<std::unique_ptr<DisplayItem>(ObjectItem &owner, BackupTime time)>;

    // The status of a restore not asked for because the program is ending.
    static constexpr int32_t EndingStatus = -3;
    static constexpr const char *kNotRestoredEnding = "Not restored: the program is ending.";
    static constexpr std::size_t MaxVersionRows = 65535;
    static constexpr const char *kNameTooLongForHistory =
        "Name too long for the backup server: no versions can be asked for.";

    // kind: ContainerKind for a container, PlainKind for a leaf. Registers with the registry
    // (which may be null).
    ObjectItem(std::string name, uint16_t kind, ServerClient *client,
               MW_SIGTERMClientList *registry);
    ~ObjectItem() override;

    bool IsContainer() const { return container_; }
    bool IsOpen() const { return open_; }
    bool IsPresent() const { return present_; }
    // A restore put the object back into the directory.
    void SetPresent();
    bool IsInformed() const { return Informed() != 0; }
    BackupTime ChosenVersion() const { return chosenVersion_; }
    void SetChosenVersion(BackupTime version) { chosenVersion_ = version; }

    // Own name, then "." and the parent's full name, up to the top context.
    std::string FullName() const;
    // Lists the children on the server and inserts them sorted by name, unmarked (a Marked
    // container covers them all the same). A listing that does not run to its end (the server
    // failed, or termination was signalled on the way) inserts nothing and leaves the container
    // closed, so that the next open asks again; on Failed, `failure` holds the server's reason.
    // `note` receives what the server says of a listing it cut short (empty when whole).
    OpenResult Open(std::string &failure, std::string &note);
    OpenResult Open(std::string &failure);
    OpenResult Open();
    // The second half of Open, for a listing asked for elsewhere (on the server worker): the
    // children inserted, or the container left closed, as Open does.
    // `between` (if any) is called after every kChildrenPerSlice children made, so that a
    // window can go on with its events while a large listing is made into rows; the tree is
    // changed only at the end, all at once.
    OpenResult ApplyListing(ChildListing listing, std::string &failure, std::string &note,
                            const std::function<void()> &between = {});
    static constexpr std::size_t kChildrenPerSlice = 8192;
    // Detaches the children; those that nothing refers to are reclaimed.
    void Close();
    // Empties the list and fills it with one row per version, newest first; the row of the chosen
    // version is ticked. Informed items, and items whose name is too long, get no rows. Returns
    // why the server could not be asked, or gave no answer; empty when it answered.
    std::string FillVersions(NodeList &versions, const VersionFactory &makeRow);
    // The second half of FillVersions, for a history asked for elsewhere.
    std::string ShowVersions(NodeList &versions, const VersionFactory &makeRow,
                             ObjectHistory history);
    // Restores this object at its chosen version (with its subtree when Marked). Returns the
    // server's status; when it is not 0, message says why. An informed item sends nothing and
    // fails with EndingStatus: an object that was not restored is never reported as restored.
    // `written` receives what the server says the restore wrote; nothing when the server does
    // not say, or was not asked.
    int32_t Restore(std::string &message, std::optional<RestoreReport> &written);
    int32_t Restore(std::string &message);
    // The second half of Restore, for an outcome asked for elsewhere.
    static int32_t TakeOutcome(RestoreOutcome outcome, std::string &message,
                               std::optional<RestoreReport> &written);
    // The object's attributes at the version (0: the most recent) beside its live ones; asks for
    // nothing once termination was signalled (Stopped). Changes nothing on the server.
    DescribedObject Describe(BackupTime version) const;
    // The server can describe objects.
    bool CanDescribe() const;

    // A row shows the object's name as the directory holds it, without the escapes of a full
    // name; the top context's row shows the full name it was rooted at.
    std::string Text() const override;
    bool IsExpandable() const override { return container_; }
    bool IsExpanded() const override { return open_; }
    std::string Description() const override { return present_ ? "" : "deleted"; }
    std::string ToolTip() const override { return present_ ? "present" : "deleted"; }
    void M_SIGTERM() override;

  private:
    std::unique_ptr<ObjectItem> MakeChild(ListedObject &listed) const;

    ServerClient *client_;
    MW_SIGTERMClientList *registry_;
    bool container_;
    bool open_ = false;
    bool present_ = true;
    BackupTime chosenVersion_ = 0;
};
