// Object items: full names, listing children, versions and restore through the backup server.
#include "tree/ObjectItem.h"

#include <algorithm>
#include <array>
#include <vector>

#include "res/ResourceIds.h"
#include "restore/server/BackupServer.h"
#include "restore/server/RecordFields.h"
#include "restore/server/ServerReply.h"
#include "tree/NodeList.h"
#include "tree/TreeNode.h"
#include "tree/TreeWalker.h"

namespace
{
// Loaded together when the first object item is made, and kept for the program's life (a pixmap
// must not outlive the application object's teardown, so they are never destroyed).
const std::array<Bitmap, 6> &ObjectBitmaps()
{
    static const auto *bitmaps =
        new std::array<Bitmap, 6>{Bitmap(ResId(kBitmapConoDele)), Bitmap(ResId(kBitmapConoPres)),
                                  Bitmap(ResId(kBitmapObjDelet)), Bitmap(ResId(kBitmapObjPrese)),
                                  Bitmap(ResId(kBitmapConcDele)), Bitmap(ResId(kBitmapConcPres))};
    return *bitmaps;
}

// Shown with the name that does not fit; enough to recognise the object.
constexpr std::size_t NameShownInMessage = 40;
} // namespace

ObjectItem::ObjectItem(std::string name, uint16_t kind, BackupServer *server,
                       MW_SIGTERMClientList *registry)
    : DisplayItem(std::move(name), kind), MW_SIGTERMClient(registry), server_(server),
      registry_(registry)
{
    ObjectBitmaps();
}

ObjectItem::~ObjectItem() = default;

static_assert(sizeof(ObjectItem) <= 104, "a loaded row should stay small");

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

void ObjectItem::ChildDefaults(CheckState &state, bool &enabled) const
{
    const bool covered = GetCheckState() == Marked;
    state = covered ? Marked : Unmarked;
    enabled = !covered;
}

bool ObjectItem::HasMarkedDescendant() const
{
    return MarkedBelow() > 0;
}

ObjectItem::OpenResult ObjectItem::Open(std::string &failure)
{
    if (IsInformed()) {
        return OpenResult::Informed;
    }
    ChildRequest request{};
    if (!CopyToField(request.containerName, FullName())) {
        return OpenResult::NameTooLong;
    }
    CheckState state;
    bool enabled;
    ChildDefaults(state, enabled);

    // The children are collected and inserted together: one by one, sorted insertion into a
    // large container would move the list's tail for every child. (An item outside a tree lists
    // its children all the same, and lets them go.)
    NodeList outside;
    NodeList::Batch children(Node() != nullptr ? Node()->Children() : outside);
    filling_ = true;
    OpenResult result = OpenResult::Opened;
    for (;;) {
        ServerReply reply(*server_, ListChildren, sizeof request, &request);
        const ObjectRecord *record = reply.As<ObjectRecord>();
        if (record == nullptr || !server_->LastFailure().empty()) {
            failure = record == nullptr ? kNoReply : server_->LastFailure();
            result = OpenResult::Failed;
            break;
        }
        if (record->id == 0) {
            break;
        }
        // Termination news can only have come during the request: then no further request.
        if (IsInformed()) {
            result = OpenResult::Informed;
            break;
        }
        children.Add(MakeChild(*record, state, enabled));
        request.lastId = record->id;
    }
    filling_ = false;
    // Part of a listing would pass for the whole container: the batch goes unused.
    if (result != OpenResult::Opened) {
        return result;
    }
    if (Node() != nullptr) {
        Node()->Children().InsertSorted(std::move(children));
    }
    open_ = true;
    return OpenResult::Opened;
}

std::unique_ptr<ObjectItem> ObjectItem::MakeChild(const ObjectRecord &record, CheckState state,
                                                  bool enabled) const
{
    const bool leaf = record.kind == LeafObjectKind;
    auto child = std::make_unique<ObjectItem>(FieldText(record.name),
                                              leaf ? PlainKind : ContainerKind, server_, registry_);
    child->container_ = !leaf;
    child->present_ = record.state != DeletedState;
    child->SetEnabled(enabled);
    child->SetCheckState(state);
    return child;
}

void ObjectItem::Close()
{
    if (Node() != nullptr) {
        Node()->Children().Clear();
    }
    open_ = false;
}

void ObjectItem::FillVersions(NodeList &versions, const VersionFactory &makeRow)
{
    versions.Clear();
    HistoryRequest request{};
    if (!makeRow || IsInformed() || !CopyToField(request.objectName, FullName())) {
        return;
    }
    ServerReply reply(*server_, GetHistory, sizeof request, &request);
    const HistoryReply *history = reply.As<HistoryReply>();
    if (history == nullptr) {
        return;
    }
    // Only the times that the reply really holds, whatever its count says.
    const std::size_t held =
        (static_cast<std::size_t>(reply.Size()) - sizeof(HistoryReply)) / sizeof(BackupTime);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(history->count, 0)), held);
    std::vector<BackupTime> times(count);
    for (std::size_t i = 0; i < count; ++i) {
        times[i] = HistoryTime(*history, i);
    }
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
        message = kNotRestoredEnding;
        return EndingStatus;
    }
    RestoreRequest request{};
    const std::string name = FullName();
    if (!CopyToField(request.objectName, name)) {
        message = NameTooLongMessage(name);
        return NameTooLongStatus;
    }
    request.version = chosenVersion_;
    request.flags = GetCheckState() == Marked ? RestoreWithSubtree : 0;
    ServerReply reply(*server_, RestoreObject, sizeof request, &request);
    const RestoreReply *restored = reply.As<RestoreReply>();
    if (restored == nullptr) {
        message = kNoReply;
        return NoReplyStatus;
    }
    if (restored->status != 0) {
        message = FieldText(restored->message);
    }
    if (const RestoreReport *report = server_->LastRestoreReport()) {
        written = *report;
    }
    return restored->status;
}

ResId ObjectItem::BitmapId() const
{
    if (!container_) {
        return ResId(present_ ? kBitmapObjPrese : kBitmapObjDelet);
    }
    if (open_) {
        return ResId(present_ ? kBitmapConoPres : kBitmapConoDele);
    }
    return ResId(present_ ? kBitmapConcPres : kBitmapConcDele);
}

const Bitmap &ObjectItem::GetBitmap() const
{
    return ObjectBitmaps()[BitmapId().Id() - kBitmapConoDele];
}

void ObjectItem::SetCheckState(CheckState state)
{
    DisplayItem::SetCheckState(state);
    if (state == Marked) {
        chosenVersion_ = 0;
    }
}

void ObjectItem::M_SIGTERM()
{
    // Nothing to wait for: the termination news is delivered on the program's own thread, so an
    // open in progress is not running at the same time; if the news came from inside its server
    // request, that open sees the informed flag before its next request and ends its listing.
}

int ObjectItem::CompareNames(const DisplayItem &newItem, const DisplayItem &existing)
{
    return newItem.StoredText().compare(existing.StoredText());
}

std::string ObjectItem::NameTooLongMessage(const std::string &fullName)
{
    std::size_t shown = std::min(fullName.size(), NameShownInMessage);
    // Never end in the middle of a UTF-8 sequence.
    while (shown < fullName.size() && shown > 0 &&
           (static_cast<unsigned char>(fullName[shown]) & 0xC0) == 0x80) {
        --shown;
    }
    return "Name too long for the backup server: " + fullName.substr(0, shown) +
           (shown < fullName.size() ? "..." : "");
}
