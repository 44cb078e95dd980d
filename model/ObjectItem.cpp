// Object items: full names, listing children, versions and restore through the backup server.
#include "model/ObjectItem.h"

#include <algorithm>
#include <vector>

#include "model/FullNameSyntax.h"
#include "model/NodeList.h"
#include "model/TreeNode.h"
#include "model/TreeWalker.h"
#include "server/ServerClient.h"

ObjectItem::ObjectItem(std::string name, uint16_t kind, ServerClient *client,
                       MW_SIGTERMClientList *registry)
    : DisplayItem(std::move(name), kind), MW_SIGTERMClient(registry), client_(client),
      registry_(registry), container_(kind == ContainerKind)
{
}

ObjectItem::~ObjectItem() = default;

static_assert(sizeof(ObjectItem) <= 104, "a loaded row should stay small");

DescribedObject ObjectItem::Describe(BackupTime version) const
{
    if (IsInformed() || client_ == nullptr) {
        DescribedObject stopped;
        stopped.end = RequestEnd::Stopped;
        return stopped;
    }
    return client_->Describe(FullName(), version, [this] { return IsInformed(); });
}

bool ObjectItem::CanDescribe() const
{
    return client_ != nullptr && client_->CanDescribe();
}

std::string ObjectItem::FullName() const
{
    std::string name = StoredText();
    for (const TreeNode *level = Node() != nullptr ? Node()->Parent() : nullptr; level != nullptr;
         level = level->Parent()) {
        name += '.';
        name += level->Item()->StoredText();
    }
    return name;
}

std::string ObjectItem::Text() const
{
    const bool level = Node() != nullptr && Node()->Parent() != nullptr;
    return level ? FullNameSyntax::Unescaped(StoredText()) : StoredText();
}

void ObjectItem::SetPresent()
{
    if (!present_) {
        present_ = true;
        TellLooksChanged(); // drawn present
    }
}

ObjectItem::OpenResult ObjectItem::Open()
{
    std::string failure;
    return Open(failure);
}

ObjectItem::OpenResult ObjectItem::Open(std::string &failure)
{
    std::string note;
    return Open(failure, note);
}

ObjectItem::OpenResult ObjectItem::Open(std::string &failure, std::string &note)
{
    if (IsInformed()) {
        return OpenResult::Informed;
    }
    // Termination news can only come during a request: the listing then ends before the next.
    return ApplyListing(client_->ListChildren(FullName(), [this] { return IsInformed(); }), failure,
                        note);
}

ObjectItem::OpenResult ObjectItem::ApplyListing(ChildListing listing, std::string &failure,
                                                std::string &note,
                                                const std::function<void()> &between)
{
    switch (listing.end) {
    case RequestEnd::NameTooLong:
        return OpenResult::NameTooLong;
    case RequestEnd::Stopped:
        return OpenResult::Informed; // part of a listing would pass for the whole container
    case RequestEnd::NoReply:
    case RequestEnd::Failed:
    case RequestEnd::NotOffered:
        failure = std::move(listing.failure);
        return OpenResult::Failed;
    case RequestEnd::Answered:
        break;
    }
    note = std::move(listing.note);
    // The children are inserted together: one by one, sorted insertion into a large container
    // would move the list's tail for every child. (An item outside a tree lets them go.)
    if (Node() != nullptr) {
        NodeList::Batch children(Node()->Children());
        std::size_t made = 0;
        for (ListedObject &listed : listing.children) {
            children.Add(MakeChild(listed));
            if (between && ++made % kChildrenPerSlice == 0) {
                between();
            }
        }
        Node()->Children().InsertSorted(std::move(children));
    }
    open_ = true;
    TellLooksChanged(); // drawn open
    return OpenResult::Opened;
}

std::unique_ptr<ObjectItem> ObjectItem::MakeChild(ListedObject &listed) const
{
    auto child = std::make_unique<ObjectItem>(
        std::move(listed.name), listed.container ? ContainerKind : PlainKind, client_, registry_);
    child->present_ = listed.present;
    return child;
}

void ObjectItem::Close()
{
    if (Node() != nullptr) {
        Node()->Children().Clear();
    }
    open_ = false;
    TellLooksChanged(); // drawn closed
}

std::string ObjectItem::FillVersions(NodeList &versions, const VersionFactory &makeRow)
{
    versions.Clear();
    if (!makeRow || IsInformed()) {
        return {};
    }
    return ShowVersions(versions, makeRow, client_->GetHistory(FullName()));
}

std::string ObjectItem::ShowVersions(NodeList &versions, const VersionFactory &makeRow,
                                     ObjectHistory history)
{
    versions.Clear();
    if (!makeRow) {
        return {};
    }
    if (history.end == RequestEnd::NameTooLong) {
        return kNameTooLongForHistory;
    }
    if (history.end == RequestEnd::NoReply) {
        return ServerClient::kNoReply;
    }
    std::vector<BackupTime> times = std::move(history.times);
    std::sort(times.begin(), times.end(), std::greater<>());
    // The history view counts its rows in 16 bits: the newest versions up to that limit are
    // listed, rather than a count that wraps around.
    if (times.size() > MaxVersionRows) {
        times.resize(MaxVersionRows);
    }
    for (BackupTime time : times) {
        std::unique_ptr<DisplayItem> row = makeRow(*this, time);
        if (row == nullptr) {
            continue;
        }
        if (chosenVersion_ != 0 && time == chosenVersion_) {
            row->SetCheckState(Marked);
        }
        versions.AppendItem(std::move(row));
    }
    return {};
}

int32_t ObjectItem::Restore(std::string &message)
{
    std::optional<RestoreReport> unused;
    return Restore(message, unused);
}

int32_t ObjectItem::Restore(std::string &message, std::optional<RestoreReport> &written)
{
    written.reset();
    if (IsInformed()) {
        message = kNotRestoredEnding; // never reported as restored
        return EndingStatus;
    }
    return TakeOutcome(client_->Restore(FullName(), chosenVersion_, GetCheckState() == Marked),
                       message, written);
}

int32_t ObjectItem::TakeOutcome(RestoreOutcome outcome, std::string &message,
                                std::optional<RestoreReport> &written)
{
    written.reset();
    if (outcome.status != 0) {
        message = std::move(outcome.message);
    }
    written = std::move(outcome.written);
    return outcome.status;
}

void ObjectItem::M_SIGTERM()
{
    // Nothing to wait for: the termination news is delivered on the program's own thread, so an
    // open in progress is not running at the same time; if the news came from inside its server
    // request, that open sees the informed flag before its next request and ends its listing.
}
