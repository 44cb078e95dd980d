// Removing the versions only one dump held.
#include "catalogue/DumpRemoval.h"

#include <map>
#include <set>
#include <vector>

#include "catalogue/SqliteDatabase.h"
#include "catalogue/SqliteStatement.h"

void DumpRemoval::Remove(SqliteDatabase &db, int64_t seq, int64_t before, int64_t after)
{
    // A version held by no indexed dump lies wholly between the neighbours.
    SqliteStatement only(db, "SELECT id, name, block FROM versions "
                             "WHERE last > ?1 AND last < ?2 AND first > ?1");
    only.Bind(1, before).Bind(2, after);
    std::vector<int64_t> versions;
    std::set<int64_t> names;
    std::map<int64_t, int64_t> perBlock;
    while (only.Step()) {
        versions.push_back(only.Int(0));
        names.insert(only.Int(1));
        ++perBlock[only.Int(2)];
    }
    SqliteStatement dropVersion(db, "DELETE FROM versions WHERE id = ?");
    for (int64_t version : versions) {
        dropVersion.Bind(1, version).Run();
    }
    SqliteStatement release(db, "UPDATE blocks SET live = live - ? WHERE id = ?");
    for (const auto &[block, count] : perBlock) {
        release.Bind(1, count).Bind(2, block).Run();
    }
    db.Execute("DELETE FROM blocks WHERE live <= 0");
    SqliteStatement left(db, "SELECT 1 FROM versions WHERE name = ? LIMIT 1");
    SqliteStatement dropName(db, "DELETE FROM names WHERE id = ?");
    for (int64_t name : names) {
        left.Bind(1, name);
        const bool kept = left.Step();
        left.Reset();
        if (!kept) {
            dropName.Bind(1, name).Run();
        }
    }
    SqliteStatement dropDump(db, "DELETE FROM dumps WHERE seq = ?");
    dropDump.Bind(1, seq).Run();
}
