// Opening a catalogue's index and answering from it.
#include "catalogue/CatalogueIndex.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "catalogue/DistinguishedName.h"
#include "catalogue/DumpIndexer.h"
#include "catalogue/Fingerprint.h"
#include "catalogue/IndexError.h"
#include "catalogue/IndexLocation.h"
#include "catalogue/IndexSchema.h"
#include "catalogue/SqliteDatabase.h"
#include "catalogue/SqliteStatement.h"
#include "catalogue/VersionQueries.h"

namespace
{
void RemoveIndexFile(const std::string &path)
{
    for (const char *ending : {"", "-wal", "-shm"}) {
        ::unlink((path + ending).c_str());
    }
}

// The index file opened and checked; a file that is not this catalogue's index, or that SQLite
// finds damaged, is removed and made anew.
std::unique_ptr<SqliteDatabase> OpenIndexFile(const std::string &path, const std::string &catalogue,
                                              std::vector<std::string> &notes)
{
    try {
        auto db = std::make_unique<SqliteDatabase>(path);
        if (IndexSchema::Prepare(*db, catalogue)) {
            return db;
        }
        notes.push_back("the index " + path + " was not this catalogue's: it is built anew");
    } catch (const IndexError &error) {
        if (path.empty()) {
            throw;
        }
        notes.push_back("the index " + path + " could not be used (" + error.what() +
                        "): it is built anew");
    }
    RemoveIndexFile(path);
    auto db = std::make_unique<SqliteDatabase>(path);
    if (!IndexSchema::Prepare(*db, catalogue)) {
        throw IndexError("the index " + path + " cannot be made", false);
    }
    return db;
}

bool IsParentOf(const std::string &parent, std::string_view canonical)
{
    return DistinguishedName::CanonicalParent(canonical) == parent;
}
} // namespace

CatalogueIndex::CatalogueIndex(std::unique_ptr<SqliteDatabase> db, std::string path,
                               std::unordered_set<std::string> containerClasses)
    : db_(std::move(db)), path_(std::move(path)), containerClasses_(std::move(containerClasses)),
      texts_(std::make_unique<TextBlockReader>(*db_)),
      versionQueries_(std::make_unique<VersionQueries>(
          *db_, [this](int64_t classes) { return IsContainerClasses(classes); })),
      findName_(std::make_unique<SqliteStatement>(
          *db_, "SELECT id, canonical, dn FROM names WHERE key = ?")),
      versions_(std::make_unique<SqliteStatement>(
          *db_, "SELECT first, coalesce(last, 0), classes, block, at, length FROM versions "
                "WHERE name = ?")),
      children_(std::make_unique<SqliteStatement>(
          *db_, "SELECT n.id, n.canonical, n.dn, n.own, v.classes FROM names n JOIN versions v "
                "ON v.name = n.id WHERE n.parent = ? ORDER BY n.id")),
      hasChildren_(
          std::make_unique<SqliteStatement>(*db_, "SELECT canonical FROM names WHERE parent = ?"))
{
}

CatalogueIndex::~CatalogueIndex() = default;

std::unique_ptr<CatalogueIndex> CatalogueIndex::Open(const std::string &folder,
                                                     const Options &options, std::string &fault)
{
    // The index is the folder's whatever path names it; a folder that is not there keeps the
    // name it was given, for the message.
    char *resolved = ::realpath(folder.c_str(), nullptr);
    const std::string real = resolved != nullptr ? resolved : folder;
    std::free(resolved);
    std::vector<DumpFile> files;
    if (!DumpFile::List(real, files, fault)) {
        return nullptr;
    }
    std::vector<std::string> notes;
    std::string where;
    std::string path = IndexLocation::For(real, options.indexFolder, where);
    if (path.empty()) {
        notes.push_back(where + ": the index is kept only while the program runs");
    }
    try {
        std::unique_ptr<SqliteDatabase> db = OpenIndexFile(path, real, notes);
        IndexUpdate::Summary update;
        try {
            update = IndexUpdate(*db, files, options.progress).Run();
        } catch (const IndexError &error) {
            if (!error.Damaged() || path.empty()) {
                throw;
            }
            notes.push_back("the index " + path + " is damaged (" + error.what() +
                            "): it is built anew");
            db.reset();
            RemoveIndexFile(path);
            db = OpenIndexFile(path, real, notes);
            update = IndexUpdate(*db, files, options.progress).Run();
        }
        std::unique_ptr<CatalogueIndex> index(
            new CatalogueIndex(std::move(db), path, options.containerClasses));
        index->update_ = std::move(update);
        index->notes_ = std::move(notes);
        index->Load(files, real);
        return index;
    } catch (const IndexError &error) {
        fault = std::string("the catalogue's index cannot be used: ") + error.what();
        return nullptr;
    }
}

