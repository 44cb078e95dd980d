// The index's questions about versions by the dumps they span and by identity, as the change
// report asks them: which entries differ between two dumps (found from the versions that begin or
// end between them, so unchanged entries are never read), every entry a dump holds below a name,
// and which entry a dump holds with an identity. Errors are thrown as IndexError.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/IndexedEntries.h"

class SqliteDatabase;
class SqliteStatement;

class VersionQueries
{
  public:
    // Whether a set of object classes (by its id) holds a container class.
    using ContainerTest = std::function<bool(int64_t classes)>;

    VersionQueries(SqliteDatabase &db, ContainerTest isContainer);
    ~VersionQueries();

    // The entries at or below `under` (canonical; empty: every entry) whose version in `from`
    // differs from their version in `to`, each once, in the order they came into the index; false
    // when `take` said to stop.
    bool Changes(const IndexedDump &from, const IndexedDump &to, const std::string &under,
                 const std::function<bool(const EntryChange &)> &take);
    // Every entry the dump holds at or below `under`, each parent before its children; false when
    // `take` said to stop.
    bool Entries(const IndexedDump &dump, const std::string &under,
                 const std::function<bool(const HeldVersion &)> &take);
    // The entries the dump holds with that identity (entryUUID or objectGUID, 16 bytes).
    std::vector<HeldVersion> WithIdentity(std::string_view identity, const IndexedDump &dump);

  private:
    // The row a held-version statement gives, read as the dump holds it.
    HeldVersion Held(const SqliteStatement &row, const IndexedDump &dump) const;
    bool EntriesBelow(const IndexedDump &dump, const std::string &parent, std::size_t depth,
                      const std::function<bool(const HeldVersion &)> &take);

    SqliteDatabase &db_;
    ContainerTest isContainer_;
    // One children's statement per level of the walk, each busy while the levels below it run.
    std::vector<std::unique_ptr<SqliteStatement>> levels_;
};
