// One dump compared with the newest before it, entry by entry.
#include "catalogue/DumpIndexer.h"

#include <algorithm>

#include "catalogue/AsciiCase.h"
#include "catalogue/DistinguishedName.h"
#include "catalogue/DumpSource.h"
#include "catalogue/Fingerprint.h"
#include "catalogue/LdifScanner.h"
#include "catalogue/SqliteDatabase.h"

namespace
{
constexpr uint64_t kAskEvery = 4096; // entries between two questions whether to go on
}

DumpIndexer::DumpIndexer(SqliteDatabase &db, int64_t seq)
    : db_(db), seq_(seq), texts_(db),
      findNewest_(db, "SELECT spelling, version, name, fingerprint FROM newest WHERE key = ?"),
      putNewest_(db, "INSERT OR REPLACE INTO newest(key, spelling, version, name, fingerprint) "
                     "VALUES(?, ?, ?, ?, ?)"),
      findName_(db, "SELECT id, canonical FROM names WHERE key = ?"),
      addName_(db, "INSERT INTO names(key, parent, canonical, dn, own) VALUES(?, ?, ?, ?, ?)"),
      respell_(db, "UPDATE names SET dn = ?, own = ? WHERE id = ? AND dn <> ?"),
      openVersion_(db, "SELECT id FROM versions WHERE name = ? AND last IS NULL"),
      closeVersion_(db, "UPDATE versions SET last = ? WHERE id = ?"),
      addVersion_(db, "INSERT INTO versions(name, first, last, fingerprint, identity, classes, "
                      "block, at, length) VALUES(?, ?, NULL, ?, ?, ?, ?, ?, ?)")
{
    SqliteStatement classes(db_, "SELECT id, names FROM classes");
    while (classes.Step()) {
        classIds_.emplace(std::string(classes.Text(1)), classes.Int(0));
    }
    SqliteStatement types(db_, "SELECT type FROM naming");
    while (types.Step()) {
        namingTypes_.emplace(types.Text(0));
    }
    SqliteStatement count(db_, "SELECT count(*) FROM newest");
    before_.reserve(count.Step() ? static_cast<std::size_t>(count.Int(0)) : 0);
    count.Reset();
    SqliteStatement newest(db_, "SELECT key, spelling, version, name, fingerprint FROM newest "
                                "ORDER BY key");
    while (newest.Step()) {
        before_.push_back(NewestRow{newest.Int(0), newest.Unsigned(1), newest.Int(2), newest.Int(3),
                                    newest.Unsigned(4)});
    }
}

const DumpIndexer::NewestRow *DumpIndexer::Before(int64_t key) const
{
    const auto found =
        std::lower_bound(before_.begin(), before_.end(), key,
                         [](const NewestRow &row, int64_t wanted) { return row.key < wanted; });
    return found != before_.end() && found->key == key ? &*found : nullptr;
}

// An interrupted dump, or a full disk, leaves a file that stops somewhere inside its last entry:
// such a file is not a backup, however well the entries before read.
DumpIndexer::Outcome DumpIndexer::Run(DumpSource &source, const std::function<bool(uint64_t)> &goOn)
{
    Outcome outcome;
    LdifScanner scanner(source);
    DumpRecord record;
    LdifScanner::Step step;
    bool lastEndedCleanly = true;
    std::string lastDn;
    while ((step = scanner.Next(record)) == LdifScanner::Step::Record) {
        if (++outcome.entries % kAskEvery == 0 && !goOn(source.FileBytesRead())) {
            outcome.stopped = true;
            return outcome;
        }
        if (!Take(record, scanner, outcome.fault)) {
            return outcome;
        }
        lastEndedCleanly = record.endedCleanly;
        lastDn = record.dn;
    }
    if (step == LdifScanner::Step::Fault) {
        outcome.fault = scanner.Fault();
    } else if (outcome.entries == 0) {
        outcome.fault = "it holds no entry";
    } else if (!lastEndedCleanly) {
        outcome.fault = "its last entry (" + lastDn.substr(0, 80) +
                        ") is not followed by an empty line: the file may have been cut short";
    }
    if (outcome.fault.empty()) {
        CloseAbsent();
        texts_.Flush();
    }
    return outcome;
}

bool DumpIndexer::Take(const DumpRecord &record, LdifScanner &scanner, std::string &fault)
{
    const uint64_t key = Fingerprint::Of(record.dnLine, kSpellingSeed);
    const uint64_t check = Fingerprint::Of(record.dnLine, kSpellingCheckSeed);
    Newest newest = FindNewest(key, check);
    int64_t name = newest.found ? newest.name : NameOf(record, fault);
    if (name == 0 || !FirstSighting(name, record, fault)) {
        return false;
    }
    if (newest.found && newest.fingerprint == record.fingerprint) {
        return true; // as it was in the dump before: nothing to keep
    }
    if (newest.found) {
        closeVersion_.Bind(1, seq_ - 1).Bind(2, newest.version).Run();
    } else if (!nameIsNew_) {
        // Met under another spelling of its DN before: that version ends here.
        openVersion_.Bind(1, name);
        if (openVersion_.Step()) {
            const int64_t open = openVersion_.Int(0);
            openVersion_.Reset();
            closeVersion_.Bind(1, seq_ - 1).Bind(2, open).Run();
            respelled_.insert(open);
        }
        respell_.Bind(1, record.dn).Bind(2, own_).Bind(3, name).Bind(4, record.dn).Run();
    }
    const int64_t version = AddVersion(name, record, scanner);
    putNewest_.Bind(1, newest.key)
        .Bind(2, check)
        .Bind(3, version)
        .Bind(4, name)
        .Bind(5, record.fingerprint)
        .Run();
    return true;
}

