// Takes a dump that is gone from the folder out of the histories: the versions that no other
// indexed dump holds go (with their names when nothing else is left of them); the others only
// lose a dump from their span. Not for the newest dump, whose entries the next one is compared
// with.
#pragma once

#include <cstdint>

class SqliteDatabase;

class DumpRemoval
{
  public:
    // before, after: the indexed dumps on either side of it in time (before 0: none).
    static void Remove(SqliteDatabase &db, int64_t seq, int64_t before, int64_t after);
};
