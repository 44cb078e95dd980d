// Comparing the folder with the index, and reading what is new.
#include "catalogue/IndexUpdate.h"

#include <algorithm>
#include <map>

#include "catalogue/DumpIndexer.h"
#include "catalogue/DumpRemoval.h"
#include "catalogue/DumpSource.h"
#include "catalogue/IndexSchema.h"
#include "catalogue/SqliteDatabase.h"
#include "catalogue/SqliteStatement.h"

IndexUpdate::IndexUpdate(SqliteDatabase &db, std::vector<DumpFile> files, IndexProgress progress)
    : db_(db), files_(std::move(files)), progress_(std::move(progress))
{
}

std::vector<IndexUpdate::Row> IndexUpdate::LoadRows()
{
    std::vector<Row> rows;
    SqliteStatement read(db_, "SELECT seq, file, time, size, modified, head, fault IS NULL "
                              "FROM dumps ORDER BY seq");
    while (read.Step()) {
        rows.push_back(Row{read.Int(0), std::string(read.Text(1)),
                           static_cast<uint32_t>(read.Int(2)), read.Unsigned(3), read.Int(4),
                           read.Unsigned(5), read.Int(6) != 0});
    }
    return rows;
}

bool IndexUpdate::Plan(const std::vector<Row> &rows, std::vector<const DumpFile *> &toRead,
                       std::vector<Row> &toRemove) const
{
    std::map<std::string, const Row *> byFile;
    const Row *newest = nullptr;
    for (const Row &row : rows) {
        byFile[row.file] = &row;
        if (row.indexed) {
            newest = &row; // rows come in the order of time
        }
    }
    bool rebuild = false;
    for (const DumpFile &file : files_) {
        const auto found = byFile.find(file.name);
        const Row *row = found != byFile.end() ? found->second : nullptr;
        if (row != nullptr && row->size == file.size && row->modified == file.modified &&
            row->head == file.head) {
            continue;
        }
        rebuild |= row != nullptr && row->indexed;
        toRead.push_back(&file);
        if (newest != nullptr) {
            const DumpFile newestFile{newest->file, {}, newest->time};
            rebuild |= !newestFile.Before(file);
        }
    }
    for (const Row &row : rows) {
        const bool present = std::any_of(files_.begin(), files_.end(), [&](const DumpFile &file) {
            return file.name == row.file;
        });
        if (!present) {
            rebuild |= &row == newest;
            toRemove.push_back(row);
        }
    }
    return rebuild;
}

IndexUpdate::Summary IndexUpdate::Run()
{
    const std::vector<Row> rows = LoadRows();
    std::vector<const DumpFile *> toRead;
    std::vector<Row> toRemove;
    const bool rebuild = Plan(rows, toRead, toRemove);
    if (toRead.empty() && toRemove.empty()) {
        return summary_;
    }
    if (!db_.TryExecute("BEGIN IMMEDIATE")) {
        summary_.busy = true;
        return summary_;
    }
    try {
        if (rebuild) {
            summary_.rebuilt = true;
            IndexSchema::Clear(db_);
            for (std::size_t i = 0; i < files_.size() && !summary_.stopped; ++i) {
                summary_.stopped = !Read(files_[i], i + 1, files_.size());
            }
            db_.Execute(summary_.stopped ? "ROLLBACK" : "COMMIT");
        } else {
            Remove(rows, toRemove, toRead);
            db_.Execute("COMMIT");
            for (std::size_t i = 0; i < toRead.size() && !summary_.stopped; ++i) {
                if (!db_.TryExecute("BEGIN IMMEDIATE")) {
                    summary_.busy = true;
                    break;
                }
                summary_.stopped = !Read(*toRead[i], i + 1, toRead.size());
                db_.Execute(summary_.stopped ? "ROLLBACK" : "COMMIT");
            }
        }
    } catch (...) {
        if (db_.InTransaction()) {
            db_.Execute("ROLLBACK");
        }
        throw;
    }
    if (summary_.stopped && rebuild) {
        summary_.read.clear();
        summary_.removed.clear();
    }
    return summary_;
}

