// The fixed-layout request and reply records exchanged with a backup server.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "the server records are plain little-endian layouts");

// Seconds since 1970-01-01 00:00 UTC. As a chosen version, 0 means the most recent one.
using BackupTime = uint32_t;

enum RequestType : int32_t {
    ListChildren = 0,
    GetHistory = 1,
    RestoreObject = 2,
    SearchObjects = 3,
    DescribeObject = 4,
    ListChanges = 5,
    GetBackupTimes = 6,
};

// Every name and message field of the records: 255 characters and the terminating NUL.
inline constexpr std::size_t NameFieldSize = 256;

// One ListChildren request; the caller zero-fills it first.
struct ChildRequest {
    char containerName[NameFieldSize]; // full name, NUL-terminated
    int32_t lastId;                    // 0 on the first request, then the id received last
    int32_t reserved1;
    int32_t reserved2;
};

// One child of a listing. An id of 0 ends the listing and leaves the other fields unset.
struct ObjectRecord {
    int32_t id;
    char name[NameFieldSize]; // the child's own name
    uint8_t kind;             // 1 = leaf object, anything else a container
    uint8_t state;            // 0 = deleted, anything else present
    uint8_t unused[2];        // never written
};

inline constexpr uint8_t LeafObjectKind = 1;
inline constexpr uint8_t ContainerObjectKind = 2;
inline constexpr uint8_t DeletedState = 0;

struct HistoryRequest {
    char objectName[NameFieldSize];
};

// A 32-bit count followed by count backup times in no particular order. The times are read
// with HistoryTime, since the record has no fixed length.
struct HistoryReply {
    int32_t count;
};

inline constexpr std::size_t HistoryReplySize(std::size_t count)
{
    return sizeof(HistoryReply) + count * sizeof(BackupTime);
}

// The restore of one object; the caller zero-fills it first.
struct RestoreRequest {
    char objectName[NameFieldSize];
    BackupTime version; // 0 = most recent
    uint32_t flags;     // RestoreWithSubtree or 0
};

inline constexpr uint32_t RestoreWithSubtree = 1;

struct RestoreReply {
    int32_t status;              // 0 = restored
    char message[NameFieldSize]; // why the restore failed; empty on success
};

// One SearchObjects request: the objects below a context whose own name matches a pattern,
// present or deleted, one per reply. The caller zero-fills it first.
struct SearchRequest {
    char contextName[NameFieldSize]; // full name of the context whose subtree is searched
    char pattern[NameFieldSize];     // as the user typed it: `*` and `?` are wildcards
    int32_t lastId;                  // 0 on the first request, then the id received last
    uint32_t flags;                  // SearchDeletedOnly, SearchProbe, or 0
};

// Only deleted objects are wanted.
inline constexpr uint32_t SearchDeletedOnly = 1;
// Only whether the server can search is asked: the end record comes at once.
inline constexpr uint32_t SearchProbe = 2;

// One object a search found. An id of 0 ends the results; its status then says whether the
// search was made, and the other fields are not set.
struct SearchMatch {
    int32_t id;
    int32_t status;               // on the end record: 0, or SearchUnsupported
    char fullName[NameFieldSize]; // the object's full name, own name first
    uint8_t kind;                 // as in ObjectRecord
    uint8_t state;                // as in ObjectRecord
    uint8_t unused[2];            // never written
};

// The server cannot search the objects it holds.
inline constexpr int32_t SearchUnsupported = 1;
// What an object holds at a version and what its live entry holds; the caller zero-fills it
// first. Asked record by record as a listing is: lastId names the record received last.
struct DescribeRequest {
    char objectName[NameFieldSize];
    BackupTime version; // 0 = most recent
    int32_t lastId;     // 0 on the first request
    uint32_t flags;     // DescribeWrites, DescribeWithSubtree, or 0: the object alone
};

// Every other entry a restore of the object writes is described too (its missing parents).
inline constexpr uint32_t DescribeWrites = 1;
// With DescribeWrites: the restore is one of the object with its subtree.
inline constexpr uint32_t DescribeWithSubtree = 2;

// The bytes of one value a record carries at most; a longer value continues in the next records.
inline constexpr std::size_t ValuePieceSize = 1024;