// Two dn lines whose fingerprints meet take the next free key. The rows of the dump before are
// looked up in memory; a key not among them is asked of the table, which holds the rows this
// dump added.
DumpIndexer::Newest DumpIndexer::FindNewest(uint64_t key, uint64_t check)
{
    Newest newest;
    for (int64_t probe = static_cast<int64_t>(key);; ++probe) {
        if (const NewestRow *row = Before(probe)) {
            if (row->spelling == check) {
                return Newest{probe, true, row->version, row->name, row->fingerprint};
            }
            continue;
        }
        findNewest_.Bind(1, probe);
        if (!findNewest_.Step()) {
            newest.key = probe;
            return newest;
        }
        const bool same = findNewest_.Unsigned(0) == check;
        if (same) {
            newest = Newest{probe, true, findNewest_.Int(1), findNewest_.Int(2),
                            findNewest_.Unsigned(3)};
        }
        findNewest_.Reset();
        if (same) {
            return newest;
        }
    }
}

int64_t DumpIndexer::NameOf(const DumpRecord &record, std::string &fault)
{
    const std::optional<DistinguishedName> dn = DistinguishedName::Parse(record.dn);
    if (!dn || dn->Empty()) {
        fault = "not a distinguished name: " + record.dn.substr(0, 80);
        return 0;
    }
    const std::string canonical = dn->Canonical();
    own_ = DistinguishedName::OwnName(dn->Rdns().front());
    nameIsNew_ = false;
    findName_.Bind(1, Fingerprint::Of(canonical, kNameSeed));
    while (findName_.Step()) {
        if (findName_.Text(1) == canonical) {
            const int64_t id = findName_.Int(0);
            findName_.Reset();
            return id;
        }
    }
    findName_.Reset();
    nameIsNew_ = true;
    return AddName(*dn, canonical);
}

int64_t DumpIndexer::AddName(const DistinguishedName &dn, const std::string &canonical)
{
    addName_.Bind(1, Fingerprint::Of(canonical, kNameSeed))
        .Bind(2, Fingerprint::Of(DistinguishedName::CanonicalParent(canonical), kNameSeed))
        .Bind(3, canonical)
        .Bind(4, dn.Text())
        .Bind(5, own_)
        .Run();
    NoteNamingTypes(dn);
    return db_.LastInsertId();
}

bool DumpIndexer::FirstSighting(int64_t name, const DumpRecord &record, std::string &fault)
{
    const auto index = static_cast<std::size_t>(name);
    if (index >= seen_.size()) {
        seen_.resize(index * 2 + 1024);
    }
    if (seen_[index]) {
        fault = "the entry " + record.dn.substr(0, 80) + " appears twice";
        return false;
    }
    seen_[index] = true;
    return true;
}

int64_t DumpIndexer::AddVersion(int64_t name, const DumpRecord &record, LdifScanner &scanner)
{
    const TextPlace place = texts_.Add(record.text);
    scanner.Describe(classes_, identity_);
    addVersion_.Bind(1, name).Bind(2, seq_).Bind(3, record.fingerprint);
    if (identity_.empty()) {
        addVersion_.BindNull(4);
    } else {
        addVersion_.BindBlob(4, identity_);
    }
    addVersion_.Bind(5, ClassesId(classes_))
        .Bind(6, place.block)
        .Bind(7, place.at)
        .Bind(8, place.length)
        .Run();
    return db_.LastInsertId();
}

int64_t DumpIndexer::ClassesId(const std::string &classes)
{
    if (const auto known = classIds_.find(classes); known != classIds_.end()) {
        return known->second;
    }
    SqliteStatement add(db_, "INSERT INTO classes(names) VALUES(?)");
    add.Bind(1, classes).Run();
    return classIds_.emplace(classes, db_.LastInsertId()).first->second;
}

// The types entries are named by: a search of the live directory asks about each.
void DumpIndexer::NoteNamingTypes(const DistinguishedName &dn)
{
    for (const AttributeValue &value : dn.Rdns().front()) {
        std::string type = LowerAscii(value.type);
        if (namingTypes_.insert(type).second) {
            SqliteStatement add(db_, "INSERT OR IGNORE INTO naming(type) VALUES(?)");
            add.Bind(1, type).Run();
        }
    }
}

// Entries of the dump before that this one lacks: their versions end with the dump before.
void DumpIndexer::CloseAbsent()
{
    std::vector<std::pair<int64_t, int64_t>> gone; // newest's key, version to close (0: none)
    SqliteStatement newest(db_, "SELECT key, name, version FROM newest");
    while (newest.Step()) {
        const auto name = static_cast<std::size_t>(newest.Int(1));
        const int64_t version = newest.Int(2);
        if (name >= seen_.size() || !seen_[name]) {
            gone.emplace_back(newest.Int(0), version);
        } else if (respelled_.count(version) != 0) {
            gone.emplace_back(newest.Int(0), 0);
        }
    }
    SqliteStatement drop(db_, "DELETE FROM newest WHERE key = ?");
    for (const auto &[key, version] : gone) {
        if (version != 0) {
            closeVersion_.Bind(1, seq_ - 1).Bind(2, version).Run();
        }
        drop.Bind(1, key).Run();
    }
}
