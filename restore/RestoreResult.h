// The outcome of one object of a restore run, as the result list keeps it, and the line of the
// result dialog that shows it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "server/ServerRecords.h"

struct RestoreResult {
    char name[NameFieldSize];    // the object's full name, NUL-terminated
    int32_t status;              // the restore reply's status: 0 = restored
    char message[NameFieldSize]; // on failure the server's message; all zero on success
    // On success, what else the run did with the object ("added as the parent of ...", what a
    // subtree's restore added and changed); all zero otherwise.
    char note[NameFieldSize];
};

// A zero-filled result for the object. The message is kept only on failure, the note only on
// success. A text longer than its field keeps its start and ends in "..." within the field, so
// that the line shows it was cut.
RestoreResult MakeRestoreResult(std::string_view name, int32_t status, std::string_view message,
                                std::string_view note = {});

// The name alone when the object was restored (followed by " - " and the note when there is
// one), else "<name> - failed on Object '<message>'". The fields are read only within their
// bounds.
std::string RestoreResultLine(const RestoreResult &result);

// The notes of a restore's lines: a parent added on the way to an object, and what the restore
// of a subtree added and changed.
std::string ParentAddedNote(std::string_view childName);
std::string SubtreeNote(uint64_t added, uint64_t changed);