// One piece of one value of one attribute, on one side. The record whose id is 0 ends the
// description: its status says whether the object could be described (its text, when not, in
// value) and its presence bits what exists; its other fields are not set.
// Asked with DescribeWrites, the object's own attributes come first; then each other entry the
// restore writes begins with a record of EntrySide (its full name in value, what exists of it in
// presence), followed by its own attributes. A record of NoteSide says, of the entry it follows
// (or of the object), what its restore would not bring back.
struct AttributeRecord {
    int32_t id;       // 1-based within the description; 0 = end
    int32_t status;   // end record: 0 = described
    uint8_t side;     // BackupSide or LiveSide
    uint8_t flags;    // ValueContinues: the next record carries more of the same value
    uint8_t presence; // end record: BackupHolds, LiveHolds, ParentMissing, ParentAddable
    uint8_t reserved;
    char attribute[NameFieldSize]; // its description, NUL-terminated
    uint32_t length;               // bytes of value used
    char value[ValuePieceSize];    // raw bytes, binary ones included
};

inline constexpr uint8_t BackupSide = 1;
inline constexpr uint8_t LiveSide = 2;
inline constexpr uint8_t EntrySide = 3;
inline constexpr uint8_t NoteSide = 4;
inline constexpr uint8_t ValueContinues = 1;
inline constexpr uint8_t BackupHolds = 1;    // the version asked for holds the object
inline constexpr uint8_t LiveHolds = 2;      // the object is in the live directory
inline constexpr uint8_t ParentMissing = 4;  // its parent is not in the live directory
inline constexpr uint8_t ParentAddable = 8;  // a restore would put the missing parents back first
inline constexpr uint8_t AddedAsParent = 16; // an entry: a missing parent, put back before it
// The status of an end record from a server that cannot describe objects.
inline constexpr int32_t DescribeNotOffered = -100;

// One ListChanges request: what changed below a context between two backups, or between a
// backup and the live directory, one changed object (or a sign of progress) per reply. The caller
// zero-fills it first. GetBackupTimes takes a zero-filled HistoryRequest and answers with a
// HistoryReply of every backup's time that a report can start or end at.
struct ChangeRequest {
    char contextName[NameFieldSize]; // full name of the container whose subtree is compared
    BackupTime from;                 // the earlier backup's time
    BackupTime to;                   // the later backup's time; not read with ChangesToLive
    int32_t lastId;                  // 0 on the first request, then the id received last
    uint32_t flags;                  // ChangesToLive, ChangesProbe, or 0
};

// The later point is the live directory.
inline constexpr uint32_t ChangesToLive = 1;
// Only whether the server can report changes is asked: the end record comes at once.
inline constexpr uint32_t ChangesProbe = 2;

// What happened to an object. NoChange marks a record that only tells how far the report is.
inline constexpr uint8_t NoChange = 0;
inline constexpr uint8_t ObjectDeleted = 1;  // held at the earlier point, not at the later
inline constexpr uint8_t ObjectAdded = 2;    // held at the later point, not at the earlier
inline constexpr uint8_t ObjectModified = 3; // user attributes differ
inline constexpr uint8_t ObjectMoved = 4;    // the same object under another name or parent

// The next record carries more attribute names of the same object (its other fields repeated).
inline constexpr uint8_t MoreAttributes = 1;
// Moved: at the later point no object holds the name the object had.
inline constexpr uint8_t OldNameFree = 2;

// One changed object of a report, or a sign of progress. An id of 0 ends the report: its status
// says whether the report was made, and only its counts are set besides.
struct ChangeRecord {
    int32_t id;
    int32_t status; // on the end record: 0, or ChangesUnsupported
    uint8_t change; // NoChange, ObjectDeleted, ObjectAdded, ObjectModified, ObjectMoved
    uint8_t kind;   // as in ObjectRecord
    uint8_t flags;  // MoreAttributes, OldNameFree
    uint8_t reserved;
    BackupTime deletedAt;               // deleted: when, where the server knows it; 0 otherwise
    uint32_t examined;                  // objects looked at so far
    uint32_t total;                     // objects to look at, 0 when not known
    char fullName[NameFieldSize];       // the object's full name (a deleted one's as it was)
    char oldName[NameFieldSize];        // moved: its full name at the earlier point
    char attributes[NameFieldSize * 2]; // names of the differing attributes, a blank between
};