// The dumps that are there as they were indexed (a stopped or busy update may leave others in
// the index, or files not in it yet).
void CatalogueIndex::Load(const std::vector<DumpFile> &files, const std::string &folder)
{
    SqliteStatement rows(*db_, "SELECT seq, file, time, size, modified, head, entries, fault "
                               "FROM dumps ORDER BY seq DESC");
    while (rows.Step()) {
        const std::string file(rows.Text(1));
        const bool there = std::any_of(files.begin(), files.end(), [&](const DumpFile &dump) {
            return dump.name == file && static_cast<int64_t>(dump.size) == rows.Int(3) &&
                   dump.modified == rows.Int(4) && static_cast<int64_t>(dump.head) == rows.Int(5);
        });
        if (!there) {
            continue;
        }
        if (rows.IsNull(7)) {
            dumps_.push_back(IndexedDump{rows.Int(0), static_cast<uint32_t>(rows.Int(2)), file,
                                         rows.Unsigned(6)});
        } else {
            leftOut_.push_back(LeftOutDump{folder + "/" + file, std::string(rows.Text(7))});
        }
    }
    std::sort(leftOut_.begin(), leftOut_.end(),
              [](const LeftOutDump &a, const LeftOutDump &b) { return a.path < b.path; });
    SqliteStatement classes(*db_, "SELECT id, names FROM classes");
    while (classes.Step()) {
        std::istringstream names{std::string(classes.Text(1))};
        bool container = false;
        for (std::string name; names >> name;) {
            container |= containerClasses_.count(name) != 0;
        }
        containerSets_[classes.Int(0)] = container;
    }
}

void CatalogueIndex::Failed(const std::exception &error)
{
    fault_ = std::string("the catalogue's index cannot be read: ") + error.what();
    const auto *indexError = dynamic_cast<const IndexError *>(&error);
    if (indexError != nullptr && indexError->Damaged() && !path_.empty()) {
        RemoveIndexFile(path_); // the next open builds it again
        fault_ += " (it is built anew at the next start)";
    }
}

std::string CatalogueIndex::TakeFault()
{
    return std::exchange(fault_, std::string());
}

std::optional<int64_t> CatalogueIndex::NameId(const std::string &canonical, std::string *dn)
{
    SqliteStatement &find = *findName_;
    find.Reset();
    find.Bind(1, Fingerprint::Of(canonical, DumpIndexer::kNameSeed));
    while (find.Step()) {
        if (find.Text(1) == canonical) {
            if (dn != nullptr) {
                *dn = find.Text(2);
            }
            const int64_t id = find.Int(0);
            find.Reset();
            return id;
        }
    }
    return std::nullopt;
}

std::vector<CatalogueIndex::Version> CatalogueIndex::VersionsOf(int64_t name)
{
    std::vector<Version> versions;
    SqliteStatement &read = *versions_;
    read.Reset();
    read.Bind(1, name);
    while (read.Step()) {
        versions.push_back(Version{read.Int(0), read.Int(1), read.Int(2),
                                   TextPlace{read.Int(3), read.Int(4), read.Int(5)}});
    }
    return versions;
}

bool CatalogueIndex::Holds(const Version &version, int64_t seq) const
{
    return version.first <= seq && (version.last == 0 || seq <= version.last);
}

bool CatalogueIndex::IsContainerClasses(int64_t classes) const
{
    const auto found = containerSets_.find(classes);
    return found != containerSets_.end() && found->second;
}

std::vector<uint32_t> CatalogueIndex::TimesOf(const std::string &canonical)
{
    std::vector<uint32_t> times;
    try {
        const std::optional<int64_t> name = NameId(canonical);
        if (!name) {
            return times;
        }
        const std::vector<Version> versions = VersionsOf(*name);
        for (const IndexedDump &dump : dumps_) {
            if (std::any_of(versions.begin(), versions.end(),
                            [&](const Version &version) { return Holds(version, dump.seq); })) {
                times.push_back(dump.time);
            }
        }
    } catch (const std::exception &error) {
        Failed(error);
    }
    return times;
}

std::optional<ArchivedEntry> CatalogueIndex::Holding(const std::string &canonical, uint32_t time)
{
    for (const IndexedDump &dump : dumps_) {
        if (time == 0 || dump.time == time) {
            if (std::optional<ArchivedEntry> held = InDump(canonical, dump.seq)) {
                return held;
            }
        }
    }
    return std::nullopt;
}

std::optional<ArchivedEntry> CatalogueIndex::InDump(const std::string &canonical, int64_t seq)
{
    try {
        std::string dn;
        const std::optional<int64_t> name = NameId(canonical, &dn);
        if (!name) {
            return std::nullopt;
        }
        const auto dump = std::find_if(dumps_.begin(), dumps_.end(),
                                       [&](const IndexedDump &held) { return held.seq == seq; });
        for (const Version &version : VersionsOf(*name)) {
            if (dump != dumps_.end() && Holds(version, seq)) {
                return ArchivedEntry{dn, canonical, seq, dump->time, version.text};
            }
        }
    } catch (const std::exception &error) {
        Failed(error);
    }
    return std::nullopt;
}

std::vector<ArchivedEntry> CatalogueIndex::Subtree(const ArchivedEntry &top)
{
    std::vector<ArchivedEntry> subtree{top};
    try {
        versionQueries_->Entries(IndexedDump{top.seq, top.time, {}, 0}, top.canonical,
                                 [&](const HeldVersion &held) {
                                     if (held.entry.canonical != top.canonical) {
                                         subtree.push_back(held.entry);
                                     }
                                     return true;
                                 });
    } catch (const std::exception &error) {
        Failed(error);
    }
    return subtree;
}

