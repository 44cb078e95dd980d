// The journal of past runs: every run appended as one JSON record on a line of its own. A record
// is written whole, with one write, and flushed to the disk before Append returns; a write that
// fails is taken back, and a line left without its end (a crash, a full disk) is closed before
// the next record, so no damage ever spreads to the runs around it. The reader skips such lines
// and counts them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/RunReport.h"

// One run as the list of past runs shows it, and where its line is, to read it whole later.
struct JournalEntry {
    RunReport run; // without its objects
    std::size_t restored = 0;
    std::size_t failed = 0;
    uint64_t offset = 0; // of the line's first byte
    uint64_t length = 0; // without the line end
};

struct JournalListing {
    std::vector<JournalEntry> entries; // newest first
    std::size_t skipped = 0;           // damaged lines, and a last line that has no end
    std::string error; // empty when the journal could be read; a journal not yet written is empty
};

class RunJournal
{
  public:
    explicit RunJournal(std::string path) : path_(std::move(path)) {}

    // $XDG_DATA_HOME/tarvik/runs.jsonl, or ~/.local/share/tarvik/runs.jsonl when XDG_DATA_HOME
    // is not an absolute path; empty when the user has no home folder either.
    static std::string DefaultPath();

    const std::string &Path() const { return path_; }

    // Empty when the run is in the journal, on the disk; otherwise the reason.
    std::string Append(const RunReport &report) const;
    JournalListing List() const;
    // The run of a listed entry with its objects; empty (and the reason) when its line no longer
    // reads as it did.
    std::optional<RunReport> Read(const JournalEntry &entry, std::string &error) const;

  private:
    std::string path_;
};