// The server cannot report changes.
inline constexpr int32_t ChangesUnsupported = 1;

// The user the program acts as and that user's context, each NUL-terminated within its field.
inline constexpr std::size_t LoginFieldSize = 128;

struct LoginRecord {
    char userName[LoginFieldSize];
    char context[LoginFieldSize];
};

static_assert(sizeof(ChildRequest) == 268);
static_assert(offsetof(ChildRequest, containerName) == 0);
static_assert(offsetof(ChildRequest, lastId) == 256);
static_assert(offsetof(ChildRequest, reserved1) == 260);
static_assert(offsetof(ChildRequest, reserved2) == 264);

static_assert(sizeof(ObjectRecord) == 264);
static_assert(offsetof(ObjectRecord, id) == 0);
static_assert(offsetof(ObjectRecord, name) == 4);
static_assert(offsetof(ObjectRecord, kind) == 260);
static_assert(offsetof(ObjectRecord, state) == 261);

static_assert(sizeof(HistoryRequest) == 256);
static_assert(sizeof(HistoryReply) == 4);
static_assert(HistoryReplySize(3) == 16);

static_assert(sizeof(RestoreRequest) == 264);
static_assert(offsetof(RestoreRequest, objectName) == 0);
static_assert(offsetof(RestoreRequest, version) == 256);
static_assert(offsetof(RestoreRequest, flags) == 260);

static_assert(sizeof(RestoreReply) == 260);
static_assert(offsetof(RestoreReply, status) == 0);
static_assert(offsetof(RestoreReply, message) == 4);

static_assert(sizeof(SearchRequest) == 520);
static_assert(offsetof(SearchRequest, contextName) == 0);
static_assert(offsetof(SearchRequest, pattern) == 256);
static_assert(offsetof(SearchRequest, lastId) == 512);
static_assert(offsetof(SearchRequest, flags) == 516);

static_assert(sizeof(SearchMatch) == 268);
static_assert(offsetof(SearchMatch, id) == 0);
static_assert(offsetof(SearchMatch, status) == 4);
static_assert(offsetof(SearchMatch, fullName) == 8);
static_assert(offsetof(SearchMatch, kind) == 264);
static_assert(offsetof(SearchMatch, state) == 265);
static_assert(sizeof(DescribeRequest) == 268);
static_assert(offsetof(DescribeRequest, version) == 256);
static_assert(offsetof(DescribeRequest, lastId) == 260);
static_assert(offsetof(DescribeRequest, flags) == 264);

static_assert(sizeof(AttributeRecord) == 1296);
static_assert(offsetof(AttributeRecord, id) == 0);
static_assert(offsetof(AttributeRecord, status) == 4);
static_assert(offsetof(AttributeRecord, side) == 8);
static_assert(offsetof(AttributeRecord, flags) == 9);
static_assert(offsetof(AttributeRecord, presence) == 10);
static_assert(offsetof(AttributeRecord, attribute) == 12);
static_assert(offsetof(AttributeRecord, length) == 268);
static_assert(offsetof(AttributeRecord, value) == 272);

static_assert(sizeof(ChangeRequest) == 272);
static_assert(offsetof(ChangeRequest, from) == 256);
static_assert(offsetof(ChangeRequest, to) == 260);
static_assert(offsetof(ChangeRequest, lastId) == 264);
static_assert(offsetof(ChangeRequest, flags) == 268);

static_assert(sizeof(ChangeRecord) == 1048);
static_assert(offsetof(ChangeRecord, status) == 4);
static_assert(offsetof(ChangeRecord, change) == 8);
static_assert(offsetof(ChangeRecord, kind) == 9);
static_assert(offsetof(ChangeRecord, flags) == 10);
static_assert(offsetof(ChangeRecord, deletedAt) == 12);
static_assert(offsetof(ChangeRecord, examined) == 16);
static_assert(offsetof(ChangeRecord, total) == 20);
static_assert(offsetof(ChangeRecord, fullName) == 24);
static_assert(offsetof(ChangeRecord, oldName) == 280);
static_assert(offsetof(ChangeRecord, attributes) == 536);

static_assert(sizeof(LoginRecord) == 256);
static_assert(offsetof(LoginRecord, context) == 128);
