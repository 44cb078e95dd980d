// Making and checking the tables of an index.
#include "catalogue/IndexSchema.h"

#include <sqlite3.h>

#include "catalogue/SqliteDatabase.h"
#include "catalogue/SqliteStatement.h"

namespace
{
constexpr const char *kApplication = "TARVIK catalogue index";

const char *const kTables = R"(
CREATE TABLE meta(name TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE dumps(seq INTEGER PRIMARY KEY, file TEXT NOT NULL UNIQUE, time INTEGER NOT NULL,
    size INTEGER NOT NULL, modified INTEGER NOT NULL, head INTEGER NOT NULL,
    entries INTEGER NOT NULL, fault TEXT);
CREATE TABLE names(id INTEGER PRIMARY KEY, key INTEGER NOT NULL, parent INTEGER NOT NULL,
    canonical TEXT NOT NULL, dn TEXT NOT NULL, own TEXT NOT NULL);
CREATE INDEX names_key ON names(key);
CREATE INDEX names_parent ON names(parent);
CREATE TABLE versions(id INTEGER PRIMARY KEY, name INTEGER NOT NULL, first INTEGER NOT NULL,
    last INTEGER, fingerprint INTEGER NOT NULL, identity BLOB, classes INTEGER NOT NULL,
    block INTEGER NOT NULL, at INTEGER NOT NULL, length INTEGER NOT NULL);
CREATE INDEX versions_name ON versions(name);
CREATE INDEX versions_first ON versions(first);
CREATE INDEX versions_last ON versions(last) WHERE last IS NOT NULL;
CREATE INDEX versions_identity ON versions(identity) WHERE identity IS NOT NULL;
CREATE TABLE classes(id INTEGER PRIMARY KEY, names TEXT NOT NULL UNIQUE);
CREATE TABLE blocks(id INTEGER PRIMARY KEY, data BLOB NOT NULL, live INTEGER NOT NULL);
CREATE TABLE newest(key INTEGER PRIMARY KEY, spelling INTEGER NOT NULL, version INTEGER NOT NULL,
    name INTEGER NOT NULL, fingerprint INTEGER NOT NULL);
CREATE TABLE naming(type TEXT PRIMARY KEY) WITHOUT ROWID;
)";

std::string Value(SqliteDatabase &db, const char *name)
{
    SqliteStatement read(db, "SELECT value FROM meta WHERE name = ?");
    read.Bind(1, std::string_view(name));
    std::string value = read.Step() ? std::string(read.Text(0)) : std::string();
    read.Reset();
    return value;
}

void Put(SqliteDatabase &db, const char *name, const std::string &value)
{
    SqliteStatement put(db, "INSERT OR REPLACE INTO meta(name, value) VALUES(?, ?)");
    put.Bind(1, std::string_view(name)).Bind(2, value).Run();
}
} // namespace

bool IndexSchema::Prepare(SqliteDatabase &db, const std::string &catalogue)
{
    sqlite3_busy_timeout(db.Handle(), 2000);
    // Another program writing to the index keeps it as it is (in WAL mode since it was made).
    db.TryExecute("PRAGMA journal_mode = WAL");
    db.Execute("PRAGMA synchronous = NORMAL; PRAGMA cache_size = -32768; "
               "PRAGMA temp_store = MEMORY");
    SqliteStatement tables(db, "SELECT count(*) FROM sqlite_master");
    const bool empty = tables.Step() && tables.Int(0) == 0;
    tables.Reset();
    if (empty) {
        db.Execute("BEGIN IMMEDIATE");
        db.Execute(kTables);
        Put(db, "application", kApplication);
        Put(db, "schema", std::to_string(kVersion));
        Put(db, "catalogue", catalogue);
        Put(db, "next", "1");
        db.Execute("COMMIT");
        return true;
    }
    SqliteStatement meta(db, "SELECT count(*) FROM sqlite_master WHERE name = 'meta'");
    const bool hasMeta = meta.Step() && meta.Int(0) == 1;
    meta.Reset();
    return hasMeta && Value(db, "application") == kApplication &&
           Value(db, "schema") == std::to_string(kVersion) && Value(db, "catalogue") == catalogue;
}

void IndexSchema::Clear(SqliteDatabase &db)
{
    db.Execute("DELETE FROM dumps; DELETE FROM names; DELETE FROM versions; DELETE FROM classes; "
               "DELETE FROM blocks; DELETE FROM newest; DELETE FROM naming; "
               "UPDATE meta SET value = '1' WHERE name = 'next'");
}
