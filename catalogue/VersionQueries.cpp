// Versions found by their spans and identities.
#include "catalogue/VersionQueries.h"

#include <algorithm>
#include <utility>

#include "catalogue/DistinguishedName.h"
#include "catalogue/DumpIndexer.h"
#include "catalogue/Fingerprint.h"
#include "catalogue/SqliteDatabase.h"
#include "catalogue/SqliteStatement.h"

namespace
{
// The columns Held reads, from names n joined with versions v.
#define HELD_COLUMNS                                                                               \
    "n.canonical, n.dn, v.first, coalesce(v.last, 0), v.fingerprint, v.identity, v.classes, "      \
    "v.block, v.at, v.length "
// A version held by dump ?2 (and ?3, the same).
#define HOLDS_DUMP "v.first <= ?2 AND (v.last IS NULL OR v.last >= ?3) "

bool IsAtOrBelow(std::string_view canonical, std::string_view under)
{
    while (canonical.size() > under.size()) {
        canonical = DistinguishedName::CanonicalParent(canonical);
    }
    return canonical == under;
}

bool Holds(const HeldVersion &version, int64_t seq)
{
    return version.first <= seq && (version.last == 0 || seq <= version.last);
}
} // namespace

VersionQueries::VersionQueries(SqliteDatabase &db, ContainerTest isContainer)
    : db_(db), isContainer_(std::move(isContainer))
{
}

VersionQueries::~VersionQueries() = default;

HeldVersion VersionQueries::Held(const SqliteStatement &row, const IndexedDump &dump) const
{
    HeldVersion held;
    held.entry = ArchivedEntry{std::string(row.Text(1)), std::string(row.Text(0)), dump.seq,
                               dump.time, TextPlace{row.Int(7), row.Int(8), row.Int(9)}};
    held.first = row.Int(2);
    held.last = row.Int(3);
    held.fingerprint = row.Unsigned(4);
    held.identity = std::string(row.Blob(5));
    held.containerClass = isContainer_(row.Int(6));
    return held;
}

// A version that begins after the earlier dump and by the later one, or ends from the earlier
// dump and before the later one, is where an entry may differ between them; an entry with none
// is the same in both and is never read.
bool VersionQueries::Changes(const IndexedDump &from, const IndexedDump &to,
                             const std::string &under,
                             const std::function<bool(const EntryChange &)> &take)
{
    const int64_t earlier = std::min(from.seq, to.seq);
    const int64_t later = std::max(from.seq, to.seq);
    SqliteStatement names(db_, "SELECT name FROM versions WHERE first > ?1 AND first <= ?2 "
                               "UNION SELECT name FROM versions WHERE last >= ?1 AND last < ?2 "
                               "ORDER BY 1");
    SqliteStatement versions(db_, "SELECT " HELD_COLUMNS "FROM names n JOIN versions v "
                                  "ON v.name = n.id WHERE n.id = ?");
    names.Bind(1, earlier).Bind(2, later);
    while (names.Step()) {
        versions.Bind(1, names.Int(0));
        EntryChange change;
        while (versions.Step()) {
            if (!IsAtOrBelow(versions.Text(0), under)) {
                versions.Reset();
                break;
            }
            HeldVersion held = Held(versions, from);
            if (Holds(held, to.seq)) {
                change.after = Held(versions, to);
            }
            if (Holds(held, from.seq)) {
                change.before = std::move(held);
            }
        }
        const bool same = change.before && change.after &&
                          change.before->fingerprint == change.after->fingerprint;
        if ((change.before || change.after) && !same && !take(change)) {
            names.Reset();
            return false;
        }
    }
    return true;
}

bool VersionQueries::Entries(const IndexedDump &dump, const std::string &under,
                             const std::function<bool(const HeldVersion &)> &take)
{
    bool goOn = true;
    if (!under.empty()) {
        SqliteStatement top(db_, "SELECT " HELD_COLUMNS "FROM names n JOIN versions v "
                                 "ON v.name = n.id WHERE n.key = ?1 AND " HOLDS_DUMP);
        top.Bind(1, Fingerprint::Of(under, DumpIndexer::kNameSeed)).Bind(2, dump.seq);
        top.Bind(3, dump.seq);
        while (goOn && top.Step()) {
            goOn = top.Text(0) != under || take(Held(top, dump));
        }
        top.Reset();
    }
    goOn = goOn && EntriesBelow(dump, under, 0, take);
    for (const std::unique_ptr<SqliteStatement> &level : levels_) {
        level->Reset();
    }
    return goOn;
}

// Depth first, a statement per level: what is held in memory is one row per level, however
// many entries there are.
bool VersionQueries::EntriesBelow(const IndexedDump &dump, const std::string &parent,
                                  std::size_t depth,
                                  const std::function<bool(const HeldVersion &)> &take)
{
    if (levels_.size() <= depth) {
        levels_.push_back(std::make_unique<SqliteStatement>(
            db_, "SELECT " HELD_COLUMNS "FROM names n JOIN versions v ON v.name = n.id "
                 "WHERE n.parent = ?1 AND " HOLDS_DUMP "ORDER BY n.id"));
    }
    SqliteStatement &children = *levels_[depth];
    children.Bind(1, Fingerprint::Of(parent, DumpIndexer::kNameSeed)).Bind(2, dump.seq);
    children.Bind(3, dump.seq);
    while (children.Step()) {
        if (DistinguishedName::CanonicalParent(children.Text(0)) != parent) {
            continue;
        }
        const HeldVersion held = Held(children, dump);
        if (!take(held) || !EntriesBelow(dump, held.entry.canonical, depth + 1, take)) {
            return false;
        }
    }
    return true;
}

std::vector<HeldVersion> VersionQueries::WithIdentity(std::string_view identity,
                                                      const IndexedDump &dump)
{
    std::vector<HeldVersion> found;
    SqliteStatement read(db_, "SELECT " HELD_COLUMNS "FROM versions v JOIN names n "
                              "ON n.id = v.name WHERE v.identity = ?1 AND " HOLDS_DUMP);
    read.BindBlob(1, identity).Bind(2, dump.seq).Bind(3, dump.seq);
    while (read.Step()) {
        found.push_back(Held(read, dump));
    }
    return found;
}
