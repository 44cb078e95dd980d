// Reads one dump into the index as its newest: an entry whose text is the same as in the dump
// before costs a look-up and nothing more; a changed or new one gets a version of its own, and a
// version of an entry the dump lacks is closed. Runs inside the caller's transaction, so that a
// dump left out (or a stop) leaves no trace.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/SqliteStatement.h"
#include "catalogue/TextBlocks.h"

class DistinguishedName;
class DumpSource;
class SqliteDatabase;
struct DumpRecord;
class LdifScanner;

class DumpIndexer
{
  public:
    // Seeds of the fingerprints of names and dn lines; fixed, since the index keeps them.
    static constexpr uint64_t kNameSeed = 0x4e414d45;
    static constexpr uint64_t kSpellingSeed = 0x5350454c;
    static constexpr uint64_t kSpellingCheckSeed = 0x43484b31;

    struct Outcome {
        bool stopped = false;
        std::string fault; // why the dump is not a backup; empty when it was read whole
        uint64_t entries = 0;
    };

    // seq: the dump's place in time, after every dump indexed so far.
    DumpIndexer(SqliteDatabase &db, int64_t seq);

    // goOn is asked now and then with how much of the file was read; false stops.
    Outcome Run(DumpSource &source, const std::function<bool(uint64_t)> &goOn);

  private:
    struct Newest {
        int64_t key = 0;
        bool found = false;
        int64_t version = 0;
        int64_t name = 0;
        uint64_t fingerprint = 0;
    };
    // A row of the newest dump's table, held in memory in the order of keys: most entries of a
    // dump are found there, each without a query (about 40 bytes an entry of the dump before).
    struct NewestRow {
        int64_t key;
        uint64_t spelling;
        int64_t version;
        int64_t name;
        uint64_t fingerprint;
    };

    bool Take(const DumpRecord &record, LdifScanner &scanner, std::string &fault);
    Newest FindNewest(uint64_t key, uint64_t check);
    const NewestRow *Before(int64_t key) const;
    // The entry's name, added when the index has none; 0, with the reason, when the DN is bad.
    int64_t NameOf(const DumpRecord &record, std::string &fault);
    int64_t AddName(const DistinguishedName &dn, const std::string &canonical);
    bool FirstSighting(int64_t name, const DumpRecord &record, std::string &fault);
    int64_t AddVersion(int64_t name, const DumpRecord &record, LdifScanner &scanner);
    int64_t ClassesId(const std::string &classes);
    void NoteNamingTypes(const DistinguishedName &dn);
    void CloseAbsent();

    SqliteDatabase &db_;
    const int64_t seq_;
    TextBlockWriter texts_;
    SqliteStatement findNewest_;
    SqliteStatement putNewest_;
    SqliteStatement findName_;
    SqliteStatement addName_;
    SqliteStatement respell_;
    SqliteStatement openVersion_;
    SqliteStatement closeVersion_;
    SqliteStatement addVersion_;
    bool nameIsNew_ = false;                // the name NameOf gave last was added by it
    std::string own_;                       // its own name
    std::vector<NewestRow> before_;         // the newest table as the dump before left it
    std::vector<bool> seen_;                // names met in this dump, by id
    std::unordered_set<int64_t> respelled_; // versions closed since their dn is written anew
    std::unordered_map<std::string, int64_t> classIds_;
    std::unordered_set<std::string> namingTypes_;
    std::string classes_; // of the entry whose version is being added
    std::string identity_;
};