void IndexUpdate::Remove(const std::vector<Row> &rows, const std::vector<Row> &toRemove,
                         const std::vector<const DumpFile *> &toRead)
{
    std::vector<int64_t> indexed; // the seqs of indexed dumps still there, in time order
    for (const Row &row : rows) {
        if (row.indexed) {
            indexed.push_back(row.seq);
        }
    }
    SqliteStatement dropRow(db_, "DELETE FROM dumps WHERE seq = ?");
    for (const Row &row : toRemove) {
        summary_.removed.push_back(row.file);
        if (!row.indexed) {
            dropRow.Bind(1, row.seq).Run();
            continue;
        }
        const auto at = std::find(indexed.begin(), indexed.end(), row.seq);
        const int64_t before = at == indexed.begin() ? 0 : *(at - 1);
        DumpRemoval::Remove(db_, row.seq, before, *(at + 1));
        indexed.erase(at);
    }
    // A left-out dump that changed is read again as a new one.
    for (const Row &row : rows) {
        const bool reread =
            !row.indexed && std::any_of(toRead.begin(), toRead.end(), [&](const DumpFile *file) {
                return file->name == row.file;
            });
        if (reread) {
            dropRow.Bind(1, row.seq).Run();
        }
    }
}

int64_t IndexUpdate::NextSeq()
{
    SqliteStatement next(db_, "SELECT value FROM meta WHERE name = 'next'");
    const int64_t seq = next.Step() ? std::stoll(std::string(next.Text(0))) : 1;
    next.Reset();
    SqliteStatement put(db_, "UPDATE meta SET value = ? WHERE name = 'next'");
    put.Bind(1, std::to_string(seq + 1)).Run();
    return seq;
}

bool IndexUpdate::Read(const DumpFile &file, std::size_t number, std::size_t count)
{
    IndexStep step{file.name, number, count, 0, file.size};
    const auto goOn = [&](uint64_t done) {
        step.done = done;
        if (progress_.report) {
            progress_.report(step);
        }
        return !progress_.Stopped();
    };
    if (!goOn(0)) {
        return false;
    }
    const int64_t seq = NextSeq();
    std::string fault;
    std::unique_ptr<DumpSource> source = DumpSource::Open(file.path, fault);
    DumpIndexer::Outcome outcome;
    if (source) {
        db_.Execute("SAVEPOINT dump");
        outcome = DumpIndexer(db_, seq).Run(*source, goOn);
        db_.Execute(outcome.stopped || !outcome.fault.empty() ? "ROLLBACK TO dump; RELEASE dump"
                                                              : "RELEASE dump");
        fault = outcome.fault;
    }
    if (outcome.stopped) {
        return false;
    }
    Record(file, seq, fault.empty() ? outcome.entries : 0, fault);
    summary_.read.push_back(
        DumpRead{file.name, fault.empty() ? outcome.entries : 0, file.size, fault});
    step.done = file.size;
    if (progress_.report) {
        progress_.report(step);
    }
    return true;
}

void IndexUpdate::Record(const DumpFile &file, int64_t seq, uint64_t entries,
                         const std::string &fault)
{
    SqliteStatement insert(db_, "INSERT OR REPLACE INTO dumps(seq, file, time, size, modified, "
                                "head, entries, fault) VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    insert.Bind(1, seq)
        .Bind(2, file.name)
        .Bind(3, static_cast<int64_t>(file.time))
        .Bind(4, file.size)
        .Bind(5, file.modified)
        .Bind(6, file.head)
        .Bind(7, entries);
    if (fault.empty()) {
        insert.BindNull(8);
    } else {
        insert.Bind(8, fault);
    }
    insert.Run();
}
