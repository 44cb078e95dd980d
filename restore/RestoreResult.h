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
};

// A zero-filled result for the object. The message is kept only on failure. A text longer than
// its field keeps its start and ends in "..." within the field, so that the line shows it was cut.
RestoreResult MakeRestoreResult(std::string_view name, int32_t status, std::string_view message);

// The name alone when the object was restored, else
// "<name> - failed on Object '<message>'". Both fields are read only within their bounds.
std::string RestoreResultLine(const RestoreResult &result);
