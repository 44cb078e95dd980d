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

static_assert(sizeof(LoginRecord) == 256);
static_assert(offsetof(LoginRecord, context) == 128);
