// Brings an index up to date with its folder: a dump that is new and newer than every indexed
// one is read and compared with the newest; a dump gone from the folder leaves the histories.
// Anything else (a dump older than the newest indexed one, an indexed dump rewritten, the newest
// one removed) has the index built again from every dump, since what each dump held is not kept.
// Each new dump is one transaction, a rebuild is one: a stop leaves the index as it was before
// it, without the dump being read.
// ### A dump put in the folder out of its turn costs a rebuild (every dump read again); placing
// it among the spans without one needs each version's span split at its place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/DumpFile.h"
#include "catalogue/IndexProgress.h"

class SqliteDatabase;

class IndexUpdate
{
  public:
    struct DumpRead {
        std::string file;
        uint64_t entries = 0;
        uint64_t bytes = 0; // of the file
        std::string fault;  // why it was left out; empty when indexed
    };
    struct Summary {
        std::vector<DumpRead> read;       // in the order they were read
        std::vector<std::string> removed; // dumps gone from the folder, taken out
        bool rebuilt = false;
        bool stopped = false; // what was not read yet is not in the index
        bool busy = false;    // another program was bringing the index up to date
    };

    IndexUpdate(SqliteDatabase &db, std::vector<DumpFile> files, IndexProgress progress);
    Summary Run();

  private:
    struct Row {
        int64_t seq = 0;
        std::string file;
        uint32_t time = 0;
        uint64_t size = 0;
        int64_t modified = 0;
        uint64_t head = 0;
        bool indexed = false;
    };

    std::vector<Row> LoadRows();
    // Decides what to read and remove; true when the index is to be built anew.
    bool Plan(const std::vector<Row> &rows, std::vector<const DumpFile *> &toRead,
              std::vector<Row> &toRemove) const;
    void Remove(const std::vector<Row> &rows, const std::vector<Row> &toRemove,
                const std::vector<const DumpFile *> &toRead);
    // Reads one dump inside the transaction under way; false when stopped.
    bool Read(const DumpFile &file, std::size_t number, std::size_t count);
    void Record(const DumpFile &file, int64_t seq, uint64_t entries, const std::string &fault);
    int64_t NextSeq();

    SqliteDatabase &db_;
    std::vector<DumpFile> files_;
    IndexProgress progress_;
    Summary summary_;
};