std::optional<LdifEntry> CatalogueIndex::Read(const ArchivedEntry &entry, std::string &fault)
{
    try {
        const std::string text = texts_->Read(entry.text);
        LdifReader reader(text);
        LdifEntry read;
        if (reader.Next(read) == LdifReader::Step::Entry) {
            return read;
        }
        fault = "the index holds the entry damaged";
    } catch (const std::exception &error) {
        Failed(error);
        fault = TakeFault();
    }
    return std::nullopt;
}

std::vector<ArchivedName> CatalogueIndex::ChildrenOf(const std::string &canonical)
{
    std::vector<ArchivedName> children;
    try {
        SqliteStatement &read = *children_;
        read.Reset();
        read.Bind(1, Fingerprint::Of(canonical, DumpIndexer::kNameSeed));
        int64_t last = 0;
        while (read.Step()) {
            if (!IsParentOf(canonical, read.Text(1))) {
                continue;
            }
            if (read.Int(0) != last) {
                children.push_back(ArchivedName{std::string(read.Text(2)),
                                                std::string(read.Text(1)),
                                                std::string(read.Text(3)), false});
                last = read.Int(0);
            }
            children.back().containerClass |= IsContainerClasses(read.Int(4));
        }
    } catch (const std::exception &error) {
        Failed(error);
    }
    return children;
}

bool CatalogueIndex::HadChildren(const std::string &canonical)
{
    try {
        SqliteStatement &read = *hasChildren_;
        read.Reset();
        read.Bind(1, Fingerprint::Of(canonical, DumpIndexer::kNameSeed));
        while (read.Step()) {
            if (IsParentOf(canonical, read.Text(0))) {
                read.Reset();
                return true;
            }
        }
    } catch (const std::exception &error) {
        Failed(error);
    }
    return false;
}

bool CatalogueIndex::WasContainer(const std::string &canonical)
{
    try {
        if (const std::optional<int64_t> name = NameId(canonical)) {
            for (const Version &version : VersionsOf(*name)) {
                if (IsContainerClasses(version.classes)) {
                    return true;
                }
            }
        }
    } catch (const std::exception &error) {
        Failed(error);
        return false;
    }
    return HadChildren(canonical);
}

std::vector<ArchivedName> CatalogueIndex::NamesAfter(int64_t &cursor, std::size_t count)
{
    std::vector<ArchivedName> names;
    try {
        SqliteStatement read(*db_, "SELECT id, canonical, dn, own FROM names WHERE id > ? "
                                   "ORDER BY id LIMIT ?");
        read.Bind(1, cursor).Bind(2, static_cast<int64_t>(count));
        while (read.Step()) {
            cursor = read.Int(0);
            names.push_back(ArchivedName{std::string(read.Text(2)), std::string(read.Text(1)),
                                         std::string(read.Text(3)), false});
        }
    } catch (const std::exception &error) {
        Failed(error);
        names.clear();
    }
    return names;
}

std::vector<std::string> CatalogueIndex::NamingTypes()
{
    std::vector<std::string> types;
    try {
        SqliteStatement read(*db_, "SELECT type FROM naming");
        while (read.Step()) {
            types.emplace_back(read.Text(0));
        }
    } catch (const std::exception &error) {
        Failed(error);
    }
    return types;
}

const IndexedDump *CatalogueIndex::DumpOf(int64_t seq)
{
    const auto dump = std::find_if(dumps_.begin(), dumps_.end(),
                                   [&](const IndexedDump &held) { return held.seq == seq; });
    if (dump == dumps_.end()) {
        fault_ = "the catalogue's index has no snapshot " + std::to_string(seq);
        return nullptr;
    }
    return &*dump;
}

bool CatalogueIndex::Changes(int64_t from, int64_t to, const std::string &under,
                             const std::function<bool(const EntryChange &)> &take)
{
    const IndexedDump *earlier = DumpOf(from);
    const IndexedDump *later = DumpOf(to);
    try {
        return earlier != nullptr && later != nullptr &&
               versionQueries_->Changes(*earlier, *later, under, take);
    } catch (const std::exception &error) {
        Failed(error);
    }
    return false;
}

bool CatalogueIndex::Entries(int64_t seq, const std::string &under,
                             const std::function<bool(const HeldVersion &)> &take)
{
    const IndexedDump *dump = DumpOf(seq);
    try {
        return dump != nullptr && versionQueries_->Entries(*dump, under, take);
    } catch (const std::exception &error) {
        Failed(error);
    }
    return false;
}

std::vector<HeldVersion> CatalogueIndex::WithIdentity(std::string_view identity, int64_t seq)
{
    const IndexedDump *dump = DumpOf(seq);
    try {
        if (dump != nullptr) {
            return versionQueries_->WithIdentity(identity, *dump);
        }
    } catch (const std::exception &error) {
        Failed(error);
    }
    return {};
}
